#include "services/serveranswers.h"
#include "services/synonymdownloads.h"
#include "services/transferspeed.h"

#include <QtTest>

using serveranswers::GroupVersions;

class ServerAnswersTest : public QObject
{
    Q_OBJECT

private slots:
    void speedText_data()
    {
        QTest::addColumn<qint64>("received");
        QTest::addColumn<qint64>("elapsedMs");
        QTest::addColumn<QString>("byteUnit");
        QTest::addColumn<QString>("expected");
        const QString shortUnit = transferspeed::shortByteUnit.toString();
        const QString longUnit = transferspeed::longByteUnit.toString();
        QTest::newRow("512 B/s, English list")
            << qint64(512) << qint64(1000) << shortUnit << "Download Speed: 512.0 B/s";
        QTest::newRow("512 bytes/s, other lists")
            << qint64(512) << qint64(1000) << longUnit << "Download Speed: 512.0 bytes/s";
        QTest::newRow("1536 bytes in 1 s: kB/s")
            << qint64(1536) << qint64(1000) << shortUnit << "Download Speed: 1.5 kB/s";
        QTest::newRow("3 MB in 1 s: MB/s")
            << qint64(3145728) << qint64(1000) << longUnit << "Download Speed: 3.0 MB/s";
        QTest::newRow("1023 bytes/s stays in bytes")
            << qint64(1023) << qint64(1000) << longUnit << "Download Speed: 1023.0 bytes/s";
        QTest::newRow("1024 bytes/s is 1 kB/s")
            << qint64(1024) << qint64(1000) << longUnit << "Download Speed: 1.0 kB/s";
        QTest::newRow("two decimals at most")
            << qint64(1000) << qint64(3000) << longUnit << "Download Speed: 333.33 bytes/s";
        QTest::newRow("zero elapsed counts as 1 ms")
            << qint64(1) << qint64(0) << longUnit << "Download Speed: 1000.0 bytes/s";
        QTest::newRow("nothing yet")
            << qint64(0) << qint64(50) << shortUnit << "Download Speed: 0.0 B/s";
    }
    void speedText()
    {
        QFETCH(qint64, received);
        QFETCH(qint64, elapsedMs);
        QFETCH(QString, byteUnit);
        QFETCH(QString, expected);
        QCOMPARE(transferspeed::speedText(received, elapsedMs, byteUnit), expected);
    }

    void number_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("expected");
        QTest::newRow("whole number keeps one decimal") << 3.0 << "3.0";
        QTest::newRow("one decimal") << 12.5 << "12.5";
        QTest::newRow("two decimals") << 12.349 << "12.35";
        QTest::newRow("half to even, down") << 0.125 << "0.12";
        QTest::newRow("half to even, up") << 0.375 << "0.38";
    }
    void number()
    {
        QFETCH(double, value);
        QFETCH(QString, expected);
        QCOMPARE(transferspeed::number(value), expected);
    }

    void groupVersions_data()
    {
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<QList<double>>("expected");
        // Previous values: 9 everywhere, so kept fields are visible.
        QTest::newRow("four fields")
            << QByteArray("1.5|2|3.25|4") << QList<double>{1.5, 2, 3.25, 4};
        QTest::newRow("surrounding blanks")
            << QByteArray(" \n1|2|3|4\r\n") << QList<double>{1, 2, 3, 4};
        QTest::newRow("three fields keep the fourth")
            << QByteArray("1|2|3") << QList<double>{1, 2, 3, 9};
        QTest::newRow("unreadable field keeps its value")
            << QByteArray("1|x|3|") << QList<double>{1, 9, 3, 9};
        QTest::newRow("empty answer keeps all") << QByteArray() << QList<double>{9, 9, 9, 9};
        QTest::newRow("HTML page keeps all")
            << QByteArray("<html><body>Not found</body></html>") << QList<double>{9, 9, 9, 9};
        QTest::newRow("infinity is no version")
            << QByteArray("inf|nan|1e400|2") << QList<double>{9, 9, 9, 2};
        QTest::newRow("extra fields ignored")
            << QByteArray("1|2|3|4|5") << QList<double>{1, 2, 3, 4};
    }
    void groupVersions()
    {
        QFETCH(QByteArray, answer);
        QFETCH(QList<double>, expected);
        const GroupVersions v = serveranswers::parseGroupVersions(answer, {9, 9, 9, 9});
        QCOMPARE((QList<double>{v[0], v[1], v[2], v[3]}), expected);
    }

    void programVersion_data()
    {
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<double>("expected");
        QTest::newRow("decimal") << QByteArray("1.2") << 1.2;
        QTest::newRow("white space around") << QByteArray("  1.191\n") << 1.191;
        QTest::newRow("empty is 0") << QByteArray() << 0.0;
        QTest::newRow("words are 0") << QByteArray("version 2") << 0.0;
        QTest::newRow("dotted version is 0") << QByteArray("1.2.3") << 0.0;
    }
    void programVersion()
    {
        QFETCH(QByteArray, answer);
        QFETCH(double, expected);
        QCOMPARE(serveranswers::parseProgramVersion(answer), expected);
    }

    void newerIsDecimal()
    {
        // Decimal, not dotted-version order: 1.2 is newer than 1.191, 1.19 is not.
        QVERIFY(1.191 < serveranswers::parseProgramVersion("1.2"));
        QVERIFY(!(1.191 < serveranswers::parseProgramVersion("1.19")));
        QVERIFY(!(1.191 < serveranswers::parseProgramVersion("1.191")));
    }

    void listDownload_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<double>("version");
        QTest::addColumn<QByteArray>("file");
        QTest::newRow("list") << QByteArray("synonym version 4.1\nfast|quick|rapid\n") << true
                              << 4.1 << QByteArray("synonym version 4.1\nfast|quick|rapid\n");
        QTest::newRow("CRLF version line") << QByteArray("synonym version 2\r\nbody") << true << 2.0
                                           << QByteArray("synonym version 2\nbody");
        QTest::newRow("bare number")
            << QByteArray("3\nx|y|z") << true << 3.0 << QByteArray("3\nx|y|z");
        QTest::newRow("version line alone")
            << QByteArray("synonym version 5") << true << 5.0 << QByteArray("synonym version 5\n");
        QTest::newRow("empty") << QByteArray() << false << 0.0 << QByteArray();
        QTest::newRow("no version line")
            << QByteArray("<html>error</html>\nfast|quick") << false << 0.0 << QByteArray();
        QTest::newRow("version line cut inside a character")
            << QByteArray("-0\xc7") << false << 0.0 << QByteArray();
        QTest::newRow("body cut inside a character")
            << QByteArray("synonym version 4\nfast|sn\xc3") << false << 0.0 << QByteArray();
        QTest::newRow("body not UTF-8")
            << QByteArray("synonym version 4\nfa\xffst|quick") << false << 0.0 << QByteArray();
    }
    void listDownload()
    {
        QFETCH(QByteArray, body);
        QFETCH(bool, ok);
        QFETCH(double, version);
        QFETCH(QByteArray, file);
        const serveranswers::ListDownload d = serveranswers::checkListDownload(body);
        QCOMPARE(d.ok, ok);
        QCOMPARE(d.version, version);
        QCOMPARE(d.file, file);
        QCOMPARE(d.error.isEmpty(), ok);
    }

    void downloadTable()
    {
        const QList<SynonymDownload> &t = SynonymDownload::all();
        QCOMPARE(t.size(), 24);
        QStringList paths;
        for (const SynonymDownload &d : t)
            paths.append(d.path);
        QCOMPARE(paths.mid(0, 4), (QStringList{"/english_syn4.dat", "/english_fav_syn4.dat",
                                               "/hebrew_syn4.dat", "/hebrew_fav_syn4.dat"}));
        QCOMPARE(t[0].statusText, "Downloading the new english database: ");
        QCOMPARE(t[11].statusText, "Downloading the new Spanish favorites database: ");
        QCOMPARE(t[23].waitingFile, "bul_syn_fav2.dat");
        QCOMPARE(t[23].fileInUse, "bul_syn_fav.dat");
        QCOMPARE(t[23].group, 3);
    }

    void walk_data()
    {
        QTest::addColumn<QString>("latest");    // the version answer
        QTest::addColumn<QStringList>("local"); // "code:list:fav" versions; absent means 0
        QTest::addColumn<QStringList>("off");   // languages switched off
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("nothing newer")
            << "0|0|0|0" << QStringList() << QStringList() << QStringList();
        QTest::newRow("equal version: no download")
            << "2|0|0|0" << QStringList{"eng:2:2", "heb:2:2", "ara:2:2"} << QStringList()
            << QStringList();
        QTest::newRow("lower version: download, group by group")
            << "2|0|0|1" << QStringList{"eng:1:2", "heb:2:2", "ara:2:1"} << QStringList()
            << QStringList{"eng_syn.dat", "ara_syn_fav.dat", "dut_syn.dat", "dut_syn_fav.dat",
                           "por_syn.dat", "por_syn_fav.dat", "bul_syn.dat", "bul_syn_fav.dat"};
        QTest::newRow("German off: both German files skipped, Spanish follows")
            << "0|3|0|0" << QStringList{"rom:3:3"} << QStringList{"ger"}
            << QStringList{"spa_syn.dat", "spa_syn_fav.dat"};
        QTest::newRow("English off: nothing English")
            << "1|0|0|0" << QStringList{"heb:1:1", "ara:1:1"} << QStringList{"eng"}
            << QStringList();
    }
    void walk()
    {
        QFETCH(QString, latest);
        QFETCH(QStringList, local);
        QFETCH(QStringList, off);
        QFETCH(QStringList, expected);
        QHash<QString, double> versions;
        for (const QString &l : local) {
            const QStringList f = l.split(u':');
            versions.insert(f[0] + "_syn.dat", f[1].toDouble());
            versions.insert(f[0] + "_syn_fav.dat", f[2].toDouble());
        }
        SynonymDownloadWalk walk(
            [&](const QString &code, bool fav) {
                return versions.value(code + (fav ? "_syn_fav.dat" : "_syn.dat"), 0.0);
            },
            [&](const QString &code) { return !off.contains(code); });
        const GroupVersions v = serveranswers::parseGroupVersions(latest.toUtf8(), {});
        QStringList walked;
        for (int i = walk.next(-1, v); i >= 0; i = walk.next(i, v)) {
            walk.started(i);
            walked.append(SynonymDownload::all().at(i).fileInUse);
        }
        QCOMPARE(walked, expected);
    }

    void walkExceptions()
    {
        bool englishOn = true;
        SynonymDownloadWalk walk([](const QString &, bool) { return 0.0; },
                                 [&](const QString &code) { return code != u"eng" || englishOn; });
        const GroupVersions all{1, 1, 1, 1};
        // English switched off while its list downloads: its favourites still follow the list.
        QCOMPARE(walk.next(-1, all), 0);
        englishOn = false;
        QCOMPARE(walk.next(0, all), 1);
        // ... but not in a walk that did not just download the English list.
        QCOMPARE(walk.next(-1, all), 2);

        // The French favourites (index 17) come at most once per run.
        QCOMPARE(walk.next(16, all), 17);
        walk.started(17);
        QCOMPARE(walk.next(16, all), 18);
    }
};

QTEST_GUILESS_MAIN(ServerAnswersTest)
#include "serveranswers_test.moc"
