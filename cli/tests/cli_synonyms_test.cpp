// Runs the real rewordix-cli binary on a prepared working folder and checks the candidate lists
// it prints.

#include "testsupport/testsupport.h"
#include "storage/localdatabase.h"

#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QSettings>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

class CliSynonymsTest final : public QObject
{
    Q_OBJECT

private:
    using Run = testsupport::ProgramRun;

    QTemporaryDir home;
    QTemporaryDir config;
    QTemporaryDir thesauri;

    Run run(const QStringList &args) { return runIn(home.path(), args); }

    Run runIn(const QString &folder, const QStringList &args)
    {
        testsupport::ProgramOptions options;
        options.environment = {"REWORDIX_HOME=" + folder, "XDG_CONFIG_HOME=" + config.path(),
                               "REWORDIX_THESAURUS_DIR=" + thesauri.path()};
        return testsupport::runProgram(REWORDIX_CLI_PATH, QStringList{"synonyms"} + args, options);
    }

    void write(const QString &path, const QByteArray &content)
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        QCOMPARE(f.write(content), content.size());
    }

    // The editor's settings file as the program's native settings store reads it on Linux.
    QString settingsFile() const { return config.path() + "/Tarnvale org/Polyvane Alpha 1.0.conf"; }

private slots:
    void initTestCase()
    {
        QVERIFY(home.isValid() && config.isValid() && thesauri.isValid());
        const QString folder = home.path() + "/";
        write(folder + "eng_syn.dat", "synonym version 1.5\n"
                                      "fast|quick|rapid|speedy|hasty|swift|brisk|fleet|nimble|"
                                      "zippy|expeditious|lively|snappy|agile|hurried\n"
                                      "run|sprint|dash\n"
                                      "in a way|somewhat|rather\n");
        write(folder + "eng_syn_fav.dat", "synonym version 1\n"
                                          "fast|__best::::swift|__good::::brisk\n");
        write(folder + "ger_syn.dat", "synonym version 2\nlaufen|rennen|eilen\n");

        LocalDatabase db;
        QVERIFY(db.connect(folder));
        QSqlQuery q(db.database());
        QVERIFY(
            q.exec("insert into eng_usersyn values(null,'fast',null,null,'zoomy|quick','hasty')"));
        QVERIFY(q.exec("insert into eng_fav values(null,'fast','speedy',3)"));
        db.shutdown();
    }

    void candidateLists_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QByteArray>("expected");

        // The user's favourite and synonym first; "quick" is a server synonym as well, so it
        // is offered as one; "hasty" was deleted; ten places after the two header rows, plus
        // one for each of the user's own entries, leave "agile" and "hurried" out.
        QTest::newRow("all kinds, limit")
            << QStringList{"fast"}
            << QByteArray("speedy\tuser-favourite\nswift\tbest\nbrisk\tgood\nzoomy\tuser\n"
                          "quick\tserver\nrapid\tserver\nfleet\tserver\nnimble\tserver\n"
                          "zippy\tserver\nexpeditious\tserver\nlively\tserver\nsnappy\tserver\n");
        QTest::newRow("capitalised word")
            << QStringList{"Run"} << QByteArray("Sprint\tserver\nDash\tserver\n");
        QTest::newRow("phrase") << QStringList{"In a way"}
                                << QByteArray("Somewhat\tserver\nRather\tserver\n");
        QTest::newRow("language option") << QStringList{"--lang", "ger", "laufen"}
                                         << QByteArray("rennen\tserver\neilen\tserver\n");
        QTest::newRow("language option with =")
            << QStringList{"--lang=ger", "Laufen"} << QByteArray("Rennen\tserver\nEilen\tserver\n");
        QTest::newRow("unknown word: empty list") << QStringList{"xyzzy"} << QByteArray();
        QTest::newRow("language without a list")
            << QStringList{"--lang", "heb", "fast"} << QByteArray();
        QTest::newRow("word after --")
            << QStringList{"--", "run"} << QByteArray("sprint\tserver\ndash\tserver\n");
    }

    void candidateLists()
    {
        QFETCH(QStringList, args);
        QFETCH(QByteArray, expected);
        const Run r = run(args);
        QCOMPARE(r.err, QByteArray());
        QCOMPARE(r.status, 0);
        QCOMPARE(r.out, expected);
    }

    void importsThesaurusOnFirstUse()
    {
        write(thesauri.filePath("th_it_IT_v2.dat"),
              "UTF-8\nveloce|2\n(agg.)|rapido|svelto (fam.)|lento (antonimo)\n(agg.)|Rapido|lesto");
        const Run r = run({"--lang", "ita", "veloce"});
        QCOMPARE(r.status, 0);
        QCOMPARE(r.out, QByteArray("rapido\tserver\nsvelto\tserver\nlesto\tserver\n"));
        QFile list(home.filePath("ita_syn.dat"));
        QVERIFY(list.open(QIODevice::ReadOnly));
        QCOMPARE(list.readAll(), QByteArray("synonym version 0\nveloce|rapido|svelto|lesto\n"));
    }

    void defaultLanguageFromSettings()
    {
        {
            QSettings settings(settingsFile(), QSettings::IniFormat);
            settings.setValue("languageSettings", QVariantMap{{"lang", "ger"}, {"dir", "ltr"}});
        }
        Run r = run({"laufen"});
        QCOMPARE(r.status, 0);
        QCOMPARE(r.out, QByteArray("rennen\tserver\neilen\tserver\n"));

        {
            QSettings settings(settingsFile(), QSettings::IniFormat);
            settings.setValue("languageSettings", QVariantMap{{"lang", "xyz"}, {"dir", "ltr"}});
        }
        r = run({"run"});
        QCOMPARE(r.status, 0);
        QCOMPARE(r.out, QByteArray("sprint\tserver\ndash\tserver\n"));
        QFile::remove(settingsFile());
    }

    void unusableWorkingFolder_data()
    {
        QTest::addColumn<QString>("problem");
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("reason");
        QTest::newRow("damaged database: no answer without the user's synonyms")
            << "damaged" << 6 << QByteArray("not a database");
        QTest::newRow("database is a link: refused, target untouched")
            << "link" << 6 << QByteArray("symbolic link");
        QTest::newRow("database locked by another program: no answer, file untouched")
            << "locked" << 6 << QByteArray("locked");
        QTest::newRow("folder of another user: refused")
            << "foreign" << 4 << QByteArray("another user");
        QTest::newRow("world-writable folder: narrowed and used") << "open" << 0 << QByteArray();
    }

    void unusableWorkingFolder()
    {
        QFETCH(QString, problem);
        QFETCH(int, status);
        QFETCH(QByteArray, reason);
        QTemporaryDir scratch;
        QVERIFY(scratch.isValid());
        const QString folder = scratch.filePath("home");
        QVERIFY(QDir().mkdir(folder));
        const QByteArray garbage(4096, 'x');
        const QString victim = scratch.filePath("victim");
        QByteArray before;
        if (problem == "damaged") {
            write(folder + "/db.sqlite", garbage);
        } else if (problem == "link") {
            write(victim, garbage);
            QVERIFY(QFile::link(victim, folder + "/db.sqlite"));
        } else if (problem == "foreign") {
            if (::geteuid() != 0)
                QSKIP("giving a folder to another user needs root");
            QCOMPARE(::chown(QFile::encodeName(folder).constData(), 65534, 65534), 0);
        } else if (problem == "locked") {
            {
                LocalDatabase made;
                QVERIFY(made.connect(folder));
            }
            QFile made(folder + "/db.sqlite");
            QVERIFY(made.open(QIODevice::ReadOnly));
            before = made.readAll();
        } else {
            QVERIFY(QFile::setPermissions(folder, QFileDevice::Permissions(0x7777)));
        }

        // Another program holds the database for writing while the tool runs.
        const QString holder = QStringLiteral("holder");
        if (problem == "locked") {
            QSqlDatabase other = QSqlDatabase::addDatabase("QSQLITE", holder);
            other.setDatabaseName(folder + "/db.sqlite");
            QVERIFY(other.open());
            QVERIFY(QSqlQuery(other).exec("begin exclusive"));
        }
        const Run r = runIn(folder, {"fast"});
        if (QSqlDatabase::contains(holder)) {
            QSqlDatabase::database(holder).close();
            QSqlDatabase::removeDatabase(holder);
        }
        QCOMPARE(r.status, status);
        QCOMPARE(r.out, QByteArray());
        if (status != 0) {
            QCOMPARE(r.err.count('\n'), 1);
            QVERIFY2(r.err.contains(reason), r.err.constData());
        }
        if (problem == "damaged" || problem == "locked") {
            QFile db(folder + "/db.sqlite");
            QVERIFY(db.open(QIODevice::ReadOnly));
            QCOMPARE(db.readAll(), problem == "damaged" ? garbage : before); // never replaced
        } else if (problem == "link") {
            QFile target(victim);
            QVERIFY(target.open(QIODevice::ReadOnly));
            QCOMPARE(target.readAll(), garbage);
        } else if (problem == "foreign") {
            QVERIFY(QDir(folder).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());
        } else {
            QCOMPARE(QFileInfo(folder).permissions() & 0x0077, QFileDevice::Permissions());
        }
    }

    void usageErrors_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("no word") << QStringList{};
        QTest::newRow("two words") << QStringList{"fast", "slow"};
        QTest::newRow("blank word") << QStringList{"  "};
        QTest::newRow("--lang without code") << QStringList{"--lang"};
        QTest::newRow("unknown language") << QStringList{"--lang", "xx", "fast"};
        QTest::newRow("unknown option") << QStringList{"--bogus", "fast"};
        QTest::newRow("unknown short option") << QStringList{"-x", "fast"};
        QTest::newRow("--lang after the word, without code") << QStringList{"fast", "--lang"};
        QTest::newRow("two words after --") << QStringList{"--", "fast", "slow"};
    }

    void usageErrors()
    {
        QFETCH(QStringList, args);
        const Run r = run(args);
        QCOMPARE(r.status, 2);
        QCOMPARE(r.out, QByteArray());
        QVERIFY(r.err.startsWith("rewordix-cli: "));
    }
};

REWORDIX_TEST_GUILESS_MAIN(CliSynonymsTest)
#include "cli_synonyms_test.moc"
