#include "caretword.h"

#include "synonyms/quickspintext.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

CaretWord caretWord(const QTextCursor &cursor)
{
    if (cursor.isNull())
        return {};
    const QTextBlock block = cursor.block();
    const QString paragraph = block.text();
    const int caret = cursor.positionInBlock();
    const int base = block.position();
    if (const auto group = quickspin::groupAround(paragraph, caret)) {
        const int first = int(group->first);
        const int length = int(group->last - group->first + 1);
        return {paragraph.mid(first, length), base + first, base + first + length, true};
    }
    QTextCursor word(cursor.document());
    word.setPosition(qMax(0, base + int(quickspin::wordPosition(paragraph, caret))));
    word.select(QTextCursor::WordUnderCursor);
    return {word.selectedText(), word.selectionStart(), word.selectionEnd(), false};
}
