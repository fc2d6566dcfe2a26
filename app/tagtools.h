#pragma once

#include <QString>

class QTextCursor;

// The HTML tag tools of the HTML toolbar: markup typed into the spin source as plain text, so
// the tags stay visible and end up in every generated copy.
namespace tagtools {

enum class Tag
{
    Bold,
    Underline,
    Italic,
    Font,
    Paragraph,
    UnorderedList,
    OrderedList,
    DefinitionList
};

struct Markup
{
    QString opening;
    QString closing;
};

// «<b>» / «</b>» and so on; the list tags span lines with items indented by five spaces:
// «<ul>\n     <li>» / «</li>\n</ul>».
Markup markup(Tag tag);

// Wraps the selection of `cursor`, or the word under it when nothing is selected, in the tag's
// opening and closing texts as one undo step. Afterwards the cursor stands after the closing
// text. In an empty document only the two texts are inserted.
void wrapWordOrSelection(QTextCursor &cursor, Tag tag);

// Types «<br>» at the cursor, replacing any selection.
void insertBreak(QTextCursor &cursor);

} // namespace tagtools
