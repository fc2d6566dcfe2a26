#include "distinctspinner.h"

#include "generatorcopysource.h"
#include "spintree.h"

namespace spintax {

DistinctSpinner::DistinctSpinner(Generator &generator, const SpinTree &tree, quint64 reachable)
    : generator(generator), tree(tree), reachable(reachable),
      attemptLimit(GeneratorCopySource::attemptLimitFor(tree))
{
}

std::pair<quint64, quint64> DistinctSpinner::fingerprint(const QList<int> &signature)
{
    // Two independent multiply-xorshift streams over the indices and the
    // length; 128 bits make an accidental collision negligible, and one would
    // only cost an extra regeneration.
    quint64 a = 0x243f6a8885a308d3ULL ^ quint64(signature.size());
    quint64 b = 0x13198a2e03707344ULL + quint64(signature.size());
    for (const int v : signature) {
        const quint64 x = quint64(quint32(v)) + 1;
        a = (a ^ x) * 0x9e3779b97f4a7c15ULL;
        a ^= a >> 29;
        b = (b + x) * 0xc2b2ae3d27d4eb4fULL;
        b ^= b >> 31;
    }
    a = (a ^ (a >> 33)) * 0xff51afd7ed558ccdULL;
    b = (b ^ (b >> 33)) * 0xc4ceb9fe1a85ec53ULL;
    return {a ^ (a >> 33), b ^ (b >> 33)};
}

SpinResult DistinctSpinner::next(bool random)
{
    if (givenUp || quint64(used.size()) >= reachable)
        return generator.anySpin(tree, random);
    for (quint64 attempt = 1;; ++attempt) {
        SpinResult copy = generator.anySpin(tree, random);
        if (used.insert(fingerprint(copy.signature)).second)
            return copy;
        // The combinations left are practically unreachable (or the count is saturated):
        // take copies as they come instead of searching forever.
        if (attempt >= attemptLimit) {
            givenUp = true;
            return copy;
        }
    }
}

} // namespace spintax
