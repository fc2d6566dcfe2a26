#include "testsupport/testsupport.h"
#include "synonyms/inflection.h"

#include <QTemporaryDir>
#include <QtTest>

#include <memory>

// Runs against the installed Hunspell dictionaries and WordNet files; a test whose data is not
// installed is skipped.
class InflectionTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<Inflection> english;
    std::unique_ptr<Inflection> german;

    // A synonym list for the look-ups, keyed like the store's maps.
    static Inflection::Lookup lists(const QHash<QString, QStringList> &map)
    {
        return [map](const QString &key) { return map.value(key); };
    }

private slots:
    void initTestCase()
    {
        english = std::make_unique<Inflection>("eng", Inflection::defaultHunspellFolder(),
                                               Inflection::defaultWordNetFolder());
        german = std::make_unique<Inflection>("ger", Inflection::defaultHunspellFolder(),
                                              Inflection::defaultWordNetFolder());
        if (!english->isAvailable() || !german->isAvailable())
            QSKIP("hunspell-en-us or hunspell-de-de is not installed");
    }

    void applyRule_data()
    {
        QTest::addColumn<QString>("word");
        QTest::addColumn<QString>("strip");
        QTest::addColumn<QString>("add");
        QTest::addColumn<QString>("condition");
        QTest::addColumn<QString>("expected"); // empty: the rule does not apply

        QTest::newRow("plain ending") << "take"
                                      << ""
                                      << "s"
                                      << "[^sxzhy]"
                                      << "takes";
        QTest::newRow("negated class refuses") << "copy"
                                               << ""
                                               << "s"
                                               << "[^sxzhy]"
                                               << "";
        QTest::newRow("strip and add") << "copy"
                                       << "y"
                                       << "ies"
                                       << "[^aeiou]y"
                                       << "copies";
        QTest::newRow("two positions refuse") << "play"
                                              << "y"
                                              << "ies"
                                              << "[^aeiou]y"
                                              << "";
        QTest::newRow("any character") << "quick"
                                       << ""
                                       << "ly"
                                       << "."
                                       << "quickly";
        QTest::newRow("strip must end the word") << "house"
                                                 << "y"
                                                 << "ies"
                                                 << "y"
                                                 << "";
        QTest::newRow("condition longer than the word") << "a"
                                                        << ""
                                                        << "s"
                                                        << "[^e]ab"
                                                        << "";
        QTest::newRow("non-ASCII class") << "schön"
                                         << ""
                                         << "en"
                                         << "[^elr]"
                                         << "schönen";
        QTest::newRow("word no longer than the strip") << "y"
                                                       << "y"
                                                       << "ies"
                                                       << "y"
                                                       << "";
    }

    void applyRule()
    {
        QFETCH(QString, word);
        QFETCH(QString, strip);
        QFETCH(QString, add);
        QFETCH(QString, condition);
        QFETCH(QString, expected);
        const std::optional<QString> made =
            Inflection::applyRule(word, {QStringLiteral("X"), strip, add, condition});
        QCOMPARE(made.value_or(QString()), expected);
    }

    void englishRules()
    {
        // The S rule as en_US writes it: four lines, one per ending.
        const QList<Inflection::SuffixRule> s = english->rulesOf("S");
        QCOMPARE(s.size(), 4);
        QVERIFY(s.contains(Inflection::SuffixRule{"S", "y", "ies", "[^aeiou]y"}));
    }

    void inflected_data()
    {
        QTest::addColumn<QString>("lang");
        QTest::addColumn<QString>("word");
        QTest::addColumn<QString>("base");
        QTest::addColumn<QStringList>("synonyms");
        QTest::addColumn<QStringList>("expected");

        QTest::newRow("third person, no S flag on the synonym")
            << "eng"
            << "takes"
            << "take" << QStringList{"require", "need"} << QStringList{"requires", "needs"};
        QTest::newRow("plural") << "eng"
                                << "houses"
                                << "house" << QStringList{"home", "dwelling"}
                                << QStringList{"homes", "dwellings"};
        QTest::newRow("plural of a capitalised word")
            << "eng"
            << "Houses"
            << "house" << QStringList{"home", "dwelling"} << QStringList{"homes", "dwellings"};
        QTest::newRow("leaps") << "eng"
                               << "jumps"
                               << "jump" << QStringList{"leap", "bound"}
                               << QStringList{"leaps", "bounds"};
        QTest::newRow("ending rules per synonym: -ies, -es")
            << "eng"
            << "takes"
            << "take" << QStringList{"carry", "reach", "accept"}
            << QStringList{"carries", "reaches", "accepts"};
        QTest::newRow("past: regular d/ed, no form for two irregular pasts")
            << "eng"
            << "provided"
            << "provide" << QStringList{"supply", "give", "furnish"}
            << QStringList{"supplied", "furnished"};
        QTest::newRow("irregular form: synonyms in the past, go/went/gone left out")
            << "eng"
            << "ran"
            << "run" << QStringList{"operate", "go", "extend", "keep"}
            << QStringList{"operated", "extended", "kept"};
        QTest::newRow("irregular plural: synonym's own irregular plural")
            << "eng"
            << "children"
            << "child" << QStringList{"kid", "man", "youngster"}
            << QStringList{"kids", "men", "youngsters"};
        QTest::newRow("-ing form") << "eng"
                                   << "including"
                                   << "include" << QStringList{"contain", "admit", "comprise"}
                                   << QStringList{"containing", "admitting", "comprising"};
        QTest::newRow("an adjective cannot be a plural")
            << "eng"
            << "kinds"
            << "kind" << QStringList{"sort", "benevolent", "gentle"}
            << QStringList{"sorts", "gentles"};
        QTest::newRow("phrases: verb first, two-word noun last, longer noun phrase left out")
            << "eng"
            << "takes"
            << "take" << QStringList{"call for", "law of nature"} << QStringList{"calls for"};
        QTest::newRow("noun phrase plural")
            << "eng"
            << "parties"
            << "party" << QStringList{"political party"} << QStringList{"political parties"};
        QTest::newRow("German noun plural, only where the dictionary gives the noun that -e")
            << "ger"
            << "Rechte"
            << "recht" << QStringList{"Anrecht", "Ablauf", "richtig"} << QStringList{"Anrechte"};
        QTest::newRow("German adjective ending")
            << "ger"
            << "schönen"
            << "schön" << QStringList{"hübsch", "Haus"} << QStringList{"hübschen"};
        QTest::newRow("German verb forms are not made")
            << "ger"
            << "setzt"
            << "setzen" << QStringList{"stellen", "legen"} << QStringList{};
    }

    void inflected()
    {
        QFETCH(QString, lang);
        QFETCH(QString, word);
        QFETCH(QString, base);
        QFETCH(QStringList, synonyms);
        QFETCH(QStringList, expected);
        Inflection &inflection = lang == u"eng" ? *english : *german;
        if (lang == u"eng" && !QFile::exists(Inflection::defaultWordNetFolder() + "verb.exc"))
            QSKIP("wordnet-base is not installed");
        const QStringList got = inflection.inflectedSynonyms(word, lists({{base, synonyms}}), 10);
        QCOMPARE(got, expected);
        for (const QString &s : got)
            QVERIFY2(inflection.spell(s) || s.contains(u' '), qPrintable(s));
    }

    void ownFormHasNoBase_data()
    {
        QTest::addColumn<QString>("word");
        QTest::newRow("base form") << "take";
        QTest::newRow("phrase") << "takes off";
        QTest::newRow("unknown word") << "qzxv";
        QTest::newRow("empty") << "";
    }

    void ownFormHasNoBase()
    {
        QFETCH(QString, word);
        QCOMPARE(english->bases(word), QList<Inflection::Base>{});
    }

    void nearestBaseFirst()
    {
        // «obligations»: the plural of «obligation» before the derivation from «obligate».
        const QList<Inflection::Base> b = english->bases("obligations");
        QVERIFY(!b.isEmpty());
        QCOMPARE(b.front().base, QString("obligation"));
        // A capitalised German word: the noun's stem alone.
        for (const Inflection::Base &r : german->bases("Rechte"))
            QVERIFY2(r.base.front().isUpper(), qPrintable(r.base));
    }

    void limitAndDuplicates()
    {
        const QStringList got = english->inflectedSynonyms(
            "takes", lists({{"take", {"need", "Need", "require", "takes", "demand"}}}), 2);
        QCOMPARE(got, (QStringList{"needs", "requires"}));
        QCOMPARE(english->inflectedSynonyms("takes", lists({{"take", {"need"}}}), 0),
                 QStringList{});
    }

    void withoutDictionaries()
    {
        QTemporaryDir empty;
        Inflection none("eng", empty.path(), empty.path());
        QVERIFY(!none.isAvailable());
        QVERIFY(!none.spell("takes"));
        QCOMPARE(none.inflectedSynonyms("takes", lists({{"take", {"need"}}}), 10), QStringList{});
        // Without WordNet the dictionary still gives regular forms.
        Inflection noWordNet("eng", Inflection::defaultHunspellFolder(), empty.path());
        QCOMPARE(noWordNet.inflectedSynonyms("takes", lists({{"take", {"need"}}}), 10),
                 QStringList{"needs"});
        QCOMPARE(noWordNet.inflectedSynonyms("ran", lists({{"run", {"operate"}}}), 10),
                 QStringList{});
        // Languages without a dictionary name.
        Inflection hebrew("heb", Inflection::defaultHunspellFolder(), empty.path());
        QVERIFY(!hebrew.isAvailable());
    }
};

REWORDIX_TEST_GUILESS_MAIN(InflectionTest)
#include "inflection_test.moc"
