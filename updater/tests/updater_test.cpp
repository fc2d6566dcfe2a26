#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

// The real Updater program, copied into a temporary install folder beside a stand-in main
// program: a shell script that records how it was started.
class UpdaterTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> root;

    QString bin() const { return root->path() + "/bin/"; }
    QString work() const { return root->path() + "/work/"; }
    QString updater() const { return bin() + "rewordix-updater"; }
    QString program() const { return bin() + "rewordix"; }
    QString download() const { return work() + "rewordix"; }
    QString startedMarker() const { return bin() + "started"; }

    // A stand-in main program: writes "<name> <arguments>" to bin/started when run.
    void writeScript(const QString &path, const QByteArray &name)
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("#!/bin/sh\necho \"" + name + " $*\" > \"" + startedMarker().toUtf8() + "\"\n");
        f.close();
        QVERIFY(f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                 QFile::ReadGroup | QFile::ExeGroup));
    }
    QByteArray read(const QString &path) const
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(absent)");
    }

    // Runs the Updater to its end; returns its exit code.
    int runUpdater(const QStringList &arguments)
    {
        QProcess p;
        p.setProcessChannelMode(QProcess::ForwardedChannels);
        p.start(updater(), arguments);
        if (!p.waitForFinished(20000)) {
            p.kill();
            p.waitForFinished();
            return -1;
        }
        return p.exitCode();
    }

private slots:
    void init()
    {
        root = std::make_unique<QTemporaryDir>();
        QVERIFY(QDir().mkpath(bin()) && QDir().mkpath(work()));
        QVERIFY(QFile::copy(QStringLiteral(UPDATER_PROGRAM), updater()));
        QVERIFY(QFile::setPermissions(updater(), QFile::ReadOwner | QFile::ExeOwner));
        writeScript(program(), "old");
    }

    void installsDownloadAndRestarts()
    {
        writeScript(download(), "new");
        // Started from elsewhere: the Updater finds the program next to itself.
        QCOMPARE(runUpdater({"1.191", download()}), 1);
        QTRY_COMPARE_WITH_TIMEOUT(read(startedMarker()), QByteArray("new 1\n"), 20000);
        QVERIFY(!QFile::exists(download()));
        QVERIFY(QFile::permissions(program()) & QFile::ExeOwner);
        // No temporary file is left beside the program.
        QCOMPARE(QDir(bin()).entryList(QDir::Files, QDir::Name),
                 (QStringList{"rewordix", "rewordix-updater", "started"}));
    }

    void restartsWithoutCopying_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("download path does not exist") << QStringList{"1.191", "/nonexistent/x"};
        QTest::newRow("blank download path") << QStringList{"1.191", "  "};
        QTest::newRow("no arguments") << QStringList();
        QTest::newRow("unparsable version, no path") << QStringList{"one"};
    }
    void restartsWithoutCopying()
    {
        QFETCH(QStringList, arguments);
        const QByteArray before = read(program());
        QCOMPARE(runUpdater(arguments), 1);
        QTRY_COMPARE_WITH_TIMEOUT(read(startedMarker()), QByteArray("old 1\n"), 20000);
        QCOMPARE(read(program()), before);
    }

    void failedInstallKeepsProgramAndDownload()
    {
        // The installed program cannot be replaced: its name is taken by a folder (a plain
        // permission change would not stop a test run as root).
        QVERIFY(QFile::remove(program()));
        QVERIFY(QDir().mkpath(program()));
        writeScript(program() + "/inside", "inside");
        writeScript(download(), "new");

        QProcess p;
        p.start(updater(), {"1.191", download()});
        QVERIFY(p.waitForStarted(20000));
        // The failure is printed, then the box waits for the user; the program is not started.
        QByteArray errors;
        QTRY_VERIFY_WITH_TIMEOUT(
            (errors += p.readAllStandardError()).contains("could not update application") ||
                p.state() == QProcess::NotRunning,
            20000);
        const bool waiting = p.state() == QProcess::Running;
        p.kill();
        p.waitForFinished(20000);
        QVERIFY2(waiting, "the Updater ended instead of showing its failure box");
        QVERIFY(!QFile::exists(startedMarker()));
        QVERIFY(QFileInfo(program()).isDir());
        QVERIFY(QFile::exists(program() + "/inside"));
        QVERIFY(read(download()).contains("new"));
        QCOMPARE(QDir(bin()).entryList(QDir::Files), QStringList{"rewordix-updater"});
    }
};

QTEST_GUILESS_MAIN(UpdaterTest)
#include "updater_test.moc"
