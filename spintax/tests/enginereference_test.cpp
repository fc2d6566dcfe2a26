// The parsed-tree engine against a plain string implementation that follows
// the rules step by step (brace searches, splits, recursion), on many small
// random texts: balanced, unbalanced, with stray braces, empty alternatives
// and bars only. Small inputs keep the reference's recursion shallow.

#include "testsupport/testsupport.h"
#include "spintax/generator.h"
#include "spintax/spinstructure.h"

#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTest>

using namespace spintax;

namespace {

void collapseSpaces(QString &s)
{
    while (s.contains(QLatin1String("  ")))
        s.replace(QLatin1String("  "), QLatin1String(" "));
}

QString withoutSyntax(QString s)
{
    s.remove(QLatin1Char('{'));
    s.remove(QLatin1Char('}'));
    s.remove(QLatin1Char('|'));
    return s;
}

std::optional<QString> refFirstReading(const QString &text)
{
    QString out;
    qsizetype i = 0;
    while (true) {
        const qsizetype open = text.indexOf(QLatin1Char('{'), i);
        if (open < 0)
            break;
        const qsizetype close = matchingRightBrace(text, open);
        if (close < 0)
            return std::nullopt;
        out += text.mid(i, open - i);
        const QString content = text.mid(open + 1, close - open - 1);
        if (!content.contains(QLatin1Char('{'))) {
            const QStringList pieces = simpleSplit(content);
            out += pieces.isEmpty() ? QString() : withoutSyntax(pieces.first());
        } else {
            out += *refFirstReading(topLevelSplit(content).first());
        }
        i = close + 1;
    }
    out += text.mid(i);
    collapseSpaces(out);
    return out;
}

QString refMakeFlat(const QString &text)
{
    QString out;
    qsizetype i = 0;
    while (true) {
        const qsizetype open = text.indexOf(QLatin1Char('{'), i);
        if (open < 0)
            break;
        const qsizetype close = matchingRightBrace(text, open);
        if (close < 0)
            return QString();
        out += text.mid(i, open + 1 - i);
        const QString content = text.mid(open + 1, close - open - 1);
        qsizetype j = 0;
        while (true) {
            const qsizetype inner = content.indexOf(QLatin1Char('{'), j);
            if (inner < 0)
                break;
            const qsizetype innerClose = matchingRightBrace(content, inner);
            out += content.mid(j, inner - j);
            out += *refFirstReading(content.mid(inner, innerClose - inner + 1));
            j = innerClose + 1;
        }
        out += content.mid(j);
        i = close;
    }
    return out + text.mid(i);
}

QString refRemoveOriginalWord(const QString &text)
{
    QString out;
    qsizetype i = 0;
    qsizetype from = 0;
    while (true) {
        const qsizetype open = text.indexOf(QLatin1Char('{'), from);
        if (open < 0)
            break;
        const qsizetype close = matchingRightBrace(text, open);
        if (close < 0) {
            from = open + 1;
            continue;
        }
        out += text.mid(i, open - i);
        QString rest = text.mid(open + 1, close - open - 1);
        int depth = 0;
        for (qsizetype k = 0; k < rest.size(); ++k) {
            if (rest[k] == QLatin1Char('{'))
                ++depth;
            else if (rest[k] == QLatin1Char('}'))
                --depth;
            else if (rest[k] == QLatin1Char('|') && depth == 0) {
                rest = rest.mid(k + 1);
                break;
            }
        }
        if (rest.contains(QLatin1Char('{')) && rest.contains(QLatin1Char('}')))
            rest = refRemoveOriginalWord(rest);
        out += rest.contains(QLatin1Char('|')) ? QLatin1Char('{') + rest + QLatin1Char('}') : rest;
        i = from = close + 1;
    }
    return out + text.mid(i);
}

int refCountSmall(const QString &text)
{
    int smallest = -1;
    qsizetype i = 0;
    while (true) {
        const qsizetype open = text.indexOf(QLatin1Char('{'), i);
        if (open < 0)
            break;
        const qsizetype close = matchingRightBrace(text, open);
        if (close < 0)
            return 0;
        const int n = int(simpleSplit(text.mid(open + 1, close - open - 1)).size());
        smallest = smallest < 0 ? n : qMin(smallest, n);
        i = close + 1;
    }
    return qMax(smallest, 0);
}

// Small inputs only: the products stay far below 2^64.
quint64 refCT(const QString &text)
{
    if (text.isEmpty())
        return 0;
    if (!text.contains(QLatin1Char('{')))
        return 1;
    quint64 total = 0;
    bool first = true;
    qsizetype i = 0;
    while (true) {
        const qsizetype open = text.indexOf(QLatin1Char('{'), i);
        if (open < 0)
            break;
        const qsizetype close = matchingRightBrace(text, open);
        if (close < 0)
            return 0;
        const QString content = text.mid(open + 1, close - open - 1);
        quint64 n = 0;
        if (!content.contains(QLatin1Char('{'))) {
            n = quint64(countChar(content, QLatin1Char('|'))) + 1;
        } else {
            const QStringList pieces = topLevelSplit(content);
            if (pieces.size() == 1) {
                n = refCT(content);
            } else {
                for (qsizetype k = 0; k < pieces.size(); ++k) {
                    const bool last = k + 1 == pieces.size();
                    n += last && !pieces[k].contains(QLatin1Char('{')) ? 1 : refCT(pieces[k]);
                }
            }
        }
        total = first ? n : total * n;
        first = false;
        i = close + 1;
    }
    return total;
}

std::optional<QStringList> refFigures(const QString &text)
{
    if (!refFirstReading(text))
        return std::nullopt;
    const QString flat = refMakeFlat(text);
    int paragraphs = 0;
    for (const QString &line : flat.split(QLatin1Char('\n')))
        paragraphs += line.trimmed().isEmpty() ? 0 : 1;

    const QRegularExpression dropped(QStringLiteral("[\\\\\"?.!]+"),
                                     QRegularExpression::UseUnicodePropertiesOption);
    const QRegularExpression space(QStringLiteral("\\s+"),
                                   QRegularExpression::UseUnicodePropertiesOption);
    auto normalise = [&](QString s) {
        s.remove(dropped);
        s.replace(QLatin1String("\n\r"), QLatin1String(" "));
        s.replace(space, QStringLiteral(" "));
        return s.trimmed();
    };
    auto pieces = [](const QString &trimmed) {
        return trimmed.isEmpty() ? 0 : int(trimmed.split(QLatin1Char(' ')).size());
    };

    const QString n = normalise(flat);
    int spun = 0;
    int unique = 0;
    if (n.isEmpty()) {
        spun = 0;
    } else if (!n.contains(QLatin1Char(' '))) {
        spun = 1;
    } else {
        QString outside;
        QString firsts;
        qsizetype i = 0;
        while (true) {
            const qsizetype open = n.indexOf(QLatin1Char('{'), i);
            if (open < 0)
                break;
            const qsizetype close = matchingRightBrace(n, open);
            outside += n.mid(i, open - i);
            const QStringList cut = simpleSplit(n.mid(open + 1, close - open - 1).trimmed());
            firsts += (cut.isEmpty() ? QString() : cut.first()) + QLatin1Char(' ');
            i = close + 1;
        }
        outside += n.mid(i);
        outside.replace(QLatin1Char('\n'), QLatin1Char(' '));
        collapseSpaces(outside);
        const int groupWords = pieces(firsts.trimmed());
        spun = pieces(outside.trimmed()) + groupWords;
        if (n.contains(QLatin1Char('{')) &&
            countChar(n, QLatin1Char('{')) == countChar(n, QLatin1Char('}')) && spun > 0)
            unique = int(std::floor(double(groupWords) / spun * 100 + 0.5));
    }
    QString all = normalise(text);
    for (QChar &c : all)
        if (c == QLatin1Char('|') || c == QLatin1Char('{') || c == QLatin1Char('}'))
            c = QLatin1Char(' ');
    collapseSpaces(all);
    const int total = pieces(all.trimmed());
    return QStringList{
        QStringLiteral("Spun Words: %1").arg(spun),
        QStringLiteral("Total Words: %1").arg(total),
        QStringLiteral("%1% Unique").arg(unique),
        QStringLiteral("Quality: ") +
            (spun == 0 ? QStringLiteral("0.00") : QString::asprintf("%.2f", double(total) / spun)),
        QStringLiteral("%1 Paragraph(s)").arg(paragraphs),
    };
}

QString randomText(QRandomGenerator &rng)
{
    // Letters, spaces, a line break and punctuation around plenty of syntax.
    static const QString alphabet = QStringLiteral("ab  {{{|||}}}\n.");
    const int length = int(rng.bounded(24));
    QString s;
    for (int i = 0; i < length; ++i)
        s += alphabet[rng.bounded(int(alphabet.size()))];
    return s;
}

} // namespace

class EngineReferenceTest final : public QObject
{
    Q_OBJECT

private slots:
    void matchesStringImplementation();
};

void EngineReferenceTest::matchesStringImplementation()
{
    QRandomGenerator rng(20261208);
    int balanced = 0;
    for (int round = 0; round < 30000; ++round) {
        const QString text = randomText(rng);
        const QByteArray label = "text: \"" + text.toUtf8() + '"';
        balanced += refFirstReading(text) ? 1 : 0;
        QVERIFY2(anySpin2(text) == refFirstReading(text), label);
        QVERIFY2(makeFlat(text) == refMakeFlat(text), label);
        QVERIFY2(removeOriginalWord(text) == refRemoveOriginalWord(text), label);
        QVERIFY2(countSmall(text) == refCountSmall(text), label);
        QVERIFY2(cT(text) == refCT(text), label);
        const std::optional<StatusFigures> f = calcUniqueness(text);
        const std::optional<QStringList> expected = refFigures(text);
        QVERIFY2(f.has_value() == expected.has_value(), label);
        if (f)
            QCOMPARE(
                (QStringList{f->spunWords, f->totalWords, f->unique, f->quality, f->paragraphs}),
                *expected);
    }
    // The generator must have met both kinds of input often.
    QVERIFY(balanced > 3000 && balanced < 27000);
}

REWORDIX_TEST_GUILESS_MAIN(EngineReferenceTest)
#include "enginereference_test.moc"
