#include "storage/localdatabase.h"
#include "storage/ownerfiles.h"
#include "storage/settingsstore.h"
#include "storage/workingfolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

namespace {

int modeOf(const QString &path)
{
    struct stat st;
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0)
        return -1;
    return int(st.st_mode & 07777);
}

QByteArray contentsOf(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

bool writeFile(const QString &path, const QByteArray &data)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(data) == data.size();
}

// A user id other than ours that chown may give a file (only root can).
constexpr uid_t otherUser = 65534; // nobody

} // namespace

// Attacks on the working folder: planted links, foreign owners, open modes.
class OwnerFilesTest final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void linksAreNeverWrittenThrough_data();
    void linksAreNeverWrittenThrough();
    void filesAreOwnerOnly();
    void saveFileKeepsOldFileOnFailure();
    void saveFileReplacesOnlyFiles();
    void fullDiskSaysWhy();
    void folderChecks_data();
    void folderChecks();
    void databaseLinkRefused();
    void foreignDatabaseRefused();
    void damagedDatabaseMovedAside();
    void settingsFileOwnerOnly();

private:
    QString path(const QString &name) const { return dir->filePath(name); }

    QTemporaryDir root;
    std::unique_ptr<QTemporaryDir> dir;
};

void OwnerFilesTest::initTestCase()
{
    QVERIFY(root.isValid());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(root.filePath(QStringLiteral("config"))));
}

void OwnerFilesTest::init()
{
    dir = std::make_unique<QTemporaryDir>();
    QVERIFY(dir->isValid());
}

void OwnerFilesTest::linksAreNeverWrittenThrough_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("dangling");
    for (const char *how : {"save", "append", "ensure"}) {
        QTest::addRow("%s: link to a file", how) << QString::fromLatin1(how) << false;
        QTest::addRow("%s: dangling link", how) << QString::fromLatin1(how) << true;
    }
}

void OwnerFilesTest::linksAreNeverWrittenThrough()
{
    QFETCH(QString, how);
    QFETCH(bool, dangling);
    const QString target = path(QStringLiteral("elsewhere"));
    if (!dangling) {
        QVERIFY(writeFile(target, "precious"));
        QVERIFY(QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner |
                                                  QFile::ReadGroup | QFile::ReadOther));
    }
    const QString link = path(QStringLiteral("eng_syn.dat"));
    QVERIFY(QFile::link(target, link));

    QString error;
    if (how == u"save") {
        error = storage::writeOwnerOnlyFile(link, "synonym version 0\n");
    } else if (how == u"append") {
        error = storage::openOwnerOnlyForAppend(link).error;
    } else {
        error = storage::ensureOwnerOnlyFile(link);
    }

    QVERIFY2(error.contains(QLatin1String("symbolic link")), qPrintable(error));
    QVERIFY(storage::isSymLink(link));
    if (dangling) {
        QVERIFY(!QFileInfo::exists(target));
    } else {
        QCOMPARE(contentsOf(target), QByteArray("precious"));
        QCOMPARE(modeOf(target), 0644); // not chmodded through the link
    }
    // No temporary is left behind either.
    QCOMPARE(QDir(dir->path()).entryList(QDir::Files | QDir::System | QDir::NoDotAndDotDot).size(),
             dangling ? 1 : 2);
}

void OwnerFilesTest::filesAreOwnerOnly()
{
    const QString saved = path(QStringLiteral("eng_syn.dat"));
    QCOMPARE(storage::writeOwnerOnlyFile(saved, "v1\n"), QString());
    QCOMPARE(modeOf(saved), 0600);
    QCOMPARE(storage::writeOwnerOnlyFile(saved, "v2\n"), QString());
    QCOMPARE(contentsOf(saved), QByteArray("v2\n"));

    // An existing log that is readable by others is narrowed when it is next written.
    const QString log = path(QStringLiteral("eng_log.log"));
    QVERIFY(writeFile(log, "a"));
    QVERIFY(QFile::setPermissions(log, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther));
    storage::OpenedFile opened = storage::openOwnerOnlyForAppend(log);
    QVERIFY2(opened.file, qPrintable(opened.error));
    QCOMPARE(opened.file->write("b"), qint64(1));
    opened.file->close();
    QCOMPARE(contentsOf(log), QByteArray("ab"));
    QCOMPARE(modeOf(log), 0600);
}

void OwnerFilesTest::saveFileKeepsOldFileOnFailure()
{
    const QString file = path(QStringLiteral("eng_syn_fav.dat"));
    QVERIFY(writeFile(file, "old"));
    {
        storage::OwnerOnlySaveFile save(file);
        QVERIFY(save.open());
        QVERIFY(save.write("half of the new"));
    } // dropped without commit, as when the program is stopped mid-write
    QCOMPARE(contentsOf(file), QByteArray("old"));
    QCOMPARE(QDir(dir->path()).entryList(QDir::Files).size(), 1);
}

void OwnerFilesTest::saveFileReplacesOnlyFiles()
{
    const QString folder = path(QStringLiteral("eng_syn2.dat"));
    QVERIFY(QDir().mkdir(folder));
    storage::OwnerOnlySaveFile save(folder);
    QVERIFY(!save.open());
    QVERIFY2(save.errorString().contains(QLatin1String("not a regular file")),
             qPrintable(save.errorString()));
    QVERIFY(QFileInfo(folder).isDir());
    QCOMPARE(QDir(dir->path()).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot),
             QStringList{QStringLiteral("eng_syn2.dat")});
}

void OwnerFilesTest::fullDiskSaysWhy()
{
    if (!QFileInfo::exists(QStringLiteral("/dev/full")))
        QSKIP("no /dev/full");
    // /dev/full is not a regular file: appending is refused before any write.
    QVERIFY(storage::openOwnerOnlyForAppend(QStringLiteral("/dev/full"))
                .error.contains(QLatin1String("not a regular file")));
    QCOMPARE(storage::systemError(ENOSPC), QStringLiteral("No space left on device"));
}

void OwnerFilesTest::folderChecks_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("foreign");
    QTest::addColumn<bool>("usable");
    QTest::addColumn<int>("modeAfter");

    QTest::newRow("own 0700 folder kept") << 0700 << false << true << 0700;
    QTest::newRow("own 0755 folder kept (nobody else can write)") << 0755 << false << true << 0755;
    QTest::newRow("world-writable folder tightened") << 0777 << false << true << 0700;
    QTest::newRow("group-writable folder tightened") << 0770 << false << true << 0700;
    QTest::newRow("folder of another user refused") << 0700 << true << false << 0700;
}

void OwnerFilesTest::folderChecks()
{
    QFETCH(int, mode);
    QFETCH(bool, foreign);
    QFETCH(bool, usable);
    QFETCH(int, modeAfter);
    if (foreign && ::geteuid() != 0)
        QSKIP("giving a folder to another user needs root");
    const QString folder = path(QStringLiteral("home"));
    QVERIFY(QDir().mkdir(folder));
    QCOMPARE(::chmod(QFile::encodeName(folder).constData(), mode_t(mode)), 0);
    if (foreign)
        QCOMPARE(::chown(QFile::encodeName(folder).constData(), otherUser, otherUser), 0);

    qputenv("REWORDIX_HOME", QFile::encodeName(folder));
    const storage::WorkingFolder wf = storage::openWorkingFolder();
    qunsetenv("REWORDIX_HOME");

    QCOMPARE(wf.path, folder + u'/');
    QCOMPARE(wf.ok(), usable);
    if (foreign) {
        QVERIFY2(wf.error.contains(QLatin1String("belongs to another user")), qPrintable(wf.error));
        // The database is not opened there either.
        LocalDatabase db;
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("another user")));
        QVERIFY(!db.connect(wf.path));
        QVERIFY(!QFileInfo::exists(folder + QStringLiteral("/db.sqlite")));
    }
    QCOMPARE(modeOf(folder), modeAfter);
}

void OwnerFilesTest::databaseLinkRefused()
{
    const QString target = path(QStringLiteral("victim"));
    QVERIFY(writeFile(target, "not yours to overwrite"));
    QVERIFY(QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                              QFile::ReadOther));
    QVERIFY(QFile::link(target, path(QStringLiteral("db.sqlite"))));

    LocalDatabase db;
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("symbolic link")));
    QVERIFY(!db.connect(dir->path()));
    QVERIFY(db.errorString().contains(QLatin1String("symbolic link")));
    QVERIFY(!db.isDamaged());
    QCOMPARE(contentsOf(target), QByteArray("not yours to overwrite"));
    QCOMPARE(modeOf(target), 0644);
}

void OwnerFilesTest::foreignDatabaseRefused()
{
    if (::geteuid() != 0)
        QSKIP("giving a file to another user needs root");
    const QString file = path(QStringLiteral("db.sqlite"));
    QVERIFY(writeFile(file, QByteArray()));
    QCOMPARE(::chown(QFile::encodeName(file).constData(), otherUser, otherUser), 0);

    LocalDatabase db;
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("another user")));
    QVERIFY(!db.connect(dir->path()));
    QVERIFY(!db.isOpen());
}

void OwnerFilesTest::damagedDatabaseMovedAside()
{
    const QString file = path(QStringLiteral("db.sqlite"));
    const QByteArray garbage(8192, 'x');
    QVERIFY(writeFile(file, garbage));

    LocalDatabase db;
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("cannot be read")));
    QVERIFY(!db.connect(dir->path()));
    QVERIFY(db.isDamaged());
    QVERIFY2(db.errorString().contains(QLatin1String("not a database")),
             qPrintable(db.errorString()));
    QCOMPARE(contentsOf(file), garbage); // the user's file is never changed by a failed open
    QVERIFY(writeFile(file + QStringLiteral("-journal"), "old journal"));

    const QDateTime when(QDate(2026, 12, 8), QTime(11, 30, 5));
    const LocalDatabase::MoveAside moved = LocalDatabase::moveAside(dir->path(), when);
    QCOMPARE(moved.error, QString());
    QCOMPARE(moved.movedTo, file + QStringLiteral(".damaged-20261208-113005"));
    QCOMPARE(contentsOf(moved.movedTo), garbage);
    // The journal belongs to the damaged file and goes with it.
    QCOMPARE(contentsOf(moved.movedTo + QStringLiteral("-journal")), QByteArray("old journal"));
    QVERIFY(!QFileInfo::exists(file + QStringLiteral("-journal")));

    QVERIFY2(db.connect(dir->path()), qPrintable(db.errorString()));
    QCOMPARE(db.errorString(), QString());
    QSqlQuery q(db.database());
    QVERIFY(q.exec(QStringLiteral("select count(*) from eng_usersyn")));
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toInt(), 0);
    db.shutdown();

    // A second move in the same second keeps the first one.
    QVERIFY(writeFile(file, garbage));
    QCOMPARE(LocalDatabase::moveAside(dir->path(), when).movedTo,
             moved.movedTo + QStringLiteral("-2"));
    QCOMPARE(contentsOf(moved.movedTo), garbage);
}

void OwnerFilesTest::settingsFileOwnerOnly()
{
    storage::setValue(QStringLiteral("recentFileList"), QStringList{QStringLiteral("/a.txt")});
    const QString file = QSettings(QSettings::NativeFormat, QSettings::UserScope,
                                   storage::organisationName, storage::applicationName)
                             .fileName();
    QSettings(QSettings::NativeFormat, QSettings::UserScope, storage::organisationName,
              storage::applicationName)
        .sync();
    QVERIFY(contentsOf(file).contains("a.txt"));
    QCOMPARE(modeOf(file), 0600);
}

QTEST_GUILESS_MAIN(OwnerFilesTest)
#include "ownerfiles_test.moc"
