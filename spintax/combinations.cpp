#include "combinationcount.h"
#include "generator.h"
#include "readings_p.h"
#include "spintree.h"

namespace spintax {

quint64 cT(const QString &text)
{
    const SpinTree *tree = parseReusable(text);
    return tree ? countCombinations<quint64>(*tree, CountRule::Formula) : 0;
}

quint64 reachableCombinations(const QString &text)
{
    const SpinTree *tree = parseReusable(text);
    return tree ? countCombinations<quint64>(*tree, CountRule::Reachable) : 0;
}

} // namespace spintax
