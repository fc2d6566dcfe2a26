// Runs the real rewordix-cli auto-select and replace-favorites on a prepared working folder.

#include "storage/localdatabase.h"
#include "testsupport/testsupport.h"

#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

class CliAutoSelectTest final : public QObject
{
    Q_OBJECT

private:
    using Run = testsupport::ProgramRun;

    QTemporaryDir home;
    QTemporaryDir config;

    Run run(const QStringList &args, const QByteArray &input)
    {
        testsupport::ProgramOptions options;
        options.environment = {"REWORDIX_HOME=" + home.path(), "XDG_CONFIG_HOME=" + config.path(),
                               "REWORDIX_THESAURUS_DIR=" + home.filePath("no-thesauri")};
        options.input = input;
        return testsupport::runProgram(REWORDIX_CLI_PATH, args + QStringList{"-"}, options);
    }

    void write(const QString &name, const QByteArray &content)
    {
        QFile f(home.filePath(name));
        QVERIFY(f.open(QIODevice::WriteOnly));
        QCOMPARE(f.write(content), content.size());
    }

private slots:
    void initTestCase()
    {
        QVERIFY(home.isValid() && config.isValid());
        write("eng_syn.dat", "synonym version 1\n"
                             "new york|nyc|big apple\n"
                             "huge|big|large|vast|giant|immense|colossal\n"
                             "acme widget|gadget|device\n");
        write("eng_syn_fav.dat", "synonym version 1\n"
                                 "huge|__best::::giant|__better::::vast|immense|__good::::big\n");
        write("ger_syn.dat", "synonym version 1\ngro\xc3\x9f|riesig|gewaltig\n");
        LocalDatabase db;
        QVERIFY(db.connect(home.path() + "/"));
        QSqlQuery q(db.database());
        QVERIFY(q.exec("insert into eng_fav values(null,'huge','enormous|massive',3)"));
        QVERIFY(q.exec("insert into protectedTermCat values(null,'Brands')"));
        QVERIFY(q.exec("insert into protectedTerm values(null,'ACME Widget',1)"));
        db.shutdown();
    }

    void autoSelect_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("defaults: five synonyms, all lists, keep")
            << QStringList{} << QByteArray("Huge")
            << QByteArray("{Huge|Giant|Vast|Immense|Big|Enormous}\n");
        QTest::newRow("phrase and line feeds")
            << QStringList{"--max-syn", "2"} << QByteArray("I love New York.\n\n\n")
            << QByteArray("I love {New York|Nyc|Big apple}.\n");
        QTest::newRow("protected term from the database")
            << QStringList{} << QByteArray("acme widget") << QByteArray("acme widget\n");
        QTest::newRow("no keep, one synonym") << QStringList{"--no-keep", "--max-syn=1"}
                                              << QByteArray("huge") << QByteArray("giant\n");
        QTest::newRow("only-first, favourites level")
            << QStringList{"--number-one", "--level", "0"} << QByteArray("huge")
            << QByteArray("{huge|giant|vast|big|enormous}\n");
        QTest::newRow("passes, --level ignored")
            << QStringList{"--passes", "2,1,0", "--level", "4"} << QByteArray("huge {huge}")
            << QByteArray("{huge|giant} {huge}\n");
        QTest::newRow("language") << QStringList{"--lang", "ger"} << QByteArray("Gro\xc3\x9f")
                                  << QByteArray("{Gro\xc3\x9f|Riesig|Gewaltig}\n");
    }

    void autoSelect()
    {
        QFETCH(QStringList, args);
        QFETCH(QByteArray, input);
        QFETCH(QByteArray, expected);
        const Run r = run(QStringList{"auto-select"} + args, input);
        QCOMPARE(r.err, QByteArray());
        QCOMPARE(r.status, 0);
        QCOMPARE(r.out, expected);
    }

    void unbalancedPrintsNothing()
    {
        const Run r = run({"auto-select"}, "huge { huge");
        QCOMPARE(r.status, 1);
        QCOMPARE(r.out, QByteArray());
    }

    void replaceFavorites()
    {
        const Run r = run({"replace-favorites"}, "huge. Huge huge");
        QCOMPARE(r.err, QByteArray());
        QCOMPARE(r.status, 0);
        QCOMPARE(r.out, QByteArray("{huge|enormous|massive}. Huge {huge|enormous|massive}\n"));
    }

    void usageErrors_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("level out of range") << QStringList{"auto-select", "--level", "5"};
        QTest::newRow("bad pass list") << QStringList{"auto-select", "--passes", "2,x"};
        QTest::newRow("negative maximum") << QStringList{"auto-select", "--max-syn", "-1"};
        QTest::newRow("unknown option") << QStringList{"auto-select", "--bogus"};
        QTest::newRow("unknown language") << QStringList{"replace-favorites", "--lang", "xx"};
    }

    void usageErrors()
    {
        QFETCH(QStringList, args);
        const Run r = run(args, "huge");
        QCOMPARE(r.status, 2);
        QCOMPARE(r.out, QByteArray());
        QVERIFY(r.err.startsWith("rewordix-cli: "));
    }
};

QTEST_GUILESS_MAIN(CliAutoSelectTest)
#include "cli_autoselect_test.moc"
