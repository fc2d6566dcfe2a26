#pragma once

// The rows of a table of the local database without its id column, for comparing whole tables.

#include <QList>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>

inline QList<QStringList> tableRows(const QSqlDatabase &db, const QString &table)
{
    QList<QStringList> list;
    QSqlQuery q(db);
    q.exec("select * from " + table);
    while (q.next()) {
        QStringList row;
        for (int c = 1; c < q.record().count(); ++c)
            row.append(q.value(c).toString());
        list.append(row);
    }
    return list;
}
