#pragma once

#include <QSqlDatabase>
#include <QString>

#include <optional>

// The user's Copyscape account, kept in the table `copyScape` of the local database.
struct CopyscapeAccount
{
    QString username;
    QString apiKey;

    // The first row of "select * from copyScape"; no value when there is none or the table
    // cannot be read.
    static std::optional<CopyscapeAccount> load(const QSqlDatabase &db);
    // Updates every row when there is one, else inserts the account. Errors are printed (never
    // the key) and give false.
    static bool save(const QSqlDatabase &db, const CopyscapeAccount &account);
};
