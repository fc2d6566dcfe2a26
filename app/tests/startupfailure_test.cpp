// The window's answers to a working folder it must not use and a database it cannot open,
// through the real window with its real message boxes.
#include "testsupport/testsupport.h"

#include "app/lexora3.h"
#include "storage/localdatabase.h"

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>
#include <unistd.h>

namespace {

QByteArray contentsOf(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY2(f.open(QIODevice::WriteOnly), qPrintable(path));
    QCOMPARE(f.write(bytes), bytes.size());
}

// The tables of the SQLite file at `path`, read on a connection of the test's own.
QStringList tablesOf(const QString &path)
{
    QStringList tables;
    {
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("inspect"));
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (db.open())
            tables = db.tables();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("inspect"));
    tables.sort();
    return tables;
}

// The window's notice of a session without a database.
bool saysNoDatabase(const Lexora3 &w)
{
    const auto *label = w.findChild<QLabel *>(QStringLiteral("noDatabaseQL"));
    return label && label->isVisibleTo(&w) && label->text().contains(QLatin1String("without"));
}

// What a message box showed and which buttons it offered.
struct Shown
{
    QString text;
    bool offeredMove = false;
};

// Answers the next message box: Yes when `move` and it offers a choice, else its default.
void answerBox(Shown &shown, bool move)
{
    testsupport::answerLater<QMessageBox>([&shown, move](QMessageBox *box) {
        shown.text = box->text();
        shown.offeredMove = box->button(QMessageBox::Yes) != nullptr;
        if (shown.offeredMove)
            box->button(move ? QMessageBox::Yes : QMessageBox::No)->click();
        else
            box->accept();
    });
}

} // namespace

class StartupFailureTest final : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void damagedDatabase_data();
    void damagedDatabase();
    void unusableDatabase_data();
    void unusableDatabase();
    void refusedFolder_data();
    void refusedFolder();

private:
    QString folder;
    QByteArray originalHome;
};

void StartupFailureTest::init()
{
    originalHome = qgetenv("REWORDIX_HOME");
    folder = testsupport::workingFolder();
    QVERIFY(QDir().mkpath(folder));
    const QStringList old = QDir(folder).entryList({QStringLiteral("db.sqlite*")},
                                                   QDir::Files | QDir::System | QDir::Hidden);
    for (const QString &name : old)
        QVERIFY(QFile::remove(folder + u'/' + name));
}

void StartupFailureTest::cleanup()
{
    qputenv("REWORDIX_HOME", originalHome);
}

void StartupFailureTest::damagedDatabase_data()
{
    QTest::addColumn<bool>("moveAside");
    QTest::newRow("declined: the file is kept, the window works without a database") << false;
    QTest::newRow("moved aside: the bytes are kept, a fresh database is started") << true;
}

void StartupFailureTest::damagedDatabase()
{
    QFETCH(bool, moveAside);
    const QString db = folder + QStringLiteral("/db.sqlite");
    const QByteArray garbage(8192, 'x');
    writeFile(db, garbage);

    Shown shown;
    answerBox(shown, moveAside);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("cannot be read")));
    auto w = std::make_unique<Lexora3>(nullptr, 1.191, false);
    w->show();
    w->show2();

    QVERIFY(shown.offeredMove);
    QVERIFY2(shown.text.contains(QLatin1String("not a database")), qPrintable(shown.text));
    QVERIFY2(shown.text.contains(QLatin1String("not saved")), qPrintable(shown.text));
    const QStringList aside = QDir(folder).entryList({QStringLiteral("db.sqlite.damaged-*")},
                                                     QDir::Files | QDir::System | QDir::Hidden);
    if (moveAside) {
        QCOMPARE(aside.size(), 1);
        QCOMPARE(contentsOf(folder + u'/' + aside.first()), garbage);
        QVERIFY(!saysNoDatabase(*w));
        QVERIFY(w->statusBar()->currentMessage().contains(aside.first()));
        w.reset(); // the fresh database is complete once the window has closed it
        QStringList expected = LocalDatabase::tableNames();
        expected.sort();
        QCOMPARE(tablesOf(db), expected);
    } else {
        QCOMPARE(aside, QStringList());
        QVERIFY(saysNoDatabase(*w)); // still there after the start-up has run its course
        w.reset();
        QCOMPARE(contentsOf(db), garbage); // never replaced without the user's word
    }
}

void StartupFailureTest::unusableDatabase_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason");
    QTest::newRow("a link in its place") << "link"
                                         << "symbolic link";
    QTest::newRow("locked by another program") << "locked"
                                               << "locked";
    QTest::newRow("file of another user") << "foreign"
                                          << "belongs to another user";
}

// A database that cannot be opened but is not damaged is explained; moving it aside is not
// offered, and the file (or a link's target) stays as it was.
void StartupFailureTest::unusableDatabase()
{
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    const QString db = folder + QStringLiteral("/db.sqlite");
    QTemporaryDir elsewhere;
    const QString victim = elsewhere.filePath(QStringLiteral("victim"));
    const QString holder = QStringLiteral("holder");
    QByteArray before;
    if (kind == QLatin1String("link")) {
        writeFile(victim, "the user's file");
        QVERIFY(QFile::link(victim, db));
    } else {
        {
            LocalDatabase made;
            QVERIFY2(made.connect(folder), qPrintable(made.errorString()));
        }
        before = contentsOf(db);
        if (kind == QLatin1String("foreign")) {
            if (::geteuid() != 0)
                QSKIP("giving a file to another user needs root");
            QCOMPARE(::chown(QFile::encodeName(db).constData(), 65534, 65534), 0);
        } else {
            // Another program holds the database for writing while the window starts.
            QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), holder);
            other.setDatabaseName(db);
            QVERIFY(other.open());
            QVERIFY(QSqlQuery(other).exec(QStringLiteral("begin exclusive")));
        }
    }

    Shown shown;
    answerBox(shown, true);
    {
        Lexora3 w(nullptr, 1.191, false);
        QVERIFY(!shown.offeredMove);
        QVERIFY2(shown.text.contains(reason), qPrintable(shown.text));
        QVERIFY2(shown.text.contains(QLatin1String("not saved")), qPrintable(shown.text));
        QVERIFY(saysNoDatabase(w));
    }
    if (QSqlDatabase::contains(holder)) {
        QSqlDatabase::database(holder).close();
        QSqlDatabase::removeDatabase(holder);
    }
    QCOMPARE(QDir(folder).entryList({QStringLiteral("db.sqlite.damaged-*")}), QStringList());
    if (kind == QLatin1String("link")) {
        QVERIFY(QFileInfo(db).isSymLink());
        QCOMPARE(contentsOf(victim), QByteArray("the user's file"));
    } else {
        QCOMPARE(contentsOf(db), before);
    }
}

void StartupFailureTest::refusedFolder_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason");
    QTest::newRow("folder of another user") << "foreign"
                                            << "belongs to another user";
    QTest::newRow("a file in its place") << "file"
                                         << "stands in its place";
    QTest::newRow("a broken link in its place") << "link"
                                                << "stands in its place";
}

// The window explains the refusal, says it works without a database, and writes nothing into
// the refused place, also when the start-up goes on to load the synonyms.
void StartupFailureTest::refusedFolder()
{
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    QTemporaryDir scratch;
    const QString refused = scratch.filePath(QStringLiteral("home"));
    const QString linkTarget = scratch.filePath(QStringLiteral("nowhere"));
    if (kind == QLatin1String("foreign")) {
        if (::geteuid() != 0)
            QSKIP("giving a folder to another user needs root");
        QVERIFY(QDir().mkdir(refused));
        QVERIFY(QFile::setPermissions(refused, QFileDevice::Permissions(0x7777)));
        QCOMPARE(::chown(QFile::encodeName(refused).constData(), 65534, 65534), 0);
    } else if (kind == QLatin1String("file")) {
        writeFile(refused, "a file");
    } else {
        QVERIFY(QFile::link(linkTarget, refused));
    }
    qputenv("REWORDIX_HOME", QFile::encodeName(refused));

    Shown shown;
    answerBox(shown, true);
    {
        Lexora3 w(nullptr, 1.191, false);
        w.show();
        w.show2();
        QVERIFY(!shown.offeredMove);
        QVERIFY2(shown.text.contains(reason), qPrintable(shown.text));
        QVERIFY2(shown.text.contains(QLatin1String("not saved")), qPrintable(shown.text));
        QVERIFY(saysNoDatabase(w));
    }
    if (kind == QLatin1String("foreign")) {
        QCOMPARE(QDir(refused).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System |
                                         QDir::Hidden),
                 QStringList());
    } else if (kind == QLatin1String("file")) {
        QCOMPARE(contentsOf(refused), QByteArray("a file"));
    } else {
        QVERIFY(QFileInfo(refused).isSymLink());
        QVERIFY(!QFileInfo::exists(linkTarget));
    }
}

REWORDIX_TEST_MAIN(StartupFailureTest)
#include "startupfailure_test.moc"
