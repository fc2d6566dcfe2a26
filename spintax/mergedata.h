#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

namespace spintax {

// Records loaded for a data merge: the first record holds the column titles, the others are
// the data rows (numbered from 0). Copy k of an export gets the values of data row k in place
// of the placeholders "[" + title + "]".
class MergeData final
{
public:
    MergeData() = default;
    explicit MergeData(QList<QStringList> records);

    static MergeData fromFile(const QString &fileName);

    QStringList titles() const { return records.isEmpty() ? QStringList() : records.first(); }
    const QList<QStringList> &allRecords() const { return records; }
    int rowCount() const { return records.isEmpty() ? 0 : int(records.size() - 1); }
    QStringList row(int k) const;

    // Replaces every "[title]" by that column's value in data row k, in one pass over the text:
    // a value that itself contains "[title]" is inserted as it is, and the time does not grow
    // with the number of columns. A title given twice takes the first column's value. Titles and
    // values are taken literally ("[price $]", "a+b", "\1" all work).
    // A row shorter than the titles gives the missing columns an empty value: the reader
    // drops empty fields at the end of a line, so they were empty in the file. A row index
    // outside the data leaves the text unchanged.
    QString getMerged(const QString &text, int k) const;

private:
    QList<QStringList> records;
    QHash<QString, qsizetype> columnOf; // title -> its first column
    qsizetype longestTitle = 0;
};

} // namespace spintax
