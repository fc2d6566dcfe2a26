#include "testsupport/testsupport.h"
#include "selection/navigator.h"
#include "selection/paragraphwords.h"

#include <QTest>

// Boundary searches and pair matching on plain strings; "^" in a row marks
// the search position and is removed before searching.
class BoundariesTest final : public QObject
{
    Q_OBJECT

private slots:
    void punctuation_data();
    void punctuation();
    void pairs_data();
    void pairs();
    void deepNesting();
    void paragraphWords_data();
    void paragraphWords();
};

namespace {
std::pair<QString, int> splitCaret(const QString &marked)
{
    QString text = marked;
    const int pos = int(text.indexOf(u'^'));
    text.remove(pos, 1);
    return {text, pos};
}
} // namespace

void BoundariesTest::punctuation_data()
{
    QTest::addColumn<QString>("marked");
    QTest::addColumn<int>("position"); // overrides the marker when not -2
    // leftPunc, rightPunc, leftPunc2, rightPunc2
    QTest::addColumn<QList<int>>("expected");

    QTest::newRow("between sentences") << "Hi. Th^ere? Yes!" << -2 << QList<int>{2, 9, 2, 9};
    QTest::newRow("on a terminator: found in both directions")
        << "Hi^. x" << -2 << QList<int>{2, 2, 2, 2};
    QTest::newRow("braces bound only the first pair of searches")
        << "a}b^{c" << -2 << QList<int>{1, 3, -1, -1};
    QTest::newRow("braces facing the wrong way are no boundary")
        << "a{b^c}d" << -2 << QList<int>{-1, -1, -1, -1};
    QTest::newRow("closing brace at the position") << "a{b^}c" << -2 << QList<int>{3, -1, -1, -1};
    QTest::newRow("no boundary at all") << "plain ^text" << -2 << QList<int>{-1, -1, -1, -1};
    QTest::newRow("empty text") << "^" << -2 << QList<int>{-1, -1, -1, -1};
    QTest::newRow("position beyond the end is clamped") << "Hi.^" << 99 << QList<int>{2, -1, 2, -1};
    QTest::newRow("negative position") << "^.x." << -5 << QList<int>{-1, 0, -1, 0};
}

void BoundariesTest::punctuation()
{
    QFETCH(QString, marked);
    QFETCH(int, position);
    QFETCH(QList<int>, expected);
    auto [text, pos] = splitCaret(marked);
    if (position != -2)
        pos = position;
    const QList<int> found{Navigator::leftPunc(text, pos), Navigator::rightPunc(text, pos),
                           Navigator::leftPunc2(text, pos), Navigator::rightPunc2(text, pos)};
    QCOMPARE(found, expected);
}

void BoundariesTest::pairs_data()
{
    // "^" stands before the bracket to match, "@" before its expected
    // partner; no "@" means unmatched.
    QTest::addColumn<QString>("marked");

    QTest::newRow("group") << "x ^{a|b@} y";
    QTest::newRow("nested group: the outer partner") << "^{a {b|c} d@}";
    QTest::newRow("inner group") << "{a ^{b|c@} d}";
    QTest::newRow("other bracket kinds are ignored") << "^(a ] [b@) c)";
    QTest::newRow("nested parentheses") << "^(a (b) c@) d)";
    QTest::newRow("square brackets") << "^[a [b]@]";
    QTest::newRow("unmatched opener") << "^{a {b}";
    QTest::newRow("unmatched: only other kinds close") << "^(a] b}";
    QTest::newRow("closing group") << "x @{a|b^} y";
    QTest::newRow("closing nested group") << "@{a {b|c} d^}";
    QTest::newRow("closing parenthesis") << "@((a) b^)";
    QTest::newRow("closing square bracket") << "@[a [b] c^]";
    QTest::newRow("unmatched closer") << "a {b}^}";
}

void BoundariesTest::pairs()
{
    QFETCH(QString, marked);
    const int expected = int(QString(marked).remove(u'^').indexOf(u'@'));
    const auto [text, pos] = splitCaret(QString(marked).remove(u'@'));
    const QChar bracket = text.at(pos);
    const bool opening = bracket == u'{' || bracket == u'(' || bracket == u'[';
    QCOMPARE(opening ? Navigator::rightPair(bracket, text, pos)
                     : Navigator::leftPair(bracket, text, pos),
             expected);
}

void BoundariesTest::deepNesting()
{
    // Spin text may nest to any depth; the scans must not recurse.
    const int depth = 200000;
    const QString text = QString(depth, u'{') + u'x' + QString(depth, u'}');
    QCOMPARE(Navigator::rightPair(u'{', text, 0), int(text.size()) - 1);
    QCOMPARE(Navigator::leftPair(u'}', text, int(text.size()) - 1), 0);
    QCOMPARE(Navigator::rightPair(u'{', text, 1), int(text.size()) - 2);
    QCOMPARE(Navigator::rightPair(u'{', text.chopped(1), 0), -1);
}

void BoundariesTest::paragraphWords_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("expected");

    QTest::newRow("punctuation and line breaks dropped") << "Hello, world!\nBye."
                                                         << "Hello world Bye";
    QTest::newRow("accented words stay whole") << "Café naïve, Straße."
                                               << "Café naïve Straße";
    QTest::newRow("spin syntax is not a word") << "{quick|fast} fox"
                                               << "quick fast fox";
    QTest::newRow("digits and underscores are word characters") << " a_1  2b "
                                                                << "a_1 2b";
    QTest::newRow("nothing but punctuation") << "?!. ,;"
                                             << "";
}

void BoundariesTest::paragraphWords()
{
    QFETCH(QString, typed);
    QFETCH(QString, expected);
    QCOMPARE(::paragraphWords(typed), expected);
}

REWORDIX_TEST_GUILESS_MAIN(BoundariesTest)
#include "boundaries_test.moc"
