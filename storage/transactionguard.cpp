#include "transactionguard.h"

#include <QSqlError>

namespace storage {

TransactionGuard::TransactionGuard(const QSqlDatabase &db) : db(db)
{
    active = this->db.isOpen() && this->db.transaction();
    if (!active)
        qWarning("Cannot begin a transaction: %s", qUtf8Printable(this->db.lastError().text()));
}

TransactionGuard::~TransactionGuard()
{
    rollback();
}

bool TransactionGuard::commit()
{
    if (!active)
        return false;
    if (db.commit()) {
        active = false;
        return true;
    }
    qWarning("Cannot commit a transaction: %s", qUtf8Printable(db.lastError().text()));
    rollback();
    return false;
}

void TransactionGuard::rollback()
{
    if (!active)
        return;
    active = false;
    if (!db.rollback())
        qWarning("Cannot roll back a transaction: %s", qUtf8Printable(db.lastError().text()));
}

bool runInTransaction(const QSqlDatabase &db, const std::function<bool()> &work)
{
    TransactionGuard tx(db);
    if (!tx.isActive())
        return false;
    if (!work())
        return false;
    return tx.commit();
}

} // namespace storage
