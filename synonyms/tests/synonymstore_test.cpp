#include "testsupport/testsupport.h"
#include "storage/language.h"
#include "synonyms/synonymfiles.h"
#include "synonyms/synonymstore.h"

#include "storage/localdatabase.h"
#include "storage/settingsstore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using Kind = SynonymStore::Kind;

class SynonymStoreTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> home;
    std::unique_ptr<QTemporaryDir> thesauri; // empty unless a test puts a thesaurus there
    std::unique_ptr<LocalDatabase> db;
    std::unique_ptr<SynonymStore> store;

    QString folder() const { return home->path() + "/"; }

    void write(const QString &name, const QByteArray &content)
    {
        QFile f(folder() + name);
        QVERIFY(f.open(QIODevice::WriteOnly));
        QCOMPARE(f.write(content), content.size());
    }
    QByteArray read(const QString &name) const
    {
        QFile f(folder() + name);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    void sql(const QString &statement, const QVariantList &values = {})
    {
        QSqlQuery q(db->database());
        QVERIFY(q.prepare(statement));
        for (const QVariant &v : values)
            q.addBindValue(v);
        QVERIFY2(q.exec(), qPrintable(statement));
    }
    void copyFixture(const QString &fixture, const QString &dest)
    {
        QFile::remove(dest);
        QVERIFY(QFile::copy(qEnvironmentVariable("REWORDIX_TEST_DATA") + "/" + fixture, dest));
    }

    // "display:kind" per candidate after the two header entries.
    static QStringList render(const QList<SynonymStore::Candidate> &list)
    {
        QStringList out;
        for (const SynonymStore::Candidate &c : list.mid(2))
            out.append(c.display + ":" + SynonymStore::kindName(c.kind));
        return out;
    }
    static QStringList entries(const QList<SynonymStore::Candidate> &list)
    {
        QStringList out;
        for (const SynonymStore::Candidate &c : list)
            out.append(c.entry);
        return out;
    }

private slots:
    void init()
    {
        home = std::make_unique<QTemporaryDir>();
        thesauri = std::make_unique<QTemporaryDir>();
        QVERIFY(home->isValid() && thesauri->isValid());
        qputenv("REWORDIX_HOME", home->path().toUtf8());
        db = std::make_unique<LocalDatabase>();
        QVERIFY(db->connect(folder()));
        store = std::make_unique<SynonymStore>();
        store->setTempDir(folder());
        store->setDatabase(db.get());
        store->setThesaurusFolder(thesauri->path());
    }

    void cleanup()
    {
        store.reset();
        db.reset();
        thesauri.reset();
        home.reset();
    }

    // ---- list file ----------------------------------------------------------------------

    void listLines_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("deleted"); // the user's deleted list for "run"
        QTest::addColumn<QString>("key");
        QTest::addColumn<QVariant>("expected"); // QStringList, or invalid when not loaded

        const QVariant absent;
        QTest::newRow("one synonym field: not loaded") << QByteArray("run|sprint") << ""
                                                       << "run" << absent;
        QTest::newRow("two fields: loaded") << QByteArray("run|sprint|dash") << ""
                                            << "run" << QVariant(QStringList{"sprint", "dash"});
        QTest::newRow("trailing bars are no fields") << QByteArray("run|sprint|||") << ""
                                                     << "run" << absent;
        QTest::newRow("empty field in between counts, then ignored")
            << QByteArray("run||sprint") << ""
            << "run" << QVariant(QStringList{"sprint"});
        QTest::newRow("deleted synonym hidden, any case")
            << QByteArray("run|sprint|dash") << "SPRINT"
            << "run" << QVariant(QStringList{"dash"});
        QTest::newRow("exact duplicates dropped, case variants kept")
            << QByteArray("run|dash|dash|Dash") << ""
            << "run" << QVariant(QStringList{"dash", "Dash"});
        QTest::newRow("head trimmed and lower-cased, inner field untrimmed")
            << QByteArray("  Run Fast | a | b ") << ""
            << "run fast" << QVariant(QStringList{"a ", " b"});
        QTest::newRow("later line replaces earlier") << QByteArray("run|a|b\nRUN|c|d") << ""
                                                     << "run" << QVariant(QStringList{"c", "d"});
        QTest::newRow("line without bar ignored") << QByteArray("run\nrun|a|b\n\n") << ""
                                                  << "run" << QVariant(QStringList{"a", "b"});
        QTest::newRow("CRLF line end") << QByteArray("run|a|b\r\n") << ""
                                       << "run" << QVariant(QStringList{"a", "b"});
    }

    void listLines()
    {
        QFETCH(QByteArray, body);
        QFETCH(QString, deleted);
        QFETCH(QString, key);
        QFETCH(QVariant, expected);
        if (!deleted.isEmpty())
            sql("insert into eng_usersyn values(null,?,null,null,null,?)", {"run", deleted});
        write("eng_syn.dat", "synonym version 1\n" + body);
        store->loadSynonyms();
        QCOMPARE(store->allUserSyn.contains(key), expected.isValid());
        if (expected.isValid())
            QCOMPARE(store->allUserSyn.value(key), expected.toStringList());
    }

    void maxPhraseWord()
    {
        write("eng_syn.dat", "synonym version 1\nin  a  way|x|y\nrun|a|b\nput up with|z|\n");
        store->loadSynonyms();
        // "put up with" has a single field and is not loaded, so it does not count.
        QCOMPARE(store->maxPhraseWord, 3);

        write("eng_syn.dat", "synonym version 1\n");
        store->loadSynonyms();
        QCOMPARE(store->maxPhraseWord, 1);
    }

    // ---- favourites file ----------------------------------------------------------------

    void favouriteGrades()
    {
        write("eng_syn_fav.dat", "synonym version 1\n"
                                 "fast|__best::::quick|rapid\n"
                                 "swift|nimble|__good::::speedy|__better::::fleet\n"
                                 "slow|sluggish|  |\n");
        store->loadSynonyms();
        QCOMPARE(store->bestfav.value("fast"), (QStringList{"quick", "rapid"}));
        QCOMPARE(store->goodfav.value("fast"), QStringList());
        // The grade is not reset at a new line: "nimble" is still best.
        QCOMPARE(store->bestfav.value("swift"), QStringList{"nimble"});
        QCOMPARE(store->goodfav.value("swift"), QStringList{"speedy"});
        QCOMPARE(store->betterfav.value("swift"), QStringList{"fleet"});
        // ...and "fleet"'s grade carries on into the next line; blank entries are skipped.
        QCOMPARE(store->betterfav.value("slow"), QStringList{"sluggish"});
        QVERIFY(store->goodfav.contains("slow"));
        QVERIFY(store->bestfav.contains("slow"));
    }

    void favouritesMergeWithDatabase()
    {
        sql("insert into eng_fav values(null,?,?,0)", {"fast", "zippy|quick"});
        sql("insert into eng_fav values(null,?,?,2)", {"fast", "swift"});
        sql("insert into eng_fav values(null,?,?,0)", {"slow", "sluggish"});
        sql("insert into eng_fav values(null,?,?,0)", {"calm", "still"});
        sql("insert into eng_fav values(null,?,?,3)", {"calm", "serene"});
        write("eng_syn_fav.dat", "synonym version 1\n"
                                 "fast|brisk|zippy\n"
                                 "Slow\n");
        store->loadSynonyms();
        // The file's favourites first, then the user's that the file lacks.
        QCOMPARE(store->goodfav.value("fast"), (QStringList{"brisk", "zippy", "quick"}));
        QCOMPARE(store->bestfav.value("fast"), QStringList{"swift"});
        // A bar-less line withdraws the good favourites the database gave the word.
        QVERIFY(!store->goodfav.contains("slow"));
        // Words the file does not name keep the database's lists.
        QCOMPARE(store->goodfav.value("calm"), QStringList{"still"});
        QCOMPARE(store->userFav.value("calm"), QStringList{"serene"});
    }

    void userTables()
    {
        sql("insert into eng_usersyn values(null,?,null,null,?,?)", {"Run ", "dash|sprint", "jog"});
        sql("insert into eng_usersyn values(null,?,null,null,?,null)", {"walk", "stroll"});
        sql("insert into eng_fav values(null,?,?,7)", {"run", "ignored"});
        store->loadSynonyms();
        QCOMPARE(store->userSyn.value("run"), (QStringList{"dash", "sprint"}));
        QCOMPARE(store->deletedSyn.value("run"), QStringList{"jog"});
        QCOMPARE(store->userSyn.value("walk"), QStringList{"stroll"});
        QVERIFY(!store->deletedSyn.contains("walk")); // null column: no list at all
        QVERIFY(store->goodfav.isEmpty() && store->userFav.isEmpty());
    }

    // ---- versions, promotion, failure -----------------------------------------------------

    void versionLines_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<double>("version");
        QTest::addColumn<bool>("kept");
        QTest::newRow("with text") << QByteArray("synonym version 2.1") << 2.1 << true;
        QTest::newRow("number alone") << QByteArray("4") << 4.0 << true;
        QTest::newRow("blanks around") << QByteArray("  synonym version   3.5 \r") << 3.5 << true;
        QTest::newRow("byte-order mark")
            << QByteArray("\xef\xbb\xbfsynonym version 7") << 7.0 << true;
        QTest::newRow("no number: deleted") << QByteArray("synonym version") << 0.0 << false;
        QTest::newRow("text: deleted") << QByteArray("synonym version abc") << 0.0 << false;
        QTest::newRow("comma decimal: deleted")
            << QByteArray("synonym version 1,5") << 0.0 << false;
    }

    void versionLines()
    {
        QFETCH(QByteArray, line);
        QFETCH(double, version);
        QFETCH(bool, kept);
        // Versions are read for every language, not only the current one.
        write("ger_syn.dat", line + "\nlaufen|rennen|eilen\n");
        write("ger_syn_fav.dat", line + "\n");
        store->loadSynonyms();
        QCOMPARE(QFile::exists(folder() + "ger_syn.dat"), kept);
        QCOMPARE(QFile::exists(folder() + "ger_syn_fav.dat"), kept);
        QCOMPARE(store->synver.value("ger"), version);
        QCOMPARE(store->favsynver.value("ger"), version);
    }

    void unparsableVersionKeepsPreviousValue()
    {
        write("spa_syn.dat", "synonym version 3\n");
        store->loadSynonyms();
        QCOMPARE(store->synver.value("spa"), 3.0);
        write("spa_syn.dat", "version three\n");
        store->loadSynonyms();
        QVERIFY(!QFile::exists(folder() + "spa_syn.dat"));
        QCOMPARE(store->synver.value("spa"), 3.0);
    }

    void promotionForAllLanguages_data()
    {
        QTest::addColumn<QString>("current");
        QTest::newRow("English current") << "eng";
        QTest::newRow("Bulgarian current") << "bul";
    }

    void promotionForAllLanguages()
    {
        QFETCH(QString, current);
        for (const Language &l : Language::all()) {
            write(SynonymFiles::listFile(l.code), "synonym version 1\nold|a|b\n");
            write(SynonymFiles::waitingListFile(l.code), "synonym version 2\nnew|c|d\n");
            write(SynonymFiles::waitingFavFile(l.code), "synonym version 3\nnew|e\n");
        }
        store->curLang = current;
        store->loadSynonyms();
        for (const Language &l : Language::all()) {
            QVERIFY2(!QFile::exists(folder() + SynonymFiles::waitingListFile(l.code)),
                     qPrintable(l.code));
            QVERIFY(!QFile::exists(folder() + SynonymFiles::waitingFavFile(l.code)));
            QCOMPARE(read(SynonymFiles::listFile(l.code)),
                     QByteArray("synonym version 2\nnew|c|d\n"));
            QCOMPARE(read(SynonymFiles::favFile(l.code)), QByteArray("synonym version 3\nnew|e\n"));
            QCOMPARE(store->synver.value(l.code), 2.0);
            QCOMPARE(store->favsynver.value(l.code), 3.0);
        }
        QCOMPARE(store->allUserSyn.keys(), QStringList{"new"});
        QCOMPARE(store->goodfav.value("new"), QStringList{"e"});
    }

    void damagedFileFailurePath_data()
    {
        QTest::addColumn<bool>("badList");
        QTest::addColumn<bool>("server");
        QTest::newRow("bad list, update server: list deleted, favourites kept") << true << true;
        QTest::newRow("bad list, no server: list moved aside, favourites kept") << true << false;
        QTest::newRow("bad favourites, update server: favourites deleted") << false << true;
        QTest::newRow("bad favourites, no server: favourites moved aside") << false << false;
    }

    void damagedFileFailurePath()
    {
        QFETCH(bool, badList);
        QFETCH(bool, server);
        const QByteArray list = badList ? QByteArray("synonym version 5\nrun|a|\xff\xfe\n")
                                        : QByteArray("synonym version 5\nrun|a|b\n");
        const QByteArray fav = badList ? QByteArray("synonym version 6\nrun|a\n")
                                       : QByteArray("synonym version 6\nrun|\xc3(\n");
        write("eng_syn.dat", list);
        write("eng_syn_fav.dat", fav);
        write("ger_syn.dat", "synonym version 4\nlaufen|rennen|eilen\n");
        // No request is made during loading: the address is only looked at.
        qputenv("REWORDIX_UPDATE_SERVER", server ? "http://127.0.0.1:9" : "");
        QSignalSpy failed(store.get(), &SynonymStore::synonymFileError);
        QSignalSpy problems(store.get(), &SynonymStore::fileProblem);
        QSignalSpy finished(store.get(), &SynonymStore::loadingFinished);
        if (badList)
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression("Error opening synonyms file"));
        store->loadSynonyms();
        qunsetenv("REWORDIX_UPDATE_SERVER");

        const QString broken = badList ? "eng_syn.dat" : "eng_syn_fav.dat";
        const QString intact = badList ? "eng_syn_fav.dat" : "eng_syn.dat";
        QCOMPARE(failed.size(), badList ? 1 : 0);
        QCOMPARE(finished.size(), 1); // the window is enabled again in every case
        QCOMPARE(problems.size(), 1);
        const QString message = problems.first().first().toString();
        QVERIFY2(message.startsWith(broken + " cannot be read"), qPrintable(message));
        // Only the file that failed is touched.
        QCOMPARE(read(intact), badList ? fav : list);
        QVERIFY(!QFile::exists(folder() + broken));
        const QStringList aside = QDir(folder()).entryList({broken + ".damaged-*"}, QDir::Files);
        if (server) {
            QVERIFY(aside.isEmpty());
        } else {
            QCOMPARE(aside.size(), 1);
            QCOMPARE(read(aside.first()), badList ? list : fav);
            QVERIFY2(message.contains(aside.first()), qPrintable(message));
        }
        QCOMPARE(store->synver.value("eng"), badList ? 0.0 : 5.0);
        QCOMPARE(store->favsynver.value("eng"), badList ? 6.0 : 0.0);
        QCOMPARE(store->synver.value("ger"), 4.0);
        const QStringList listed = badList ? QStringList() : QStringList{"a", "b"};
        const QStringList starred = badList ? QStringList{"a"} : QStringList();
        QCOMPARE(store->allUserSyn.value("run"), listed);
        QCOMPARE(store->goodfav.value("run"), starred);
    }

    void linksInTheFolderAreLeftAlone()
    {
        // A dangling link where the list should be: the thesaurus import must not write
        // through it, and the waiting download is not moved over it.
        copyFixture("th_sample_utf8.dat", thesauri->filePath("th_en_US_v2.dat"));
        const QString target = thesauri->filePath("planted-target");
        QVERIFY(QFile::link(target, folder() + "eng_syn.dat"));
        write("eng_syn2.dat", "synonym version 2\nnew|c|d\n");
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("symbolic link"));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("thesaurus not imported|symbolic"));
        store->loadSynonyms();
        QVERIFY(!QFile::exists(target));
        QVERIFY(QFileInfo(folder() + "eng_syn.dat").isSymLink());
        QCOMPARE(read("eng_syn2.dat"), QByteArray("synonym version 2\nnew|c|d\n"));
    }

    void loadingSignalsInOrder()
    {
        QStringList events;
        connect(store.get(), &SynonymStore::loadingStarted, this, [&] { events << "started"; });
        connect(store.get(), &SynonymStore::readingFiles, this, [&] { events << "reading"; });
        connect(store.get(), &SynonymStore::synonymsLoaded, this, [&] { events << "loaded"; });
        connect(store.get(), &SynonymStore::loadingFinished, this,
                [&](bool first) { events << (first ? "finished first" : "finished"); });
        store->loadSynonyms();
        store->loadSynonyms();
        QCOMPARE(events, (QStringList{"started", "reading", "loaded", "finished first", "started",
                                      "reading", "loaded", "finished"}));
    }

    void reopensClosedDatabase()
    {
        sql("insert into eng_usersyn values(null,?,null,null,?,null)", {"run", "dash|jog"});
        db->shutdown();
        QVERIFY(!db->isOpen());
        store->loadSynonyms();
        QVERIFY(db->isOpen());
        QCOMPARE(store->userSyn.value("run"), (QStringList{"dash", "jog"}));
    }

    void unknownCodeNeverReachesSql()
    {
        sql("insert into eng_fav values(null,?,?,3)", {"run", "dash"});
        store->curLang = "eng_fav; drop table eng_fav; --";
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("Unknown language code"));
        store->loadSynonyms();
        store->addUserSynonym("run", "jog");
        store->curLang = "eng";
        store->loadSynonyms();
        QCOMPARE(store->userFav.value("run"), QStringList{"dash"});
        QVERIFY(store->userSyn.isEmpty());
    }

    // ---- candidate list ------------------------------------------------------------------

    void candidateLimit()
    {
        QStringList eleven;
        for (int i = 1; i <= 11; ++i)
            eleven << "s" + QString::number(i);
        store->allUserSyn.insert("run", eleven);
        QList<SynonymStore::Candidate> list = store->candidateList("run");
        QCOMPARE(entries(list), (QStringList{"(blank)", "run"} + eleven.mid(0, 10)));

        // User synonyms do not take places: three more entries.
        store->userSyn.insert("run", {"u1", "u2", "u3"});
        list = store->candidateList("run");
        QCOMPARE(entries(list),
                 (QStringList{"(blank)", "run", "u1", "u2", "u3"} + eleven.mid(0, 10)));
    }

    void userEntriesSurviveFullFavourites()
    {
        QStringList ten;
        for (int i = 1; i <= 10; ++i)
            ten << "b" + QString::number(i);
        store->bestfav.insert("run", ten);
        store->goodfav.insert("run", {"g1"});
        store->userSyn.insert("run", {"mine"});
        store->allUserSyn.insert("run", {"s1"});
        QCOMPARE(render(store->candidateList("run")).mid(7),
                 (QStringList{"b8:best", "b9:best", "b10:best", "mine:user"}));
    }

    void precedence_data()
    {
        QTest::addColumn<QString>("word");
        QTest::addColumn<QStringList>("expected");

        const QStringList lower{"quick:user-favourite", "swift:best", "rapid:better",
                                "brisk:good",           "mine:user",  "speedy:server",
                                "hasty:server"};
        QTest::newRow("lower-case word") << "run" << lower;
        QStringList capital;
        for (QString e : lower)
            capital << e.replace(0, 1, e.at(0).toUpper());
        QTest::newRow("capitalised word") << "Run" << capital;
        QTest::newRow("upper-case word") << "RUN" << capital;
        QTest::newRow("unknown word") << "walk" << QStringList();
    }

    void precedence()
    {
        QFETCH(QString, word);
        QFETCH(QStringList, expected);
        store->userFav.insert("run", {" Quick "});
        store->bestfav.insert("run", {"quick", "swift", ""});
        store->betterfav.insert("run", {"rapid", "SWIFT"});
        store->goodfav.insert("run", {"swift", "brisk", "Run"});
        // "brisk" is a good favourite already; "speedy" is in the server list, so it is offered
        // as a server synonym.
        store->userSyn.insert("run", {"brisk", "mine", "speedy "});
        store->allUserSyn.insert("run", {"speedy", "hasty", "run", "Quick"});
        QCOMPARE(render(store->candidateList(word)), expected);
    }

    void deletedListFiltersCommunityOnly()
    {
        store->userFav.insert("run", {"dash"});
        store->bestfav.insert("run", {"swift"});
        store->goodfav.insert("run", {"brisk"});
        store->userSyn.insert("run", {"jog"});
        store->allUserSyn.insert("run", {"hasty", "sprint"});
        store->deletedSyn.insert("run", {"SWIFT", "Dash", "jog", "hasty", "brisk "});
        QCOMPARE(render(store->candidateList("run")),
                 (QStringList{"dash:user-favourite", "jog:user", "sprint:server"}));
    }

    void headerEntries()
    {
        const QList<SynonymStore::Candidate> list = store->candidateList("Fast");
        QCOMPARE(list.size(), 2);
        QCOMPARE(list[0], (SynonymStore::Candidate{"(blank)", "(blank)", Kind::Blank}));
        QCOMPARE(list[1], (SynonymStore::Candidate{"fast", "Fast", Kind::Word}));
    }

    // ---- edits ---------------------------------------------------------------------------

    void editsSurviveReload()
    {
        write("eng_syn.dat", "synonym version 1\nrun|dash|sprint|hasten\n");
        store->loadSynonyms();
        store->addUserSynonym("Run", "jog");
        store->addUserSynonym("run", "trot");
        store->markFavourite("run", "sprint", Kind::Server);
        store->markFavourite("run", "trot", Kind::UserSynonym);
        store->removeSynonym("run", "Dash", Kind::Server);
        const QStringList before = render(store->candidateList("run"));
        QCOMPARE(before,
                 (QStringList{"trot:user-favourite", "sprint:good", "jog:user", "hasten:server"}));

        store->loadSynonyms();
        QCOMPARE(render(store->candidateList("run")), before);
        // The list file itself is never rewritten.
        QCOMPARE(read("eng_syn.dat"), QByteArray("synonym version 1\nrun|dash|sprint|hasten\n"));
        QCOMPARE(store->deletedSyn.value("run"), QStringList{"Dash"});
    }

    void unmarkStoresShortenedList()
    {
        write("eng_syn.dat", "synonym version 1\nrun|dash|sprint\n");
        store->loadSynonyms();
        store->markFavourite("run", "sprint", Kind::Server);
        store->unmarkFavourite("run", "Sprint", Kind::Good);
        QCOMPARE(store->goodfav.value("run"), QStringList());
        QSqlQuery q(db->database());
        QVERIFY(q.exec("select syn from eng_fav where word='run' and syn_type=0"));
        QVERIFY(q.next());
        QVERIFY(!q.isNull(0));
        QCOMPARE(q.value(0).toString(), QString(""));
        QVERIFY(!q.next());

        store->loadSynonyms();
        QCOMPARE(render(store->candidateList("run")),
                 (QStringList{"dash:server", "sprint:server"}));
    }

    void removeOwnEntries()
    {
        store->loadSynonyms();
        store->addUserSynonym("run", "jog");
        store->addUserSynonym("run", "trot");
        store->markFavourite("run", "trot", Kind::UserSynonym);
        store->removeSynonym("run", "Trot", Kind::UserFavourite);
        store->loadSynonyms();
        QCOMPARE(store->userFav.value("run"), QStringList{""});
        QCOMPARE(store->userSyn.value("run"), QStringList{"jog"});
        QCOMPARE(store->deletedSyn.value("run"), QStringList{"Trot"});
        QCOMPARE(render(store->candidateList("run")), QStringList{"jog:user"});
    }

    void databaseErrorKeepsEdit()
    {
        store->loadSynonyms();
        sql("drop table eng_usersyn");
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("Synonym table lookup failed"));
        store->addUserSynonym("run", "jog");
        QCOMPARE(store->userSyn.value("run"), QStringList{"jog"});
    }

    void longWordsAreStored()
    {
        store->loadSynonyms();
        const QString word = QString(60, u'w');
        const QString list = QString(1200, u's');
        store->addUserSynonym(word, list);
        store->loadSynonyms();
        QCOMPARE(store->userSyn.value(word), QStringList{list});
    }

    // ---- inflected words -----------------------------------------------------------------
    // Against the installed en_US dictionary and WordNet files.

    static QByteArray inflectionList()
    {
        return "synonym version 1\ntake|require|need|call for\nhouse|home|dwelling\n"
               "jump|leap|bound\nkind|sort|benevolent\nmake|produce|create\n"
               "makes|creates|builds\nrun|operate|go|keep\n";
    }

    void inflectedRows_data()
    {
        QTest::addColumn<QString>("word");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("third person")
            << "takes"
            << QStringList{"requires:inflected", "needs:inflected", "calls for:inflected"};
        QTest::newRow("capitalised plural")
            << "Houses" << QStringList{"Homes:inflected", "Dwellings:inflected"};
        QTest::newRow("jumps") << "jumps" << QStringList{"leaps:inflected", "bounds:inflected"};
        QTest::newRow("irregular past")
            << "ran" << QStringList{"operated:inflected", "kept:inflected"};
        QTest::newRow("a synonym that takes no plural is left out")
            << "kinds" << QStringList{"sorts:inflected"};
        QTest::newRow("a word with its own entry is left alone")
            << "makes" << QStringList{"creates:server", "builds:server"};
        QTest::newRow("no base with synonyms") << "walks" << QStringList{};
        QTest::newRow("a base form gets nothing") << "walk" << QStringList{};
    }

    void inflectedRows()
    {
        QFETCH(QString, word);
        QFETCH(QStringList, expected);
        if (!QFile::exists("/usr/share/hunspell/en_US.dic") ||
            !QFile::exists("/usr/share/wordnet/verb.exc"))
            QSKIP("hunspell-en-us or wordnet-base is not installed");
        write("eng_syn.dat", inflectionList());
        store->loadSynonyms();
        QCOMPARE(render(store->candidateList(word)), expected);
    }

    void inflectedRowRemoved()
    {
        if (!QFile::exists("/usr/share/hunspell/en_US.dic"))
            QSKIP("hunspell-en-us is not installed");
        write("eng_syn.dat", inflectionList());
        store->loadSynonyms();
        // The panel hands an inflected row back as a server row.
        store->removeSynonym("takes", "needs", Kind::Server);
        QCOMPARE(render(store->candidateList("takes")),
                 (QStringList{"requires:inflected", "calls for:inflected"}));
        store->loadSynonyms();
        QCOMPARE(store->deletedSyn.value("takes"), QStringList{"needs"});
        QCOMPARE(render(store->candidateList("takes")),
                 (QStringList{"requires:inflected", "calls for:inflected"}));
        // Nothing inflected is ever written into the list file.
        QCOMPARE(read("eng_syn.dat"), inflectionList());
    }

    void inflectionIsOptional()
    {
        QTemporaryDir empty;
        store->setMorphologyFolders(empty.path(), empty.path());
        write("eng_syn.dat", inflectionList());
        store->loadSynonyms();
        QCOMPARE(render(store->candidateList("takes")), QStringList{});
        QCOMPARE(render(store->candidateList("take")),
                 (QStringList{"require:server", "need:server", "call for:server"}));
    }

    // ---- built-in thesaurus --------------------------------------------------------------

    void importsThesaurusWhenListMissing()
    {
        store->setMorphologyFolders(thesauri->path(), thesauri->path());
        copyFixture("th_sample_utf8.dat", thesauri->filePath("th_en_US_v2.dat"));
        QSignalSpy started(store.get(), &SynonymStore::thesaurusImportStarted);
        QSignalSpy finished(store.get(), &SynonymStore::thesaurusImportFinished);
        store->synver.insert("eng", 4); // a list deleted earlier had a version
        store->loadSynonyms();
        QCOMPARE(started.size(), 1);
        QCOMPARE(finished.size(), 1);
        QCOMPARE(finished.first(), (QVariantList{"eng", true}));
        QCOMPARE(store->synver.value("eng"), 0.0);
        // Without WordNet's use counts the thesaurus order, similar terms last.
        QCOMPARE(render(store->candidateList("Fast")),
                 (QStringList{"Quick:server", "Speedy:server", "Firm:server", "Swiftly:server",
                              "Rapid:server"}));
        QCOMPARE(render(store->candidateList("run")), QStringList{"sprint:server"});

        // The list exists now: no second import.
        store->loadSynonyms();
        QCOMPARE(started.size(), 1);
    }

    void listWithoutImportRecordIsKeptAside()
    {
        // A version-0 list from before the import kept a record may have been edited by hand:
        // it is rebuilt, and the old file stays beside the new one.
        store->setMorphologyFolders(thesauri->path(), thesauri->path());
        copyFixture("th_sample_utf8.dat", thesauri->filePath("th_en_US_v2.dat"));
        const QByteArray old = "synonym version 0\nfast|handmade\n";
        write("eng_syn.dat", old);
        store->loadSynonyms();
        QCOMPARE(render(store->candidateList("fast")).value(0), QString("quick:server"));
        QFile kept(folder() + "eng_syn.dat.before-reimport");
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), old);
    }

    void unreadableThesaurusIsReportedOnce()
    {
        copyFixture("th_sample_badenc.dat", thesauri->filePath("th_en_US_v2.dat"));
        QSignalSpy failed(store.get(), &SynonymStore::synonymFileError);
        QSignalSpy finished(store.get(), &SynonymStore::thesaurusImportFinished);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("thesaurus not imported.*CHARSET"));
        store->loadSynonyms();
        QTest::failOnWarning(QRegularExpression("thesaurus"));
        store->loadSynonyms();
        QCOMPARE(finished.size(), 1);
        QCOMPARE(finished.first(), (QVariantList{"eng", false}));
        QCOMPARE(failed.size(), 0);
        QVERIFY(!QFile::exists(folder() + "eng_syn.dat"));
        QVERIFY(store->allUserSyn.isEmpty());
    }

    void languagesWithoutThesaurus()
    {
        copyFixture("th_sample_utf8.dat", thesauri->filePath("th_en_US_v2.dat"));
        QSignalSpy started(store.get(), &SynonymStore::thesaurusImportStarted);
        store->curLang = "heb";
        store->loadSynonyms();
        store->curLang = "dut";
        store->loadSynonyms();
        QCOMPARE(started.size(), 0);
        QVERIFY(QDir(folder()).entryList({"*.dat"}).isEmpty());
    }

    // ---- language ------------------------------------------------------------------------

    void languageSwitchIsRemembered()
    {
        QCOMPARE(storage::storedLanguage().rightToLeft, false);
        QCOMPARE(store->curLang, QString("eng"));
        QCOMPARE(storage::languageSettings(), (QVariantMap{{"lang", "eng"}, {"dir", "ltr"}}));

        write("bul_syn.dat", "synonym version 1\nбърз|скор|пъргав\n");
        QSignalSpy loaded(store.get(), &SynonymStore::synonymsLoaded);
        store->langChanged(Language::indexOfCode("bul"), true);
        QCOMPARE(loaded.size(), 1);
        QCOMPARE(store->curLang, QString("bul"));
        QCOMPARE(store->allUserSyn.value("бърз"), (QStringList{"скор", "пъргав"}));
        QCOMPARE(storage::languageSettings(), (QVariantMap{{"lang", "bul"}, {"dir", "rtl"}}));

        store->langChanged(12, false); // outside the box: nothing happens
        QCOMPARE(store->curLang, QString("bul"));

        const storage::StoredLanguage stored = storage::storedLanguage();
        QCOMPARE(stored.code, QString("bul"));
        QCOMPARE(stored.rightToLeft, true);
    }
};

REWORDIX_TEST_GUILESS_MAIN(SynonymStoreTest)
#include "synonymstore_test.moc"
