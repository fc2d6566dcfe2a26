#include "testsupport/testsupport.h"
#include "spintax/generator.h"

#include <QTest>

using namespace spintax;

class ReadingsTest final : public QObject
{
    Q_OBJECT

private slots:
    void firstReading_data();
    void firstReading();
    void makeFlat_data();
    void makeFlat();
    void removeOriginalWord_data();
    void removeOriginalWord();
    void countSmall_data();
    void countSmall();
    void combinations_data();
    void combinations();
    void statusFigures_data();
    void statusFigures();
    void statusFiguresUnbalanced();
};

void ReadingsTest::firstReading_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<std::optional<QString>>("expected");
    using R = std::optional<QString>;
    QTest::newRow("plain text") << "plain" << R("plain");
    QTest::newRow("first alternatives, nested too") << "{a|b} {c|{d|e}}" << R("a c");
    QTest::newRow("nested group in the first alternative") << "{{a|b} z|w}" << R("a z");
    QTest::newRow("empty first alternative") << "{|a|b} x" << R(" x");
    QTest::newRow("double spaces collapse") << "a  {b|c}  {|d} e" << R("a b e");
    QTest::newRow("bars only") << "x{|}y" << R("xy");
    QTest::newRow("stray closing brace and bar stay") << "a}b|c" << R("a}b|c");
    QTest::newRow("unbalanced: no result") << "{a|b} {c" << R();
}

void ReadingsTest::firstReading()
{
    QFETCH(QString, text);
    QFETCH(std::optional<QString>, expected);
    QCOMPARE(anySpin2(text), expected);
}

void ReadingsTest::makeFlat_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("nested group becomes its first alternative") << "x {a {b|c}|d} y"
                                                                << "x {a b|d} y";
    QTest::newRow("top-level groups untouched") << "{a|b} {|c}"
                                                << "{a|b} {|c}";
    QTest::newRow("deeper nesting") << "{{a|b}|{c {d|e}|f}}"
                                    << "{a|c d}";
    QTest::newRow("spaces collapse inside the reading only") << "{a {b  {c|d}|e}|f}  x"
                                                             << "{a b c|f}  x";
    QTest::newRow("empty first alternative of a nested group") << "{a {x|y}|b {|z}}"
                                                               << "{a x|b }";
    QTest::newRow("stray closing brace is text") << "a} {b}"
                                                 << "a} {b}";
    QTest::newRow("unbalanced: empty") << "x {a|{b}"
                                       << "";
}

void ReadingsTest::makeFlat()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(spintax::makeFlat(text), expected);
}

void ReadingsTest::removeOriginalWord_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("first alternatives go") << "{a|b|c} and {x|y}"
                                           << "{b|c} and y";
    QTest::newRow("nested groups lose theirs too") << "{a|{b|c} d|e}"
                                                   << "{c d|e}";
    QTest::newRow("no groups") << "plain text"
                               << "plain text";
    QTest::newRow("single alternative stays, braces go") << "{a}"
                                                         << "a";
    QTest::newRow("braces kept for a nested bar") << "{a|{b|c|d}}"
                                                  << "{{c|d}}";
    QTest::newRow("remaining groups inside") << "{a|{x|y} {p|q|r}}"
                                             << "{y {q|r}}";
    QTest::newRow("empty first alternative") << "{|x}"
                                             << "x";
    QTest::newRow("trailing empty alternative") << "a{b|}c"
                                                << "ac";
    QTest::newRow("unmatched brace stays") << "{a {b|c}"
                                           << "{a c";
    QTest::newRow("only unmatched braces") << "{a {b"
                                           << "{a {b";
    QTest::newRow("stray closing brace") << "x} {a|b}"
                                         << "x} b";
}

void ReadingsTest::removeOriginalWord()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(spintax::removeOriginalWord(text), expected);
}

void ReadingsTest::countSmall_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("expected");
    QTest::newRow("smallest top-level group") << "{a|b|c} x {d|e}" << 2;
    QTest::newRow("nested bars count") << "{a|{b|c}} {d|e|f|g}" << 3;
    QTest::newRow("trailing empty pieces dropped") << "{a|b||} {c|d|e}" << 2;
    QTest::newRow("bars only") << "{a|b} {||}" << 0;
    QTest::newRow("empty group is one piece") << "{a|b} {}" << 1;
    QTest::newRow("stray closing brace first") << "x}{a|b|c}" << 3;
    QTest::newRow("no groups") << "plain" << 0;
    QTest::newRow("empty text") << "" << 0;
    QTest::newRow("unbalanced") << "{a|b} {c|d" << 0;
}

void ReadingsTest::countSmall()
{
    QFETCH(QString, text);
    QFETCH(int, expected);
    QCOMPARE(spintax::countSmall(text), expected);
}

void ReadingsTest::combinations_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<quint64>("count");
    QTest::addColumn<quint64>("reachable");
    const quint64 max = ~quint64(0);
    QTest::newRow("product of groups") << "{a|b} {c|{d|e}}" << quint64(6) << quint64(6);
    QTest::newRow("plain text") << "plain" << quint64(1) << quint64(1);
    QTest::newRow("empty text") << "" << quint64(0) << quint64(1);
    QTest::newRow("trailing empty alternative counted, never chosen")
        << "{a|b|}" << quint64(3) << quint64(2);
    QTest::newRow("bars only") << "{|}" << quint64(2) << quint64(1);
    QTest::newRow("sum of nested products") << "{{a|b}{c|d}|{e|f|g}}" << quint64(7) << quint64(7);
    QTest::newRow("empty first alternative beside a group counts 0")
        << "{|{a|b}}" << quint64(2) << quint64(3);
    QTest::newRow("empty last alternative beside a group counts 1")
        << "{{a|b}|}" << quint64(3) << quint64(3);
    QTest::newRow("empty inner alternative") << "{{a|b}||x}" << quint64(3) << quint64(4);
    QTest::newRow("group without top-level bar") << "{{a|b} {c|d|e}}" << quint64(6) << quint64(6);
    QTest::newRow("2^63 fits") << QString("{a|b}").repeated(63) << (quint64(1) << 63)
                               << (quint64(1) << 63);
    QTest::newRow("2^64 saturates") << QString("{a|b}").repeated(64) << max << max;
    QTest::newRow("3^40 fits") << QString("{a|b|c}").repeated(40)
                               << quint64(12157665459056928801ULL)
                               << quint64(12157665459056928801ULL);
    QTest::newRow("saturated sum stays saturated")
        << "{" + QString("{a|b}").repeated(64) + "|x}" << max << max;
    QTest::newRow("unbalanced") << "{a|b} {" << quint64(0) << quint64(0);
}

void ReadingsTest::combinations()
{
    QFETCH(QString, text);
    QFETCH(quint64, count);
    QFETCH(quint64, reachable);
    QCOMPARE(cT(text), count);
    QCOMPARE(reachableCombinations(text), reachable);
}

void ReadingsTest::statusFigures_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("expected"); // spun, total, unique, quality, paragraphs

    QTest::newRow("partly spun sentence")
        << "one two {three|four five}"
        << QStringList{"Spun Words: 3", "Total Words: 5", "33% Unique", "Quality: 1.67",
                       "1 Paragraph(s)"};
    QTest::newRow("empty text") << ""
                                << QStringList{"Spun Words: 0", "Total Words: 0", "0% Unique",
                                               "Quality: 0.00", "0 Paragraph(s)"};
    QTest::newRow("one word") << "word"
                              << QStringList{"Spun Words: 1", "Total Words: 1", "0% Unique",
                                             "Quality: 1.00", "1 Paragraph(s)"};
    QTest::newRow("all spun") << "{a|b} {c|d}"
                              << QStringList{"Spun Words: 2", "Total Words: 4", "100% Unique",
                                             "Quality: 2.00", "1 Paragraph(s)"};
    QTest::newRow("punctuation and blank lines")
        << "First line.\n\n  \nSecond {line|row}!\n"
        << QStringList{"Spun Words: 4", "Total Words: 5", "25% Unique", "Quality: 1.25",
                       "2 Paragraph(s)"};
    QTest::newRow("nested group read flat")
        << "x {a {b|c}|d} y"
        << QStringList{"Spun Words: 4", "Total Words: 6", "50% Unique", "Quality: 1.50",
                       "1 Paragraph(s)"};
    QTest::newRow("bars only group") << "a {|} b"
                                     << QStringList{"Spun Words: 2", "Total Words: 2", "0% Unique",
                                                    "Quality: 1.00", "1 Paragraph(s)"};
    QTest::newRow("empty first piece between groups counts")
        << "{a|b} {|c} {d|e}"
        << QStringList{"Spun Words: 3", "Total Words: 5", "100% Unique", "Quality: 1.67",
                       "1 Paragraph(s)"};
    QTest::newRow("stray closing brace: no uniqueness")
        << "a}b {c|d}"
        << QStringList{"Spun Words: 2", "Total Words: 4", "0% Unique", "Quality: 2.00",
                       "1 Paragraph(s)"};
    QTest::newRow("outside text joins across a group")
        << "x a{b}c"
        << QStringList{"Spun Words: 3", "Total Words: 4", "33% Unique", "Quality: 1.33",
                       "1 Paragraph(s)"};
    QTest::newRow("only empty group output")
        << "{|} {|}"
        << QStringList{"Spun Words: 0", "Total Words: 0", "0% Unique", "Quality: 0.00",
                       "1 Paragraph(s)"};
}

void ReadingsTest::statusFigures()
{
    QFETCH(QString, text);
    QFETCH(QStringList, expected);
    const std::optional<StatusFigures> f = calcUniqueness(text);
    QVERIFY(f);
    QCOMPARE((QStringList{f->spunWords, f->totalWords, f->unique, f->quality, f->paragraphs}),
             expected);
}

void ReadingsTest::statusFiguresUnbalanced()
{
    QCOMPARE(calcUniqueness("one {two|three"), std::nullopt);
    QCOMPARE(calcUniqueness("{"), std::nullopt);
}

REWORDIX_TEST_GUILESS_MAIN(ReadingsTest)
#include "readings_test.moc"
