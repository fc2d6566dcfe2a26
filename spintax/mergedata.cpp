#include "mergedata.h"

#include "csvreader.h"

namespace spintax {

MergeData::MergeData(QList<QStringList> records) : records(std::move(records))
{
    if (this->records.isEmpty())
        return;
    const QStringList &titleList = this->records.first();
    for (qsizetype c = 0; c < titleList.size(); ++c) {
        // A title given twice takes the first column's value.
        if (!columnOf.contains(titleList.at(c)))
            columnOf.insert(titleList.at(c), c);
        longestTitle = qMax(longestTitle, titleList.at(c).size());
    }
}

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
    const QStringList &values = records.at(k + 1);

    // One pass over the text: at each "[", the shortest "[title]" that names a column is
    // replaced. Inserted values are not scanned again.
    QString out;
    out.reserve(text.size());
    const QStringView view(text);
    qsizetype copied = 0;
    qsizetype open = view.indexOf(u'[');
    while (open >= 0) {
        qsizetype next = open + 1;
        const qsizetype limit = qMin(view.size(), open + 2 + longestTitle);
        for (qsizetype close = view.indexOf(u']', open + 1); close >= 0 && close < limit;
             close = view.indexOf(u']', close + 1)) {
            const auto it = columnOf.constFind(view.sliced(open + 1, close - open - 1).toString());
            if (it == columnOf.cend())
                continue;
            out += view.sliced(copied, open - copied);
            if (*it < values.size())
                out += values.at(*it);
            copied = next = close + 1;
            break;
        }
        open = view.indexOf(u'[', next);
    }
    out += view.sliced(copied);
    return out;
}

} // namespace spintax
