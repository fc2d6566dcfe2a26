#include "bracepairhighlight.h"

#include "spintax/gui/bracepair.h"

#include <QTextCursor>
#include <QTextDocument>

BracePairHighlight::BracePairHighlight(QTextEdit *editor)
    : QObject(editor), editor(editor), matched(spintax::matchedBraceFormat()),
      unmatched(spintax::unmatchedBraceFormat())
{
    const auto update = [this] { apply(this->editor->textCursor()); };
    connect(editor, &QTextEdit::cursorPositionChanged, this, update);
    // Edits made through another cursor leave the caret where it was but may
    // add or remove a partner.
    connect(editor, &QTextEdit::textChanged, this, update);
}

void BracePairHighlight::apply(const QTextCursor &cursor)
{
    QTextDocument *document = editor->document();
    const spintax::BracePair pair = cursor.document() == document
                                        ? spintax::bracePairAt(document, cursor.position())
                                        : spintax::BracePair{};
    const QTextCharFormat &format = pair.isMatched() ? matched : unmatched;
    const auto mark = [&](QTextEdit::ExtraSelection &entry, qsizetype position) {
        entry.cursor = QTextCursor(document);
        entry.cursor.setPosition(int(position));
        entry.cursor.setPosition(int(position) + 1, QTextCursor::KeepAnchor);
        entry.format = format;
    };

    QList<QTextEdit::ExtraSelection> entries;
    if (pair.opening >= 0) {
        mark(opening, pair.opening);
        entries.append(opening);
    }
    if (pair.closing >= 0) {
        mark(closing, pair.closing);
        entries.append(closing);
    }
    editor->setExtraSelections(entries);
}
