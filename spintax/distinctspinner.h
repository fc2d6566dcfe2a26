#pragma once

#include "generator.h"

#include <unordered_set>
#include <utility>

namespace spintax {

class SpinTree;

// Bulk generation's rule for distinct copies: while fewer signatures have been
// used than the generator can reach, a copy whose signature was produced
// before is generated again until it is new; after that copies are taken as
// they come. Used signatures are kept as 128-bit fingerprints in a hash set,
// so memory stays at 16 bytes a copy however large the article is.
class DistinctSpinner final
{
public:
    // `reachable` is countCombinations(tree, CountRule::Reachable).
    DistinctSpinner(Generator &generator, const SpinTree &tree, quint64 reachable);

    SpinResult next(bool random);
    qsizetype usedCount() const { return used.size(); }

    static std::pair<quint64, quint64> fingerprint(const QList<int> &signature);

private:
    struct FingerprintHash
    {
        size_t operator()(const std::pair<quint64, quint64> &f) const noexcept
        {
            return size_t(f.first ^ (f.second * 0x9e3779b97f4a7c15ULL));
        }
    };

    Generator &generator;
    const SpinTree &tree;
    quint64 reachable;
    // Draws spent on one copy before the rest of the combinations count as unreachable.
    quint64 attemptLimit;
    bool givenUp = false;
    std::unordered_set<std::pair<quint64, quint64>, FingerprintHash> used;
};

} // namespace spintax
