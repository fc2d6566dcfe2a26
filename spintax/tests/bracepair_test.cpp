#include "testsupport/testsupport.h"
#include "spintax/gui/bracepair.h"

#include <QTest>
#include <QTextCharFormat>
#include <QTextDocument>

using spintax::BracePair;

Q_DECLARE_METATYPE(BracePair)

namespace QTest {
template <> char *toString(const BracePair &pair)
{
    return qstrdup(QByteArray("(" + QByteArray::number(pair.opening) + ", " +
                              QByteArray::number(pair.closing) + ")")
                       .constData());
}
} // namespace QTest

class BracePairTest final : public QObject
{
    Q_OBJECT

private slots:
    void inParagraph_data();
    void inParagraph();
    void inDocument_data();
    void inDocument();
    void formats();
    void deepNesting();
};

void BracePairTest::inParagraph_data()
{
    QTest::addColumn<QString>("paragraph");
    QTest::addColumn<qsizetype>("caret");
    QTest::addColumn<BracePair>("expected");

    QTest::newRow("caret before an opening brace")
        << "a {b|c} d" << qsizetype(2) << BracePair{2, 6};
    QTest::newRow("caret after an opening brace") << "a {b|c} d" << qsizetype(3) << BracePair{2, 6};
    QTest::newRow("caret after a closing brace") << "a {b|c} d" << qsizetype(7) << BracePair{2, 6};
    QTest::newRow("caret before a closing brace") << "a {b|c} d" << qsizetype(6) << BracePair{2, 6};
    QTest::newRow("no brace beside the caret") << "a {b|c} d" << qsizetype(5) << BracePair{};
    QTest::newRow("between } and {: the brace before wins")
        << "{a}{b}" << qsizetype(3) << BracePair{0, 2};
    QTest::newRow("between { and {: the brace before wins")
        << "{{a}}" << qsizetype(1) << BracePair{0, 4};
    QTest::newRow("nested group from inside") << "{a{b}c}" << qsizetype(5) << BracePair{2, 4};
    QTest::newRow("opening brace without partner") << "x {a|b" << qsizetype(2) << BracePair{2, -1};
    QTest::newRow("closing brace without partner") << "a|b} x" << qsizetype(4) << BracePair{-1, 3};
    QTest::newRow("caret at paragraph start") << "{a}" << qsizetype(0) << BracePair{0, 2};
    QTest::newRow("caret at paragraph end") << "{a}" << qsizetype(3) << BracePair{0, 2};
    QTest::newRow("empty paragraph") << "" << qsizetype(0) << BracePair{};
    QTest::newRow("caret outside the paragraph") << "{a}" << qsizetype(4) << BracePair{};
    QTest::newRow("bar is not a brace") << "{a|b}" << qsizetype(3) << BracePair{};
}

void BracePairTest::inParagraph()
{
    QFETCH(QString, paragraph);
    QFETCH(qsizetype, caret);
    QFETCH(BracePair, expected);
    QCOMPARE(spintax::bracePairAt(paragraph, caret), expected);
}

void BracePairTest::inDocument_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("position");
    QTest::addColumn<BracePair>("expected");

    // The partner is looked for in the caret's paragraph only, even when the
    // group is closed further down.
    QTest::newRow("group spanning paragraphs is unmatched")
        << "a {b\nc} d" << 2 << BracePair{2, -1};
    QTest::newRow("closing brace in a later paragraph") << "a {b\nc} d" << 7 << BracePair{-1, 6};
    QTest::newRow("match in the second paragraph in document positions")
        << "first\nx {y} z" << 8 << BracePair{8, 10};
    QTest::newRow("caret at paragraph start does not see the previous paragraph")
        << "{a}\nb" << 4 << BracePair{};
    QTest::newRow("caret at paragraph end does not see the next paragraph")
        << "a\n{b}" << 1 << BracePair{};
    QTest::newRow("caret at document end") << "x{a}" << 4 << BracePair{1, 3};
}

void BracePairTest::inDocument()
{
    QFETCH(QString, text);
    QFETCH(int, position);
    QFETCH(BracePair, expected);

    QTextDocument document;
    document.setPlainText(text);
    QCOMPARE(spintax::bracePairAt(&document, position), expected);
}

void BracePairTest::formats()
{
    const QTextCharFormat matched = spintax::matchedBraceFormat();
    QCOMPARE(matched.background().color(), QColor(12, 199, 255));
    QCOMPARE(matched.foreground().color(), QColor(Qt::white));
    const QTextCharFormat unmatched = spintax::unmatchedBraceFormat();
    QCOMPARE(unmatched.background().color(), QColor(Qt::red));
    QCOMPARE(unmatched.foreground().color(), QColor(Qt::white));
}

void BracePairTest::deepNesting()
{
    constexpr qsizetype depth = 100000;
    const QString paragraph = QString(depth, u'{') + u'a' + QString(depth, u'}');
    QCOMPARE(spintax::bracePairAt(paragraph, 0), (BracePair{0, 2 * depth}));
    QCOMPARE(spintax::bracePairAt(paragraph, paragraph.size()), (BracePair{0, 2 * depth}));
    QCOMPARE(spintax::bracePairAt(paragraph, depth), (BracePair{depth - 1, depth + 1}));
}

REWORDIX_TEST_MAIN(BracePairTest)
#include "bracepair_test.moc"
