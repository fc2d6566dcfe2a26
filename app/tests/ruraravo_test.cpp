// The program's command line, run for real: without arguments it hands over to the Updater
// beside it; with an argument, or when there is no Updater, it starts its window.

#include "testsupport/testsupport.h"
#include "app/ruraravo.h"
#include "app/singlecopy.h"

#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

namespace {

// A copy of the program in its own folder, so an Updater can be put beside it.
struct Installation
{
    QTemporaryDir dir;
    QString program = dir.filePath(QStringLiteral("rewordix"));
    QString updater = dir.filePath(QStringLiteral("rewordix-updater"));
    QString updaterLog = dir.filePath(QStringLiteral("updater-arguments"));
    QString home = dir.filePath(QStringLiteral("home/"));

    Installation() { QFile::copy(QStringLiteral(REWORDIX_PROGRAM), program); }

    // An Updater that only records its arguments, one a line.
    void addUpdater() const
    {
        QFile script(updater);
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\nprintf '%s\\n' \"$@\" > \"" + updaterLog.toUtf8() + "\"\n");
        script.close();
        script.setPermissions(script.permissions() | QFileDevice::ExeOwner);
    }

    void start(QProcess &process, const QStringList &arguments) const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("REWORDIX_HOME"), home);
        env.insert(QStringLiteral("HOME"), dir.path());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral("config")));
        env.insert(QStringLiteral("XDG_DATA_HOME"), dir.filePath(QStringLiteral("data")));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        process.setProcessEnvironment(env);
        process.start(program, arguments);
        QVERIFY(process.waitForStarted());
    }
};

QStringList readLines(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

// True when the program is still running after `ms` (it shows its window and waits).
bool stillRunningAfter(QProcess &process, int ms)
{
    const bool ended = process.waitForFinished(ms);
    if (!ended) {
        process.kill();
        process.waitForFinished();
    }
    return !ended;
}

} // namespace

class RurAravoTest final : public QObject
{
    Q_OBJECT

private slots:
    void updaterArguments()
    {
        // The test program's folder is the build folder, which its user can write.
        const QString download = RurAravo::canReplaceItself() ? "/w/rewordix" : "";
        QCOMPARE(RurAravo::updaterArguments(QStringLiteral("/w/")),
                 QStringList({"1.191", download}));
    }

    void canReplaceItself()
    {
        QTemporaryDir writable;
        QVERIFY(RurAravo::canReplaceItself(false, writable.path()));
        QVERIFY2(!RurAravo::canReplaceItself(true, writable.path()),
                 "a package's program must leave its files to the package manager");
        QVERIFY(!RurAravo::canReplaceItself(false, writable.filePath("no such folder")));
    }

    void filesToOpen_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QStringList>("files");
        QTest::newRow("none") << QStringList{"rewordix"} << QStringList{};
        QTest::newRow("the Updater's 1 is no file")
            << QStringList{"rewordix", "1"} << QStringList{};
        QTest::newRow("files from a file manager")
            << QStringList{"rewordix", "a.txt", "/b/c.txt"} << QStringList{"a.txt", "/b/c.txt"};
        QTest::newRow("after the Updater's 1")
            << QStringList{"rewordix", "1", "a.txt"} << QStringList{"a.txt"};
        QTest::newRow("a later 1 is a file")
            << QStringList{"rewordix", "a.txt", "1"} << QStringList{"a.txt", "1"};
    }
    void filesToOpen()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, files);
        QCOMPARE(RurAravo::filesToOpen(arguments), files);
    }

    // A file named on the command line is opened (it becomes the most recent file); one that
    // cannot be read is named, and the program keeps running.
    void opensFilesFromTheCommandLine()
    {
        Installation install;
        install.addUpdater();
        const QString article = install.dir.filePath(QStringLiteral("article.txt"));
        const QString missing = install.dir.filePath(QStringLiteral("missing.txt"));
        QFile file(article);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("{quick|fast} text\n");
        file.close();

        QProcess process;
        install.start(process, {article, missing});
        QByteArray said;
        QTRY_VERIFY2_WITH_TIMEOUT((said += process.readAllStandardError(),
                                   said.contains("cannot open " + missing.toUtf8())),
                                  said.constData(), 20000);
        QVERIFY(!said.contains("cannot open " + article.toUtf8()));
        QVERIFY(!QFile::exists(install.updaterLog)); // files skip the hand-over
        QVERIFY(stillRunningAfter(process, 500));
        QFile settings(install.dir.filePath(QStringLiteral("config/Tarnvale org/"
                                                           "Polyvane Alpha 1.0.conf")));
        QVERIFY(settings.open(QIODevice::ReadOnly));
        const QByteArray stored = settings.readAll();
        QVERIFY2(stored.contains(article.toUtf8()), stored.constData());
        QVERIFY(!stored.contains(missing.toUtf8()));
    }

    void noArgumentsHandsOverToUpdater()
    {
        Installation install;
        install.addUpdater();
        QProcess process;
        install.start(process, {});
        QVERIFY(process.waitForFinished(30000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 1);
        QTRY_COMPARE_WITH_TIMEOUT(readLines(install.updaterLog),
                                  QStringList({"1.191", install.home + "rewordix"}), 10000);
        QVERIFY(QFileInfo(install.home).isDir()); // the working folder was created
    }

    void anArgumentSkipsTheHandOver()
    {
        Installation install;
        install.addUpdater();
        QProcess process;
        install.start(process, {QStringLiteral("1")});
        QVERIFY(stillRunningAfter(process, 3000));
        QVERIFY(!QFile::exists(install.updaterLog));
        QVERIFY(QFile::exists(install.home + "db.sqlite")); // the window opened its database
    }

    void missingUpdaterStartsTheWindow()
    {
        Installation install;
        QProcess process;
        install.start(process, {});
        QVERIFY(stillRunningAfter(process, 3000));
        QVERIFY(QFile::exists(install.home + "db.sqlite"));
    }

    // A copy started on a working folder that a running copy holds says so and touches
    // nothing; once the holder is gone (killed, its lock file left behind) the next copy takes
    // the folder over.
    void oneCopyPerWorkingFolder()
    {
        Installation install;
        install.addUpdater();
        const QString lockPath = install.home + SingleCopy::lockFileName;
        const auto holder = [&] {
            QFile lock(lockPath); // names the holding process on its first line
            return lock.open(QIODevice::ReadOnly) ? lock.readLine().trimmed() : QByteArray();
        };
        const auto saysAlreadyRunning = [](QProcess &process) {
            QByteArray said;
            QTRY_VERIFY2_WITH_TIMEOUT((said += process.readAllStandardError(),
                                       said.contains("Rewordix is already running.")),
                                      "the second copy did not say that a copy runs", 20000);
            // It waits in its message box.
            QCOMPARE(process.state(), QProcess::Running);
            process.kill();
            QVERIFY(process.waitForFinished(20000));
        };

        {
            // This test holds the folder: the program must leave it exactly as it is.
            QVERIFY(QDir().mkpath(install.home));
            const SingleCopy held(install.home);
            QVERIFY(held.isFirst());
            QProcess second;
            install.start(second, {QStringLiteral("1")});
            saysAlreadyRunning(second);
            QCOMPARE(QDir(install.home).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                     QStringList{SingleCopy::lockFileName});
        }

        QProcess first;
        install.start(first, {QStringLiteral("1")});
        QTRY_COMPARE_WITH_TIMEOUT(holder(), QByteArray::number(first.processId()), 20000);
        QProcess second;
        install.start(second, {QStringLiteral("1")});
        saysAlreadyRunning(second);
        QCOMPARE(first.state(), QProcess::Running);
        QCOMPARE(holder(), QByteArray::number(first.processId()));

        first.kill();
        QVERIFY(first.waitForFinished(20000));
        QVERIFY(QFile::exists(lockPath)); // left behind by the killed copy
        QProcess third;
        install.start(third, {QStringLiteral("1")});
        QTRY_COMPARE_WITH_TIMEOUT(holder(), QByteArray::number(third.processId()), 20000);
        QVERIFY(stillRunningAfter(third, 1000));
        QVERIFY(!third.readAllStandardError().contains("already running"));
    }

    // A refused working folder is someone else's: no Updater is pointed at a program waiting
    // there, no lock is taken there (a lock that cannot be made must not read as "already
    // running"), and the window starts. The warning comes after both decisions, so seeing it
    // tells that neither the hand-over nor the single-copy exit happened.
    void refusedFolderIsNotUsed_data()
    {
        QTest::addColumn<bool>("foreign");
        QTest::newRow("a file in the folder's place") << false;
        QTest::newRow("folder of another user, a program planted in it") << true;
    }
    void refusedFolderIsNotUsed()
    {
        QFETCH(bool, foreign);
        Installation install;
        install.addUpdater();
        const QString home = install.home.chopped(1);
        if (foreign) {
            if (::geteuid() != 0)
                QSKIP("giving a folder to another user needs root");
            QVERIFY(QDir().mkdir(home));
            QVERIFY(QFile::copy(install.updater, home + "/rewordix"));
            QVERIFY(QFile::setPermissions(home, QFileDevice::Permissions(0x7777)));
            QCOMPARE(::chown(QFile::encodeName(home).constData(), 65534, 65534), 0);
        } else {
            QFile file(home);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        QProcess process;
        install.start(process, {});
        QByteArray said;
        QTRY_VERIFY2_WITH_TIMEOUT((said += process.readAllStandardError(),
                                   said.contains("the working folder is refused")),
                                  "the program did not go on past the refused folder", 20000);
        QCOMPARE(process.state(), QProcess::Running);
        process.kill();
        QVERIFY(process.waitForFinished(20000));
        QVERIFY2(!said.contains("already running"), said.constData());
        QVERIFY(!QFile::exists(install.updaterLog));
        if (foreign)
            QCOMPARE(QDir(home).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                     QStringList{"rewordix"});
    }

    void singleCopyInProcess()
    {
        QTemporaryDir folder;
        {
            const SingleCopy one(folder.path());
            QVERIFY(one.isFirst());
            const SingleCopy two(folder.path() + "/");
            QVERIFY(!two.isFirst());
        }
        const SingleCopy again(folder.path()); // released when the first copy ended
        QVERIFY(again.isFirst());
    }
};

REWORDIX_TEST_GUILESS_MAIN(RurAravoTest)
#include "ruraravo_test.moc"
