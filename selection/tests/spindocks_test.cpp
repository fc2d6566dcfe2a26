// The docks' rules on plain strings: what ticked rows write, how a rapid sentence splits into
// word columns and what a column writes back, and the status bar's sentence count.

#include "testsupport/testsupport.h"
#include "selection/sentencecount.h"
#include "selection/spindocks.h"

#include <QTest>

class SpinDocksTest final : public QObject
{
    Q_OBJECT

private slots:
    void tickedText_data()
    {
        QTest::addColumn<QStringList>("ticked");
        QTest::addColumn<QString>("expected");
        const QString b = spindocks::blankEntry();
        QTest::newRow("nothing ticked writes the original") << QStringList{} << "Orig.";
        QTest::newRow("one entry is plain text") << QStringList{"A"} << "A";
        QTest::newRow("several form a group in tick order") << QStringList{"B", "A"} << "{B|A}";
        QTest::newRow("blank gives an empty first alternative")
            << QStringList{"A", "B", b} << "{|A|B}";
        QTest::newRow("blank with one entry") << QStringList{b, "A"} << "{|A}";
        QTest::newRow("blank alone makes the original optional") << QStringList{b} << "{|Orig.}";
        QTest::newRow("empty entries add nothing") << QStringList{b, "", "A", "B"} << "{|A|B}";
        QTest::newRow("only an empty entry keeps the original") << QStringList{""} << "Orig.";
    }
    void tickedText()
    {
        QFETCH(QStringList, ticked);
        QFETCH(QString, expected);
        QCOMPARE(spindocks::tickedText(ticked, QStringLiteral("Orig.")), expected);
    }

    void shownText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown");
        const QString ellipsis(QChar(0x2026));
        QTest::newRow("up to the limit: unchanged") << "abcd"
                                                    << "abcd";
        QTest::newRow("longer: cut with an ellipsis") << "abcdef"
                                                      << "abcd" + ellipsis;
        // U+1F600 is the pair D83D DE00; the cut falls between them.
        QTest::newRow("a surrogate pair is not split")
            << QStringLiteral("abc\U0001F600x") << "abc" + ellipsis;
    }
    void shownText()
    {
        QFETCH(QString, text);
        QFETCH(QString, shown);
        QCOMPARE(spindocks::shownText(text, 4), shown);
    }

    void groupEntriesListEachAlternativeOnce()
    {
        QCOMPARE(spindocks::groupEntries({"", "A", "B", "A"}),
                 (QStringList{"(blank)", "", "A", "B"}));
    }

    void rapidColumns_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("words");  // the columns' words
        QTest::addColumn<QStringList>("groups"); // alternatives joined by "|", per column
        QTest::addColumn<QStringList>("trailing");
        QTest::newRow("plain words") << "the big dog" << QStringList{"the", "big", "dog"}
                                     << QStringList{"", "", ""} << QStringList{"", "", ""};
        QTest::newRow("group over several tokens")
            << "a {b c|d} e" << QStringList{"a", "b c", "e"} << QStringList{"", "b c|d", ""}
            << QStringList{"", "", ""};
        QTest::newRow("characters after the closing brace stay outside")
            << "The cat {sat|lay}." << QStringList{"The", "cat", "sat"}
            << QStringList{"", "", "sat|lay"} << QStringList{"", "", "."};
        QTest::newRow("nested group is one column")
            << "x {a {b|c}|d} y" << QStringList{"x", "a {b|c}", "y"}
            << QStringList{"", "a {b|c}|d", ""} << QStringList{"", "", ""};
        QTest::newRow("double space keeps an empty token, trailing ones dropped")
            << "a  b  " << QStringList{"a", "", "b"} << QStringList{"", "", ""}
            << QStringList{"", "", ""};
        QTest::newRow("open group at the end gives no column")
            << "a {b c" << QStringList{"a"} << QStringList{""} << QStringList{""};
    }
    void rapidColumns()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, words);
        QFETCH(QStringList, groups);
        QFETCH(QStringList, trailing);
        const QList<spindocks::RapidColumn> columns = spindocks::rapidColumns(text);
        QStringList gotWords, gotGroups, gotTrailing;
        for (const spindocks::RapidColumn &c : columns) {
            gotWords << c.word;
            gotGroups << c.alternatives.join(QLatin1Char('|'));
            gotTrailing << c.trailing;
        }
        QCOMPARE(gotWords, words);
        QCOMPARE(gotGroups, groups);
        QCOMPARE(gotTrailing, trailing);
    }

    void rapidPieceKeepsTrailingAfterTheGroup()
    {
        const spindocks::RapidColumn column = spindocks::rapidColumns("{sat|lay}.").first();
        QCOMPARE(spindocks::rapidPiece(column, {"lay", "sprawled"}),
                 QStringLiteral("{sat|lay|sprawled}."));
        QCOMPARE(spindocks::rapidPiece(column, {}), QStringLiteral("sat."));
    }

    void sentenceCount_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("count");
        QTest::newRow("empty") << "" << 0;
        QTest::newRow("unterminated last sentence counts") << "One. Two" << 2;
        QTest::newRow("runs of terminators end one sentence") << "Wait... What?! Yes." << 3;
        QTest::newRow("paragraph end ends a sentence") << "One\nTwo.\n\n" << 2;
        QTest::newRow("punctuation alone is no sentence") << "... !" << 0;
    }
    void sentenceCount()
    {
        QFETCH(QString, text);
        QFETCH(int, count);
        QCOMPARE(::sentenceCount(text), count);
    }
};

REWORDIX_TEST_MAIN(SpinDocksTest)
#include "spindocks_test.moc"
