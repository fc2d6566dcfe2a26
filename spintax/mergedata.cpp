#include "mergedata.h"

#include "csvreader.h"

namespace spintax {

MergeData::MergeData(QList<QStringList> records) : records(std::move(records)) {}

MergeData MergeData::fromFile(const QString &fileName)
{
    return MergeData(CsvReader::readFile(fileName));
}

QStringList MergeData::row(int k) const
{
    if (k < 0 || k >= rowCount())
        return {};
    return records.at(k + 1);
}

QString MergeData::getMerged(const QString &text, int k) const
{
    if (k < 0 || k >= rowCount())
        return text;
    const QStringList titleList = records.first();
    const QStringList &values = records.at(k + 1);
    QString out = text;
    for (qsizetype c = 0; c < titleList.size(); ++c) {
        const QString placeholder = u'[' + titleList.at(c) + u']';
        out.replace(placeholder, c < values.size() ? values.at(c) : QString());
    }
    return out;
}

} // namespace spintax
