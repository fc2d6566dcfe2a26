#include "testsupport/testsupport.h"
#include "storage/localdatabase.h"
#include "storage/workingfolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QStringList codes = {"eng", "heb", "ara", "rom", "ger", "spa",
                           "swe", "ita", "fre", "dut", "por", "bul"};

QFile::Permissions othersBits(const QString &path)
{
    return QFileInfo(path).permissions() & (QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                                            QFile::ReadOther | QFile::WriteOther | QFile::ExeOther);
}

// "name type" of every column in order, and which column is the key.
QStringList columnsOf(const QSqlDatabase &db, const QString &table)
{
    QStringList columns;
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("PRAGMA table_info(%1)").arg(table)))
        return {q.lastError().text()};
    while (q.next()) {
        QString column = q.value(QStringLiteral("name")).toString() + u' ' +
                         q.value(QStringLiteral("type"))
                             .toString()
                             .toLower(); // SQLite upper-cases some type names
        if (q.value(QStringLiteral("pk")).toInt() == 1)
            column += QStringLiteral(" key");
        columns << column;
    }
    return columns;
}

QStringList tablesIn(const QSqlDatabase &db)
{
    QStringList tables;
    QSqlQuery q(db);
    q.exec(QStringLiteral("select name from sqlite_master where type = 'table' order by rowid"));
    while (q.next())
        tables << q.value(0).toString();
    return tables;
}

QStringList rowsOf(const QSqlDatabase &db, const QString &sql)
{
    QStringList rows;
    QSqlQuery q(db);
    if (!q.exec(sql))
        return {q.lastError().text()};
    while (q.next()) {
        QStringList fields;
        for (int i = 0; i < q.record().count(); ++i)
            fields << q.value(i).toString();
        rows << fields.join(u'|');
    }
    return rows;
}

bool exec(const QSqlDatabase &db, const QString &sql, const QVariantList &values = {})
{
    QSqlQuery q(db);
    q.prepare(sql);
    for (const QVariant &v : values)
        q.addBindValue(v);
    if (!q.exec()) {
        qWarning("%s: %s", qUtf8Printable(sql), qUtf8Printable(q.lastError().text()));
        return false;
    }
    return true;
}

} // namespace

class LocalDatabaseTest final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void firstStartCreatesFolderAndFile();
    void columns_data();
    void columns();
    void identityKeysAssignIds();
    void reconnectKeepsEveryRow();
    void failures_data();
    void failures();
    void existingFileMadeOwnerOnly();
    void connectionLifecycle();

private:
    QTemporaryDir tmp;
};

void LocalDatabaseTest::initTestCase()
{
    QVERIFY(tmp.isValid());
    qputenv("XDG_DATA_HOME", QFile::encodeName(tmp.filePath(QStringLiteral("data"))));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(tmp.filePath(QStringLiteral("config"))));
}

void LocalDatabaseTest::cleanup()
{
    qunsetenv("REWORDIX_HOME");
}

void LocalDatabaseTest::firstStartCreatesFolderAndFile()
{
    const QString home = tmp.filePath(QStringLiteral("first/rewordix_temp"));
    qputenv("REWORDIX_HOME", QFile::encodeName(home));
    QVERIFY(!QFileInfo::exists(home));

    LocalDatabase local;
    QVERIFY(local.connect(storage::workingFolder()));
    QVERIFY(local.isOpen());
    const QString file = home + QStringLiteral("/db.sqlite");
    QCOMPARE(local.filePath(), file);
    QCOMPARE(local.database().databaseName(), file);
    QCOMPARE(othersBits(home), QFile::Permissions());
    QVERIFY(QFileInfo(file).isFile());
    QCOMPARE(othersBits(file), QFile::Permissions());
    QCOMPARE(tablesIn(local.database()), LocalDatabase::tableNames());
    QCOMPARE(LocalDatabase::tableNames().size(), 30);
}

void LocalDatabaseTest::columns_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QStringList>("expected");

    for (const QString &code : codes) {
        QTest::addRow("%s_usersyn", qPrintable(code))
            << code + QStringLiteral("_usersyn")
            << QStringList{"word_id integer key",   "word varchar(50)",
                           "userfav varchar(1000)", "fav varchar(1000)",
                           "usersyn varchar(1000)", "deletedsyn varchar(1000)"};
        QTest::addRow("%s_fav", qPrintable(code))
            << code + QStringLiteral("_fav")
            << QStringList{"word_id integer key", "word varchar(50)", "syn varchar(1000)",
                           "syn_type int"};
    }
    QTest::newRow("website") << "website"
                             << QStringList{"id integer key", "website varchar(50)",
                                            "username varchar(100)", "password varchar(100)"};
    QTest::newRow("keyword") << "keyword" << QStringList{"id integer key", "keyword varchar(100)"};
    QTest::newRow("cat") << "cat" << QStringList{"id integer key", "cat varchar(100)"};
    QTest::newRow("protectedTermCat")
        << "protectedTermCat" << QStringList{"cat_id integer key", "category varchar(150)"};
    QTest::newRow("protectedTerm")
        << "protectedTerm"
        << QStringList{"term_id integer key", "term varchar(150)", "cat_id integer"};
    QTest::newRow("copyScape") << "copyScape"
                               << QStringList{"info_id integer key", "username varchar(150)",
                                              "apikey varchar(150)"};
}

void LocalDatabaseTest::columns()
{
    QFETCH(QString, table);
    QFETCH(QStringList, expected);
    LocalDatabase db;
    QVERIFY(db.connect(tmp.filePath(QStringLiteral("schema/"))));
    QCOMPARE(columnsOf(db.database(), table), expected);
}

void LocalDatabaseTest::identityKeysAssignIds()
{
    // Every table takes null for its key and numbers the rows itself.
    LocalDatabase db;
    QVERIFY(db.connect(tmp.filePath(QStringLiteral("ids/"))));
    const QSqlDatabase con = db.database();
    for (const QString &table : LocalDatabase::tableNames()) {
        const QString key = columnsOf(con, table).value(0).section(u' ', 0, 0);
        const QString insert = QStringLiteral("insert into %1(%2) values(?)").arg(table, key);
        QVERIFY(exec(con, insert, {QVariant()}));
        QVERIFY(exec(con, insert, {QVariant()}));
        QCOMPARE(rowsOf(con, QStringLiteral("select %1 from %2 order by %1").arg(key, table)),
                 (QStringList{"1", "2"}));
        QVERIFY(exec(con, QStringLiteral("delete from %1").arg(table)));
    }
}

void LocalDatabaseTest::reconnectKeepsEveryRow()
{
    const QString home = tmp.filePath(QStringLiteral("rows/"));
    {
        LocalDatabase first;
        QVERIFY(first.connect(home));
        {
            const QSqlDatabase con = first.database();
            QVERIFY(exec(con, "insert into eng_usersyn values(null, ?, ?, ?, ?, ?)",
                         {"quick", "fast", "", "speedy|rapid", "slow"}));
            QVERIFY(
                exec(con, "insert into bul_fav values(null, ?, ?, ?)", {"бърз", "скоростен", 3}));
            QVERIFY(exec(con, "insert into website values(null, ?, ?, ?)",
                         {"blog.example.org", "me", "pa|ss'word"}));
            QVERIFY(exec(con, "insert into protectedTermCat values(null, ?)", {"Brands"}));
            QVERIFY(exec(con, "insert into protectedTerm values(null, ?, ?)", {"Qt", 1}));
            QVERIFY(exec(con, "insert into copyScape values(null, ?, ?)", {"user", "key"}));
        }
        first.shutdown();
        QVERIFY(!first.isOpen());
        // A clean close leaves no journal behind.
        QCOMPARE(QDir(home).entryList(QDir::Files), QStringList{"db.sqlite"});
    }

    LocalDatabase second;
    QVERIFY(second.connect(home));
    const QSqlDatabase con = second.database();
    QCOMPARE(tablesIn(con), LocalDatabase::tableNames());
    QCOMPARE(rowsOf(con, "select * from eng_usersyn"),
             QStringList{"1|quick|fast||speedy|rapid|slow"});
    QCOMPARE(rowsOf(con, "select * from bul_fav"), QStringList{"1|бърз|скоростен|3"});
    QCOMPARE(rowsOf(con, "select * from website"), QStringList{"1|blog.example.org|me|pa|ss'word"});
    QCOMPARE(rowsOf(con, "select * from protectedTermCat"), QStringList{"1|Brands"});
    QCOMPARE(rowsOf(con, "select * from protectedTerm"), QStringList{"1|Qt|1"});
    QCOMPARE(rowsOf(con, "select * from copyScape"), QStringList{"1|user|key"});
    // Ids go on after the kept rows.
    QVERIFY(exec(con, "insert into eng_usersyn(word_id, word) values(null, ?)", {"fast"}));
    QCOMPARE(rowsOf(con, "select word_id, word from eng_usersyn order by word_id"),
             (QStringList{"1|quick", "2|fast"}));
}

void LocalDatabaseTest::failures_data()
{
    QTest::addColumn<QString>("tempDir"); // relative to tmp/fail; null: empty argument
    QTest::addColumn<QString>("blocker"); // a file (or folder, ending in "/") made beforehand
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("warning");

    QTest::newRow("empty folder name")
        << QString() << QString() << QByteArray() << "working folder";
    QTest::newRow("folder cannot be created: parent is a file")
        << "file/home/"
        << "file" << QByteArray("x") << "Could not create the folder";
    QTest::newRow("db.sqlite is a folder") << "dir/"
                                           << "dir/db.sqlite/" << QByteArray() << "Is a directory";
    QTest::newRow("db.sqlite is not a database")
        << "junk/"
        << "junk/db.sqlite" << QByteArray(8192, 'x') << "cannot be read: file is not a database";
    QTest::newRow("db.sqlite is truncated")
        << "trunc/"
        << "trunc/db.sqlite" << QByteArray("SQLite format 3\0\x10", 18) << "cannot be read";
}

void LocalDatabaseTest::failures()
{
    QFETCH(QString, tempDir);
    QFETCH(QString, blocker);
    QFETCH(QByteArray, content);
    QFETCH(QString, warning);

    const QDir base(tmp.filePath(QStringLiteral("fail")));
    QVERIFY(base.mkpath(QStringLiteral(".")));
    if (blocker.endsWith(u'/')) {
        QVERIFY(base.mkpath(blocker));
    } else if (!blocker.isEmpty()) {
        QVERIFY(base.mkpath(QFileInfo(base.filePath(blocker)).absolutePath()));
        QFile f(base.filePath(blocker));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content);
    }

    LocalDatabase local;
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(warning));
    QVERIFY(!local.connect(tempDir.isNull() ? QString() : base.filePath(tempDir)));
    QVERIFY(!local.isOpen());
    QVERIFY(!local.database().isValid());
    QVERIFY(!QSqlDatabase::contains(LocalDatabase::connectionName()));
    if (!content.isEmpty()) {
        // The user's file is not overwritten by a failed start.
        QFile f(base.filePath(blocker));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), content);
    }

    // The program goes on, and a later connect() can still succeed.
    QVERIFY(local.connect(tmp.filePath(QStringLiteral("retry/"))));
}

void LocalDatabaseTest::existingFileMadeOwnerOnly()
{
    const QString home = tmp.filePath(QStringLiteral("loose/"));
    QVERIFY(QDir().mkpath(home));
    QFile f(home + QStringLiteral("db.sqlite"));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.close();
    QVERIFY(f.setPermissions(f.permissions() | QFile::ReadGroup | QFile::ReadOther));

    LocalDatabase local;
    QVERIFY(local.connect(home));
    QCOMPARE(othersBits(f.fileName()), QFile::Permissions());
    QCOMPARE(tablesIn(local.database()).size(), 30);
}

void LocalDatabaseTest::connectionLifecycle()
{
    LocalDatabase never;
    never.shutdown(); // without connect
    QVERIFY(!never.isOpen());

    const QString home = tmp.filePath(QStringLiteral("life/"));
    LocalDatabase first;
    QVERIFY(first.connect(home));
    QCOMPARE(first.database().connectionName(), QStringLiteral("rewordix"));
    QVERIFY(exec(first.database(), "insert into keyword values(null, ?)", {"spin"}));

    // Reconnecting while open reopens the same file.
    QVERIFY(first.connect(home));
    QCOMPARE(rowsOf(first.database(), "select keyword from keyword"), QStringList{"spin"});

    // A second object cannot take the connection away from the first, nor close it.
    LocalDatabase second;
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("already open"));
    QVERIFY(!second.connect(tmp.filePath(QStringLiteral("other/"))));
    second.shutdown();
    QVERIFY(first.isOpen());
    QVERIFY(second.isOpen()); // the shared connection, seen from any object
    QCOMPARE(rowsOf(second.database(), "select keyword from keyword"), QStringList{"spin"});

    first.shutdown();
    first.shutdown();
    QVERIFY(!first.isOpen());
    QVERIFY(!QSqlDatabase::contains(LocalDatabase::connectionName()));

    // Leaving scope closes what an object opened.
    {
        LocalDatabase scoped;
        QVERIFY(scoped.connect(home));
    }
    QVERIFY(!QSqlDatabase::contains(LocalDatabase::connectionName()));
}

REWORDIX_TEST_GUILESS_MAIN(LocalDatabaseTest)
#include "localdatabase_test.moc"
