// count: the number of distinct copies, exact at any size. The same counting
// walk as the editor's 64-bit count, run on GMP integers.

#include "cliio.h"
#include "commandline.h"
#include "commands.h"

#include "spintax/combinationcount.h"
#include "spintax/spintree.h"

#include <gmpxx.h>

namespace cli {

int runCount(const QStringList &args)
{
    CommandLine commandLine("count", {});
    if (const std::optional<int> done = commandLine.parse(args))
        return *done;
    const std::optional<QString> text = readInput(commandLine.argument());
    if (!text)
        return UsageError;
    const std::optional<spintax::SpinTree> tree = spintax::SpinTree::parse(*text);
    if (!tree)
        return unbalancedText();
    const mpz_class count =
        spintax::countCombinations<mpz_class>(*tree, spintax::CountRule::Formula);
    Output out;
    out.append(QString::fromLatin1(count.get_str(10)));
    out.appendByte('\n');
    return out.finish();
}

} // namespace cli
