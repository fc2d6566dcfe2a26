#include "testsupport/testsupport.h"
#include "synonyms/synonymfiles.h"
#include "synonyms/thesaurusimporter.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class ThesaurusImporterTest : public QObject
{
    Q_OBJECT

private:
    static QString fixture(const QString &name)
    {
        return qEnvironmentVariable("REWORDIX_TEST_DATA") + "/" + name;
    }
    static QByteArray readFixture(const QString &name)
    {
        QFile f(fixture(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    static QStringList bodyLines(const QByteArray &body)
    {
        return QString::fromUtf8(body).split(u'\n', Qt::SkipEmptyParts);
    }

private slots:
    void cleanEntry_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<bool>("offered");
        QTest::addColumn<QString>("expected");

        QTest::newRow("plain synonym") << "quick" << true << "quick";
        QTest::newRow("similar term kept, mark removed")
            << "rapid (similar term)" << true << "rapid";
        QTest::newRow("antonym dropped") << "slow (antonym)" << false << "";
        QTest::newRow("generic term dropped") << "mover (generic term)" << false << "";
        QTest::newRow("related term dropped") << "fixed (related term)" << false << "";
        QTest::newRow("German generic term dropped") << "Geld (Oberbegriff)" << false << "";
        QTest::newRow("German generic term after a label")
            << "Valuta (fachspr.) (Oberbegriff)" << false << "";
        QTest::newRow("Spanish antonym dropped") << "crío (Antónimo)" << false << "";
        QTest::newRow("damaged Spanish antonym dropped") << "crío (Antï¿½nimo)" << false << "";
        QTest::newRow("style label stripped") << "Karre (ugs.)" << true << "Karre";
        QTest::newRow("two labels stripped")
            << "Währung (Hauptform) (ugs., fig.)" << true << "Währung";
        QTest::newRow("optional word in front") << "(sich) ärgern" << true << "ärgern";
        QTest::newRow("optional word inside, blanks collapsed")
            << "jemandem  (etwas) geben" << true << "jemandem geben";
        QTest::newRow("Romanian label") << "zăbavă (înv.)" << true << "zăbavă";
        QTest::newRow("unclosed parenthesis is text") << "a (b" << true << "a (b";
        QTest::newRow("only a label leaves nothing") << "(Jahreszahl)" << true << "";
        QTest::newRow("brace dropped") << "}" << true << "";
        QTest::newRow("template dropped") << "möchten Sie ..." << true << "";
        QTest::newRow("blanks trimmed") << "  between   decks " << true << "between decks";
        QTest::newRow("antonym word itself is no mark") << "antonym" << true << "antonym";
    }

    void cleanEntry()
    {
        QFETCH(QString, field);
        QFETCH(bool, offered);
        QFETCH(QString, expected);
        const std::optional<QString> result = ThesaurusImporter::cleanEntry(field);
        QCOMPARE(result.has_value(), offered);
        if (offered)
            QCOMPARE(*result, expected);
    }

    void convert_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("lines");

        // Senses of "fast" and "Fast" merged in first-seen order; the antonym, generic and
        // related terms dropped; "Quick" and the head word itself are duplicates; a single
        // synonym gets the empty field that lets the list loader keep it; the empty head word
        // and the head without synonyms vanish; the last line has no line feed.
        QTest::newRow("UTF-8, merged senses, annotations")
            << "th_sample_utf8.dat"
            << QStringList{"fast|quick|rapid|speedy|firm|swiftly", "run||sprint",
                           "café|bistro|Lokal", "Auto|Wagen|Karre", "tail|end|rear"};
        QTest::newRow("ISO8859-1 with a damaged antonym mark")
            << "th_sample_latin1.dat" << QStringList{"alí|Dios|Jehová|Señor", "niño|chico|chaval"};
        QTest::newRow("KOI8-R") << "th_sample_koi8r.dat" << QStringList{"быстрый|скорый|живой"};
    }

    void convert()
    {
        QFETCH(QString, file);
        QFETCH(QStringList, lines);
        const QByteArray dat = readFixture(file);
        QVERIFY(!dat.isEmpty());
        const ThesaurusImporter::Result r = ThesaurusImporter::convert(dat);
        QVERIFY2(r.ok, qPrintable(r.error));
        QCOMPARE(bodyLines(r.body), lines);
        QCOMPARE(r.headWords, lines.size());
    }

    void convertRefuses_data()
    {
        QTest::addColumn<QByteArray>("dat");
        QTest::newRow("unknown encoding") << readFixture("th_sample_badenc.dat");
        QTest::newRow("empty file") << QByteArray();
        QTest::newRow("binary") << QByteArray("\x00\x01\xff\xfe\n\x80|3\n", 10);
        QTest::newRow("no head word with synonyms") << QByteArray("UTF-8\nword|1\n(noun)|\n");
    }

    void convertRefuses()
    {
        QFETCH(QByteArray, dat);
        const ThesaurusImporter::Result r = ThesaurusImporter::convert(dat);
        QVERIFY(!r.ok);
        QVERIFY(!r.error.isEmpty());
        QVERIFY(r.body.isEmpty());
    }

    // A count that is no number, a line with a second bar before its number (a meaning line,
    // not a head line), a head line whose count runs past the end, and CRLF lines.
    void damagedRecords()
    {
        const QByteArray dat = "UTF-8\r\nbroken|x\r\n-|lost|gone\r\nodd|head|1\r\n-|x|y\r\n"
                               "wide|1\r\n-|broad|large\r\nshort|5\r\n-|brief|curt";
        const ThesaurusImporter::Result r = ThesaurusImporter::convert(dat);
        QVERIFY2(r.ok, qPrintable(r.error));
        QCOMPARE(bodyLines(r.body), (QStringList{"wide|broad|large", "short|brief|curt"}));
    }

    void progressReachesTotal()
    {
        QByteArray dat = "UTF-8\n";
        for (int i = 0; i < 20000; ++i)
            dat += "w" + QByteArray::number(i) + "|1\n-|a|b\n";
        QList<qint64> reports;
        qint64 total = 0;
        const ThesaurusImporter::Result r =
            ThesaurusImporter::convert(dat, [&](qint64 done, qint64 all) {
                reports.append(done);
                total = all;
            });
        QVERIFY(r.ok);
        QCOMPARE(r.headWords, 20000);
        QVERIFY(reports.size() >= 2);
        QCOMPARE(total, qint64(dat.size()));
        QCOMPARE(reports.last(), total);
        QVERIFY(std::is_sorted(reports.cbegin(), reports.cend()));
    }

    void importFileWritesVersionZero()
    {
        QTemporaryDir dir;
        const QString dest = dir.filePath("eng_syn.dat");
        const ThesaurusImporter::Result r =
            ThesaurusImporter::importFile(fixture("th_sample_latin1.dat"), dest);
        QVERIFY2(r.ok, qPrintable(r.error));
        QFile f(dest);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(f.readAll()),
                 QString("synonym version 0\nalí|Dios|Jehová|Señor\nniño|chico|chaval\n"));
        const SynonymFiles::Version v = SynonymFiles::readVersion(dest);
        QCOMPARE(v.status, SynonymFiles::VersionStatus::Read);
        QCOMPARE(v.value, 0.0);
    }

    void importFileFailureLeavesNoFile_data()
    {
        QTest::addColumn<QString>("source");
        QTest::newRow("missing thesaurus") << "does-not-exist.dat";
        QTest::newRow("unknown encoding") << "th_sample_badenc.dat";
    }

    void importFileFailureLeavesNoFile()
    {
        QFETCH(QString, source);
        QTemporaryDir dir;
        const QString dest = dir.filePath("eng_syn.dat");
        const ThesaurusImporter::Result r = ThesaurusImporter::importFile(fixture(source), dest);
        QVERIFY(!r.ok);
        QVERIFY(!r.error.isEmpty());
        QVERIFY(!QFile::exists(dest));
    }

    void installedThesaurusPrefersFirstName()
    {
        QTemporaryDir dir;
        QVERIFY(ThesaurusImporter::installedThesaurus("por", dir.path()).isEmpty());
        QFile br(dir.filePath("th_pt_BR.dat"));
        QVERIFY(br.open(QIODevice::WriteOnly));
        br.close();
        QCOMPARE(ThesaurusImporter::installedThesaurus("por", dir.path()), br.fileName());
        QFile pt(dir.filePath("th_pt_PT_v2.dat"));
        QVERIFY(pt.open(QIODevice::WriteOnly));
        pt.close();
        QCOMPARE(ThesaurusImporter::installedThesaurus("por", dir.path()), pt.fileName());
        QVERIFY(ThesaurusImporter::thesaurusFileNames("heb").isEmpty());
        QVERIFY(ThesaurusImporter::thesaurusFileNames("dut").isEmpty());
    }

    void realEnglishThesaurus()
    {
        const QString source = ThesaurusImporter::installedThesaurus("eng", "/usr/share/mythes/");
        if (source.isEmpty())
            QSKIP("mythes-en-us is not installed");
        QFile f(source);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const ThesaurusImporter::Result r = ThesaurusImporter::convert(f.readAll());
        QVERIFY2(r.ok, qPrintable(r.error));
        QVERIFY(r.headWords > 100000);

        QHash<QString, QString> byHead;
        for (const QString &line : bodyLines(r.body))
            byHead.insert(line.section(u'|', 0, 0), line);
        // "happy": the antonym "unhappy" and the related terms ("cheerful", "glad" as related
        // term in sense 1) are gone, "felicitous" comes once, from its plain use in sense 2.
        QCOMPARE(byHead.value("happy"),
                 QString("happy|blessed|blissful|bright|golden|halcyon|prosperous|laughing|riant|"
                         "felicitous|fortunate|glad|willing|well-chosen"));
        QCOMPARE(byHead.value("'tween decks"), QString("'tween decks||between decks"));
        QVERIFY(!r.body.contains("(antonym)"));
        QVERIFY(!r.body.contains("(generic term)"));
        QVERIFY(!r.body.contains("(similar term)"));
    }
};

REWORDIX_TEST_GUILESS_MAIN(ThesaurusImporterTest)
#include "thesaurusimporter_test.moc"
