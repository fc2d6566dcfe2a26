#include "protectedterms.h"

#include "storage/localdatabase.h"
#include "storage/transactionguard.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace {

void reportError(const char *what, const QSqlQuery &query)
{
    qWarning("Protected terms: %s failed: %s", what, qUtf8Printable(query.lastError().text()));
}

} // namespace

bool ProtectedTerms::hasDatabase() const
{
    return db && db->isOpen();
}

bool ProtectedTerms::myInit(LocalDatabase *database)
{
    if (dbLoaded)
        return true;
    if (database)
        db = database;
    return loadDatabase();
}

bool ProtectedTerms::loadDatabase()
{
    if (dbLoaded)
        return true;
    if (!hasDatabase())
        return false;

    QStringList order;
    QHash<QString, QStringList> map;
    QSqlQuery cats(db->database());
    if (!cats.exec(QStringLiteral("select * from protectedTermCat"))) {
        reportError("reading the categories", cats);
        return false;
    }
    QSqlQuery terms(db->database());
    if (!terms.prepare(QStringLiteral("select * from protectedTerm where cat_id=?"))) {
        reportError("reading the terms", terms);
        return false;
    }
    while (cats.next()) {
        const QString category = cats.value(1).toString();
        terms.addBindValue(cats.value(0));
        if (!terms.exec()) {
            reportError("reading the terms", terms);
            return false;
        }
        QStringList &list = map[category];
        // Two rows of one name (written by another program) share one entry of the box.
        if (!order.contains(category))
            order.append(category);
        while (terms.next())
            list.append(terms.value(1).toString());
    }

    // Only a complete read replaces memory: a failed one leaves nothing half-listed behind.
    categoryOrder = order;
    catAndTermsMap = map;
    protectedWords.clear();
    lowerCounts.clear();
    for (const QString &category : std::as_const(categoryOrder))
        for (const QString &term : std::as_const(catAndTermsMap[category]))
            protect(term);
    dbLoaded = true;
    return true;
}

QSet<QString> ProtectedTerms::protectedSet() const
{
    QSet<QString> set;
    set.reserve(lowerCounts.size());
    for (auto it = lowerCounts.cbegin(); it != lowerCounts.cend(); ++it)
        set.insert(it.key());
    return set;
}

void ProtectedTerms::protect(const QString &term)
{
    const QString lower = term.toLower();
    protectedWords.append(lower);
    ++lowerCounts[lower];
}

void ProtectedTerms::unprotect(const QString &term)
{
    const QString lower = term.toLower();
    protectedWords.removeOne(lower);
    const auto it = lowerCounts.find(lower);
    if (it != lowerCounts.end() && --it.value() <= 0)
        lowerCounts.erase(it);
}

QList<qint64> ProtectedTerms::categoryIds(const QString &category) const
{
    QList<qint64> ids;
    if (!hasDatabase())
        return ids;
    QSqlQuery q(db->database());
    q.prepare(QStringLiteral("select cat_id from protectedTermCat where category=?"));
    q.addBindValue(category);
    if (!q.exec()) {
        reportError("looking up a category", q);
        return ids;
    }
    while (q.next())
        ids.append(q.value(0).toLongLong());
    return ids;
}

ProtectedTerms::EditResult ProtectedTerms::addCat(const QString &name)
{
    if (name.trimmed().isEmpty())
        return EditResult::Ignored;
    if (catAndTermsMap.contains(name))
        return EditResult::Exists;
    catAndTermsMap.insert(name, {});
    categoryOrder.append(name);
    if (hasDatabase()) {
        QSqlQuery q(db->database());
        q.prepare(QStringLiteral("insert into protectedTermCat values(null,?)"));
        q.addBindValue(name);
        if (!q.exec())
            reportError("adding a category", q);
    }
    return EditResult::Done;
}

ProtectedTerms::EditResult ProtectedTerms::deleteCat(const QString &name)
{
    if (!catAndTermsMap.contains(name))
        return EditResult::Ignored;
    deleteAll(name);
    catAndTermsMap.remove(name);
    categoryOrder.removeAll(name);
    const QList<qint64> ids = categoryIds(name);
    if (ids.isEmpty())
        return EditResult::Done;
    // The category row and its term rows go together; a half-done delete would leave terms
    // that no category lists.
    const bool ok = storage::runInTransaction(db->database(), [&] {
        QSqlQuery cat(db->database());
        QSqlQuery terms(db->database());
        cat.prepare(QStringLiteral("delete from protectedTermCat where cat_id=?"));
        terms.prepare(QStringLiteral("delete from protectedTerm where cat_id=?"));
        for (const qint64 id : ids) {
            cat.addBindValue(id);
            terms.addBindValue(id);
            if (!cat.exec() || !terms.exec()) {
                reportError("deleting a category", cat.lastError().isValid() ? cat : terms);
                return false;
            }
        }
        return true;
    });
    if (!ok)
        qWarning("Protected terms: the category \"%s\" stays in the database",
                 qUtf8Printable(name));
    return EditResult::Done;
}

ProtectedTerms::EditResult ProtectedTerms::addTerm(const QString &category, const QString &term)
{
    if (category.trimmed().isEmpty() || term.isEmpty())
        return EditResult::Ignored;
    QStringList &list = catAndTermsMap[category];
    if (!categoryOrder.contains(category))
        categoryOrder.append(category);
    if (list.contains(term))
        return EditResult::Exists;
    list.append(term);
    protect(term);
    const QList<qint64> ids = categoryIds(category);
    if (!ids.isEmpty()) {
        QSqlQuery q(db->database());
        q.prepare(QStringLiteral("insert into protectedTerm values(null, ?, ?)"));
        q.addBindValue(term);
        q.addBindValue(ids.constFirst());
        if (!q.exec())
            reportError("adding a term", q);
    }
    return EditResult::Done;
}

ProtectedTerms::EditResult ProtectedTerms::deleteTerm(const QString &category, const QString &term)
{
    const auto it = catAndTermsMap.find(category);
    if (it == catAndTermsMap.end() || !it->removeOne(term))
        return EditResult::Ignored;
    unprotect(term);
    const QList<qint64> ids = categoryIds(category);
    for (const qint64 id : ids) {
        QSqlQuery q(db->database());
        q.prepare(QStringLiteral("delete from protectedTerm where cat_id = ? and term=?"));
        q.addBindValue(id);
        q.addBindValue(term);
        if (!q.exec())
            reportError("deleting a term", q);
    }
    return EditResult::Done;
}

ProtectedTerms::EditResult ProtectedTerms::deleteAll(const QString &category)
{
    const auto it = catAndTermsMap.find(category);
    if (it == catAndTermsMap.end())
        return EditResult::Ignored;
    for (const QString &term : std::as_const(*it))
        unprotect(term);
    it->clear();
    const QList<qint64> ids = categoryIds(category);
    for (const qint64 id : ids) {
        QSqlQuery q(db->database());
        q.prepare(QStringLiteral("delete from protectedTerm where cat_id=?"));
        q.addBindValue(id);
        if (!q.exec())
            reportError("deleting the terms of a category", q);
    }
    return EditResult::Done;
}
