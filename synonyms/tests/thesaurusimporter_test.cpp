#include "testsupport/testsupport.h"
#include "synonyms/synonymfiles.h"
#include "synonyms/thesaurusimporter.h"

#include <QCryptographicHash>
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

        // Senses of "fast" and "Fast" merged in first-seen order, the similar term "rapid" after
        // the synonyms; "Lokal" under "café" reads as a name; the antonym, generic and related
        // terms dropped; "Quick" and the head word itself are duplicates; a single synonym gets the
        // empty field that lets the list loader keep it; the empty head word and the head without
        // synonyms vanish; the last line has no line feed.
        QTest::newRow("UTF-8, merged senses, annotations")
            << "th_sample_utf8.dat"
            << QStringList{"fast|quick|speedy|firm|swiftly|rapid", "run||sprint", "café||bistro",
                           "Auto|Wagen|Karre", "tail|end|rear"};
        // "alí" lists only names ("Dios", "Señor"): nothing is left of it.
        QTest::newRow("ISO8859-1 with a damaged antonym mark")
            << "th_sample_latin1.dat" << QStringList{"niño|chico|chaval"};
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
        QCOMPARE(QString::fromUtf8(f.readAll()), QString("synonym version 0\nniño|chico|chaval\n"));
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
        // About 22,000 head words list nothing but names ("1st baron verulam": "Francis Bacon").
        QVERIFY(r.headWords > 90000);

        QHash<QString, QString> byHead;
        for (const QString &line : bodyLines(r.body))
            byHead.insert(line.section(u'|', 0, 0), line);
        // "happy": the antonym "unhappy" and the related terms ("cheerful", "glad" as related
        // term in sense 1) are gone, "felicitous" comes once, from its plain use in sense 2.
        QCOMPARE(byHead.value("happy"),
                 QString("happy|felicitous|glad|well-chosen|blessed|blissful|bright|golden|"
                         "halcyon|prosperous|laughing|riant|fortunate|willing"));
        QCOMPARE(byHead.value("'tween decks"), QString("'tween decks||between decks"));
        QVERIFY(!r.body.contains("(antonym)"));
        QVERIFY(!r.body.contains("(generic term)"));
        QVERIFY(!r.body.contains("(similar term)"));
    }

    void orderAndNames_data()
    {
        QTest::addColumn<QByteArray>("dat");
        QTest::addColumn<bool>("nounsCapitalised");
        QTest::addColumn<QStringList>("lines");
        const bool german = true;

        QTest::newRow("synonyms by use, then similar terms by use")
            << QByteArray("UTF-8\ngood|2\n(adj)|bang-up (similar term)|great (similar term)|"
                          "bully (similar term)\n(adj)|estimable|full|honorable\n")
            << !german << QStringList{"good|full|estimable|honorable|great|bully|bang-up"};
        QTest::newRow("a similar term that is a synonym in another sense")
            << QByteArray("UTF-8\ngood|2\n(adj)|great (similar term)|bully (similar term)\n"
                          "(adj)|honorable|great\n")
            << !german << QStringList{"good|great|honorable|bully"};
        QTest::newRow("uses counted in the sense's part of speech")
            << QByteArray("UTF-8\nright|2\n(noun)|full|estimable\n(adj)|great|honorable\n")
            << !german << QStringList{"right|great|estimable|full|honorable"};
        QTest::newRow("names under a lower-case head dropped, abbreviations kept")
            << QByteArray("UTF-8\nbrown|2\n(adj)|brownish\n(noun)|Brown|Robert Brown|TV\n")
            << !german << QStringList{"brown|brownish|TV"};
        QTest::newRow("a capitalised head keeps its names")
            << QByteArray("UTF-8\nBrown|1\n(noun)|Robert Brown|John Brown\n") << !german
            << QStringList{"Brown|Robert Brown|John Brown"};
        QTest::newRow("German noun senses under a lower-case head kept")
            << QByteArray("UTF-8\ndatei|1\n-|Datei|Akte|Dokument\nlaufen|1\n-|rennen|Lauf|"
                          "eilen\n")
            << german << QStringList{"datei|Akte|Dokument", "laufen|rennen|eilen"};
        QTest::newRow("the same outside German: names")
            << QByteArray("UTF-8\ndatei|1\n-|Datei|Akte|Dokument\n") << !german << QStringList{};
    }

    void orderAndNames()
    {
        QFETCH(QByteArray, dat);
        QFETCH(bool, nounsCapitalised);
        QFETCH(QStringList, lines);
        ThesaurusImporter::Options options;
        options.nounsCapitalised = nounsCapitalised;
        options.senseCounts = {{"great%3", 50}, {"full%3", 10}, {"estimable%3", 5},
                               {"bully%3", 1},  {"full%1", 1},  {"estimable%1", 7}};
        const ThesaurusImporter::Result r = ThesaurusImporter::convert(dat, {}, options);
        QCOMPARE(bodyLines(r.body), lines);
    }

    void readSenseCounts()
    {
        QTemporaryDir dir;
        QFile f(dir.filePath("cntlist.rev"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("good%3:00:01:: 1 190\ngood%5:00:00:ample:00 2 22\ngood%1:07:00:: 1 11\n"
                "Call_For%2:42:00:: 1 5\nbroken line\nbad%9:00:00:: 1 3\nzero%1:00:00:: 1 0\n");
        f.close();
        // Adjective satellites (5) count as adjectives (3).
        const ThesaurusImporter::SenseCounts expected = {
            {"good%3", 212}, {"good%1", 11}, {"call for%2", 5}};
        QCOMPARE(ThesaurusImporter::readSenseCounts(f.fileName()), expected);
        QCOMPARE(ThesaurusImporter::readSenseCounts(dir.filePath("missing")),
                 ThesaurusImporter::SenseCounts{});
    }

    void realEnglishOrder()
    {
        const QString source = ThesaurusImporter::installedThesaurus("eng", "/usr/share/mythes/");
        const ThesaurusImporter::Options options =
            ThesaurusImporter::optionsFor("eng", "/usr/share/wordnet/");
        if (source.isEmpty() || options.senseCounts.isEmpty())
            QSKIP("mythes-en-us or wordnet-base is not installed");
        QFile f(source);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const ThesaurusImporter::Result r = ThesaurusImporter::convert(f.readAll(), {}, options);
        QVERIFY2(r.ok, qPrintable(r.error));
        QHash<QString, QStringList> byHead;
        for (const QString &line : bodyLines(r.body)) {
            QStringList fields = line.split(u'|');
            byHead.insert(fields.takeFirst(), fields);
        }
        const QStringList good = byHead.value("good");
        QVERIFY(good.indexOf("great") >= 0 && good.indexOf("great") < good.indexOf("bang-up"));
        // A synonym of "good" («well», «full», «right») before any similar term.
        QVERIFY(good.indexOf("full") < good.indexOf("great"));
        QVERIFY(good.indexOf("right") < good.indexOf("great"));
        const QStringList brown = byHead.value("brown");
        QVERIFY(brown.contains("brownish"));
        for (const QString &e : brown)
            QVERIFY2(!e.front().isUpper(), qPrintable(e));
        // «need» and «require» among the first ten of «take», where the panel shows them.
        const QStringList take = byHead.value("take").mid(0, 10);
        QVERIFY2(take.contains("need") && take.contains("require"), qPrintable(take.join(u',')));
    }

    void realGermanNouns()
    {
        const QString source = ThesaurusImporter::installedThesaurus("ger", "/usr/share/mythes/");
        if (source.isEmpty())
            QSKIP("mythes-de is not installed");
        QFile f(source);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const ThesaurusImporter::Result r =
            ThesaurusImporter::convert(f.readAll(), {}, ThesaurusImporter::optionsFor("ger", {}));
        QVERIFY2(r.ok, qPrintable(r.error));
        QHash<QString, QStringList> byHead;
        for (const QString &line : bodyLines(r.body)) {
            QStringList fields = line.split(u'|');
            byHead.insert(fields.takeFirst(), fields);
        }
        QVERIFY(byHead.value("datei").contains("Akte"));
        QVERIFY(byHead.value("haus").contains("Eigenheim"));
        QVERIFY(byHead.size() > 50000);
    }

    // Which lists a later import may make again.
    void needsRebuild_data()
    {
        QTest::addColumn<QByteArray>("list");
        QTest::addColumn<QByteArray>("record"); // "-" for none; "%1" is the list's checksum
        QTest::addColumn<bool>("rebuild");
        const QByteArray body = "synonym version 0\nfast|quick|rapid\n";
        QTest::newRow("made by an earlier import, unchanged")
            << body << QByteArray("importer 1\nsha1 %1\n") << true;
        QTest::newRow("made by this import")
            << body << QByteArray("importer %2\nsha1 %1\n") << false;
        QTest::newRow("changed by hand since")
            << body << QByteArray("importer 1\nsha1 0123456789abcdef\n") << false;
        QTest::newRow("record without checksum") << body << QByteArray("importer 1\n") << false;
        QTest::newRow("no record: an import from before records were kept")
            << body << QByteArray("-") << true;
        QTest::newRow("no record: a list from the update server")
            << QByteArray("synonym version 4.2\nfast|quick|rapid\n") << QByteArray("-") << false;
    }

    void needsRebuild()
    {
        QFETCH(QByteArray, list);
        QFETCH(QByteArray, record);
        QFETCH(bool, rebuild);
        QTemporaryDir dir;
        const QString path = dir.filePath("eng_syn.dat");
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(list);
        f.close();
        if (record != "-") {
            QFile r(ThesaurusImporter::recordFile(path));
            QVERIFY(r.open(QIODevice::WriteOnly));
            r.write(QString::fromLatin1(record)
                        .arg(QCryptographicHash::hash(list, QCryptographicHash::Sha1).toHex())
                        .arg(ThesaurusImporter::revision)
                        .toLatin1());
        }
        QCOMPARE(ThesaurusImporter::needsRebuild(path), rebuild);
        QVERIFY(!ThesaurusImporter::needsRebuild(dir.filePath("missing.dat")));
    }

    void importWritesRecordItsLaterSelfAccepts()
    {
        QTemporaryDir dir;
        const QString dest = dir.filePath("eng_syn.dat");
        QVERIFY(ThesaurusImporter::importFile(fixture("th_sample_utf8.dat"), dest).ok);
        QFile record(ThesaurusImporter::recordFile(dest));
        QVERIFY(record.open(QIODevice::ReadOnly));
        QVERIFY(record.readAll().startsWith("importer " +
                                            QByteArray::number(ThesaurusImporter::revision)));
        QVERIFY(!ThesaurusImporter::needsRebuild(dest));
    }
};

REWORDIX_TEST_GUILESS_MAIN(ThesaurusImporterTest)
#include "thesaurusimporter_test.moc"
