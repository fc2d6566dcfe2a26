// Auto-select, identify and the favourites exchange on a real store: list files and database rows
// in a temporary working folder, loaded by SynonymStore and ProtectedTerms as the editor loads
// them.

#include "selection/autoselect.h"
#include "selection/favouritesexchange.h"
#include "synonyms/protectedterms.h"
#include "synonyms/synonymstore.h"

#include "storage/localdatabase.h"

#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

using namespace selection;

class AutoSelectTest final : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir folder;
    LocalDatabase db;
    SynonymStore store;
    ProtectedTerms terms;
    SynonymLists lists;

    void write(const QString &name, const QByteArray &content)
    {
        QFile f(folder.filePath(name));
        QVERIFY(f.open(QIODevice::WriteOnly));
        QCOMPARE(f.write(content), content.size());
    }

    void exec(const QString &statement)
    {
        QSqlQuery q(db.database());
        QVERIFY2(q.exec(statement), qPrintable(statement));
    }

    // The spans of identify written into the text as [brackets], so rows read as the editor
    // shows them.
    static QString marked(const QString &text, const QList<TextSpan> &spans)
    {
        QString out = text;
        for (qsizetype i = spans.size() - 1; i >= 0; --i) {
            out.insert(spans[i].start + spans[i].length, u']');
            out.insert(spans[i].start, u'[');
        }
        return out;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(folder.isValid());
        write("eng_syn.dat", "synonym version 1\n"
                             "new york|nyc|big apple\n"
                             "love|adore|like\n"
                             "new|fresh|novel\n"
                             "york|town|city\n"
                             "huge|big|Big|large\n"
                             "cars|autos|vehicles\n"
                             "car|auto|vehicle\n"
                             "fast|quick|rapid|speedy|swift\n"
                             "widget|gadget|device\n"
                             "acme widget|acme gadget|acme device\n"
                             "caf\xc3\xa9|bistro|coffee house\n"
                             "nai\xcc\x88ve|simple|innocent\n"
                             "stop|halt|end\n"
                             "big|large|great\n"
                             "i|me|myself\n");
        write("eng_syn_fav.dat", "synonym version 1\n"
                                 "fast|__best::::swift|__good::::brisk\n"
                                 "full stop|__good::::  \n"
                                 "quick|__best::::fast|__better::::rapid|swift|__good::::speedy\n"
                                 "slow|__good::::sluggish\n");
        QVERIFY(db.connect(folder.path() + "/"));
        exec("insert into eng_usersyn values(null,'fast',null,null,null,'swift')");
        exec("insert into eng_usersyn values(null,'enormous',null,null,'big||large',null)");
        exec("insert into eng_fav values(null,'car','automobile',3)");
        exec("insert into eng_fav values(null,'fast','quick|rapid',3)");
        exec("insert into eng_fav values(null,'c++','cpp',3)");
        exec("insert into eng_fav values(null,'a.b','ab',3)");
        exec("insert into eng_fav values(null,'new york','nyc',3)");
        exec("insert into eng_fav values(null,'york','yk',3)");
        exec("insert into eng_fav values(null,'blank','  ',3)");
        exec("insert into protectedTermCat values(null,'Brands')");
        exec("insert into protectedTerm values(null,'ACME Widget',1)");
        exec("insert into protectedTerm values(null,'car',1)");

        store.setTempDir(folder.path() + "/");
        store.setDatabase(&db);
        store.setThesaurusFolder(folder.filePath("no-thesauri"));
        store.loadSynonyms();
        QCOMPARE(store.maxPhraseWord, 2);
        QVERIFY(terms.myInit(&db));
        lists = SynonymLists::of(store);
    }

    void autoSelect_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("max2");
        QTest::addColumn<QList<int>>("levels");
        QTest::addColumn<bool>("keep");
        QTest::addColumn<bool>("numberOne");
        QTest::addColumn<QString>("expected");

        const QList<int> all{AllLists};
        QTest::newRow("longest phrase first, words of a found phrase not looked up alone")
            << "I love New York." << 2 << all << true << false
            << "{I|Me|Myself} {love|adore|like} {New York|Nyc|Big apple}.";
        QTest::newRow("punctuation ends a phrase")
            << "new, york" << 1 << all << true << false << "{new|fresh}, {york|yk}";
        QTest::newRow("separators as written: two blanks are not the listed phrase")
            << "new  york" << 1 << all << true << false << "{new|fresh}  {york|yk}";
        QTest::newRow("existing groups untouched, text around them scanned apart")
            << "cars {new|york} cars" << 1 << all << true << false
            << "{cars|autos} {new|york} {cars|autos}";
        QTest::newRow("phrase at the end of the text wrapped once")
            << "to new york" << 5 << all << true << false << "to {new york|nyc|big apple}";
        QTest::newRow("repeated synonym skipped, window widens")
            << "Huge" << 2 << all << true << false << "{Huge|Big|Large}";
        QTest::newRow("blank entry uses up a place")
            << "Enormous" << 2 << all << true << false << "{Enormous|Big}";
        // Best "swift" was removed by the user; then good, user favourites, and the synonym list
        // without the entries already taken.
        QTest::newRow("synonyms the user removed are not offered, favourites first")
            << "fast" << 5 << all << true << false << "{fast|brisk|quick|rapid|speedy}";
        QTest::newRow("protected phrase in any case")
            << "Acme widget, ACME WIDGET" << 2 << all << true << false
            << "Acme widget, ACME WIDGET";
        QTest::newRow("protected phrase not with two blanks")
            << "ACME  Widget" << 1 << all << true << false << "ACME  {Widget|Gadget}";
        QTest::newRow("protected word with user favourites")
            << "car" << 5 << all << true << false << "car";
        QTest::newRow("keep off: one synonym replaces the phrase")
            << "huge" << 1 << all << false << false << "big";
        QTest::newRow("keep off: two synonyms")
            << "huge" << 2 << all << false << false << "{big|large}";
        QTest::newRow("no synonyms allowed: text unchanged")
            << "I love New York." << 0 << all << true << false << "I love New York.";
        QTest::newRow("empty list counts as found: no shorter phrase tried")
            << "a full stop" << 5 << all << true << false << "a full stop";
        QTest::newRow("Unicode words") << "Caf\u00e9 nai\u0308ve" << 1 << all << true << false
                                       << "{Caf\u00e9|Bistro} {nai\u0308ve|simple}";
        QTest::newRow("best favourites only") << "quick and fast" << 5 << QList<int>{BestFavourites}
                                              << true << false << "{quick|fast} and fast";
        QTest::newRow("best and better favourites") << "quick" << 5 << QList<int>{BetterFavourites}
                                                    << true << false << "{quick|fast|rapid|swift}";
        QTest::newRow("only the first of each favourites list")
            << "quick" << 5 << QList<int>{AllFavourites} << true << true
            << "{quick|fast|rapid|speedy}";
        QTest::newRow("only-first leaves the synonym list whole")
            << "huge" << 5 << all << true << true << "{huge|big|large}";
        QTest::newRow("three passes: later passes wrap only what is left")
            << "quick or slow" << 5 << QList<int>{BestFavourites, BetterFavourites, AllFavourites}
            << true << false << "{quick|fast} or {slow|sluggish}";
        QTest::newRow("level 3 wraps nothing")
            << "quick" << 5 << QList<int>{NoLists} << true << false << "quick";
    }

    void autoSelect()
    {
        QFETCH(QString, text);
        QFETCH(int, max2);
        QFETCH(QList<int>, levels);
        QFETCH(bool, keep);
        QFETCH(bool, numberOne);
        QFETCH(QString, expected);
        AutoSelectOptions options;
        options.max = store.maxPhraseWord;
        options.max2 = max2;
        options.keep = keep;
        options.numberOne = numberOne;
        const std::optional<QString> result =
            autoSelectPasses(text, lists, terms.protectedSet(), levels, options);
        QVERIFY(result);
        QCOMPARE(*result, expected);
    }

    void dialogChoices_data()
    {
        QTest::addColumn<bool>("phrasesOnly");
        QTest::addColumn<int>("frequency");
        QTest::addColumn<QString>("expected");
        const QString text = "new york, huge, new york, huge";
        QTest::newRow("every word and phrase")
            << false << 1 << "{new york|nyc}, {huge|big}, {new york|nyc}, {huge|big}";
        QTest::newRow("phrases only") << true << 1 << "{new york|nyc}, huge, {new york|nyc}, huge";
        QTest::newRow("every other") << false << 2 << "{new york|nyc}, huge, {new york|nyc}, huge";
        QTest::newRow("every third") << false << 3 << "{new york|nyc}, huge, new york, {huge|big}";
        QTest::newRow("phrases only, every other")
            << true << 2 << "{new york|nyc}, huge, new york, huge";
    }

    void dialogChoices()
    {
        QFETCH(bool, phrasesOnly);
        QFETCH(int, frequency);
        QFETCH(QString, expected);
        AutoSelectOptions options;
        options.max = 2;
        options.max2 = 1;
        options.phrasesOnly = phrasesOnly;
        options.frequency = frequency;
        QCOMPARE(autoSelect2("new york, huge, new york, huge", lists, {}, options), expected);
    }

    void unbalancedGivesNoResult_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("open brace") << "new { york";
        QTest::newRow("nested group without partner") << "a {b {c|d} e";
        QTest::newRow("after a complete group") << "{a|b} c {d";
    }

    void unbalancedGivesNoResult()
    {
        QFETCH(QString, text);
        AutoSelectOptions options;
        options.max = 2;
        options.max2 = 5;
        QVERIFY(!autoSelect2(text, lists, {}, options));
        QVERIFY(!formatIdentified(text, lists, 2, 0, IdentifyMode::WordsAndPhrases));
    }

    void streamedMatchesWhole_data()
    {
        QTest::addColumn<QList<int>>("levels");
        QTest::addColumn<int>("frequency");
        QTest::newRow("all lists") << QList<int>{AllLists} << 1;
        QTest::newRow("favourites exchange: three passes") << QList<int>{2, 1, 0} << 1;
        QTest::newRow("a pass on a pass's groups, every third phrase")
            << QList<int>{AllLists, AllLists} << 3;
        QTest::newRow("no pass") << QList<int>{} << 1;
    }

    // A text of several pieces, cut where phrases and groups cannot reach across, gives the
    // result of the whole text; phrases of two words meet at every possible cut.
    void streamedMatchesWhole()
    {
        QFETCH(QList<int>, levels);
        QFETCH(int, frequency);
        QString text;
        const QStringList bits = {"new york. ", "new|york ",      "{big|huge} york ",
                                  "fast, ",     "I love cars!\n", "caf\u00E9 {a {b|c}|d}.",
                                  "Stop (new) "};
        // A pass takes 2^20 characters at a time: a phrase ends there, which a cut before its
        // last blank would split.
        constexpr qsizetype piece = qsizetype(1) << 20;
        for (int i = 0; text.size() < piece - 100; ++i)
            text += bits[i % bits.size()];
        text += QString(piece - 9 - text.size(), u' ') + QStringLiteral(".new york");
        for (int i = 0; text.size() < 2'200'000; ++i) {
            text += bits[i % bits.size()];
            if (i == 1000) // a stretch longer than a piece without a cut
                text += QString(1'100'000, u'x') + u' ';
        }
        AutoSelectOptions options;
        options.max = 2;
        options.max2 = 3;
        options.frequency = frequency;
        const std::optional<QString> whole = autoSelectPasses(text, lists, {}, levels, options);
        QVERIFY(whole);
        QString streamed;
        int pieces = 0;
        QVERIFY(autoSelectPassesTo(text, lists, {}, levels, options, [&](QStringView piece) {
            streamed += piece;
            ++pieces;
        }));
        QVERIFY(pieces > 1);
        QVERIFY(streamed == *whole); // megabytes: QCOMPARE would print them
        QVERIFY(!autoSelectPassesTo(text + "{open", lists, {}, {AllLists}, options,
                                    [](QStringView) { QFAIL("written"); }));
    }

    void deepNestingIsSafe()
    {
        const int depth = 100000;
        const QString text = QString(depth, u'{') + "new york" + QString(depth, u'}') + " huge";
        AutoSelectOptions options;
        options.max = 2;
        options.max2 = 1;
        QCOMPARE(autoSelect2(text, lists, {}, options), text.chopped(4) + "{huge|big}");
        const auto spans = formatIdentified(text, lists, 2, 0, IdentifyMode::WordsAndPhrases);
        QVERIFY(spans);
        QCOMPARE(*spans, (QList<TextSpan>{{depth, 8}, {2 * depth + 9, 4}}));
    }

    void identify_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("expected");
        QTest::newRow("words and phrases") << "I love New York." << 0 << "[I] [love] [New York].";
        QTest::newRow("phrases only") << "I love New York." << 1 << "I love [New York].";
        QTest::newRow("remove underline") << "I love New York." << 2 << "I love New York.";
        QTest::newRow("inside groups, nested too")
            << "{new york|big}, {new|york} {a|{huge}}" << 0
            << "{[new york]|[big]}, {[new]|[york]} {a|{[huge]}}";
        QTest::newRow("protected terms are still marked") << "acme widget" << 0 << "[acme widget]";
    }

    void identify()
    {
        QFETCH(QString, text);
        QFETCH(int, mode);
        QFETCH(QString, expected);
        const auto spans =
            formatIdentified(text, lists, store.maxPhraseWord, 0, static_cast<IdentifyMode>(mode));
        QVERIFY(spans);
        QCOMPARE(marked(text, *spans), expected);
    }

    void identifyShiftsByStart()
    {
        const auto spans = formatIdentified("x huge", lists, 2, 10, IdentifyMode::WordsAndPhrases);
        QVERIFY(spans);
        QCOMPARE(*spans, (QList<TextSpan>{TextSpan{12, 4}}));
    }

    // The scans find the same phrases as the pattern getPattern() gives.
    void patternAgreesWithScan_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("words");
        QTest::addColumn<QString>("phrase");
        QTest::newRow("two words") << ", new york." << 2 << "new york";
        QTest::newRow("bar separates") << "new|york" << 2 << "new|york";
        QTest::newRow("mark inside a word") << "nai\u0308ve x" << 2 << "nai\u0308ve x";
        QTest::newRow("apostrophe splits") << "don't" << 1 << "don";
        QTest::newRow("underscore is a word character") << "a_b" << 1 << "a_b";
    }

    void patternAgreesWithScan()
    {
        QFETCH(QString, text);
        QFETCH(int, words);
        QFETCH(QString, phrase);
        QVERIFY(getPattern(words).isValid());
        QCOMPARE(getPattern(words).match(text).captured(), phrase);
        SynonymLists only;
        only.allUserSyn.insert(phrase.toLower(), {"x"});
        const auto spans = formatIdentified(text, only, words, 0, IdentifyMode::WordsAndPhrases);
        QVERIFY(spans && !spans->isEmpty());
        QCOMPARE(text.mid(spans->first().start, spans->first().length), phrase);
    }

    void replaceMyFavorites_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("lower-case occurrences only")
            << "fast cars. Fast cars, fast."
            << "{fast|quick|rapid} cars. Fast cars, {fast|quick|rapid}.";
        QTest::newRow("whole words only") << "breakfast fast_food fasts"
                                          << "breakfast fast_food fasts";
        QTest::newRow("word with symbols") << "c++ and c++."
                                           << "{c++|cpp} and {c++|cpp}.";
        QTest::newRow("matched literally") << "a.b axb"
                                           << "{a.b|ab} axb";
        QTest::newRow("longer words first, earlier results searched again")
            << "new york"
            << "{new {york|yk}|nyc}";
        QTest::newRow("blank favourites are no favourites") << "blank"
                                                            << "blank";
        QTest::newRow("no favourite words: unchanged") << "nothing here"
                                                       << "nothing here";
    }

    void replaceMyFavorites()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(replaceUserFavorites(text, store.userFav), expected);
    }
};

QTEST_GUILESS_MAIN(AutoSelectTest)
#include "autoselect_test.moc"
