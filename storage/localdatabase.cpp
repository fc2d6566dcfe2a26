#include "localdatabase.h"

#include "ownerfiles.h"
#include "settingsstore.h"
#include "transactionguard.h"
#include "workingfolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>

#include <cerrno>
#include <cstdio>

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

// SQLite opens any file lazily; the first read tells whether it is a database at all, and the
// quick check whether its pages hang together. Empty when the database is sound.
QString integrityProblem(QSqlDatabase &db)
{
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("pragma quick_check")))
        return query.lastError().text();
    QStringList problems;
    while (query.next())
        problems << query.value(0).toString();
    if (query.lastError().isValid())
        return query.lastError().text();
    if (problems == QStringList{QStringLiteral("ok")})
        return {};
    return problems.isEmpty() ? QStringLiteral("the integrity check gave no answer")
                              : problems.first();
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

bool LocalDatabase::fail(const QString &reason)
{
    error = reason;
    qWarning("%s", qUtf8Printable(reason));
    return false;
}

bool LocalDatabase::connect(const QString &tempDir)
{
    shutdown();
    error.clear();
    damaged = false;
    if (QSqlDatabase::contains(connection)) {
        // Another LocalDatabase holds the connection; reusing its name would pull it away
        // from under that object's users.
        return fail(
            QStringLiteral("The database connection \"%1\" is already open").arg(connection));
    }
    if (tempDir.isEmpty())
        return fail(QStringLiteral("No working folder for the database"));
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QSQLITE")))
        return fail(QStringLiteral("The SQLite driver of QtSql is not available"));
    const QString folder = tempDir.endsWith(u'/') ? tempDir : tempDir + u'/';
    const storage::FolderCheck check = storage::prepareOwnerOnlyFolder(folder);
    if (!check.ok())
        return fail(check.error);

    // The database holds blog passwords and the Copyscape key: the file is owner-only, created
    // so before SQLite opens it (SQLite gives its journal the same mode). SQLite follows links,
    // so a link in its place is refused here rather than opened.
    const QString file = folder + fileName();
    const QString fileProblem = storage::ensureOwnerOnlyFile(file);
    if (!fileProblem.isEmpty())
        return fail(QStringLiteral("The database cannot be used: %1").arg(fileProblem));

    owner = true;
    path = file;
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(file);
        if (!db.open()) {
            fail(
                QStringLiteral("Cannot open the database %1: %2").arg(file, db.lastError().text()));
        } else if (const QString problem = integrityProblem(db); !problem.isEmpty()) {
            damaged = !problem.contains(QLatin1String("locked"));
            fail(QStringLiteral("The database %1 cannot be read: %2").arg(file, problem));
        } else {
            // One transaction: either every table exists afterwards or nothing changed.
            QString sqlError;
            ok = storage::runInTransaction(db, [&db, &sqlError] {
                QSqlQuery query(db);
                const QStringList statements = createStatements();
                for (const QString &statement : statements) {
                    if (!query.exec(statement)) {
                        sqlError = query.lastError().text();
                        return false;
                    }
                }
                return true;
            });
            if (!ok)
                fail(QStringLiteral("The database %1 could not be prepared: %2")
                         .arg(file, sqlError.isEmpty() ? db.lastError().text() : sqlError));
        }
    }
    if (!ok) {
        const QString reason = error;
        const bool wasDamaged = damaged;
        shutdown();
        error = reason;
        damaged = wasDamaged;
    }
    return ok;
}

LocalDatabase::MoveAside LocalDatabase::moveAside(const QString &tempDir, const QDateTime &now)
{
    MoveAside result;
    const QString folder = tempDir.endsWith(u'/') ? tempDir : tempDir + u'/';
    const QString file = folder + fileName();
    QString target =
        file + QStringLiteral(".damaged-") + now.toString(QStringLiteral("yyyyMMdd-hhmmss"));
    // Two moves within one second keep both files.
    for (int n = 2; QFileInfo::exists(target) || QFileInfo(target).isSymLink(); ++n)
        target = file + QStringLiteral(".damaged-") +
                 now.toString(QStringLiteral("yyyyMMdd-hhmmss")) + u'-' + QString::number(n);
    // rename(2), not QFile::rename, which copies when renaming fails.
    if (std::rename(QFile::encodeName(file).constData(), QFile::encodeName(target).constData()) !=
        0) {
        result.error = QStringLiteral("Could not move %1 aside: %2")
                           .arg(QDir::toNativeSeparators(file), storage::systemError(errno));
        return result;
    }
    for (const char *suffix : {"-journal", "-wal", "-shm"}) {
        const QString companion = file + QLatin1String(suffix);
        if (QFileInfo::exists(companion) || QFileInfo(companion).isSymLink())
            std::rename(QFile::encodeName(companion).constData(),
                        QFile::encodeName(target + QLatin1String(suffix)).constData());
    }
    result.movedTo = target;
    return result;
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
