#include "csvreader.h"

#include <QFile>
#include <QStringDecoder>

namespace spintax {

namespace {

// Number of double quotes the string ends with.
qsizetype trailingQuotes(QStringView s)
{
    qsizetype n = 0;
    while (n < s.size() && s.at(s.size() - 1 - n) == u'"')
        ++n;
    return n;
}

QString unescapeQuotes(QString s)
{
    return s.replace(QLatin1String("\"\""), QLatin1String("\""));
}

// A closing quote is the last of an odd run of quotes: in «abc""» the two quotes are one
// escaped quote and the field is still open.
bool closesQuotedField(QStringView trimmedPiece)
{
    return trailingQuotes(trimmedPiece) % 2 == 1;
}

} // namespace

QList<QStringList> CsvReader::parse(const QString &text)
{
    QStringList lines = text.split(u'\n');
    while (!lines.isEmpty() && lines.constLast().trimmed().isEmpty())
        lines.removeLast();

    QList<QStringList> records;
    QStringList record;
    bool open = false; // inside a quoted field
    QString pending;   // raw text of the open quoted field so far

    for (const QString &rawLine : std::as_const(lines)) {
        const QString line = rawLine.trimmed();
        QStringList pieces = line.split(u',');
        // Empty pieces at the end are dropped, but a line without a comma keeps its only
        // piece (an empty line is a record with one empty field).
        while (pieces.size() > 1 && pieces.constLast().isEmpty())
            pieces.removeLast();
        if (pieces.size() == 1 && pieces.constFirst().isEmpty() && line.contains(u','))
            pieces.clear();

        for (const QString &piece : std::as_const(pieces)) {
            const QString t = piece.trimmed();
            if (open) {
                // The piece after the opening one (on this line or the next) was separated
                // from the pending text by a comma.
                if (closesQuotedField(t)) {
                    const qsizetype end = piece.lastIndexOf(u'"');
                    pending += u',' + piece.left(end);
                    record << unescapeQuotes(pending).trimmed();
                    pending.clear();
                    open = false;
                } else {
                    pending += u',' + piece;
                }
            } else if (t.startsWith(u'"')) {
                const QStringView inner = QStringView(t).mid(1);
                if (inner.isEmpty()) {
                    // A lone quote: no field.
                } else if (closesQuotedField(inner)) {
                    record << unescapeQuotes(inner.chopped(1).toString()).trimmed();
                } else {
                    open = true;
                    pending = piece.mid(piece.indexOf(u'"') + 1);
                }
            } else {
                record << unescapeQuotes(t);
            }
        }
        if (!open) {
            records << record;
            record.clear();
        }
    }
    // A quoted field never closed keeps its text rather than losing the whole record.
    if (open)
        record << unescapeQuotes(pending).trimmed();
    if (!record.isEmpty())
        records << record;
    return records;
}

QList<QStringList> CsvReader::readFile(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    // The decoder drops a leading byte-order mark.
    QStringDecoder decoder(QStringDecoder::Utf8);
    return parse(decoder.decode(file.readAll()));
}

} // namespace spintax
