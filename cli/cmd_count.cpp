// count: the number of distinct copies, exact at any size. The same counting
// walk as the editor's 64-bit count, run on GMP integers.

#include "cliio.h"
#include "commands.h"

#include "spintax/combinationcount.h"
#include "spintax/spintree.h"

#include <gmpxx.h>

namespace cli {

int runCount(const QStringList &args)
{
    const std::optional<QString> name = singleInputArgument("count", args);
    if (!name)
        return UsageError;
    const std::optional<QString> text = readInput(*name);
    if (!text)
        return UsageError;
    const std::optional<spintax::SpinTree> tree = spintax::SpinTree::parse(*text);
    if (!tree)
        return unbalancedText();
    const mpz_class count = spintax::countCombinations<mpz_class>(*tree, spintax::CountRule::Formula);
    Output out;
    out.append(QString::fromLatin1(count.get_str(10)));
    out.appendByte('\n');
    return out.finish();
}

} // namespace cli
