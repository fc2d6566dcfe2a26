#include "services/networkclient.h"
#include "services/synonymsync.h"
#include "services/updatechannels.h"
#include "testfolder.h"
#include "updateserver.h"

#include "synonyms/synonymstore.h"

#include <QSignalSpy>
#include <QtTest>

#include <memory>

// The whole start-up chain against a local update server, observed from the server's request
// log and the working folder.
class UpdateChannelsTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir noThesauri;
    std::unique_ptr<TestFolder> home;
    std::unique_ptr<UpdateServer> server;
    std::unique_ptr<SynonymStore> store;
    std::unique_ptr<UpdateChannels> channels;

    QString folder() const { return home->path(); }
    void write(const QString &name, const QByteArray &content) { home->write(name, content); }
    QByteArray read(const QString &name) const { return home->read(name); }
    void makeChannels(const QString &url, bool canReplaceItself = true)
    {
        channels = std::make_unique<UpdateChannels>(*store);
        channels->configure(url, QStringLiteral("u1"), 1.191,
                            canReplaceItself ? folder() + "rewordix" : QString());
        // Only English is fetched, which keeps the request log short.
        channels->synonyms().setLanguageEnabled([](const QString &code) { return code == "eng"; });
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
        store = std::make_unique<SynonymStore>();
        store->setTempDir(folder());
        store->setThesaurusFolder(noThesauri.path() + "/");
    }
    void cleanup()
    {
        channels.reset();
        store.reset();
    }

    void fullChain()
    {
        write("eng_qlog.log", "\xEF\xBB\xBFquick|fast|1");
        write("eng_syn.dat", "synonym version 1\nold|a|b\n");
        server->put("page_20", "1.191");
        server->put("page_346", "2|9|9|9");
        server->put("english_syn4.dat", "synonym version 2\nfast|quick|rapid\n");
        server->put("english_fav_syn4.dat", "synonym version 2\nfast|__best::::speedy\n");
        makeChannels(server->url());
        QSignalSpy walked(&channels->synonyms(), &SynonymSync::walkFinished);
        QSignalSpy loads(store.get(), &SynonymStore::loadingFinished);

        channels->start();
        QVERIFY2(walked.wait(20000), "the chain did not reach the end of the walk");
        QCOMPARE(server->requests(),
                 (QStringList{"POST /?page_id=11", "GET /?page_id=20", "GET /?page_id=346",
                              "GET /english_syn4.dat", "GET /english_fav_syn4.dat"}));
        QCOMPARE(server->posted(1),
                 QByteArray("eng_q=\xEF\xBB\xBFquick|fast|1&res=u1&version=1.191"));
        QVERIFY(!QFile::exists(folder() + "eng_qlog.log"));
        // The first load, then one reload per English download.
        QCOMPARE(loads.count(), 3);
        QCOMPARE(store->allUserSyn.value("fast"), (QStringList{"quick", "rapid"}));
        QCOMPARE(store->bestfav.value("fast"), QStringList{"speedy"});
        QVERIFY(!QFile::exists(folder() + "rewordix"));
    }

    void newProgramStopsTheChain()
    {
        server->put("page_20", "1.2");
        server->put("Rewordix.exe", "\x7F"
                                    "ELF program");
        makeChannels(server->url());
        QSignalSpy ready(channels.get(), &UpdateChannels::newVersionDownloaded);
        channels->start();
        QVERIFY2(ready.wait(20000), "no new program was reported");
        QCOMPARE(server->requests(), (QStringList{"GET /?page_id=20", "GET /Rewordix.exe"}));
        QCOMPARE(read("rewordix"), QByteArray("\x7F"
                                              "ELF program"));
    }

    // A packaged copy is told about the new version and where to download it; the chain goes on
    // with the lists as if there were none, and nothing is left for the Updater.
    void packagedCopyOnlyAnnouncesNewProgram()
    {
        server->put("page_20", "1.2");
        server->put("Rewordix.exe", "\x7F"
                                    "ELF program");
        server->put("page_346", "0|0|0|0");
        makeChannels(server->url(), false);
        QSignalSpy walked(&channels->synonyms(), &SynonymSync::walkFinished);
        QSignalSpy downloaded(channels.get(), &UpdateChannels::newVersionDownloaded);
        QSignalSpy told(channels.get(), &UpdateChannels::userMessage);
        channels->start();
        QVERIFY2(walked.wait(20000), "the list channel did not follow the announcement");
        QTRY_COMPARE_WITH_TIMEOUT(told.count(), 1, 20000);
        QCOMPARE(told.first().at(1).toString(),
                 UpdateChannels::newVersionText("1.2", QUrl(server->url() + "/Rewordix.exe")));
        QVERIFY(told.first().at(1).toString().contains(server->url() + "/Rewordix.exe"));
        QCOMPARE(downloaded.count(), 0);
        QCOMPARE(server->requests(), (QStringList{"GET /?page_id=20", "GET /?page_id=346"}));
        QVERIFY(!QFile::exists(folder() + "rewordix"));
    }

    void noServerOnlyLoads()
    {
        write("eng_log.log", "a|b");
        makeChannels(QString());
        QSignalSpy loads(store.get(), &SynonymStore::loadingFinished);
        channels->start();
        QCOMPARE(loads.count(), 1);
        QTest::qWait(50);
        QCOMPARE(server->requests(), QStringList());
        QCOMPARE(read("eng_log.log"), QByteArray("a|b"));
    }

    void unreadableListIsFetchedAgain()
    {
        server->put("page_20", "1.0");
        server->put("page_346", "1|0|0|0");
        server->put("english_syn4.dat", "synonym version 1\nfast|quick|rapid\n");
        server->put("english_fav_syn4.dat", "synonym version 1\n");
        makeChannels(server->url());
        QSignalSpy walked(&channels->synonyms(), &SynonymSync::walkFinished);
        channels->start();
        QVERIFY(walked.wait(20000));
        QCOMPARE(store->allUserSyn.value("fast"), (QStringList{"quick", "rapid"}));

        // The list in use gets damaged; the next load deletes it and the chain fetches it anew.
        // The intact favourites file is kept, so it is not fetched again.
        write("eng_syn.dat", "synonym version 1\nfa\xffst|quick|rapid\n");
        store->loadSynonyms();
        QVERIFY2(walked.wait(20000), "the lists were not asked for again");
        QCOMPARE(server->requests().mid(4),
                 (QStringList{"GET /?page_id=346", "GET /english_syn4.dat"}));
        QCOMPARE(read("eng_syn.dat"), QByteArray("synonym version 1\nfast|quick|rapid\n"));
        QCOMPARE(store->allUserSyn.value("fast"), (QStringList{"quick", "rapid"}));
    }
};

QTEST_GUILESS_MAIN(UpdateChannelsTest)
#include "updatechannels_test.moc"
