#include "testsupport/testsupport.h"
#include "spintax/gui/levelcolors.h"
#include "spintax/gui/levelruns.h"
#include "spintax/gui/myhighlighter.h"

#include <QCoreApplication>
#include <QRandomGenerator>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>

using spintax::LevelColors;

namespace QTest {
template <> char *toString(const spintax::LevelRun &run)
{
    return qstrdup(QByteArray::number(run.start) + '+' + QByteArray::number(run.length) + ':' +
                   QByteArray::number(run.level));
}
} // namespace QTest

namespace {

// The colour level of every character as a digit ('0' black, '1'..'5'), one
// line per paragraph; '?' marks a character the highlighter left without a
// colour and '!' one in a colour that is no level's.
QString shownLevels(const QTextDocument &document, const LevelColors &colors)
{
    QStringList paragraphs;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        QString levels(block.length() - 1, u'?');
        for (const QTextLayout::FormatRange &range : block.layout()->formats()) {
            const QColor shown = range.format.foreground().color();
            QChar digit = u'!';
            for (int level = 0; level <= LevelColors::levelCount; ++level) {
                if (colors.color(level) == shown) {
                    digit = QChar(u'0' + level);
                    break;
                }
            }
            for (int i = range.start; i < range.start + range.length; ++i)
                levels[i] = digit;
        }
        paragraphs.append(levels);
    }
    return paragraphs.join(u'\n');
}

// A new highlighter colours its document from the event loop; afterwards
// every edit is recoloured at once. Edits reach the highlighter only in a
// document that has a layout, as every editor's document has.
MyHighlighter *attachHighlighter(QTextDocument &document, const QString &text,
                                 const LevelColors &colors)
{
    document.documentLayout();
    document.setPlainText(text);
    auto *highlighter = new MyHighlighter(&document, colors);
    QCoreApplication::processEvents();
    return highlighter;
}

QList<int> blockStates(const QTextDocument &document)
{
    QList<int> states;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        states.append(block.userState());
    return states;
}

// The colouring procedure step by step as the editor has always done it: a
// run up to each brace, the rest of the paragraph painted after every `{`
// and painted over again later, single characters after the last brace.
// Quadratic, but plainly right; the highlighter must give the same picture.
QString referenceLevels(const QString &text, QList<int> &states)
{
    QStringList out;
    int state = -1;
    for (const QString &para : text.split(u'\n')) {
        QString shown(para.size(), u'?');
        const auto paint = [&shown](qsizetype from, qsizetype count, int level) {
            for (qsizetype k = from; k < from + count; ++k)
                shown[k] = QChar(u'0' + level);
        };
        int depth = state < 0 ? 0 : state;
        int current = state < 0 ? 0 : LevelColors::colorLevel(depth);
        const qsizetype len = para.size();
        if (!para.contains(u'{') && !para.contains(u'}')) {
            paint(0, len, LevelColors::colorLevel(depth));
            state = depth;
        } else {
            qsizetype runStart = 0;
            for (qsizetype i = 0; i < len; ++i) {
                const qsizetype open = para.indexOf(u'{', i);
                const qsizetype close = para.indexOf(u'}', i);
                if (open < 0 && close < 0) {
                    paint(i, 1, current);
                    continue;
                }
                i = open < 0 ? close : close < 0 ? open : qMin(open, close);
                if (para[i] == u'{') {
                    ++depth;
                    paint(runStart, i - runStart, current);
                    current = LevelColors::colorLevel(depth);
                    paint(i, len - i, current);
                    runStart = i;
                } else {
                    current = LevelColors::colorLevel(depth);
                    paint(runStart, i - runStart + 1, current);
                    runStart = i + 1;
                    --depth;
                    current = LevelColors::colorLevel(depth);
                }
                state = depth;
            }
        }
        out.append(shown);
        states.append(state);
    }
    return out.join(u'\n');
}

} // namespace

class MyHighlighterTest final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void colouring_data();
    void colouring();
    void sameAsStepwiseColouring();
    void paragraphRuns_data();
    void paragraphRuns();
    void typingRecoloursFollowingParagraphs();
    void setColorsRecoloursDocument();
    void deepNesting();
    void levelColors_data();
    void levelColors();
    void colorsFromSettings();
};

void MyHighlighterTest::initTestCase()
{
    // Highlighters built without explicit colours read the settings store, which the test
    // support keeps private to this program.
}

void MyHighlighterTest::colouring_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("levels");
    QTest::addColumn<QList<int>>("states");

    QTest::newRow("nested group in fixed text") << "x {a|{b|c}} y"
                                                << "0011122222100" << QList<int>{0};
    QTest::newRow("plain paragraph") << "no groups"
                                     << "000000000" << QList<int>{0};
    QTest::newRow("sibling groups") << "{a}{b} c"
                                    << "11111100" << QList<int>{0};
    QTest::newRow("empty alternatives") << "{|a||}"
                                        << "111111" << QList<int>{0};
    QTest::newRow("group spans paragraphs") << "a {b\nc d\ne} f"
                                            << "0011\n111\n1100" << QList<int>{1, 1, 0};
    QTest::newRow("brace-less paragraph inside a group") << "{\nplain\n}"
                                                         << "1\n11111\n1" << QList<int>{1, 1, 0};
    QTest::newRow("empty paragraph inside a group") << "{a\n\nb}"
                                                    << "11\n\n11" << QList<int>{1, 1, 0};
    QTest::newRow("levels above 5 in the level 1 colour") << "{{{{{{x}}}}}}"
                                                          << "1234511154321" << QList<int>{0};
    QTest::newRow("level 6 carried across paragraphs")
        << "{{{{{{\nx\n}}}}}}"
        << "123451\n1\n154321" << QList<int>{6, 6, 0};
    QTest::newRow("stray closing brace: negative depth is black, next paragraph restarts")
        << "a}b\n{c}"
        << "000\n111" << QList<int>{-1, 0};
    QTest::newRow("stray closing brace before a group") << "}{a}\nx{y}"
                                                        << "0000\n0111" << QList<int>{-1, 0};
    QTest::newRow("extra closing brace leaves the rest of the group black")
        << "{a}}b{c\nd}"
        << "1110000\n00" << QList<int>{0, -1};
    QTest::newRow("two stray braces, then plain text") << "}}\nplain"
                                                       << "00\n00000" << QList<int>{-2, 0};
    QTest::newRow("unclosed group to the end") << "a {b|c"
                                               << "001111" << QList<int>{1};
}

void MyHighlighterTest::colouring()
{
    QFETCH(QString, text);
    QFETCH(QString, levels);
    QFETCH(QList<int>, states);

    QTextDocument document;
    const LevelColors colors = LevelColors::defaults();
    attachHighlighter(document, text, colors);

    QCOMPARE(shownLevels(document, colors), levels);
    QCOMPARE(blockStates(document), states);
}

// Random short texts over the syntax characters, with deep nesting and stray
// braces, compared with the step-by-step procedure.
void MyHighlighterTest::sameAsStepwiseColouring()
{
    const LevelColors colors = LevelColors::defaults();
    LevelColors recoloured;
    for (int level = 1; level <= LevelColors::levelCount; ++level)
        recoloured.setColor(level, QColor(level, 2 * level, 3 * level));
    const QString alphabet = QStringLiteral("{{{}}}|a \n");
    QRandomGenerator random(20240611);
    for (int round = 0; round < 2000; ++round) {
        QString text;
        const int length = 1 + random.bounded(40);
        for (int i = 0; i < length; ++i)
            text += alphabet[random.bounded(int(alphabet.size()))];

        QTextDocument document;
        MyHighlighter *highlighter = attachHighlighter(document, text, colors);
        QList<int> states;
        const QString expected = referenceLevels(text, states);
        if (shownLevels(document, colors) != expected || blockStates(document) != states)
            qInfo() << "text:" << text;
        QCOMPARE(shownLevels(document, colors), expected);
        QCOMPARE(blockStates(document), states);

        // New colours go through the whole-document pass, which must paint
        // the same picture.
        highlighter->setColors(recoloured);
        QCOMPARE(shownLevels(document, recoloured), expected);
        QCOMPARE(blockStates(document), states);
    }
}

void MyHighlighterTest::paragraphRuns_data()
{
    QTest::addColumn<QString>("paragraph");
    QTest::addColumn<int>("previousState");
    QTest::addColumn<QList<spintax::LevelRun>>("runs");
    QTest::addColumn<int>("endDepth");

    using Runs = QList<spintax::LevelRun>;
    QTest::newRow("one run per colour change")
        << "x {a|{b|c}} y" << -1 << Runs{{0, 2, 0}, {2, 3, 1}, {5, 5, 2}, {10, 1, 1}, {11, 2, 0}}
        << 0;
    QTest::newRow("closing and reopening at one level is one run")
        << "{a}{b}" << -1 << Runs{{0, 6, 1}} << 0;
    QTest::newRow("reopening right after a closing brace") << "{}{" << 0 << Runs{{0, 3, 1}} << 1;
    QTest::newRow("level 6 joins the level 1 run")
        << "{{{{{{" << 0 << Runs{{0, 1, 1}, {1, 1, 2}, {2, 1, 3}, {3, 1, 4}, {4, 1, 5}, {5, 1, 1}}
        << 6;
    QTest::newRow("depth carried in") << "a}b" << 2 << Runs{{0, 2, 2}, {2, 1, 1}} << 1;
    QTest::newRow("negative state starts at depth 0") << "a}b" << -3 << Runs{{0, 3, 0}} << -1;
    QTest::newRow("empty paragraph") << "" << 4 << Runs{} << 4;
}

void MyHighlighterTest::paragraphRuns()
{
    QFETCH(QString, paragraph);
    QFETCH(int, previousState);
    QFETCH(QList<spintax::LevelRun>, runs);
    QFETCH(int, endDepth);

    const spintax::ParagraphLevels levels = spintax::paragraphLevels(paragraph, previousState);
    QCOMPARE(levels.runs, runs);
    QCOMPARE(levels.endDepth, endDepth);
}

// Opening a group at the start recolours every later paragraph, and closing
// it again restores them: the block state carries the depth.
void MyHighlighterTest::typingRecoloursFollowingParagraphs()
{
    QTextDocument document;
    const LevelColors colors = LevelColors::defaults();
    attachHighlighter(document, QStringLiteral("ab\ncd\nef}"), colors);
    QCOMPARE(shownLevels(document, colors), QStringLiteral("00\n00\n000"));

    QTextCursor cursor(&document);
    cursor.insertText(QStringLiteral("{"));
    QCOMPARE(shownLevels(document, colors), QStringLiteral("111\n11\n111"));
    QCOMPARE(blockStates(document), (QList<int>{1, 1, 0}));

    cursor.movePosition(QTextCursor::Start);
    cursor.deleteChar();
    QCOMPARE(shownLevels(document, colors), QStringLiteral("00\n00\n000"));
    QCOMPARE(blockStates(document), (QList<int>{0, 0, -1}));
}

void MyHighlighterTest::setColorsRecoloursDocument()
{
    QTextDocument document;
    auto *highlighter =
        attachHighlighter(document, QStringLiteral("{a\nb}"), LevelColors::defaults());

    LevelColors changed = LevelColors::defaults();
    changed.setColor(1, QColor(10, 20, 30));
    highlighter->setColors(changed);

    QCOMPARE(highlighter->colors(), changed);
    QCOMPARE(shownLevels(document, changed), QStringLiteral("11\n11"));
    QCOMPARE(document.lastBlock().layout()->formats().first().format.foreground().color(),
             QColor(10, 20, 30));
}

void MyHighlighterTest::deepNesting()
{
    constexpr int depth = 100000;
    QTextDocument document;
    const LevelColors colors = LevelColors::defaults();
    attachHighlighter(document,
                      QString(depth, u'{') + QStringLiteral("a\nb") + QString(depth, u'}'), colors);

    QCOMPARE(blockStates(document), (QList<int>{depth, 0}));
    const QString levels = shownLevels(document, colors);
    QCOMPARE(levels.left(8), QStringLiteral("12345111"));
    QCOMPARE(levels.right(6), QStringLiteral("154321"));
    QVERIFY(!levels.contains(u'?'));
}

void MyHighlighterTest::levelColors_data()
{
    QTest::addColumn<QVariantMap>("map");
    QTest::addColumn<QList<QColor>>("expected"); // levels -1 .. 7

    const QColor black(Qt::black);
    const QColor blue(0, 0, 255);
    QVariantMap stored{{"level 1", "-16776961"}, {"level 2", "-16744448"},
                       {"level 3", "-65536"},    {"level 4", "-32768"},
                       {"level 5", "-6586355"},  {"no synonym", "-16777216"}};
    QTest::newRow("stored defaults") << stored << QList<QColor>{black,
                                                                black,
                                                                blue,
                                                                QColor(0, 128, 0),
                                                                QColor(255, 0, 0),
                                                                QColor(255, 128, 0),
                                                                QColor(155, 128, 13),
                                                                blue,
                                                                blue};

    QVariantMap partial{{"level 1", "4278190335"}, {"level 3", "not a colour"}, {"level 4", ""}};
    QTest::newRow("unsigned form read, missing and bad entries black")
        << partial << QList<QColor>{black, black, blue, black, black, black, black, blue, blue};

    QVariantMap translucent{{"level 2", "2147483647"}};
    QTest::newRow("alpha kept") << translucent
                                << QList<QColor>{black, black, black, QColor(255, 255, 255, 127),
                                                 black, black, black, black,
                                                 black};

    QTest::newRow("empty map: all black") << QVariantMap() << QList<QColor>(9, black);
}

void MyHighlighterTest::levelColors()
{
    QFETCH(QVariantMap, map);
    QFETCH(QList<QColor>, expected);

    const LevelColors colors = LevelColors::fromMap(map);
    QList<QColor> shown;
    for (int level = -1; level <= 7; ++level)
        shown.append(colors.color(level));
    QCOMPARE(shown, expected);
}

void MyHighlighterTest::colorsFromSettings()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QSettings settings(dir.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat);
    QCOMPARE(LevelColors::fromSettings(settings), LevelColors::defaults());
    QVERIFY(!settings.contains(QStringLiteral("applicationColors")));

    settings.setValue(QStringLiteral("applicationColors"),
                      QVariantMap{{"level 1", "-65536"}, {"level 2", "-16776961"}});
    settings.sync();
    const QSettings reread(settings.fileName(), QSettings::IniFormat);
    LevelColors expected;
    expected.setColor(1, QColor(255, 0, 0));
    expected.setColor(2, QColor(0, 0, 255));
    QCOMPARE(LevelColors::fromSettings(reread), expected);
}

REWORDIX_TEST_MAIN(MyHighlighterTest)
#include "myhighlighter_test.moc"
