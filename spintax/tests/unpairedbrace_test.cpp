// Locating the brace without partner that the views report in the status bar.

#include "testsupport/testsupport.h"
#include "spintax/unpairedbrace.h"

#include <QTest>

using spintax::UnpairedBrace;

Q_DECLARE_METATYPE(std::optional<UnpairedBrace>)

namespace spintax {
char *toString(const std::optional<UnpairedBrace> &b)
{
    if (!b)
        return qstrdup("none");
    return qstrdup(QStringLiteral("%1 at %2 (line %3, column %4)")
                       .arg(b->brace)
                       .arg(b->position)
                       .arg(b->line)
                       .arg(b->column)
                       .toUtf8()
                       .constData());
}
} // namespace spintax

class UnpairedBraceTest final : public QObject
{
    Q_OBJECT

private slots:
    void firstUnpairedBrace_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<std::optional<UnpairedBrace>>("expected");
        using B = UnpairedBrace;
        const auto none = std::optional<UnpairedBrace>();
        QTest::newRow("empty") << "" << none;
        QTest::newRow("no braces") << "plain text" << none;
        QTest::newRow("nested and balanced") << "x {a|{b|c}} y\n{d|}" << none;
        QTest::newRow("open never closes") << "x {a|b" << std::optional(B{2, '{', 1, 3});
        QTest::newRow("inner group closes, outer does not")
            << "{a {b|c} d" << std::optional(B{0, '{', 1, 1});
        QTest::newRow("two left open: the first") << "a {b {c" << std::optional(B{2, '{', 1, 3});
        QTest::newRow("stray closing brace") << "a} {b|c}" << std::optional(B{1, '}', 1, 2});
        QTest::newRow("extra closing brace after a group")
            << "{a}}" << std::optional(B{3, '}', 1, 4});
        QTest::newRow("stray closing brace before an open one")
            << "}{a" << std::optional(B{0, '}', 1, 1});
        QTest::newRow("line and column after line feeds")
            << "one\ntwo {a|b}\n  three {c" << std::optional(B{22, '{', 3, 9});
    }

    void firstUnpairedBrace()
    {
        QFETCH(QString, text);
        QFETCH(std::optional<UnpairedBrace>, expected);
        QCOMPARE(spintax::firstUnpairedBrace(text), expected);
    }

    void message()
    {
        QCOMPARE(
            spintax::unpairedBraceMessage({22, '{', 3, 9}),
            QStringLiteral("Unbalanced braces: \"{\" at line 3, column 9 has no matching \"}\""));
        QCOMPARE(
            spintax::unpairedBraceMessage({1, '}', 1, 2}),
            QStringLiteral("Unbalanced braces: \"}\" at line 1, column 2 has no matching \"{\""));
    }

    // Thousands of levels deep and never closed: no recursion, the outermost is reported.
    void deepNesting()
    {
        const QString text = QString(200000, QLatin1Char('{')) + QString(199999, QLatin1Char('}'));
        QCOMPARE(spintax::firstUnpairedBrace(text), std::optional(UnpairedBrace{0, '{', 1, 1}));
    }
};

REWORDIX_TEST_GUILESS_MAIN(UnpairedBraceTest)
#include "unpairedbrace_test.moc"
