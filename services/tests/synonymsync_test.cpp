#include "services/networkclient.h"
#include "services/synonymsync.h"
#include "testfolder.h"
#include "updateserver.h"

#include "synonyms/synonymstore.h"
#include "synonyms/usagelog.h"

#include <QSignalSpy>
#include <QtTest>

#include <memory>

// The synonym channel against a real HTTP server on 127.0.0.1: what is sent, what arrives in the
// working folder, and when the store is reloaded.
class SynonymSyncTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir noThesauri;
    std::unique_ptr<TestFolder> home;
    std::unique_ptr<UpdateServer> server;
    std::unique_ptr<NetworkClient> client;
    std::unique_ptr<SynonymStore> store;
    std::unique_ptr<SynonymSync> sync;
    QStringList off; // languages switched off in "Language Update"
    int reloads = 0;

    QString folder() const { return home->path(); }
    void write(const QString &name, const QByteArray &content) { home->write(name, content); }
    QByteArray read(const QString &name) const { return home->read(name); }

    // Runs the version query and the walk until it ends.
    void runWalk()
    {
        QSignalSpy done(sync.get(), &SynonymSync::walkFinished);
        sync->startSynonymUpdater();
        QVERIFY2(done.count() == 1 || done.wait(20000), "the download walk did not end");
    }
    void upload()
    {
        QSignalSpy done(sync.get(), &SynonymSync::uploadFinished);
        sync->updateServerDB();
        QVERIFY2(done.count() == 1 || done.wait(20000), "the upload did not end");
    }

private slots:
    void initTestCase()
    {
        server = std::make_unique<UpdateServer>();
        QVERIFY(server->start());
    }

    void init()
    {
        home = std::make_unique<TestFolder>();
        server->clear();
        client = std::make_unique<NetworkClient>();
        client->setBaseUrl(server->url());
        client->setTimeout(20000);
        store = std::make_unique<SynonymStore>();
        store->setTempDir(folder());
        store->setThesaurusFolder(noThesauri.path() + "/");
        sync = std::make_unique<SynonymSync>(*client, *store);
        sync->setUserId(QStringLiteral("user-7"));
        sync->setProgramVersion(1.191);
        off.clear();
        sync->setLanguageEnabled([this](const QString &code) { return !off.contains(code); });
        reloads = 0;
        connect(sync.get(), &SynonymSync::reloadRequested, this, [this] {
            ++reloads;
            store->loadSynonyms();
        });
    }
    void cleanup()
    {
        sync.reset();
        store.reset();
        client.reset();
    }

    // ---- usage upload ---------------------------------------------------------------------

    void uploadForm_data()
    {
        QTest::addColumn<QStringList>("logs"); // "file=content"
        QTest::addColumn<QByteArray>("form");  // empty: nothing is sent
        QTest::newRow("no logs: nothing sent") << QStringList() << QByteArray();
        QTest::newRow("empty Quick Spin log still sent")
            << QStringList{"eng_qlog.log="} << QByteArray("eng_q=&res=user-7&version=1.191");
        QTest::newRow("kinds in order, languages in box order, values as they are")
            << QStringList{"heb_log.log=\xEF\xBB\xBFwort|a&b", "eng_unfav_log.log=u|v",
                           "bul_qlog.log=x|y|1\nx|z|0",        "eng_qlog.log=a|b|1",
                           "ara_delete_log.log=d|e",           "spa_fav_log.log=f|g"}
            << QByteArray("eng_q=a|b|1&bul_q=x|y|1\nx|z|0&heb_addedsyns=\xEF\xBB\xBFwort|a&b&"
                          "spa_favaddedsyns=f|g&ara_deletedsyns=d|e&eng_unfavoritedsyns=u|v&"
                          "res=user-7&version=1.191");
    }
    void uploadForm()
    {
        QFETCH(QStringList, logs);
        QFETCH(QByteArray, form);
        for (const QString &log : logs) {
            const qsizetype eq = log.indexOf(u'=');
            write(log.left(eq), log.mid(eq + 1).toUtf8());
        }
        upload();
        if (form.isEmpty()) {
            QCOMPARE(server->requests(), QStringList());
            return;
        }
        QCOMPARE(server->requests(), QStringList{"POST /?page_id=11"});
        QCOMPARE(server->posted(1), form);
        for (const QString &log : logs)
            QVERIFY2(!QFile::exists(folder() + log.left(log.indexOf(u'='))), qPrintable(log));
    }

    void failedUploadKeepsLogs()
    {
        write("eng_qlog.log", "\xEF\xBB\xBFword|entry|1");
        server->put("post_page_11", "busy");
        server->setStatus("post_page_11", 503);
        upload();
        QCOMPARE(server->requests(), QStringList{"POST /?page_id=11"});
        QCOMPARE(read("eng_qlog.log"), QByteArray("\xEF\xBB\xBFword|entry|1"));

        // The next start sends them again.
        server->setStatus("post_page_11", 200);
        upload();
        QCOMPARE(server->posted(2), server->posted(1));
        QVERIFY(!QFile::exists(folder() + "eng_qlog.log"));
    }

    void noServerKeepsLogsAndSendsNothing()
    {
        write("eng_log.log", "a|b");
        client->setBaseUrl(QString());
        upload();
        QCOMPARE(read("eng_log.log"), QByteArray("a|b"));
        QCOMPARE(server->requests(), QStringList());
        runWalk();
        QCOMPARE(server->requests(), QStringList());
    }

    void recordsAddedDuringUploadAreKept()
    {
        write("eng_log.log", "\xEF\xBB\xBF"
                             "a|b");
        const UsageForm form = UsageForm::collect(folder(), "u", 1.191);
        QVERIFY(UsageLog::append(folder(), "eng", UsageLog::Kind::Add, "c|d"));
        form.removeSentLogs();
        QCOMPARE(read("eng_log.log"), QByteArray("\xEF\xBB\xBF"
                                                 "c|d"));
        QCOMPARE(QFile::permissions(folder() + "eng_log.log") & 0x0077, QFileDevice::Permissions());
    }

    void linkedLogIsNotSent()
    {
        QTemporaryDir elsewhere;
        const QString secret = elsewhere.filePath("secret");
        {
            QFile f(secret);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("private key");
        }
        QVERIFY(QFile::link(secret, folder() + "eng_qlog.log"));
        write("eng_log.log", "a|b");
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("eng_qlog.log is a symbolic link"));
        upload();
        QCOMPARE(server->posted(1), QByteArray("eng_addedsyns=a|b&res=user-7&version=1.191"));
        QFile f(secret);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("private key"));
    }

    // ---- version query and downloads --------------------------------------------------------

    void walkRequests_data()
    {
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<QStringList>("files"); // local files "name=version"
        QTest::addColumn<QStringList>("switchedOff");
        QTest::addColumn<QStringList>("downloads");
        QTest::newRow("equal versions: nothing downloaded")
            << QByteArray("3|0|0|0")
            << QStringList{"eng_syn.dat=3",     "eng_syn_fav.dat=3", "heb_syn.dat=3",
                           "heb_syn_fav.dat=3", "ara_syn.dat=3",     "ara_syn_fav.dat=3"}
            << QStringList() << QStringList();
        QTest::newRow("three fields: the last group keeps 0")
            << QByteArray("0|0|2")
            << QStringList{"swe_syn.dat=2",     "swe_syn_fav.dat=2", "ita_syn.dat=2",
                           "ita_syn_fav.dat=1", "fre_syn.dat=2",     "fre_syn_fav.dat=2"}
            << QStringList() << QStringList{"/italian_fav_syn4.dat"};
        QTest::newRow("German switched off: the walk goes on with Spanish")
            << QByteArray("0|5|0|0") << QStringList{"rom_syn.dat=5", "rom_syn_fav.dat=5"}
            << QStringList{"ger"} << QStringList{"/spanish_syn4.dat", "/spanish_fav_syn4.dat"};
    }
    void walkRequests()
    {
        QFETCH(QByteArray, answer);
        QFETCH(QStringList, files);
        QFETCH(QStringList, switchedOff);
        QFETCH(QStringList, downloads);
        for (const QString &f : files) {
            const QStringList nv = f.split(u'=');
            write(nv[0], "synonym version " + nv[1].toUtf8() + "\nold|a|b\n");
        }
        off = switchedOff;
        store->curLang = "eng";
        store->loadSynonyms();
        server->put("page_346", answer);
        const QStringList names = {"spanish_syn4.dat", "spanish_fav_syn4.dat",
                                   "italian_fav_syn4.dat"};
        for (const QString &n : names)
            server->put(n, "synonym version 9\nnew|c|d\n");
        runWalk();

        QStringList expected{"GET /?page_id=346"};
        for (const QString &d : downloads)
            expected.append("GET " + d);
        QCOMPARE(server->requests(), expected);
    }

    void downloadReplacesListAndReloads()
    {
        write("eng_syn.dat", "synonym version 1\nold|a|b\n");
        write("ger_syn.dat", "synonym version 1\nalt|x|y\n");
        server->put("page_346", "2|2|0|0");
        server->put("english_syn4.dat", "synonym version 2\nfast|quick|rapid\n");
        server->put("german_syn4.dat", "synonym version 2\nschnell|rasch|flink\n");
        store->curLang = "ger";
        store->loadSynonyms();
        QSignalSpy started(sync.get(), &SynonymSync::downloadStarted);
        runWalk();

        QCOMPARE(read("eng_syn.dat"), QByteArray("synonym version 2\nfast|quick|rapid\n"));
        QCOMPARE(read("ger_syn.dat"), QByteArray("synonym version 2\nschnell|rasch|flink\n"));
        QVERIFY(!QFile::exists(folder() + "eng_syn2.dat"));
        QCOMPARE(store->fileVersion("eng", false), 2.0);
        // The English list reloads although German is current; the German list reloads because
        // it is current; the missing favourites (404) reload nothing.
        QCOMPARE(reloads, 2);
        QCOMPARE(store->allUserSyn.value("schnell"), (QStringList{"rasch", "flink"}));
        QCOMPARE(started.count(), 12); // six languages, list and favourites each
        QCOMPARE(started.first().first().toString(), "Downloading the new english database: ");
        QCOMPARE(started.at(1).first().toString(),
                 "Downloading the new english favorites database: ");
    }

    void otherLanguageDownloadDoesNotReload()
    {
        server->put("page_346", "0|2|0|0");
        off = QStringList{"rom", "spa"};
        server->put("german_fav_syn4.dat", "synonym version 2\nhaus|__best::::heim\n");
        store->curLang = "eng";
        runWalk();
        QCOMPARE(read("ger_syn_fav.dat"), QByteArray("synonym version 2\nhaus|__best::::heim\n"));
        QCOMPARE(reloads, 0);
    }

    void failedDownloadKeepsList_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("cut short of its Content-Length") << "truncate";
        QTest::newRow("server error") << "status";
        QTest::newRow("silent server: timeout") << "stall";
        QTest::newRow("empty answer") << "empty";
        QTest::newRow("no version line") << "noversion";
        QTest::newRow("not UTF-8") << "binary";
        QTest::newRow("larger than any list may be") << "huge";
    }
    void failedDownloadKeepsList()
    {
        QFETCH(QString, how);
        const QByteArray old = "synonym version 1\nold|a|b\n";
        write("eng_syn.dat", old);
        store->loadSynonyms();
        server->put("page_346", "2|0|0|0");
        QByteArray answer = "synonym version 2\nnew|c|d\n";
        if (how == "empty")
            answer.clear();
        else if (how == "noversion")
            answer = "<html>Moved</html>\nnew|c|d\n";
        else if (how == "binary")
            answer = "synonym version 2\n\xff\xfe\x00\x01";
        else if (how == "huge")
            answer += QByteArray(1000, 'a');
        server->put("english_syn4.dat", answer);
        if (how == "truncate")
            server->truncate("english_syn4.dat");
        else if (how == "status")
            server->setStatus("english_syn4.dat", 500);
        else if (how == "stall")
            server->stall("english_syn4.dat");
        if (how == "stall")
            client->setTimeout(500);
        if (how == "huge")
            client->setMaximumBytes(500);
        server->put("english_fav_syn4.dat", "synonym version 2\nnew|__good::::e\n");

        QSignalSpy messages(sync.get(), &SynonymSync::userMessage);
        runWalk();
        QCOMPARE(read("eng_syn.dat"), old);
        QVERIFY(!QFile::exists(folder() + "eng_syn2.dat"));
        QCOMPARE(store->allUserSyn.value("old"), (QStringList{"a", "b"}));
        QCOMPARE(messages.count(), 0);
        // The walk went on with the favourites.
        QCOMPARE(read("eng_syn_fav.dat"), QByteArray("synonym version 2\nnew|__good::::e\n"));
    }

    // Downloads are written owner-only, and a link planted under the waiting name is refused:
    // neither its target nor the list in use changes.
    void downloadIsOwnerOnlyAndFollowsNoLink_data()
    {
        QTest::addColumn<bool>("planted");
        QTest::newRow("fresh list: 0600 in place") << false;
        QTest::newRow("link under the waiting name: refused, target untouched") << true;
    }
    void downloadIsOwnerOnlyAndFollowsNoLink()
    {
        QFETCH(bool, planted);
        QTemporaryDir elsewhere;
        const QString victim = elsewhere.filePath("victim");
        const QByteArray old = "synonym version 1\nold|a|b\n";
        write("eng_syn.dat", old);
        if (planted) {
            QFile f(victim);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("the user's file");
            f.close();
            QVERIFY(QFile::link(victim, folder() + "eng_syn2.dat"));
        }
        server->put("page_346", "2|0|0|0");
        server->put("english_syn4.dat", "synonym version 2\nnew|c|d\n");
        QSignalSpy messages(sync.get(), &SynonymSync::userMessage);
        runWalk();
        if (planted) {
            QCOMPARE(messages.count(), 1);
            QCOMPARE(messages.first(), (QVariantList{"Error 003", "Error creating file."}));
            QCOMPARE(read("eng_syn.dat"), old);
            QVERIFY(QFileInfo(folder() + "eng_syn2.dat").isSymLink());
            QFile f(victim);
            QVERIFY(f.open(QIODevice::ReadOnly));
            QCOMPARE(f.readAll(), QByteArray("the user's file"));
        } else {
            QCOMPARE(messages.count(), 0);
            QCOMPARE(read("eng_syn.dat"), QByteArray("synonym version 2\nnew|c|d\n"));
            QCOMPARE(QFile::permissions(folder() + "eng_syn.dat") & 0x0077,
                     QFileDevice::Permissions());
        }
        // No temporary is left behind.
        QCOMPARE(QDir(folder()).entryList({"*.tmp"}, QDir::Files | QDir::Hidden), QStringList());
    }

    void uncreatableWaitingFileIsReported()
    {
        // A folder where the waiting file should go: it cannot be created.
        QVERIFY(QDir(folder()).mkdir("eng_syn2.dat"));
        server->put("page_346", "2|0|0|0");
        server->put("english_syn4.dat", "synonym version 2\nnew|c|d\n");
        server->put("english_fav_syn4.dat", "synonym version 2\nnew|__good::::e\n");
        QSignalSpy messages(sync.get(), &SynonymSync::userMessage);
        runWalk();
        QCOMPARE(messages.count(), 1);
        QCOMPARE(messages.first(), (QVariantList{"Error 003", "Error creating file."}));
        QCOMPARE(read("eng_syn_fav.dat"), QByteArray("synonym version 2\nnew|__good::::e\n"));
    }
};

QTEST_GUILESS_MAIN(SynonymSyncTest)
#include "synonymsync_test.moc"
