#include "generatorcopysource.h"

#include "combinationcount.h"
#include "generator.h"

#include <cmath>
#include <vector>

namespace spintax {

GeneratorCopySource::GeneratorCopySource(Generator &generator, const QString &article)
    : generator(generator), previousArticle(generator.saveState().article), article(article),
      tree(SpinTree::parse(article)),
      // From the tree already made: reachableCombinations(article) would parse the article
      // into a second tree, which for a long article is several times its size.
      combinations(tree ? countCombinations<quint64>(*tree, CountRule::Reachable) : 0),
      limit(tree ? attemptLimitFor(*tree) : 1)
{
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
    if (!tree)
        return std::nullopt;
    SpinResult r = generator.anySpin(*tree, false);
    return Copy{std::move(r.text), std::move(r.signature)};
}

quint64 GeneratorCopySource::attemptLimitFor(const SpinTree &tree)
{
    // In random mode every group picks uniformly among its pieces, so the least likely
    // combination has probability e^-cost, where cost sums ln(pieces) along the most
    // expensive path. Groups are numbered in the order of their "{": walking them backwards
    // meets every nested group before the group around it.
    const std::vector<SpinTree::Group> &groups = tree.groups();
    std::vector<double> cost(groups.size(), 0.0);
    auto costOfItems = [&](std::span<const SpinTree::Item> items) {
        double c = 0;
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
            worst = std::max(worst, costOfItems(tree.items(alt)));
        cost[g] = std::log(double(group.alternativeCount)) + worst;
    }
    const double total = costOfItems(tree.rootItems());

    constexpr double floorAttempts = 10'000;
    constexpr double capAttempts = 10'000'000;
    // 30 / p draws miss a combination of probability p with probability e^-30.
    const double logAttempts = std::log(30.0) + total;
    if (logAttempts >= std::log(capAttempts))
        return quint64(capAttempts);
    return quint64(std::max(floorAttempts, std::ceil(std::exp(logAttempts))));
}

} // namespace spintax
