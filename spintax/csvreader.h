#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace spintax {

// Reads the merge-data tables users export from spreadsheets ("CSV (Comma delimited)").
// The rules are deliberately forgiving rather than strict RFC 4180:
//  - the text is cut into lines at line feeds, trailing empty lines are dropped, each line is
//    trimmed (so CR LF files read like LF files);
//  - a line is cut at every comma, empty pieces at the end of the line are dropped;
//  - unquoted fields are trimmed; a field in double quotes keeps its commas, loses the quotes
//    and its outer spaces, and reads a doubled quote as one («"say ""hi"""» → «say "hi"»);
//  - a quoted field still open at the end of a line continues on the next line; the pieces
//    of a quoted field are joined by the commas that separated them, the line end included
//    (the line break itself is not kept);
//  - a lone double quote outside a quoted field is skipped.
class CsvReader final
{
public:
    // Records in file order; each record is its list of fields.
    static QList<QStringList> parse(const QString &text);
    // Reads a UTF-8 file (a byte-order mark is skipped). A file that cannot be opened gives
    // no records.
    static QList<QStringList> readFile(const QString &fileName);
};

} // namespace spintax
