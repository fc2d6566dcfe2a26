#include "tagtools.h"

#include <QTextCursor>

namespace tagtools {

Markup markup(Tag tag)
{
    switch (tag) {
    case Tag::Bold:
        return {QStringLiteral("<b>"), QStringLiteral("</b>")};
    case Tag::Underline:
        return {QStringLiteral("<u>"), QStringLiteral("</u>")};
    case Tag::Italic:
        return {QStringLiteral("<i>"), QStringLiteral("</i>")};
    case Tag::Font:
        return {QStringLiteral("<font>"), QStringLiteral("</font>")};
    case Tag::Paragraph:
        return {QStringLiteral("<p>"), QStringLiteral("</p>")};
    case Tag::UnorderedList:
        return {QStringLiteral("<ul>\n     <li>"), QStringLiteral("</li>\n</ul>")};
    case Tag::OrderedList:
        return {QStringLiteral("<ol>\n     <li>"), QStringLiteral("</li>\n</ol>")};
    case Tag::DefinitionList:
        return {QStringLiteral("<dl>\n     <dt>"), QStringLiteral("</dt>\n     <dd></dd>\n</dl>")};
    }
    return {};
}

void wrapWordOrSelection(QTextCursor &cursor, Tag tag)
{
    if (!cursor.hasSelection())
        cursor.select(QTextCursor::WordUnderCursor);
    // A selection across paragraphs comes back with U+2029 separators; inserted as plain text
    // they must be line feeds again.
    QString selected = cursor.selectedText();
    selected.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    const Markup m = markup(tag);
    cursor.beginEditBlock();
    cursor.insertText(m.opening + selected + m.closing);
    cursor.endEditBlock();
}

void insertBreak(QTextCursor &cursor)
{
    cursor.insertText(QStringLiteral("<br>"));
}

} // namespace tagtools
