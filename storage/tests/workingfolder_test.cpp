#include "testsupport/testsupport.h"
#include "storage/workingfolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {

constexpr QFile::Permissions ownerOnly = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                         QFile::ReadUser | QFile::WriteUser | QFile::ExeUser;

// Permission bits that someone other than the owner has.
QFile::Permissions othersBits(const QString &path)
{
    return QFileInfo(path).permissions() & (QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                                            QFile::ReadOther | QFile::WriteOther | QFile::ExeOther);
}

} // namespace

class WorkingFolderTest final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void location_data();
    void location();
    void existingFolderKept();
    void cannotBeCreated();

private:
    QTemporaryDir tmp;
    QString dataHome;
};

void WorkingFolderTest::initTestCase()
{
    QVERIFY(tmp.isValid());
    dataHome = tmp.filePath(QStringLiteral("data"));
    // This test checks where the folders are found from the XDG variables, so it points them
    // into its own temporary folder instead of using the test mode's private folders.
    QStandardPaths::setTestModeEnabled(false);
    qputenv("XDG_DATA_HOME", QFile::encodeName(dataHome));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(tmp.filePath(QStringLiteral("config"))));
}

void WorkingFolderTest::init()
{
    qunsetenv("REWORDIX_HOME");
}

void WorkingFolderTest::cleanup()
{
    qunsetenv("REWORDIX_HOME");
    QDir::setCurrent(QDir::tempPath());
}

void WorkingFolderTest::location_data()
{
    QTest::addColumn<QString>("home");     // REWORDIX_HOME, relative to tmp; null: unset
    QTest::addColumn<QString>("expected"); // relative to tmp

    QTest::newRow("unset: per-user data folder")
        << QString() << QStringLiteral("data/rewordix_temp/");
    QTest::newRow("empty variable counts as unset")
        << QStringLiteral("") << QStringLiteral("data/rewordix_temp/");
    QTest::newRow("override without trailing slash")
        << QStringLiteral("home1") << QStringLiteral("home1/");
    QTest::newRow("override with trailing slash")
        << QStringLiteral("home2/") << QStringLiteral("home2/");
    QTest::newRow("override with missing parents")
        << QStringLiteral("deep/er/home3") << QStringLiteral("deep/er/home3/");
    QTest::newRow("override with dot segments")
        << QStringLiteral("x/../home4/.") << QStringLiteral("home4/");
}

void WorkingFolderTest::location()
{
    QFETCH(QString, home);
    QFETCH(QString, expected);
    if (!home.isNull())
        qputenv("REWORDIX_HOME", QFile::encodeName(home.isEmpty() ? home : tmp.filePath(home)));

    const QString folder = storage::workingFolder();

    QCOMPARE(folder, tmp.filePath(expected));
    QVERIFY(QFileInfo(folder).isDir());
    QCOMPARE(othersBits(folder), QFile::Permissions());
    QCOMPARE(QFileInfo(folder).permissions() & ownerOnly, ownerOnly);
}

void WorkingFolderTest::existingFolderKept()
{
    // A relative override is resolved against the current directory and returned absolute, so
    // the tempDir the program keeps does not move when the current directory changes.
    QDir::setCurrent(tmp.path());
    qputenv("REWORDIX_HOME", "kept");
    QVERIFY(QDir(tmp.path()).mkdir(QStringLiteral("kept")));
    QFile keep(tmp.filePath(QStringLiteral("kept/eng_syn.dat")));
    QVERIFY(keep.open(QIODevice::WriteOnly));
    keep.write("UTF-8\n");
    keep.close();

    const QString folder = storage::workingFolder();
    QDir::setCurrent(QDir::tempPath());

    QCOMPARE(folder, tmp.filePath(QStringLiteral("kept/")));
    QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList{QStringLiteral("eng_syn.dat")});
}

void WorkingFolderTest::cannotBeCreated()
{
    // A regular file where a parent folder should be: nothing can be created below it.
    QFile blocker(tmp.filePath(QStringLiteral("blocker")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    qputenv("REWORDIX_HOME", QFile::encodeName(tmp.filePath(QStringLiteral("blocker/home"))));

    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("working folder")));
    QCOMPARE(storage::workingFolder(), tmp.filePath(QStringLiteral("blocker/home/")));
    QVERIFY(QFileInfo(blocker.fileName()).isFile());
    QVERIFY(!storage::ensureOwnerOnlyFolder(tmp.filePath(QStringLiteral("blocker"))));
}

REWORDIX_TEST_GUILESS_MAIN(WorkingFolderTest)
#include "workingfolder_test.moc"
