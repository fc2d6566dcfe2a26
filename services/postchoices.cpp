#include "postchoices.h"

PostChoices PostChoices::fromRows(const QList<ChoiceRow> &rows)
{
    PostChoices choices;
    for (const ChoiceRow &row : rows) {
        if (row.text.trimmed().isEmpty())
            continue;
        choices.remembered.append(row.text);
        if (row.ticked)
            choices.chosen.append(row.text);
    }
    return choices;
}

QString PostChoices::keywordString(const QList<ChoiceRow> &rows)
{
    QString kwAll;
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const ChoiceRow &row = rows[i];
        if (row.text.trimmed().isEmpty() || !row.ticked)
            continue;
        kwAll += row.text;
        if (i != rows.size() - 1)
            kwAll += u',';
    }
    return kwAll;
}
