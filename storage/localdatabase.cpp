#include "localdatabase.h"

#include "settingsstore.h"
#include "transactionguard.h"
#include "workingfolder.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>

namespace {

const QString connection = QStringLiteral("rewordix");

// The identity key of every table: null on insert assigns the next id.
const QString identity = QStringLiteral("INTEGER PRIMARY KEY");

void closeConnection()
{
    if (!QSqlDatabase::contains(connection))
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(connection, false);
        db.close();
    } // the handle must be gone before the connection is removed
    QSqlDatabase::removeDatabase(connection);
}

} // namespace

LocalDatabase::~LocalDatabase()
{
    shutdown();
}

QString LocalDatabase::connectionName()
{
    return connection;
}

QString LocalDatabase::fileName()
{
    return QStringLiteral("db.sqlite");
}

QStringList LocalDatabase::tableNames()
{
    QStringList names;
    const QStringList codes = storage::languageCodes();
    for (const QString &code : codes)
        names << code + QStringLiteral("_usersyn");
    names << QStringLiteral("website") << QStringLiteral("keyword") << QStringLiteral("cat");
    for (const QString &code : codes)
        names << code + QStringLiteral("_fav");
    names << QStringLiteral("protectedTermCat") << QStringLiteral("protectedTerm")
          << QStringLiteral("copyScape");
    return names;
}

QStringList LocalDatabase::createStatements()
{
    QStringList statements;
    const QStringList codes = storage::languageCodes();
    for (const QString &code : codes)
        statements << QStringLiteral("create table if not exists ") + code +
                          QStringLiteral("_usersyn(word_id ") + identity +
                          QStringLiteral(", word varchar(50), userfav varchar(1000),fav "
                                         "varchar(1000),usersyn varchar(1000), deletedsyn "
                                         "varchar(1000) )");
    statements << QStringLiteral("create table if not exists website(id ") + identity +
                      QStringLiteral(", website varchar(50), username varchar(100),password "
                                     "varchar(100) )");
    statements << QStringLiteral("create table if not exists keyword(id ") + identity +
                      QStringLiteral(", keyword varchar(100) )");
    statements << QStringLiteral("create table if not exists cat(id ") + identity +
                      QStringLiteral(", cat varchar(100) )");
    for (const QString &code : codes)
        statements << QStringLiteral("create table if not exists ") + code +
                          QStringLiteral("_fav(word_id ") + identity +
                          QStringLiteral(", word varchar(50), syn varchar(1000), syn_type int )");
    statements << QStringLiteral("create table if not exists protectedTermCat(cat_id ") + identity +
                      QStringLiteral(", category varchar(150) )");
    statements << QStringLiteral("create table if not exists protectedTerm(term_id ") + identity +
                      QStringLiteral(", term varchar(150), cat_id integer )");
    statements << QStringLiteral("create table if not exists copyScape(info_id ") + identity +
                      QStringLiteral(", username varchar(150), apikey varchar(150) )");
    return statements;
}

bool LocalDatabase::connect(const QString &tempDir)
{
    shutdown();
    if (QSqlDatabase::contains(connection)) {
        // Another LocalDatabase holds the connection; reusing its name would pull it away
        // from under that object's users.
        qWarning("The database connection \"%s\" is already open", qUtf8Printable(connection));
        return false;
    }
    if (tempDir.isEmpty()) {
        qWarning("No working folder for the database");
        return false;
    }
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QSQLITE"))) {
        qWarning("The SQLite driver of QtSql is not available");
        return false;
    }
    const QString folder = tempDir.endsWith(u'/') ? tempDir : tempDir + u'/';
    if (!storage::ensureOwnerOnlyFolder(folder)) {
        qWarning("Cannot create the working folder %s", qUtf8Printable(folder));
        return false;
    }

    // The database holds blog passwords and the Copyscape key: the file is owner-only, created
    // so before SQLite opens it (SQLite gives its journal the same mode).
    const QString file = folder + fileName();
    constexpr QFile::Permissions ownerReadWrite =
        QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser;
    {
        QFile f(file);
        const QFileInfo info(file);
        if (info.exists() && !info.isFile()) {
            qWarning("The database path %s is not a file", qUtf8Printable(file));
            return false;
        }
        if (!info.exists()) {
            if (!f.open(QIODevice::WriteOnly, ownerReadWrite)) {
                qWarning("Cannot create the database file %s: %s", qUtf8Printable(file),
                         qUtf8Printable(f.errorString()));
                return false;
            }
            f.close();
        } else if ((f.permissions() & ~ownerReadWrite) != QFile::Permissions()) {
            f.setPermissions(ownerReadWrite);
        }
    }

    owner = true;
    path = file;
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(file);
        if (!db.open()) {
            qWarning("Cannot open the database %s: %s", qUtf8Printable(file),
                     qUtf8Printable(db.lastError().text()));
        } else {
            // One transaction: either every table exists afterwards or nothing changed.
            ok = storage::runInTransaction(db, [&db] {
                QSqlQuery query(db);
                const QStringList statements = createStatements();
                for (const QString &statement : statements) {
                    if (!query.exec(statement)) {
                        qWarning("Cannot create a table of the database %s: %s",
                                 qUtf8Printable(db.databaseName()),
                                 qUtf8Printable(query.lastError().text()));
                        return false;
                    }
                }
                return true;
            });
            if (!ok)
                qWarning("The database %s could not be prepared", qUtf8Printable(file));
        }
    }
    if (!ok)
        shutdown();
    return ok;
}

void LocalDatabase::shutdown()
{
    if (!owner)
        return;
    owner = false;
    path.clear();
    closeConnection();
}

bool LocalDatabase::isOpen() const
{
    return QSqlDatabase::contains(connection) && QSqlDatabase::database(connection, false).isOpen();
}

QSqlDatabase LocalDatabase::database() const
{
    return QSqlDatabase::database(connection, false);
}
