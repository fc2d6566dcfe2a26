#include "identifyformat.h"

#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

namespace selection {

void applyIdentified(QTextDocument &document, const QList<TextSpan> &spans)
{
    const bool modified = document.isModified();
    QTextCursor cursor(&document);
    cursor.beginEditBlock();
    cursor.select(QTextCursor::Document);
    cursor.setCharFormat(QTextCharFormat());
    QTextCharFormat underlined;
    underlined.setFontUnderline(true);
    const qsizetype last =
        document.characterCount() - 1; // the final paragraph separator is no text
    for (const TextSpan &span : spans) {
        const int from = int(qBound<qsizetype>(0, span.start, last));
        const int to = int(qBound<qsizetype>(0, span.start + span.length, last));
        if (from >= to)
            continue;
        cursor.setPosition(from);
        cursor.setPosition(to, QTextCursor::KeepAnchor);
        cursor.setCharFormat(underlined);
    }
    cursor.endEditBlock();
    document.setModified(modified);
}

bool identifyDocument(QTextDocument &document, const SynonymLists &lists, IdentifyMode mode)
{
    const std::optional<QList<TextSpan>> spans =
        formatIdentified(document.toPlainText(), lists, lists.maxPhraseWord, 0, mode);
    if (!spans)
        return false;
    applyIdentified(document, *spans);
    return true;
}

void removeUnderline(QTextDocument &document)
{
    applyIdentified(document, {});
}

} // namespace selection
