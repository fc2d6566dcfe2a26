#include "testsupport/testsupport.h"
#include "markedtext.h"
#include "selection/navigator.h"

#include <QTest>

// Sentence units, sentence steps and paragraph steps on real documents.
// Rows are written with the markers of markedtext.h: "^" caret, "«…»" the
// selection; "\n" separates paragraphs; "(none)" means no unit was reached.
class SentenceStepsTest final : public QObject
{
    Q_OBJECT

private slots:
    void currentUnit_data();
    void currentUnit();
    void rapidSentence_data();
    void rapidSentence();
    void nextSentence_data();
    void nextSentence();
    void previousSentence_data();
    void previousSentence();
    void walkWholeArticle();
    void hugeAndDeepText();
    void paragraphSteps_data();
    void paragraphSteps();
};

void SentenceStepsTest::currentUnit_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("expected");

    QTest::newRow("plain sentence cut before a group") << "The c^at {sat|lay} on the mat."
                                                       << "«The cat» {sat|lay} on the mat.";
    QTest::newRow("sentence after a group, terminator included")
        << "The cat {sat|lay} on the m^at."
        << "The cat {sat|lay} «on the mat.»";
    QTest::newRow("caret inside a group") << "The cat {s^at|lay} on."
                                          << "The cat «{sat|lay}» on.";
    QTest::newRow("innermost of nested groups") << "{a {b^|c} d|e}"
                                                << "{a «{b|c}» d|e}";
    QTest::newRow("caret on the outer group's text: not a group") << "{a^ {b|c} d|e}"
                                                                  << "«{a» {b|c} d|e}";
    QTest::newRow("caret just after the opening brace") << "x {^a|b} y."
                                                        << "x «{a|b}» y.";
    QTest::newRow("caret just before the closing brace") << "x {a|b^} y."
                                                         << "x «{a|b}» y.";
    QTest::newRow("caret just before the opening brace: the sentence before it") << "x ^{a|b} y."
                                                                                 << "«x» {a|b} y.";
    QTest::newRow("caret just after the closing brace: the sentence after it") << "x {a|b}^ y."
                                                                               << "x {a|b} «y.»";
    QTest::newRow("question and exclamation marks end sentences") << "Really? Ye^s! No."
                                                                  << "Really? «Yes!» No.";
    QTest::newRow("caret before a terminator: the sentence it ends") << "Hello^. World."
                                                                     << "«Hello.» World.";
    QTest::newRow("caret at the paragraph end, no terminator") << "Hello. World^"
                                                               << "Hello. «World»";
    QTest::newRow("caret at the document start") << "^Hello. World."
                                                 << "«Hello.» World.";
    QTest::newRow("caret in the second paragraph") << "First.\nSecond s^entence"
                                                   << "First.\n«Second sentence»";
    QTest::newRow("unbalanced group: read as plain text") << "a {b c^"
                                                          << "«a {b c»";
    QTest::newRow("blank between a sentence and a group: empty unit") << "Hi. ^{a|b}"
                                                                      << "Hi. ^{a|b}";
    QTest::newRow("blank at the paragraph end: empty unit") << "Hello. ^"
                                                            << "Hello. ^";
    QTest::newRow("empty document") << "^"
                                    << "^";
}

void SentenceStepsTest::currentUnit()
{
    QFETCH(QString, input);
    QFETCH(QString, expected);
    const MarkedText doc = parseMarked(input);
    QCOMPARE(renderMarked(Navigator::curS(doc.cursor)), expected);
}

void SentenceStepsTest::rapidSentence_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("expected");

    QTest::newRow("braces are ordinary characters") << "The c^at {sat|lay} on the mat. Next."
                                                    << "«The cat {sat|lay} on the mat.» Next.";
    QTest::newRow("terminator inside a group still ends the sentence") << "A {b. c^|d} e."
                                                                       << "A {b. «c|d} e.»";
    QTest::newRow("caret before a terminator") << "Hi^! x?"
                                               << "«Hi!» x?";
    QTest::newRow("no terminator") << "one t^wo"
                                   << "«one two»";
    QTest::newRow("empty document") << "^"
                                    << "^";
}

void SentenceStepsTest::rapidSentence()
{
    QFETCH(QString, input);
    QFETCH(QString, expected);
    const MarkedText doc = parseMarked(input);
    QCOMPARE(renderMarked(Navigator::curRS(doc.cursor)), expected);
}

void SentenceStepsTest::nextSentence_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("expected");

    QTest::newRow("plain sentence to the group after it") << "«The cat» {sat|lay} on the mat."
                                                          << "The cat «{sat|lay}» on the mat.";
    QTest::newRow("group to the sentence after it") << "The cat «{sat|lay}» on the mat."
                                                    << "The cat {sat|lay} «on the mat.»";
    QTest::newRow("last unit: first unit of the next paragraph")
        << "The cat {sat|lay} «on the mat.»\nNext one. Two."
        << "The cat {sat|lay} on the mat.\n«Next one.» Two.";
    QTest::newRow("adjacent groups at the paragraph end") << "x «{a|b}» {c|d}"
                                                          << "x {a|b} «{c|d}»";
    QTest::newRow("nested group is one unit") << "«Go» {a {b|c}|d} now."
                                              << "Go «{a {b|c}|d}» now.";
    QTest::newRow("group to the text after it, no terminator") << "«{a|b}» tail"
                                                               << "{a|b} «tail»";
    QTest::newRow("group followed directly by a terminator") << "«{a|b}». Next."
                                                             << "{a|b}«.» Next.";
    QTest::newRow("unmatched group runs to the paragraph end") << "«Hi.» {a|b rest"
                                                               << "Hi. «{a|b rest»";
    QTest::newRow("question and exclamation marks") << "«Why?» Because! Ok."
                                                    << "Why? «Because!» Ok.";
    QTest::newRow("bare caret: the unit after the next boundary") << "Wh^y? Because!"
                                                                  << "Why? «Because!»";
    QTest::newRow("blank remainder: on to the next paragraph") << "Hello. «World.» \nNext."
                                                               << "Hello. World. \n«Next.»";
    QTest::newRow("group at the paragraph end: on to the next paragraph") << "«{a|b}»\nNext."
                                                                          << "{a|b}\n«Next.»";
    QTest::newRow("empty and blank paragraphs are skipped") << "«A.»\n\n   \n{x|y} rest."
                                                            << "A.\n\n   \n«{x|y}» rest.";
    QTest::newRow("next paragraph starts with text before a group") << "«A.»\nHi {a|b} there."
                                                                    << "A.\n«Hi» {a|b} there.";
    QTest::newRow("next paragraph without any boundary is one unit") << "«A.»\nNo boundary here"
                                                                     << "A.\n«No boundary here»";
    QTest::newRow("next paragraph beginning with a terminator") << "«A.»\n. Odd start"
                                                                << "A.\n«.» Odd start";
    QTest::newRow("next paragraph with a group after blanks") << "«A.»\n  {x|y} z"
                                                              << "A.\n  «{x|y}» z";
    QTest::newRow("last unit of the document") << "Hello. «World.»"
                                               << "(none)";
    QTest::newRow("last unit, white space after it") << "Hello. «World.»   "
                                                     << "(none)";
    QTest::newRow("last unit, trailing empty paragraphs") << "Hello. «World.»\n\n  \n"
                                                          << "(none)";
    QTest::newRow("empty document") << "^"
                                    << "(none)";
}

void SentenceStepsTest::nextSentence()
{
    QFETCH(QString, input);
    QFETCH(QString, expected);
    const MarkedText doc = parseMarked(input);
    QCOMPARE(renderMarked(Navigator::nextSentence(doc.cursor)), expected);
}

void SentenceStepsTest::previousSentence_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("expected");

    QTest::newRow("group to the sentence before it") << "The cat «{sat|lay}» on the mat."
                                                     << "«The cat» {sat|lay} on the mat.";
    QTest::newRow("sentence to the group before it") << "The cat {sat|lay} «on the mat.»"
                                                     << "The cat «{sat|lay}» on the mat.";
    QTest::newRow("group to the group before it") << "{a|b} «{c|d}»"
                                                  << "«{a|b}» {c|d}";
    QTest::newRow("sentence to the sentence before it") << "Hello. «World»"
                                                        << "«Hello.» World";
    QTest::newRow("bare caret: the unit ending at the last boundary") << "Hello. Wor^ld."
                                                                      << "«Hello.» World.";
    QTest::newRow("unit that is a lone terminator") << "Hi. {a|b}«.» x"
                                                    << "Hi. «{a|b}». x";
    QTest::newRow("unmatched closer reaches back to the paragraph start") << "a b} «{c|d}»"
                                                                          << "«a b}» {c|d}";
    // A unit may start with a closer without partner; its own first character is no boundary
    // before it, or the step would stay where it is.
    QTest::newRow("unit starting with an unmatched closer") << "Hi. «} there»"
                                                            << "«Hi.» } there";
    QTest::newRow("paragraph of unmatched closers to the paragraph before") << "Hi.\n«}\x1e}»"
                                                                            << "«Hi.»\n}\x1e}";
    QTest::newRow("paragraph of unmatched closers, nothing before") << "«}}»"
                                                                    << "(none)";
    QTest::newRow("first unit: last sentence of the previous paragraph") << "Hello. World\n«Next.»"
                                                                         << "Hello. «World»\nNext.";
    QTest::newRow("previous paragraph ends with a terminator") << "Why? Yes!\n«Next.»"
                                                               << "Why? «Yes!»\nNext.";
    QTest::newRow("previous paragraph ends with a group") << "Go {a|b}\n«Next.»"
                                                          << "Go «{a|b}»\nNext.";
    QTest::newRow("previous paragraph ends with an unmatched closer") << "a b}\n«Next.»"
                                                                      << "«a b}»\nNext.";
    QTest::newRow("previous paragraph ends with a bracketed phrase") << "A (see below)\n«Next.»"
                                                                     << "A «(see below)»\nNext.";
    QTest::newRow("previous paragraph ends with square brackets") << "A [b [c]]\n«Next.»"
                                                                  << "A «[b [c]]»\nNext.";
    QTest::newRow("group at the paragraph start: previous paragraph") << "Prev one.\n«{a|b}» x"
                                                                      << "«Prev one.»\n{a|b} x";
    QTest::newRow("empty, blank and one-character paragraphs are skipped")
        << "Done.  \n\n \nI\n«Next.»"
        << "«Done.»  \n\n \nI\nNext.";
    QTest::newRow("first unit of the document") << "«Hello.» World."
                                                << "(none)";
    QTest::newRow("bare caret in the first sentence") << "Hel^lo. World."
                                                      << "(none)";
    QTest::newRow("only empty paragraphs before") << "\n\n«Only.»"
                                                  << "(none)";
    QTest::newRow("empty document") << "^"
                                    << "(none)";
}

void SentenceStepsTest::previousSentence()
{
    QFETCH(QString, input);
    QFETCH(QString, expected);
    const MarkedText doc = parseMarked(input);
    QCOMPARE(renderMarked(Navigator::previousSentence(doc.cursor)), expected);
}

// Repeated steps walk the article unit by unit in both directions, crossing
// paragraphs, and stop at the ends.
void SentenceStepsTest::walkWholeArticle()
{
    const MarkedText doc = parseMarked("^The cat {sat|lay} on the mat.\n\nHello. World\n"
                                       "{x|y} rest. Why? Yes!\n  \nLast {a|b} {c|d}");
    const QStringList units{"The cat", "{sat|lay}", "on the mat.", "Hello.", "World", "{x|y}",
                            "rest.",   "Why?",      "Yes!",        "Last",   "{a|b}", "{c|d}"};

    QTextCursor cursor = Navigator::curS(doc.cursor);
    QStringList forward{cursor.selectedText()};
    while (const auto next = Navigator::nextSentence(cursor)) {
        QVERIFY(next->anchor() < next->position());
        cursor = *next;
        forward << cursor.selectedText();
        QVERIFY(forward.size() <= units.size());
    }
    QCOMPARE(forward, units);

    QStringList backward{cursor.selectedText()};
    while (const auto previous = Navigator::previousSentence(cursor)) {
        cursor = *previous;
        backward.prepend(cursor.selectedText());
        QVERIFY(backward.size() <= units.size());
    }
    QCOMPARE(backward, units);
}

// Megabyte paragraphs and groups nested far deeper than any call stack
// could follow: the rules scan, they do not recurse.
void SentenceStepsTest::hugeAndDeepText()
{
    const int depth = 100000;
    const QString deep = QString(depth, u'{') + u'x' + QString(depth, u'}');
    const MarkedText doc = parseMarked("«Start.» " + deep + " end.");
    const auto group = Navigator::nextSentence(doc.cursor);
    QVERIFY(group);
    QCOMPARE(group->selectedText(), deep);
    const auto after = Navigator::nextSentence(*group);
    QVERIFY(after);
    QCOMPARE(after->selectedText(), QStringLiteral("end."));
    QCOMPARE(Navigator::previousSentence(*after)->selectedText(), deep);

    const MarkedText unbalanced = parseMarked("«a.» " + QString(depth, u'{'));
    QCOMPARE(Navigator::nextSentence(unbalanced.cursor)->selectedText(), QString(depth, u'{'));

    QString longText;
    for (int i = 0; i < 50000; ++i)
        longText += QStringLiteral("Word %1 here. ").arg(i);
    const MarkedText big = parseMarked(longText + "^Tail");
    QCOMPARE(Navigator::curS(big.cursor).selectedText(), QStringLiteral("Tail"));
    QCOMPARE(Navigator::previousSentence(Navigator::curS(big.cursor))->selectedText(),
             QStringLiteral("Word 49999 here."));
}

void SentenceStepsTest::paragraphSteps_data()
{
    QTest::addColumn<bool>("forward");
    QTest::addColumn<bool>("highlight");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("expected");

    QTest::newRow("forward, highlighted") << true << true << "Fi^rst\nSecond para"
                                          << "First\n«Second para»";
    QTest::newRow("forward, caret only") << true << false << "Fi^rst\nSecond para"
                                         << "First\n^Second para";
    QTest::newRow("forward from a selection spanning paragraphs")
        << true << true << "«One\nTw»o\nThree"
        << "One\nTwo\n«Three»";
    QTest::newRow("forward: leading blank is not selected")
        << true << true << "A^\n   Indented text"
        << "A\n   «Indented text»";
    QTest::newRow("forward: caret on the first word") << true << false << "A^\n   Indented text"
                                                      << "A\n   ^Indented text";
    QTest::newRow("forward: empty and blank paragraphs skipped") << true << true << "A^\n\n \t \nC"
                                                                 << "A\n\n \t \n«C»";
    QTest::newRow("forward: punctuation is a word of the text layout")
        << true << true << "A^\n...\nB"
        << "A\n«...»\nB";
    QTest::newRow("forward from the last paragraph") << true << true << "A\nB^"
                                                     << "(none)";
    QTest::newRow("forward: only empty paragraphs follow") << true << true << "A^\n\n  \n"
                                                           << "(none)";
    QTest::newRow("forward in an empty document") << true << true << "^"
                                                  << "(none)";
    QTest::newRow("backward, highlighted") << false << true << "First para\nSec^ond"
                                           << "«First para»\nSecond";
    QTest::newRow("backward, caret only") << false << false << "First para\nSec^ond"
                                          << "^First para\nSecond";
    QTest::newRow("backward: empty and blank paragraphs skipped")
        << false << true << "Long one\n\n  \nCu^r"
        << "«Long one»\n\n  \nCur";
    QTest::newRow("backward: stops on a one-character paragraph, as forward does")
        << false << true << "Long one\n\n  \nx\nCu^r"
        << "Long one\n\n  \n«x»\nCur";
    QTest::newRow("backward: only empty paragraphs before") << false << true << "\n\nTh^ird"
                                                            << "(none)";
    QTest::newRow("backward: one-character first paragraph") << false << true << "I\nCu^r"
                                                             << "«I»\nCur";
    QTest::newRow("forward: one-character paragraph") << true << true << "Cu^r\n\nI\nEnd"
                                                      << "Cur\n\n«I»\nEnd";
    QTest::newRow("backward from the first paragraph") << false << true << "On^e\nTwo"
                                                       << "(none)";
    QTest::newRow("backward in an empty document") << false << true << "^"
                                                   << "(none)";
}

void SentenceStepsTest::paragraphSteps()
{
    QFETCH(bool, forward);
    QFETCH(bool, highlight);
    QFETCH(QString, input);
    QFETCH(QString, expected);
    const MarkedText doc = parseMarked(input);
    QCOMPARE(renderMarked(forward ? Navigator::nextParagraph(doc.cursor, highlight)
                                  : Navigator::previousParagraph(doc.cursor, highlight)),
             expected);
}

REWORDIX_TEST_MAIN(SentenceStepsTest)
#include "sentencesteps_test.moc"
