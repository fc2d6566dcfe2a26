#include "services/networkclient.h"
#include "services/programupdate.h"
#include "updateserver.h"

#include <QSignalSpy>
#include <QSslConfiguration>
#include <QtTest>

#include <memory>

// The program version check and download against a real HTTP server on 127.0.0.1.
class ProgramUpdateTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> home;
    std::unique_ptr<UpdateServer> server;
    std::unique_ptr<NetworkClient> client;
    std::unique_ptr<ProgramUpdate> update;

    QString downloadPath() const { return home->path() + "/rewordix"; }

    // Runs the check until it ends one way or the other; returns which: "new", "none", "error".
    QString check()
    {
        QSignalSpy fresh(update.get(), &ProgramUpdate::newVersionDownloaded);
        QSignalSpy none(update.get(), &ProgramUpdate::noNewVersion);
        QSignalSpy error(update.get(), &ProgramUpdate::versionCheckError);
        update->startUpdateChecker();
        QDeadlineTimer deadline(20000);
        while (fresh.count() + none.count() + error.count() == 0 && !deadline.hasExpired())
            QTest::qWait(10);
        QCoreApplication::processEvents();
        if (fresh.count() + none.count() + error.count() == 0)
            return QStringLiteral("no end within 20 s");
        if (fresh.count() + none.count() + error.count() != 1)
            return QStringLiteral("more than one end");
        return fresh.count()  ? QStringLiteral("new")
               : none.count() ? QStringLiteral("none")
                              : QStringLiteral("error");
    }

private slots:
    void initTestCase()
    {
        server = std::make_unique<UpdateServer>();
        QVERIFY(server->start());
    }
    void init()
    {
        home = std::make_unique<QTemporaryDir>();
        server->clear();
        client = std::make_unique<NetworkClient>();
        client->setBaseUrl(server->url());
        update = std::make_unique<ProgramUpdate>(*client);
        update->setCurrentVersion(1.191);
        update->setDownloadPath(downloadPath());
        server->put("Rewordix.exe", "\x7F"
                                    "ELF new program");
    }
    void cleanup()
    {
        update.reset();
        client.reset();
    }

    void versionAnswer_data()
    {
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<QString>("outcome");
        QTest::newRow("1.2 is newer than 1.191") << QByteArray("1.2\n") << "new";
        QTest::newRow("same version") << QByteArray("1.191") << "none";
        QTest::newRow("1.19 is older") << QByteArray("1.19") << "none";
        QTest::newRow("empty answer counts as 0") << QByteArray("") << "none";
        QTest::newRow("not a number counts as 0") << QByteArray("<html>2.0</html>") << "none";
    }
    void versionAnswer()
    {
        QFETCH(QByteArray, answer);
        QFETCH(QString, outcome);
        server->put("page_20", answer);
        QCOMPARE(check(), outcome);
        QStringList expected{"GET /?page_id=20"};
        if (outcome == "new")
            expected.append("GET /Rewordix.exe");
        QCOMPARE(server->requests(), expected);
        QCOMPARE(QFile::exists(downloadPath()), outcome == "new");
        if (outcome == "new") {
            QFile f(downloadPath());
            QVERIFY(f.open(QIODevice::ReadOnly));
            QCOMPARE(f.readAll(), QByteArray("\x7F"
                                             "ELF new program"));
        }
    }

    // A copy that cannot replace itself (no download path) announces a newer version with its
    // download address, fetches nothing, and lets the synonym channel follow.
    void withoutDownloadPathNewVersionIsOnlyAnnounced_data()
    {
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<bool>("announced");
        QTest::newRow("newer") << QByteArray(" 1.2\n") << true;
        QTest::newRow("same") << QByteArray("1.191") << false;
    }
    void withoutDownloadPathNewVersionIsOnlyAnnounced()
    {
        QFETCH(QByteArray, answer);
        QFETCH(bool, announced);
        server->put("page_20", answer);
        update->setDownloadPath(QString());
        QSignalSpy available(update.get(), &ProgramUpdate::newVersionAvailable);
        QSignalSpy started(update.get(), &ProgramUpdate::downloadStarted);
        QCOMPARE(check(), "none");
        QCOMPARE(server->requests(), QStringList{"GET /?page_id=20"});
        QCOMPARE(started.count(), 0);
        QCOMPARE(available.count(), announced ? 1 : 0);
        if (announced) {
            QCOMPARE(available.first().at(0).toString(), "1.2");
            QCOMPARE(available.first().at(1).toUrl(), QUrl(server->url() + "/Rewordix.exe"));
        }
        QVERIFY(QDir(home->path()).isEmpty());
    }

    void failedVersionQueryEndsTheRun()
    {
        server->put("page_20", "2.0");
        server->setStatus("page_20", 500);
        QCOMPARE(check(), "error");
        QCOMPARE(server->requests(), QStringList{"GET /?page_id=20"});
    }

    void badDownloadLeavesNothingForTheUpdater_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("empty") << "empty";
        QTest::newRow("cut short") << "truncate";
        QTest::newRow("missing") << "status";
        QTest::newRow("an error page is not a program") << "page";
    }
    void badDownloadLeavesNothingForTheUpdater()
    {
        QFETCH(QString, how);
        server->put("page_20", "9.5");
        if (how == "empty")
            server->put("Rewordix.exe", "");
        else if (how == "truncate")
            server->truncate("Rewordix.exe");
        else if (how == "page")
            server->put("Rewordix.exe", "<html>Service moved</html>");
        else
            server->setStatus("Rewordix.exe", 404);
        QCOMPARE(check(), "none");
        QVERIFY(!QFile::exists(downloadPath()));
    }

    // The download lies in the working folder: owner-only, and a link planted under its name is
    // neither written through nor replaced.
    void downloadIsOwnerOnlyAndFollowsNoLink_data()
    {
        QTest::addColumn<bool>("planted");
        QTest::newRow("fresh download: 0600") << false;
        QTest::newRow("link under the download name: refused, target untouched") << true;
    }
    void downloadIsOwnerOnlyAndFollowsNoLink()
    {
        QFETCH(bool, planted);
        QTemporaryDir elsewhere;
        const QString victim = elsewhere.filePath("victim");
        if (planted) {
            QFile f(victim);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("the user's file");
            f.close();
            QVERIFY(QFile::link(victim, downloadPath()));
        }
        server->put("page_20", "2");
        QCOMPARE(check(), planted ? "none" : "new");
        if (planted) {
            QVERIFY(QFileInfo(downloadPath()).isSymLink());
            QFile f(victim);
            QVERIFY(f.open(QIODevice::ReadOnly));
            QCOMPARE(f.readAll(), QByteArray("the user's file"));
        } else {
            QCOMPARE(QFile::permissions(downloadPath()) & 0x0077, QFileDevice::Permissions());
            QVERIFY(QFile::permissions(downloadPath()) & QFileDevice::WriteOwner);
        }
        // No temporary is left beside it.
        QCOMPARE(QDir(home->path()).entryList(QDir::Files | QDir::System | QDir::Hidden),
                 QStringList{"rewordix"});
    }

    void downloadRowAndSpeed()
    {
        server->put("page_20", "2");
        QSignalSpy started(update.get(), &ProgramUpdate::downloadStarted);
        QSignalSpy progress(update.get(), &ProgramUpdate::downloadProgress);
        QSignalSpy ended(update.get(), &ProgramUpdate::downloadEnded);
        QCOMPARE(check(), "new");
        QCOMPARE(started.count(), 1);
        QCOMPARE(started.first().first().toString(), "Downloading new version...");
        QCOMPARE(ended.count(), 1);
        QVERIFY(!progress.isEmpty());
        const QList<QVariant> last = progress.constLast();
        QCOMPARE(last.at(0).toLongLong(), qint64(16));
        QVERIFY2(last.at(2).toString().startsWith("Download Speed: "),
                 qPrintable(last.at(2).toString()));
    }

    void httpsServer()
    {
        // A certificate made for 127.0.0.1 and trusted by this test only.
        QTemporaryDir keys;
        const QString cert = keys.filePath("cert.pem"), key = keys.filePath("key.pem");
        QProcess openssl;
        openssl.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        openssl.start("openssl", {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2",
                                  "-subj", "/CN=127.0.0.1", "-addext",
                                  "subjectAltName=IP:127.0.0.1", "-keyout", key, "-out", cert});
        if (!openssl.waitForFinished(60000) || openssl.exitCode() != 0)
            QSKIP("openssl could not make a test certificate");
        QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
        tls.addCaCertificates(cert);
        QSslConfiguration::setDefaultConfiguration(tls);

        UpdateServer secure;
        QVERIFY(secure.start(cert, key));
        QVERIFY(secure.url().startsWith("https://"));
        secure.put("page_20", "1.2");
        secure.put("Rewordix.exe", "\x7F"
                                   "ELF secure program");
        client->setBaseUrl(secure.url());
        QCOMPARE(check(), "new");
        QCOMPARE(secure.requests(), (QStringList{"GET /?page_id=20", "GET /Rewordix.exe"}));
        QFile f(downloadPath());
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("\x7F"
                                         "ELF secure program"));
    }
};

QTEST_GUILESS_MAIN(ProgramUpdateTest)
#include "programupdate_test.moc"
