#include "testsupport/testsupport.h"
#include "spintax/combinationcount.h"
#include "spintax/distinctspinner.h"
#include "spintax/generator.h"
#include "spintax/spintree.h"

#include <QSet>
#include <QTest>

#include <map>

using namespace spintax;

using Signature = QList<int>;

namespace {

// «{a|{a|...{a|b}...}}» nested `depth` levels.
QString deepText(int depth)
{
    return QString("{a|").repeated(depth) + QLatin1Char('b') + QString(depth, QLatin1Char('}'));
}

} // namespace

class GeneratorTest final : public QObject
{
    Q_OBJECT

private slots:
    void sequentialCopies_data();
    void sequentialCopies();
    void randomAfterCountSmall();
    void countSmallFromBatchArticle();
    void signatureMatchesText();
    void randomChoiceIsUniform_data();
    void randomChoiceIsUniform();
    void emptyAlternatives_data();
    void emptyAlternatives();
    void unbalancedText();
    void spunMapEntries();
    void spunMapSharedKey();
    void flatSpin();
    void treeOverloadMatchesText();
    void partByPartMatchesWhole_data();
    void partByPartMatchesWhole();
    void seedAndState();
    void distinctCopies_data();
    void distinctCopies();
    void distinctCopiesGiveUpOnUnreachableCombinations();
    void deepNesting();
    void manySiblings();
};

void GeneratorTest::sequentialCopies_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("copies");
    QTest::addColumn<QList<Signature>>("signatures");

    QTest::newRow("top-level groups step together")
        << "{a|b}{c|d}" << QStringList{"ac", "bd"} << QList<Signature>{{0, 0}, {1, 1}};
    QTest::newRow("nested group index before its encloser")
        << "{x {a}|y} {c|d|e}" << QStringList{"x a c", "y d"}
        << QList<Signature>{{0, 0, 0}, {1, 1}};
    QTest::newRow("groups holding groups follow the copy number at any depth")
        << "{{a|{p}}|{b|{q}}}" << QStringList{"a", "q", "a", "q"}
        << QList<Signature>{{0, 0}, {0, 1, 1}, {0, 0}, {0, 1, 1}};
}

void GeneratorTest::sequentialCopies()
{
    QFETCH(QString, text);
    QFETCH(QStringList, copies);
    QFETCH(QList<Signature>, signatures);

    Generator gen;
    gen.setSeed(7);
    gen.resetBatch(text);
    QStringList gotCopies;
    QList<Signature> gotSignatures;
    for (int i = 0; i < copies.size(); ++i) {
        const std::optional<SpinResult> r = gen.anySpin(text, false);
        QVERIFY(r);
        gotCopies << r->text;
        gotSignatures << r->signature;
    }
    QCOMPARE(gotCopies, copies);
    QCOMPARE(gotSignatures, signatures);
    QCOMPARE(gen.idx(), int(copies.size()));
}

void GeneratorTest::randomAfterCountSmall()
{
    // From copy countSmall on every group is an independent random choice.
    const QString text = "{a|b}{c|d}";
    Generator gen;
    gen.setSeed(1);
    gen.resetBatch(text);
    gen.anySpin(text, false);
    gen.anySpin(text, false);
    QCOMPARE(gen.countSmall(), 2);
    QSet<QString> seen;
    for (int i = 0; i < 200; ++i)
        seen.insert(gen.anySpin(text, false)->text);
    QCOMPARE(seen, (QSet<QString>{"ac", "ad", "bc", "bd"}));
    QCOMPARE(gen.idx(), 202);

    // Random mode never advances the copy counter.
    gen.anySpin(text, true);
    QCOMPARE(gen.idx(), 202);
}

void GeneratorTest::countSmallFromBatchArticle()
{
    // countSmall comes from the batch's article when the generator is created,
    // not from the text being spun.
    Generator gen;
    gen.setSeed(3);
    QCOMPARE(gen.countSmall(), 2);
    gen.resetBatch("{a|b|c} x {d|e|f|g}");
    QVERIFY(!gen.hasRandom());
    QStringList copies;
    for (int i = 0; i < 3; ++i)
        copies << gen.anySpin("{p|q|r|s}", false)->text;
    QCOMPARE(gen.countSmall(), 3);
    QCOMPARE(copies, (QStringList{"p", "q", "r"}));
}

void GeneratorTest::signatureMatchesText()
{
    // Each output determines its choices, so the signature can be checked
    // against the text: a nested group's index comes before its encloser's.
    const QString text = "{{a|b}|c}-{d|{e|f} g}";
    const std::map<QString, Signature> first{{"a", {0, 0}}, {"b", {1, 0}}, {"c", {1}}};
    const std::map<QString, Signature> second{{"d", {0}}, {"e g", {0, 1}}, {"f g", {1, 1}}};
    Generator gen;
    gen.setSeed(11);
    QSet<QString> seen;
    for (int i = 0; i < 400; ++i) {
        const SpinResult r = *gen.anySpin(text, true);
        const QStringList parts = r.text.split(QLatin1Char('-'));
        QCOMPARE(parts.size(), 2);
        QVERIFY2(first.count(parts[0]) && second.count(parts[1]), qPrintable(r.text));
        QCOMPARE(r.signature, first.at(parts[0]) + second.at(parts[1]));
        seen.insert(r.text);
    }
    QCOMPARE(seen.size(), 9);
}

void GeneratorTest::randomChoiceIsUniform_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("outputs");
    QTest::newRow("simple group") << "{a|b|c|d|e}" << QStringList{"a", "b", "c", "d", "e"};
    QTest::newRow("group holding a group") << "{a|{b}|c}" << QStringList{"a", "b", "c"};
    QTest::newRow("empty alternatives are choices too") << "{|x|}" << QStringList{"", "x"};
}

void GeneratorTest::randomChoiceIsUniform()
{
    QFETCH(QString, text);
    QFETCH(QStringList, outputs);
    Generator gen;
    gen.setSeed(42);
    const int draws = 60000;
    QHash<QString, int> counts;
    for (int i = 0; i < draws; ++i)
        ++counts[gen.anySpin(text, true)->text];
    QCOMPARE(QSet<QString>(counts.keyBegin(), counts.keyEnd()),
             QSet<QString>(outputs.begin(), outputs.end()));
    const double expected = double(draws) / outputs.size();
    double chiSquare = 0;
    for (const QString &o : outputs)
        chiSquare += (counts[o] - expected) * (counts[o] - expected) / expected;
    // 99.9th percentile of chi-square with at most 4 degrees of freedom.
    QVERIFY2(chiSquare < 18.47, qPrintable(QString::number(chiSquare)));
}

void GeneratorTest::emptyAlternatives_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("outputs");
    QTest::newRow("inner empty alternative can be chosen") << "{a||b}" << QStringList{"", "a", "b"};
    QTest::newRow("trailing empty alternative never chosen") << "{a|b|}" << QStringList{"a", "b"};
    QTest::newRow("leading empty alternative") << "x{|y}" << QStringList{"x", "xy"};
    QTest::newRow("bars only: empty output") << "a{|}b" << QStringList{"ab"};
    QTest::newRow("empty group") << "a{}b" << QStringList{"ab"};
    QTest::newRow("bars only inside a nested group") << "{{||}x|y}" << QStringList{"x", "y"};
    QTest::newRow("stray closing brace and bar are text") << "a}|{b}" << QStringList{"a}|b"};
}

void GeneratorTest::emptyAlternatives()
{
    QFETCH(QString, text);
    QFETCH(QStringList, outputs);
    Generator gen;
    gen.setSeed(5);
    QSet<QString> seen;
    for (int i = 0; i < 300; ++i) {
        const std::optional<SpinResult> r = gen.anySpin(text, true);
        QVERIFY(r);
        seen.insert(r->text);
    }
    QStringList got(seen.begin(), seen.end());
    got.sort();
    QCOMPARE(got, outputs);
}

void GeneratorTest::unbalancedText()
{
    Generator gen;
    gen.setSeed(1);
    gen.resetBatch("{a|b}");
    QVERIFY(!gen.anySpin("{a|b} {c", false));
    QVERIFY(!gen.anySpin("{", true));
    QCOMPARE(gen.idx(), 0);
    QCOMPARE(gen.spinSingle("x {a|{b}", false), QString());
    QCOMPARE(gen.idx(), 0);
    // A failed call leaves no stale choices in the next copy's signature.
    QCOMPARE(gen.anySpin("{a|b}", false)->signature, Signature{0});
}

void GeneratorTest::spunMapEntries()
{
    const QString text = "a { b c } d {x {y } z}";
    Generator gen;
    gen.setSeed(1);
    const SpinResult r = *gen.anySpin(text, false, true, true);
    QCOMPARE(r.text, QString("a  b c  d x y  z"));
    SpunMap expected;
    expected.insert("b3", {2, 9, 3, 6});
    expected.insert("y12", {15, 19, 12, 13});
    expected.insert("x10", {12, 22, 10, 16});
    QCOMPARE(gen.spunMap(), expected);

    // Every recording spin starts from an empty map; others leave it alone.
    gen.anySpin("{q}", true, true, false);
    QCOMPARE(gen.spunMap(), expected);
    gen.anySpin("plain", true, true, true);
    QVERIFY(gen.spunMap().isEmpty());
}

void GeneratorTest::spunMapSharedKey()
{
    // The nested group is recorded first; its encloser starts at the same word
    // and position, so it shares the key and keeps the nested entry.
    Generator gen;
    gen.setSeed(1);
    const SpinResult r = *gen.anySpin("{{a} b|c}", false, true, true);
    QCOMPARE(r.text, QString("a b"));
    SpunMap expected;
    expected.insert("a0", {1, 4, 0, 1});
    QCOMPARE(gen.spunMap(), expected);
}

void GeneratorTest::flatSpin()
{
    // Top-level groups keep braces and bars; the groups inside are resolved as
    // outer groups, and every top-level group advances the copy counter.
    const QString text = "{a|b} x {c {d|e}|f} }";
    Generator gen;
    gen.setSeed(1);
    gen.resetBatch(text);
    QCOMPARE(gen.spinSingle(text, false), QString("{a|b} x {c e|f} }"));
    QCOMPARE(gen.idx(), 2);
    // Past countSmall the nested simple group is a random choice.
    const QString later = gen.spinSingle(text, false);
    QVERIFY2(later == "{a|b} x {c d|f} }" || later == "{a|b} x {c e|f} }", qPrintable(later));
    QCOMPARE(gen.idx(), 4);
    QCOMPARE(gen.spinSingle("no groups", true), QString("no groups"));
}

void GeneratorTest::treeOverloadMatchesText()
{
    const QString text = "{The|A} {quick|{very|rather} fast} {fox|dog}. {|{Then|And} it ran.|}";
    const std::optional<SpinTree> tree = SpinTree::parse(text);
    QVERIFY(tree);
    for (const bool random : {false, true}) {
        Generator a;
        Generator b;
        a.setSeed(99);
        b.setSeed(99);
        a.resetBatch(text);
        b.resetBatch(text);
        for (int i = 0; i < 50; ++i) {
            const SpinResult x = *a.anySpin(text, random);
            const SpinResult y = b.anySpin(*tree, random);
            QCOMPARE(y.text, x.text);
            QCOMPARE(y.signature, x.signature);
        }
        QCOMPARE(b.idx(), a.idx());
    }
}

void GeneratorTest::partByPartMatchesWhole_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("groups, nested groups, stray syntax")
        << "} a | {The|A} {quick|{very|rather} fast}|x {fox|dog}. {|{Then|And} it ran.|} z}";
    QTest::newRow("paragraphs and dropped characters")
        << "Hi. {a|b}!\n\n  \"{c|d {e|f}}\"  ?\n\t{|} {g|}   end. {h|i|j}";
    QTest::newRow("no groups") << "plain text . without groups";
    QTest::newRow("one group only") << "{a {b|c}|d}";
    QTest::newRow("empty") << "";
}

// A long article is spun, counted and measured part by part with the same results as whole.
void GeneratorTest::partByPartMatchesWhole()
{
    QFETCH(QString, text);
    const std::optional<SpinTree> whole = SpinTree::parse(text);
    QVERIFY(whole);
    for (const qsizetype partSize : {1, 3, 8, 1000}) {
        const std::optional<std::vector<qsizetype>> ends = SpinTree::topLevelParts(text, partSize);
        QVERIFY(ends);
        QCOMPARE(ends->back(), text.size());
        std::vector<SpinTree> parts;
        qsizetype start = 0;
        for (const qsizetype end : *ends) {
            QVERIFY(end > start || text.isEmpty());
            std::optional<SpinTree> part = SpinTree::parse(text.mid(start, end - start));
            QVERIFY2(part, "a part cut inside a group");
            parts.push_back(std::move(*part));
            start = end;
        }

        for (const bool random : {false, true}) {
            Generator a;
            Generator b;
            a.setSeed(7);
            b.setSeed(7);
            a.resetBatch(text);
            b.resetBatch(text);
            for (int copy = 0; copy < 12; ++copy) {
                QString pieces;
                for (const SpinTree &part : parts)
                    b.appendSpinPart(part, random, pieces);
                const SpinResult expected = a.anySpin(*whole, random);
                QCOMPARE(b.finishCopy(random), expected.signature);
                QCOMPARE(pieces, expected.text);
            }
            QCOMPARE(b.idx(), a.idx());
        }

        quint64 product = 1;
        StatusCounter counter;
        for (const SpinTree &part : parts) {
            if (part.rootGroupCount() > 0)
                product *= countCombinations<quint64>(part, CountRule::Formula);
            counter.addPart(part);
        }
        counter.addWords(text);
        QCOMPARE(text.isEmpty() ? 0 : product, cT(text));
        QCOMPARE(counter.figures(), calcUniqueness(text));
    }
    QVERIFY(!SpinTree::topLevelParts(text + QStringLiteral(" {open"), 2));
}

void GeneratorTest::seedAndState()
{
    const QString text = "{a|b|c} {d|e|f} {g|h|i} {j|k|l}";
    auto copies = [&](Generator &gen, int n) {
        QStringList out;
        for (int i = 0; i < n; ++i)
            out << gen.anySpin(text, false)->text;
        return out;
    };
    Generator gen;
    gen.setSeed(1234);
    gen.resetBatch(text);
    const QStringList run1 = copies(gen, 20);
    gen.resetBatch(text);
    QCOMPARE(copies(gen, 20), run1);
    QCOMPARE(run1.mid(0, 3), (QStringList{"a d g j", "b e h k", "c f i l"}));

    // The posting feature's title copy: a fresh generator, then the old one back.
    gen.resetBatch(text);
    copies(gen, 5);
    const Generator::State saved = gen.saveState();
    const QStringList continued = copies(gen, 10);
    gen.restoreState(saved);
    gen.resetBatch("{x|y}");
    QCOMPARE(gen.anySpin("{x|y}", false)->text, QString("x"));
    gen.restoreState(saved);
    QCOMPARE(gen.idx(), 5);
    QCOMPARE(copies(gen, 10), continued);
}

void GeneratorTest::distinctCopies_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("random");
    QTest::addColumn<int>("distinct"); // copies that must all differ

    QTest::newRow("sequential product") << "{a|b}{c|d}" << false << 4;
    QTest::newRow("random product") << "{a|b}{c|d}{e|f|g}" << true << 12;
    QTest::newRow("trailing empty alternative is not waited for") << "{a|b|}" << false << 2;
    QTest::newRow("nested sums") << "{a|{b|c}|{d|{e|f}}}" << true << 6;
    QTest::newRow("empty first alternative with a nested group") << "{|{a|b}}" << true << 3;
}

void GeneratorTest::distinctCopies()
{
    QFETCH(QString, text);
    QFETCH(bool, random);
    QFETCH(int, distinct);
    const std::optional<SpinTree> tree = SpinTree::parse(text);
    QVERIFY(tree);
    QCOMPARE(reachableCombinations(text), quint64(distinct));
    Generator gen;
    gen.setSeed(2);
    gen.resetBatch(text);
    DistinctSpinner spinner(gen, *tree, reachableCombinations(text));
    QSet<Signature> signatures;
    for (int i = 0; i < distinct; ++i)
        signatures.insert(spinner.next(random).signature);
    QCOMPARE(signatures.size(), qsizetype(distinct));
    // Past the reachable count copies come as they are, without waiting.
    for (int i = 0; i < 20; ++i)
        spinner.next(random);
    QCOMPARE(spinner.usedCount(), qsizetype(distinct));
}

void GeneratorTest::distinctCopiesGiveUpOnUnreachableCombinations()
{
    // 41 combinations, the last two with probability 2^-40 each in random mode: asking for
    // all of them must end (after the attempt limit) instead of searching for ever.
    QString text = QStringLiteral("x");
    for (int i = 0; i < 40; ++i)
        text = QStringLiteral("{a|%1}").arg(text);
    const std::optional<SpinTree> tree = SpinTree::parse(text);
    QVERIFY(tree);
    QCOMPARE(reachableCombinations(text), quint64(41));
    Generator gen;
    gen.setSeed(5);
    gen.resetBatch(text);
    DistinctSpinner spinner(gen, *tree, reachableCombinations(text));
    QSet<Signature> signatures;
    for (int i = 0; i < 41; ++i)
        signatures.insert(spinner.next(true).signature);
    QVERIFY(signatures.size() >= 10);
    QVERIFY(signatures.size() < 41);
}

void GeneratorTest::deepNesting()
{
    const int depth = 100000;
    const QString text = deepText(depth);
    Generator gen;
    gen.setSeed(9);
    gen.resetBatch(text);
    const SpinResult first = *gen.anySpin(text, false);
    QCOMPARE(first.text, QString("a"));
    QCOMPARE(first.signature, Signature{0});
    // Copy 1 takes every second alternative down to the innermost group,
    // which holds no group and is therefore a random choice.
    const SpinResult second = *gen.anySpin(text, false);
    QCOMPARE(second.signature.mid(1), Signature(depth - 1, 1));
    QCOMPARE(second.text, second.signature.at(0) == 0 ? QString("a") : QString("b"));
    QVERIFY(gen.anySpin(text, true));
    QCOMPARE(gen.spinSingle(text, false), QString("{a|a}")); // copy 2: first alternatives

    QCOMPARE(anySpin2(text), QString("a"));
    QCOMPARE(makeFlat(text), QString("{a|a}"));
    QCOMPARE(removeOriginalWord(text), QString("b"));
    QCOMPARE(cT(text), quint64(depth + 1));
    QCOMPARE(reachableCombinations(text), quint64(depth + 1));
    QCOMPARE(countSmall(text), depth + 1);
    QVERIFY(calcUniqueness(text));

    const QString open(depth, QLatin1Char('{'));
    QVERIFY(!gen.anySpin(open, false));
    QVERIFY(!anySpin2(open));
    QCOMPARE(makeFlat(open), QString());
    QCOMPARE(removeOriginalWord(open), open);
    QVERIFY(!calcUniqueness(open));
}

void GeneratorTest::manySiblings()
{
    const QString text = QString("{a|b} ").repeated(50000);
    Generator gen;
    gen.setSeed(4);
    gen.resetBatch(text);
    const SpinResult r = *gen.anySpin(text, false);
    QCOMPARE(r.text, QString("a ").repeated(50000));
    QCOMPARE(r.signature, Signature(50000, 0));
    QCOMPARE(cT(text), ~quint64(0));
    QCOMPARE(reachableCombinations(text), ~quint64(0));
    QCOMPARE(removeOriginalWord(text), QString("b ").repeated(50000));
}

REWORDIX_TEST_GUILESS_MAIN(GeneratorTest)
#include "generator_test.moc"
