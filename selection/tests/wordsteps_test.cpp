#include "testsupport/testsupport.h"
#include "markedtext.h"
#include "selection/navigator.h"

#include <QTest>

// Word steps over words of the text layout, spin groups and bracketed
// phrases. Markers as in markedtext.h.
class WordStepsTest final : public QObject
{
    Q_OBJECT

private slots:
    void nextWord_data();
    void nextWord();
    void previousWord_data();
    void previousWord();
    void walkBothWays();
};

void WordStepsTest::nextWord_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("expected");

    QTest::newRow("word to a bracketed phrase") << "«foo» (bar baz) qux"
                                                << "foo «(bar baz)» qux";
    QTest::newRow("bracketed phrase to the next word") << "foo «(bar baz)» qux"
                                                       << "foo (bar baz) «qux»";
    QTest::newRow("unmatched opener takes the word after it") << "x «y» (bar"
                                                              << "x y «(bar»";
    QTest::newRow("unmatched opener, blank before the word") << "x «y» ( bar"
                                                             << "x y «( bar»";
    QTest::newRow("unmatched opener at the paragraph end") << "x «y» (\nz"
                                                           << "x y «(»\nz";
    QTest::newRow("spin group") << "«foo» {a|b} c"
                                << "foo «{a|b}» c";
    QTest::newRow("nested parentheses") << "«a» (b (c) d) e"
                                        << "a «(b (c) d)» e";
    QTest::newRow("square brackets") << "«a» [b c] d"
                                     << "a «[b c]» d";
    QTest::newRow("opener glued to the selected word") << "«foo»(bar) baz"
                                                       << "foo«(bar)» baz";
    QTest::newRow("adjacent groups") << "«{a|b}»{c|d}"
                                     << "{a|b}«{c|d}»";
    QTest::newRow("lone full stop is stepped over") << "«foo» . bar"
                                                    << "foo . «bar»";
    QTest::newRow("lone full stops on their own paragraphs") << "«a».\n.\nb"
                                                             << "a.\n.\n«b»";
    QTest::newRow("full stop ending the document is a word") << "foo «bar» ."
                                                             << "foo bar «.»";
    QTest::newRow("full stop glued to the last word is passed") << "foo «bar»."
                                                                << "(none)";
    QTest::newRow("punctuation right after the word is passed") << "«foo», bar"
                                                                << "foo, «bar»";
    QTest::newRow("bare caret inside a word") << "fo^o bar"
                                              << "foo «bar»";
    QTest::newRow("across empty paragraphs") << "«foo»\n\nbar"
                                             << "foo\n\n«bar»";
    QTest::newRow("accented words are whole") << "«Café» naïve"
                                              << "Café «naïve»";
    QTest::newRow("last word") << "foo «bar»"
                               << "(none)";
    QTest::newRow("last word, white space after it") << "foo «bar»  "
                                                     << "(none)";
    QTest::newRow("last word, empty paragraphs after it") << "foo «bar»\n\n"
                                                          << "(none)";
    QTest::newRow("empty document") << "^"
                                    << "(none)";
}

void WordStepsTest::nextWord()
{
    QFETCH(QString, input);
    QFETCH(QString, expected);
    const MarkedText doc = parseMarked(input);
    QCOMPARE(renderMarked(Navigator::nextWord(doc.cursor)), expected);
}

void WordStepsTest::previousWord_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("expected");

    QTest::newRow("word to a bracketed phrase") << "foo (bar baz) «qux»"
                                                << "foo «(bar baz)» qux";
    QTest::newRow("bracketed phrase to the word before") << "foo «(bar baz)» qux"
                                                         << "«foo» (bar baz) qux";
    QTest::newRow("spin group") << "foo {a|b} «c»"
                                << "foo «{a|b}» c";
    QTest::newRow("nested group") << "x {a {b|c}|d} «y»"
                                  << "x «{a {b|c}|d}» y";
    QTest::newRow("square brackets") << "a [b c] «d»"
                                     << "a «[b c]» d";
    QTest::newRow("unmatched closer takes the word before it") << "a b) «c»"
                                                               << "a «b)» c";
    QTest::newRow("unmatched closer at the paragraph start") << "a\n) «c»"
                                                             << "a\n«)» c";
    QTest::newRow("lone full stop is stepped over") << "foo . «bar»"
                                                    << "«foo» . bar";
    QTest::newRow("full stop at the document start is a word") << ". «foo»"
                                                               << "«.» foo";
    QTest::newRow("bare caret inside a word") << "foo ba^r"
                                              << "«foo» bar";
    QTest::newRow("across empty paragraphs") << "foo\n\n«bar»"
                                             << "«foo»\n\nbar";
    QTest::newRow("reversed selection collapses to its start") << "a b »c d«"
                                                               << "a «b» c d";
    QTest::newRow("first word") << "«foo» bar"
                                << "(none)";
    QTest::newRow("caret at the document start") << "^foo"
                                                 << "(none)";
    QTest::newRow("only blank before") << "  \n ^foo"
                                       << "(none)";
    QTest::newRow("empty document") << "^"
                                    << "(none)";
}

void WordStepsTest::previousWord()
{
    QFETCH(QString, input);
    QFETCH(QString, expected);
    const MarkedText doc = parseMarked(input);
    QCOMPARE(renderMarked(Navigator::previousWord(doc.cursor)), expected);
}

void WordStepsTest::walkBothWays()
{
    const MarkedText doc = parseMarked("^foo (bar baz) qux . end {a|b}\n\nnext.");
    const QStringList forwardUnits{"(bar baz)", "qux", "end", "{a|b}", "next"};

    QTextCursor cursor = doc.cursor;
    QStringList forward;
    while (const auto next = Navigator::nextWord(cursor)) {
        cursor = *next;
        forward << cursor.selectedText();
        QVERIFY(forward.size() <= forwardUnits.size());
    }
    QCOMPARE(forward, forwardUnits);

    QStringList backward;
    while (const auto previous = Navigator::previousWord(cursor)) {
        cursor = *previous;
        backward.prepend(cursor.selectedText());
        QVERIFY(backward.size() <= forwardUnits.size());
    }
    QCOMPARE(backward, QStringList{"foo"} + forwardUnits.first(forwardUnits.size() - 1));
}

REWORDIX_TEST_MAIN(WordStepsTest)
#include "wordsteps_test.moc"
