#include "testsupport/testsupport.h"
#include "spintax/spinstructure.h"

#include <QTest>

using namespace spintax;

class SpinStructureTest final : public QObject
{
    Q_OBJECT

private slots:
    void matchingRightBrace_data();
    void matchingRightBrace();
    void matchingLeftBrace_data();
    void matchingLeftBrace();
    void barPos_data();
    void barPos();
    void topLevelSplit_data();
    void topLevelSplit();
    void simpleSplit_data();
    void simpleSplit();
    void dissect_data();
    void dissect();
    void bracketsMatch_data();
    void bracketsMatch();
    void countChar_data();
    void countChar();
    void trimHtml_data();
    void trimHtml();
    void deepNesting();
    void megabyteText();
};

void SpinStructureTest::matchingRightBrace_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qsizetype>("start");
    QTest::addColumn<qsizetype>("expected");

    QTest::newRow("outer group") << "{a{b}c}" << qsizetype(0) << qsizetype(6);
    QTest::newRow("nested group") << "{a{b}c}" << qsizetype(2) << qsizetype(4);
    QTest::newRow("unbalanced: no partner") << "{a" << qsizetype(0) << qsizetype(-1);
    QTest::newRow("from plain text: count goes negative") << "a}b" << qsizetype(0) << qsizetype(-1);
    QTest::newRow("from plain text: first return to zero")
        << "a}{{b}}" << qsizetype(0) << qsizetype(5);
    QTest::newRow("bars do not count") << "{a|b|{c|d}}" << qsizetype(0) << qsizetype(10);
    QTest::newRow("empty alternatives") << "{|}" << qsizetype(0) << qsizetype(2);
    QTest::newRow("closes across line breaks") << "{a\n{b}\nc}" << qsizetype(0) << qsizetype(8);
    QTest::newRow("start on a closing brace") << "{a}" << qsizetype(2) << qsizetype(-1);
    QTest::newRow("start past the end") << "{a}" << qsizetype(3) << qsizetype(-1);
    QTest::newRow("negative start") << "{a}" << qsizetype(-1) << qsizetype(-1);
    QTest::newRow("empty text") << "" << qsizetype(0) << qsizetype(-1);
}

void SpinStructureTest::matchingRightBrace()
{
    QFETCH(QString, text);
    QFETCH(qsizetype, start);
    QFETCH(qsizetype, expected);
    QCOMPARE(spintax::matchingRightBrace(text, start), expected);
}

void SpinStructureTest::matchingLeftBrace_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qsizetype>("start");
    QTest::addColumn<qsizetype>("expected");

    QTest::newRow("outer group") << "{a{b}c}" << qsizetype(6) << qsizetype(0);
    QTest::newRow("nested group") << "{a{b}c}" << qsizetype(4) << qsizetype(2);
    QTest::newRow("unbalanced: no partner") << "a}" << qsizetype(1) << qsizetype(-1);
    QTest::newRow("from plain text: first return to zero")
        << "{{a}}{b" << qsizetype(6) << qsizetype(1);
    QTest::newRow("from plain text: count goes negative") << "a{b" << qsizetype(2) << qsizetype(-1);
    QTest::newRow("sibling groups") << "{a}{b}" << qsizetype(5) << qsizetype(3);
    QTest::newRow("start past the end") << "{a}" << qsizetype(3) << qsizetype(-1);
    QTest::newRow("negative start") << "{a}" << qsizetype(-1) << qsizetype(-1);
}

void SpinStructureTest::matchingLeftBrace()
{
    QFETCH(QString, text);
    QFETCH(qsizetype, start);
    QFETCH(qsizetype, expected);
    QCOMPARE(spintax::matchingLeftBrace(text, start), expected);
}

void SpinStructureTest::barPos_data()
{
    QTest::addColumn<QString>("content");
    QTest::addColumn<QList<qsizetype>>("expected");

    QTest::newRow("nested bars skipped") << "a|{b|c}|d" << QList<qsizetype>{0, 1, 7};
    QTest::newRow("leading bar gives 0 twice") << "|a" << QList<qsizetype>{0, 0};
    QTest::newRow("leading and inner bar") << "|a|b" << QList<qsizetype>{0, 0, 2};
    QTest::newRow("no bar") << "abc" << QList<qsizetype>{0};
    QTest::newRow("only nested bars") << "a {b|c}" << QList<qsizetype>{0};
    QTest::newRow("empty content") << "" << QList<qsizetype>{0};
    QTest::newRow("adjacent and trailing bars") << "a||b|" << QList<qsizetype>{0, 1, 2, 4};
    // After a stray «}» the depth is negative, so later bars are not top-level.
    QTest::newRow("stray closing brace") << "a}|b" << QList<qsizetype>{0};
}

void SpinStructureTest::barPos()
{
    QFETCH(QString, content);
    QFETCH(QList<qsizetype>, expected);
    QCOMPARE(spintax::barPos(content), expected);
}

void SpinStructureTest::topLevelSplit_data()
{
    QTest::addColumn<QString>("content");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("every empty piece kept") << "a||b|" << QStringList{"a", "", "b", ""};
    QTest::newRow("empty first alternative") << "|a|b" << QStringList{"", "a", "b"};
    QTest::newRow("nested group stays whole") << "x {y|z}|w" << QStringList{"x {y|z}", "w"};
    QTest::newRow("no top-level bar") << "a {b|c}" << QStringList{"a {b|c}"};
    QTest::newRow("bar alone") << "|" << QStringList{"", ""};
    QTest::newRow("two bars alone") << "||" << QStringList{"", "", ""};
    QTest::newRow("empty content") << "" << QStringList{""};
    QTest::newRow("deeper nesting") << "{a|{b|c}}|d|{e}" << QStringList{"{a|{b|c}}", "d", "{e}"};
}

void SpinStructureTest::topLevelSplit()
{
    QFETCH(QString, content);
    QFETCH(QStringList, expected);
    QCOMPARE(spintax::topLevelSplit(content), expected);
}

void SpinStructureTest::simpleSplit_data()
{
    QTest::addColumn<QString>("content");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("trailing empty piece dropped") << "a||b|" << QStringList{"a", "", "b"};
    QTest::newRow("leading empty piece kept") << "|a|b" << QStringList{"", "a", "b"};
    QTest::newRow("bar alone gives nothing") << "|" << QStringList{};
    QTest::newRow("bars alone give nothing") << "|||" << QStringList{};
    QTest::newRow("empty content gives one empty piece") << "" << QStringList{""};
    QTest::newRow("nested bars cut too") << "a {b|c}|d" << QStringList{"a {b", "c}", "d"};
    QTest::newRow("no bar") << "word" << QStringList{"word"};
    QTest::newRow("several trailing empties") << "a|b|||" << QStringList{"a", "b"};
    QTest::newRow("white space is not empty") << "a| " << QStringList{"a", " "};
}

void SpinStructureTest::simpleSplit()
{
    QFETCH(QString, content);
    QFETCH(QStringList, expected);
    QCOMPARE(spintax::simpleSplit(content), expected);
}

void SpinStructureTest::dissect_data()
{
    QTest::addColumn<QString>("group");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("two alternatives") << "{a|b}" << QStringList{"a", "b"};
    QTest::newRow("empty first alternative") << "{|a|b}" << QStringList{"", "a", "b"};
    QTest::newRow("empty inner alternative") << "{a||b}" << QStringList{"a", "", "b"};
    QTest::newRow("empty last alternative") << "{a|}" << QStringList{"a", ""};
    QTest::newRow("nested group") << "{x {y|z}|w}" << QStringList{"x {y|z}", "w"};
    QTest::newRow("only nested bars") << "{a {b|c}}" << QStringList{"a {b|c}"};
    QTest::newRow("surrounding white space trimmed") << " {a|b} " << QStringList{"a", "b"};
    QTest::newRow("line breaks trimmed") << "\n{a|b}\t" << QStringList{"a", "b"};
    QTest::newRow("empty group") << "{}" << QStringList{""};
    QTest::newRow("no bar") << "{word}" << QStringList{"word"};
    QTest::newRow("white space inside kept") << "{ a | b }" << QStringList{" a ", " b "};
    QTest::newRow("too short to hold braces") << "{" << QStringList{""};
    QTest::newRow("empty text") << "" << QStringList{""};
}

void SpinStructureTest::dissect()
{
    QFETCH(QString, group);
    QFETCH(QStringList, expected);
    QCOMPARE(spintax::dissect(group), expected);
}

void SpinStructureTest::bracketsMatch_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("expected");

    QTest::newRow("extra closing brace after a match") << "{a}}" << true;
    QTest::newRow("stray closing brace first") << "}{a}" << false;
    QTest::newRow("no braces") << "abc" << false;
    QTest::newRow("empty text") << "" << false;
    QTest::newRow("unclosed group") << "{a" << false;
    QTest::newRow("nested, balanced") << "x {a|{b|c}} y" << true;
    QTest::newRow("nested, outer unclosed") << "{a {b|c}" << false;
    QTest::newRow("first group matched, later one not") << "{a} {b" << true;
    QTest::newRow("bars only") << "a|b" << false;
}

void SpinStructureTest::bracketsMatch()
{
    QFETCH(QString, text);
    QFETCH(bool, expected);
    QCOMPARE(spintax::bracketsMatch(text), expected);
}

void SpinStructureTest::countChar_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QChar>("c");
    QTest::addColumn<qsizetype>("expected");

    QTest::newRow("opening braces") << "{a|{b|c}}" << QChar(u'{') << qsizetype(2);
    QTest::newRow("bars") << "{a|{b|c}}" << QChar(u'|') << qsizetype(2);
    QTest::newRow("case matters") << "Aa" << QChar(u'a') << qsizetype(1);
    QTest::newRow("none") << "abc" << QChar(u'}') << qsizetype(0);
    QTest::newRow("empty text") << "" << QChar(u'{') << qsizetype(0);
}

void SpinStructureTest::countChar()
{
    QFETCH(QString, text);
    QFETCH(QChar, c);
    QFETCH(qsizetype, expected);
    QCOMPARE(spintax::countChar(text, c), expected);
}

void SpinStructureTest::trimHtml_data()
{
    QTest::addColumn<QString>("html");
    QTest::addColumn<QString>("expected");

    QTest::newRow("ampersand last: escaped entities stay entities") << "&amp;lt;b&amp;gt;"
                                                                    << "&lt;b&gt;";
    QTest::newRow("all four entities") << "&lt;a href=&quot;x&quot;&gt;R&amp;D&lt;/a&gt;"
                                       << "<a href=\"x\">R&D</a>";
    QTest::newRow("other entities untouched") << "&nbsp;&apos;"
                                              << "&nbsp;&apos;";
    QTest::newRow("entity names are case-sensitive") << "&LT;"
                                                     << "&LT;";
    QTest::newRow("plain text") << "a < b"
                                << "a < b";
}

void SpinStructureTest::trimHtml()
{
    QFETCH(QString, html);
    QFETCH(QString, expected);
    QCOMPARE(spintax::trimHtml(html), expected);
}

// Text nested 100,000 levels deep must not exhaust the call stack.
void SpinStructureTest::deepNesting()
{
    constexpr qsizetype depth = 100000;
    const QString text = QString(depth, u'{') + u'a' + QString(depth, u'}');

    QCOMPARE(spintax::matchingRightBrace(text, 0), text.size() - 1);
    QCOMPARE(spintax::matchingRightBrace(text, depth - 1), depth + 1);
    QCOMPARE(spintax::matchingLeftBrace(text, text.size() - 1), qsizetype(0));
    QVERIFY(spintax::bracketsMatch(text));
    QCOMPARE(spintax::barPos(text), QList<qsizetype>{0});
    QCOMPARE(spintax::dissect(text), QStringList{text.mid(1, text.size() - 2)});

    // «{a|{a|{a|...}}}»: one top-level bar per level.
    QString chain;
    for (int i = 0; i < depth; ++i)
        chain += QLatin1String("{a|");
    chain += QString(depth, u'}');
    const QStringList alternatives = spintax::dissect(chain);
    QCOMPARE(alternatives.size(), 2);
    QCOMPARE(alternatives.first(), QStringLiteral("a"));
    QCOMPARE(alternatives.last(), chain.mid(3, chain.size() - 4));
    // The simple split cuts every bar: one piece per level plus the closing run.
    QCOMPARE(spintax::simpleSplit(chain.mid(1, chain.size() - 2)).size(), depth + 1);
}

void SpinStructureTest::megabyteText()
{
    // About a megabyte of sibling groups with one unclosed group at the start.
    QString text = QStringLiteral("{");
    const QString group = QStringLiteral("{quick|fast|rapid} ");
    while (text.size() < 1 << 20)
        text += group;

    QCOMPARE(spintax::matchingRightBrace(text, 0), qsizetype(-1));
    QCOMPARE(spintax::matchingRightBrace(text, 1), qsizetype(18));
    QCOMPARE(spintax::matchingLeftBrace(text, text.size() - 2), text.size() - group.size());
    QVERIFY(!spintax::bracketsMatch(text));
    QCOMPARE(spintax::countChar(text, u'|'), 2 * (text.size() - 1) / group.size());
}

REWORDIX_TEST_GUILESS_MAIN(SpinStructureTest)
#include "spinstructure_test.moc"
