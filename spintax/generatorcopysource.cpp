#include "generatorcopysource.h"

#include "combinationcount.h"
#include "generator.h"

#include <algorithm>
#include <cmath>
#include <span>
#include <vector>

namespace spintax {

namespace {

// Adds the cost of the least likely combination of a tree's top level to `total`: in random mode
// every group picks uniformly among its pieces, so that combination has probability e^-cost,
// where cost sums ln(pieces) along the most expensive path. The parts of an article added one
// after the other give the whole article's sum, added up in the same order.
double addLeastLikelyCost(const SpinTree &tree, double total)
{
    // Groups are numbered in the order of their "{": walking them backwards meets every nested
    // group before the group around it.
    const std::vector<SpinTree::Group> &groups = tree.groups();
    std::vector<double> cost(groups.size(), 0.0);
    auto costOfItems = [&](std::span<const SpinTree::Item> items, double c) {
        for (const SpinTree::Item &item : items)
            if (item.isGroup())
                c += cost[size_t(item.group)];
        return c;
    };
    for (size_t g = groups.size(); g-- > 0;) {
        const SpinTree::Group &group = groups[g];
        if (group.simple) {
            cost[g] = group.simpleCount > 1 ? std::log(double(group.simpleCount)) : 0.0;
            continue;
        }
        double worst = 0;
        for (const SpinTree::Alternative &alt : tree.alternatives(group))
            worst = std::max(worst, costOfItems(tree.items(alt), 0.0));
        cost[g] = std::log(double(group.alternativeCount)) + worst;
    }
    return costOfItems(tree.rootItems(), total);
}

quint64 attemptLimitForCost(double total)
{
    constexpr double floorAttempts = 10'000;
    constexpr double capAttempts = 10'000'000;
    // 30 / p draws miss a combination of probability p with probability e^-30.
    const double logAttempts = std::log(30.0) + total;
    if (logAttempts >= std::log(capAttempts))
        return quint64(capAttempts);
    return quint64(std::max(floorAttempts, std::ceil(std::exp(logAttempts))));
}

} // namespace

GeneratorCopySource::GeneratorCopySource(Generator &generator, const QString &article,
                                         qsizetype partSize)
    : generator(generator), previousArticle(generator.saveState().article), article(article),
      partEnds(SpinTree::topLevelParts(article, partSize))
{
    if (!partEnds)
        return;
    if (partEnds->size() == 1) {
        tree = SpinTree::parse(article);
        combinations = countCombinations<quint64>(*tree, CountRule::Reachable);
        limit = attemptLimitFor(*tree);
        return;
    }
    // The reachable count is the product of the top-level groups' counts, so of the parts'.
    combinations = 1;
    double cost = 0;
    qsizetype start = 0;
    for (const qsizetype end : *partEnds) {
        const std::optional<SpinTree> part = SpinTree::parse(article.mid(start, end - start));
        CountArithmetic<quint64>::multiply(combinations,
                                           countCombinations<quint64>(*part, CountRule::Reachable));
        cost = addLeastLikelyCost(*part, cost);
        start = end;
    }
    limit = attemptLimitForCost(cost);
}

GeneratorCopySource::~GeneratorCopySource()
{
    Generator::State state = generator.saveState();
    state.article = previousArticle;
    generator.restoreState(state);
}

void GeneratorCopySource::reset()
{
    generator.resetBatch(article);
}

std::optional<CopySource::Copy> GeneratorCopySource::next()
{
    if (!partEnds)
        return std::nullopt;
    if (tree) {
        SpinResult r = generator.anySpin(*tree, false);
        return Copy{std::move(r.text), std::move(r.signature)};
    }
    struct Whole final : CopyReceiver
    {
        void restart() override { text.clear(); }
        void append(QStringView piece) override { text += piece; }
        QString text;
    } whole;
    std::optional<QList<int>> signature = nextInto(whole);
    return Copy{std::move(whole.text), std::move(*signature)};
}

std::optional<QList<int>> GeneratorCopySource::nextInto(CopyReceiver &receiver)
{
    if (!partEnds)
        return std::nullopt;
    if (tree)
        return CopySource::nextInto(receiver);
    QString piece;
    qsizetype start = 0;
    for (const qsizetype end : *partEnds) {
        const std::optional<SpinTree> part = SpinTree::parse(article.mid(start, end - start));
        piece.truncate(0);
        generator.appendSpinPart(*part, false, piece);
        receiver.append(piece);
        start = end;
    }
    return generator.finishCopy(false);
}

quint64 GeneratorCopySource::attemptLimitFor(const SpinTree &tree)
{
    return attemptLimitForCost(addLeastLikelyCost(tree, 0.0));
}

} // namespace spintax
