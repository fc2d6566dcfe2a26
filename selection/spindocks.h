#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The rules of the Sentence, Paragraph and Rapid Spin docks on plain strings: which rows a unit
// lists, what the ticked rows write back, and how a rapid sentence splits into word columns.
namespace spindocks {

// The row that stands for an empty alternative.
inline QString blankEntry()
{
    return QStringLiteral("(blank)");
}

// What a dock label or row shows of `text`: the text itself, or its first `limit` characters
// and "…" when it is longer. A label is one line high and a row one line wide, so nothing
// beyond that is readable there, and laying out a paragraph of megabytes for them would stall
// every keystroke. The docks keep and write the whole text.
QString shownText(const QString &text, qsizetype limit = 1000);

// The rows listed for a spin group's alternatives: "(blank)" first, then each alternative once,
// in order (an empty alternative is listed as an empty row).
QStringList groupEntries(const QStringList &alternatives);

// The text written for the ticked rows, in the order they were ticked. No row: the unit's
// original text. One entry: the entry itself. Several: a group of them; with "(blank)" among
// them the group starts with an empty alternative. Empty entries add nothing. "(blank)" alone
// makes the original text optional ("{|" + original + "}").
QString tickedText(const QStringList &ticked, const QString &original);

// One word column of a rapid sentence: a plain word, or a whole spin group (its alternatives,
// the first of which is the column's word). Characters that follow a group's closing brace in
// the same token (the "." of "{sat|lay}.") stay after the group.
struct RapidColumn
{
    QString word;
    QStringList alternatives; // empty for a plain word
    QString trailing;
};

// The columns of a rapid sentence: the text split at every single space (empty tokens between
// two spaces are kept, empty tokens at the end dropped), a spin group spanning several tokens
// taken as one column. A group still open at the end gives no column.
QList<RapidColumn> rapidColumns(const QString &text);

// The piece a column writes: its word, or "{word|ticked...}" when synonyms are ticked, followed
// by the trailing characters.
QString rapidPiece(const RapidColumn &column, const QStringList &ticked);

} // namespace spindocks
