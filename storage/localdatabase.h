#pragma once

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
    // driver, a folder that cannot be created, a file that is not a database, an SQL error) is
    // printed as a warning and gives false; the connection is then closed again so isOpen() tells
    // the truth and a later connect() can retry. Calling it while open reopens the connection.
    bool connect(const QString &tempDir);

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
    QString path;
    bool owner = false;
};

namespace storage {
using ::LocalDatabase;
}
