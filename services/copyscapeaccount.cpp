#include "copyscapeaccount.h"

#include <QSqlError>
#include <QSqlQuery>

std::optional<CopyscapeAccount> CopyscapeAccount::load(const QSqlDatabase &db)
{
    if (!db.isOpen())
        return std::nullopt;
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("select * from copyScape"))) {
        qWarning("Cannot read the Copyscape account: %s", qUtf8Printable(q.lastError().text()));
        return std::nullopt;
    }
    if (!q.next())
        return std::nullopt;
    return CopyscapeAccount{q.value(1).toString(), q.value(2).toString()};
}

bool CopyscapeAccount::save(const QSqlDatabase &db, const CopyscapeAccount &account)
{
    if (!db.isOpen())
        return false;
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("select * from copyScape"))) {
        qWarning("Cannot read the Copyscape account: %s", qUtf8Printable(q.lastError().text()));
        return false;
    }
    const bool exists = q.next();
    q.finish();
    q.prepare(exists ? QStringLiteral("update copyScape set username=?, apikey=?")
                     : QStringLiteral("insert into copyScape values(null,?,?)"));
    q.addBindValue(account.username);
    q.addBindValue(account.apiKey);
    if (!q.exec()) {
        qWarning("Cannot save the Copyscape account: %s", qUtf8Printable(q.lastError().text()));
        return false;
    }
    return true;
}
