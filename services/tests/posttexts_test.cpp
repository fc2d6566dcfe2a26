#include "testsupport/testsupport.h"
#include "services/postchoices.h"
#include "services/postcopies.h"

#include "spintax/generator.h"

#include <QSet>
#include <QtTest>

// What a posting run takes from the dialog's tables and the texts it sends.
class PostTextsTest : public QObject
{
    Q_OBJECT

private slots:
    void choices_data()
    {
        QTest::addColumn<QList<ChoiceRow>>("rows");
        QTest::addColumn<QStringList>("remembered");
        QTest::addColumn<QStringList>("chosen");
        QTest::addColumn<QString>("kwAll");
        QTest::newRow("two ticked above the empty last row")
            << QList<ChoiceRow>{{"alpha", true}, {"beta", true}, {"", false}}
            << QStringList{"alpha", "beta"} << QStringList{"alpha", "beta"} << "alpha,beta,";
        QTest::newRow("ticked last row gets no comma")
            << QList<ChoiceRow>{{"alpha", true}, {"beta", true}} << QStringList{"alpha", "beta"}
            << QStringList{"alpha", "beta"} << "alpha,beta";
        QTest::newRow("unticked remembered, not chosen")
            << QList<ChoiceRow>{{"alpha", false}, {"beta", true}, {"", false}}
            << QStringList{"alpha", "beta"} << QStringList{"beta"} << "beta,";
        QTest::newRow("ticked blank rows are nothing")
            << QList<ChoiceRow>{{"  ", true}, {"", true}} << QStringList() << QStringList() << "";
        QTest::newRow("none ticked") << QList<ChoiceRow>{{"a", false}, {"", false}}
                                     << QStringList{"a"} << QStringList() << "";
    }
    void choices()
    {
        QFETCH(QList<ChoiceRow>, rows);
        QFETCH(QStringList, remembered);
        QFETCH(QStringList, chosen);
        QFETCH(QString, kwAll);
        const PostChoices c = PostChoices::fromRows(rows);
        QCOMPARE(c.remembered, remembered);
        QCOMPARE(c.chosen, chosen);
        QCOMPARE(PostChoices::keywordString(rows), kwAll);
    }

    void copiesAreDistinctWhileThereAreUnusedOnes_data()
    {
        QTest::addColumn<QString>("article");
        QTest::addColumn<int>("sites");
        QTest::addColumn<int>("distinct");
        QTest::newRow("two sites, two combinations") << "{a|b}" << 2 << 2;
        QTest::newRow("three sites, two combinations") << "{a|b}" << 3 << 2;
        QTest::newRow("nested groups") << "{x {1|2}|y} {p|q}" << 6 << 6;
        // The formula counts the empty last piece, the generator never makes it: no endless wait.
        QTest::newRow("trailing empty alternative") << "{a|}" << 3 << 1;
        QTest::newRow("no groups") << "plain text" << 2 << 1;
    }
    void copiesAreDistinctWhileThereAreUnusedOnes()
    {
        QFETCH(QString, article);
        QFETCH(int, sites);
        QFETCH(int, distinct);
        spintax::Generator generator;
        generator.setSeed(7);
        PostCopies copies(generator, article);
        QVERIFY(copies.balanced());
        QSet<QString> seen;
        for (int i = 0; i < sites; ++i)
            seen.insert(copies.next());
        QCOMPARE(seen.size(), distinct);
    }

    void unbalancedArticle()
    {
        spintax::Generator generator;
        PostCopies copies(generator, QStringLiteral("{a|b"));
        QVERIFY(!copies.balanced());
        QCOMPARE(PostCopies::spinTitle(generator, QStringLiteral("x}{")), std::nullopt);
    }

    // The title is the first copy of a fresh batch, and spinning it leaves the generator where it
    // was: the article's copies continue as if no title had been spun.
    void titleLeavesTheGeneratorAlone()
    {
        spintax::Generator withTitle;
        spintax::Generator without;
        withTitle.setSeed(3);
        without.setSeed(3);
        (void)withTitle.anySpin(QStringLiteral("{a|b|c}"), false);
        (void)without.anySpin(QStringLiteral("{a|b|c}"), false);

        QCOMPARE(PostCopies::spinTitle(withTitle, QStringLiteral("{One|Two} title")),
                 QStringLiteral("One title"));
        QCOMPARE(PostCopies::spinTitle(withTitle, QStringLiteral("{One|Two} title")),
                 QStringLiteral("One title"));
        QCOMPARE(withTitle.idx(), without.idx());
        for (int i = 0; i < 4; ++i)
            QCOMPARE(withTitle.anySpin(QStringLiteral("{a|b|c} {d {e|f}|g}"), false)->text,
                     without.anySpin(QStringLiteral("{a|b|c} {d {e|f}|g}"), false)->text);
    }
};

REWORDIX_TEST_GUILESS_MAIN(PostTextsTest)
#include "posttexts_test.moc"
