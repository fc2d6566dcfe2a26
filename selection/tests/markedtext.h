#pragma once

#include <QString>
#include <QTextCursor>
#include <QTextDocument>

#include <memory>
#include <optional>

// Documents and selections written as one string, so a test row shows the
// text and the cursor together. Paragraphs are separated by "\n"; "^" marks
// a caret without selection; "«" marks a selection's anchor and "»" its
// caret ("«The cat» sat" selects "The cat" forwards; "»The cat« sat" is the
// same text selected backwards). None of the markers is spin syntax.
struct MarkedText
{
    std::unique_ptr<QTextDocument> document;
    QTextCursor cursor;
};

inline MarkedText parseMarked(const QString &marked)
{
    QString plain;
    int anchor = -1;
    int position = -1;
    for (const QChar c : marked) {
        if (c == u'^') {
            anchor = position = int(plain.size());
        } else if (c == u'«') {
            anchor = int(plain.size());
        } else if (c == u'»') {
            position = int(plain.size());
        } else {
            plain += c;
        }
    }
    MarkedText result{std::make_unique<QTextDocument>(), {}};
    result.document->setPlainText(plain);
    result.cursor = QTextCursor(result.document.get());
    if (anchor >= 0)
        result.cursor.setPosition(anchor);
    if (position >= 0)
        result.cursor.setPosition(position, QTextCursor::KeepAnchor);
    return result;
}

inline QString renderMarked(const QTextCursor &cursor)
{
    QString text = cursor.document()->toPlainText();
    const int anchor = cursor.anchor();
    const int position = cursor.position();
    if (anchor == position)
        return text.insert(position, u'^');
    // Insert the later marker first so the earlier index stays valid.
    if (anchor < position)
        return text.insert(position, u'»').insert(anchor, u'«');
    return text.insert(anchor, u'«').insert(position, u'»');
}

inline QString renderMarked(const std::optional<QTextCursor> &cursor)
{
    return cursor ? renderMarked(*cursor) : QStringLiteral("(none)");
}
