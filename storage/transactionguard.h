#pragma once

#include <QSqlDatabase>

#include <functional>

namespace storage {

// Statements that must succeed together, such as deleting a word's list and inserting the new
// one: a failure in between must not lose the old rows. The guard begins a transaction; commit()
// makes the work permanent; leaving the scope without a successful commit() rolls it back.
//
//     storage::TransactionGuard tx(db);
//     if (!tx.isActive() || !del.exec() || !ins.exec())
//         return false;          // rolled back, old rows intact
//     return tx.commit();
//
// SQLite has no nested transactions: a guard opened while another transaction runs on the same
// connection does not become active.
class TransactionGuard final
{
public:
    explicit TransactionGuard(const QSqlDatabase &db);
    ~TransactionGuard();
    Q_DISABLE_COPY_MOVE(TransactionGuard)

    // True between a successful begin and commit()/rollback().
    bool isActive() const { return active; }

    // Commits; on failure prints a warning, rolls back and returns false.
    bool commit();
    void rollback();

private:
    QSqlDatabase db;
    bool active = false;
};

// Runs `work` inside one transaction and commits when it returns true; rolls back when it
// returns false or when the commit fails. Returns whether the work became permanent. When no
// transaction can be begun, `work` does not run and the result is false.
bool runInTransaction(const QSqlDatabase &db, const std::function<bool()> &work);

} // namespace storage
