#pragma once

#include <QString>

class QTextCursor;

// The word or innermost spin group under a caret, as the synonym panel is filled for it. A caret
// inside a group, just before its "{" or just after its "}" gives the group, braces included;
// otherwise the word under the caret (the text layout's word), where a caret at the paragraph
// end or before a "." or "," that ends a word looks at that word. In an empty paragraph it is
// the word that ends the previous paragraph. The cursor's selection is ignored.
struct CaretWord
{
    QString text;
    int start = 0; // document positions, end exclusive
    int end = 0;
    bool group = false;

    bool isEmpty() const { return text.isEmpty(); }
};

CaretWord caretWord(const QTextCursor &cursor);
