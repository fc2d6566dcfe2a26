#pragma once

#include <QDateTime>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

// The local SQLite database "db.sqlite" in the working folder: one shared connection named
// "rewordix" on the GUI thread, opened by connect() at start-up and closed by shutdown() when the
// window closes. connect() creates the 30 tables (12 synonym tables, website, keyword, cat, 12
// favourite tables, protectedTermCat, protectedTerm, copyScape) and leaves existing tables and
// their rows untouched.
//
// The identity keys are SQLite's INTEGER PRIMARY KEY: inserting null for the first column assigns
// the next id.
class LocalDatabase final
{
public:
    LocalDatabase() = default;
    ~LocalDatabase(); // closes a connection this object opened
    Q_DISABLE_COPY_MOVE(LocalDatabase)

    // Opens tempDir + "db.sqlite" (owner-only file) and creates the tables. A failure (no SQLite
    // driver, a refused working folder, a database that is a link or belongs to another user, a
    // damaged file, a locked database, an SQL error) is printed as a warning and gives false,
    // with the reason in errorString(); the connection is then closed again so isOpen() tells
    // the truth and a later connect() can retry. Calling it while open reopens the connection.
    // A damaged file is never changed or replaced here: see moveAside().
    bool connect(const QString &tempDir);

    // Why the last connect() failed, in words for the user; empty after a success.
    QString errorString() const { return error; }
    // Whether the last connect() failed on a file of ours that SQLite cannot read (not a
    // database, or its integrity check failed): moving it aside and starting a fresh database is
    // the way on.
    bool isDamaged() const { return damaged; }

    struct MoveAside
    {
        QString movedTo; // the new name of the database file; empty when nothing was moved
        QString error;   // why it could not be moved
    };
    // Renames tempDir + "db.sqlite" (with its journal files, which belong to it and must not be
    // applied to a fresh database) to "db.sqlite.damaged-<yyyyMMdd-hhmmss>" of `now`, so the
    // user's rows stay on disk for rescue and the next connect() starts a fresh database.
    static MoveAside moveAside(const QString &tempDir, const QDateTime &now);

    // The clean close: closes and removes the connection. Does nothing when this object has not
    // opened one, so it is safe to call twice or without connect().
    void shutdown();

    bool isOpen() const;

    // The shared connection (invalid when none is open). Every statement of the program runs on it.
    QSqlDatabase database() const;

    // The path of the open database file, empty when closed.
    QString filePath() const { return path; }

    static QStringList tableNames();       // the 30 table names in creation order
    static QStringList createStatements(); // the creation statements, same order
    static QString connectionName();       // "rewordix"
    static QString fileName();             // "db.sqlite"

private:
    bool fail(const QString &reason);

    QString path;
    QString error;
    bool damaged = false;
    bool owner = false;
};

namespace storage {
using ::LocalDatabase;
}
