// The update server's start-up chain in a started window, against a local server: the usage
// upload, the synonym load, the version check and the list downloads, seen from the server's
// request log, the working folder, the store and the download row.

#include "testsupport/testsupport.h"
#include "windowparts.h"

#include "app/lexora3.h"
#include "services/tests/updateserver.h"
#include "storage/language.h"
#include "synonyms/synonymstore.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProgressBar>

#include <memory>

class UpdateWindowTest final : public QObject
{
    Q_OBJECT

private:
    UpdateServer server;

    QString workFolder() const { return qEnvironmentVariable("REWORDIX_HOME") + "/"; }
    void writeFile(const QString &name, const QByteArray &content)
    {
        QDir().mkpath(workFolder());
        QFile f(workFolder() + name);
        QVERIFY(f.open(QIODevice::WriteOnly));
        QCOMPARE(f.write(content), content.size());
    }
    QByteArray readFile(const QString &name) const
    {
        QFile f(workFolder() + name);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(absent)");
    }
    static std::unique_ptr<Lexora3> startWindow()
    {
        auto w = std::make_unique<Lexora3>(nullptr, 1.191, false);
        w->show();
        w->show2();
        return w;
    }

private slots:
    void initTestCase() { QVERIFY(server.start()); }
    void init()
    {
        QSettings().clear();
        QDir(workFolder()).removeRecursively();
        server.clear();
        qputenv("REWORDIX_THESAURUS_DIR", QByteArray("/nonexistent/"));
        qputenv("REWORDIX_UPDATE_SERVER", server.url().toUtf8());
        // Only English lists are fetched: the other languages' switches are off.
        for (const Language &l : Language::all()) {
            if (l.code != u"eng")
                storage::setValue(storage::languageUpdateKey(l.code), QStringLiteral("false"));
        }
    }

    void startUpChain()
    {
        writeFile("eng_qlog.log", "\xEF\xBB\xBF"
                                  "fast|quick|1");
        writeFile("eng_syn.dat", "synonym version 1\nfast|quick|rapid\n");
        server.put("page_20", "1.191");
        server.put("page_346", "2|2|2|2");
        server.put("english_syn4.dat", "synonym version 2\nfast|speedy|swift\n");
        server.put("english_fav_syn4.dat", "synonym version 2\nfast|__best::::brisk\n");

        auto w = startWindow();
        QTRY_COMPARE_WITH_TIMEOUT(server.requests().size(), 5, 20000);
        QCOMPARE(server.requests(),
                 (QStringList{"POST /?page_id=11", "GET /?page_id=20", "GET /?page_id=346",
                              "GET /english_syn4.dat", "GET /english_fav_syn4.dat"}));
        QVERIFY(server.posted(1).startsWith("eng_q=\xEF\xBB\xBF"
                                            "fast|quick|1&res="));
        QVERIFY(server.posted(1).endsWith("&version=1.191"));
        QTRY_COMPARE_WITH_TIMEOUT(w->synonymStore()->bestfav.value("fast"), QStringList{"brisk"},
                                  20000);
        QCOMPARE(w->synonymStore()->allUserSyn.value("fast"), (QStringList{"speedy", "swift"}));
        QCOMPARE(readFile("eng_syn.dat"), QByteArray("synonym version 2\nfast|speedy|swift\n"));
        QVERIFY(!QFile::exists(workFolder() + "eng_qlog.log"));
        QVERIFY(w->isEnabled());

        // The row told of each download and is hidden again.
        QVERIFY(!parts::child<QWidget>(*w, "downloadRow")->isVisible());
        QCOMPARE(parts::child<QLabel>(*w, "downloadQL")->text(),
                 QStringLiteral("Downloading the new english favorites database: "));
        QVERIFY(parts::child<QLabel>(*w, "downloadSpeedQL")->text().startsWith("Download Speed: "));
    }

    void noServerKeepsTheLogs()
    {
        qputenv("REWORDIX_UPDATE_SERVER", QByteArray());
        writeFile("eng_log.log", "a|b");
        writeFile("eng_syn.dat", "synonym version 1\nfast|quick|rapid\n");
        auto w = startWindow();
        QCOMPARE(w->synonymStore()->allUserSyn.value("fast"), (QStringList{"quick", "rapid"}));
        QTest::qWait(200);
        QCOMPARE(server.requests(), QStringList());
        QCOMPARE(readFile("eng_log.log"), QByteArray("a|b"));
    }
};

REWORDIX_TEST_MAIN(UpdateWindowTest)
#include "update_window_test.moc"
