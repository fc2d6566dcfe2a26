// Merge data from arbitrary bytes: reading never crashes, a blank text has no records, a
// line without double quotes reads as its trimmed pieces, and filling
// placeholders from the records leaves a text without placeholders unchanged.
#include "spintax/csvreader.h"
#include "spintax/mergedata.h"

#include <QString>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const QList<QStringList> records = spintax::CsvReader::parse(text);

    if (text.trimmed().isEmpty() && !records.isEmpty())
        std::abort();
    if (!text.trimmed().isEmpty() && !text.contains(u'"') && !text.contains(u'\n')) {
        // One line, no quoting: the fields are the trimmed pieces.
        QStringList pieces = text.trimmed().split(u',');
        while (pieces.size() > 1 && pieces.constLast().isEmpty())
            pieces.removeLast();
        if (pieces.size() == 1 && pieces.constFirst().isEmpty() && text.contains(u','))
            pieces.clear();
        for (QString &p : pieces)
            p = p.trimmed();
        if (records.size() != 1 || records.first() != pieces)
            std::abort();
    }

    const spintax::MergeData merge(records);
    for (int k = -1; k <= merge.rowCount(); ++k) {
        if (merge.getMerged(QStringLiteral("no placeholders here"), k) !=
            QLatin1String("no placeholders here"))
            std::abort();
        (void)merge.getMerged(text, k);
    }
    return 0;
}
