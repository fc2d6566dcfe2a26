#include "wordpresssites.h"

#include "storage/localdatabase.h"
#include "storage/transactionguard.h"

#include <QSqlError>
#include <QSqlQuery>

namespace {

bool blank(const QString &s)
{
    return s.trimmed().isEmpty();
}

} // namespace

bool Website::isBlank() const
{
    return blank(url) && blank(username) && blank(password);
}

void WordpressSites::loadWebsites()
{
    if (!db || !db->isOpen())
        return;
    QSqlQuery q(db->database());
    if (!q.exec(QStringLiteral("select * from website"))) {
        qWarning("Cannot read the WordPress sites: %s", qUtf8Printable(q.lastError().text()));
        return;
    }
    while (q.next()) {
        const Website site{q.value(1).toString(), q.value(2).toString(), q.value(3).toString()};
        if (!site.isBlank())
            websites.append(site);
    }
}

QStringList WordpressSites::loadColumn(LocalDatabase *db, const QString &table)
{
    QStringList list;
    if (!db || !db->isOpen())
        return list;
    QSqlQuery q(db->database());
    if (!q.exec(QStringLiteral("select * from ") + table)) {
        qWarning("Cannot read the table %s: %s", qUtf8Printable(table),
                 qUtf8Printable(q.lastError().text()));
        return list;
    }
    while (q.next())
        list.append(q.value(1).toString());
    return list;
}

void WordpressSites::loadCategoriesOnce()
{
    if (!categories)
        categories = loadColumn(db, QStringLiteral("cat"));
}

void WordpressSites::loadKeywordsOnce()
{
    if (!keywords)
        keywords = loadColumn(db, QStringLiteral("keyword"));
}

bool WordpressSites::canAddWebsite(const QList<Website> &list, const Website &site)
{
    for (const Website &w : list) {
        if (w.url.compare(site.url, Qt::CaseInsensitive) == 0 &&
            w.username.compare(site.username, Qt::CaseInsensitive) == 0 &&
            w.password.compare(site.password, Qt::CaseInsensitive) == 0)
            return false;
    }
    return true;
}

bool WordpressSites::updateWebsite(const QList<Website> &rows)
{
    if (!db || !db->isOpen())
        return false;
    const QSqlDatabase database = db->database();
    const bool saved = storage::runInTransaction(database, [&] {
        QSqlQuery q(database);
        if (!q.exec(QStringLiteral("delete from website"))) {
            qWarning("Cannot clear the WordPress sites: %s", qUtf8Printable(q.lastError().text()));
            return false;
        }
        if (!q.prepare(QStringLiteral("insert into website values(null,?,?,?)")))
            return false;
        for (const Website &site : rows) {
            if (site.isBlank())
                continue;
            q.addBindValue(site.url);
            q.addBindValue(site.username);
            q.addBindValue(site.password);
            // The error text names the statement, never the bound values (the password).
            if (!q.exec()) {
                qWarning("Cannot save a WordPress site: %s", qUtf8Printable(q.lastError().text()));
                return false;
            }
        }
        return true;
    });
    return saved;
}

bool WordpressSites::replaceColumn(LocalDatabase *db, const QString &table, const QStringList &list)
{
    if (!db || !db->isOpen())
        return false;
    const QSqlDatabase database = db->database();
    return storage::runInTransaction(database, [&] {
        QSqlQuery q(database);
        if (!q.exec(QStringLiteral("delete from ") + table) ||
            !q.prepare(QStringLiteral("insert into ") + table +
                       QStringLiteral(" values(null,?)"))) {
            qWarning("Cannot rewrite the table %s: %s", qUtf8Printable(table),
                     qUtf8Printable(q.lastError().text()));
            return false;
        }
        for (const QString &entry : list) {
            if (blank(entry))
                continue;
            q.addBindValue(entry);
            if (!q.exec()) {
                qWarning("Cannot save into the table %s: %s", qUtf8Printable(table),
                         qUtf8Printable(q.lastError().text()));
                return false;
            }
        }
        return true;
    });
}

bool WordpressSites::updateCat(const QStringList &list)
{
    categories = list;
    return replaceColumn(db, QStringLiteral("cat"), list);
}

bool WordpressSites::updateKeyword(const QStringList &list)
{
    keywords = list;
    return replaceColumn(db, QStringLiteral("keyword"), list);
}
