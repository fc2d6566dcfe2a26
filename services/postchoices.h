#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// One row of the posting dialog's category or keyword table.
struct ChoiceRow
{
    QString text;
    bool ticked = false;
};

// What the posting dialog takes from a category or keyword table when it saves: every row with
// non-blank text is remembered (and saved), the ticked ones among them are chosen.
struct PostChoices
{
    QStringList remembered;
    QStringList chosen;

    static PostChoices fromRows(const QList<ChoiceRow> &rows);

    // `kwAll`, the keyword string of a post: the text of every ticked non-blank row, each
    // followed by "," unless it is the table's last row. Two ticked keywords above the empty
    // last row give «one,two,».
    static QString keywordString(const QList<ChoiceRow> &rows);
};
