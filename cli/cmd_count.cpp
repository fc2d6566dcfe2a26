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
    const std::optional<std::vector<qsizetype>> parts =
        spintax::SpinTree::topLevelParts(*text, partSize);
    if (!parts)
        return unbalancedText();
    // The count is the product of the top-level groups' counts, so it is the product of the
    // parts' counts; one part's tree and numbers exist at a time. The empty text counts 0.
    std::vector<mpz_class> factors;
    qsizetype start = 0;
    for (const qsizetype end : *parts) {
        const std::optional<spintax::SpinTree> tree =
            spintax::SpinTree::parse(text->mid(start, end - start));
        if (tree->rootGroupCount() > 0)
            factors.push_back(
                spintax::countCombinations<mpz_class>(*tree, spintax::CountRule::Formula));
        start = end;
    }
    const mpz_class count =
        text->isEmpty() ? mpz_class(0) : spintax::detail::balancedProduct(factors);
    Output out;
    out.append(QString::fromLatin1(count.get_str(10)));
    out.appendByte('\n');
    return out.finish();
}

} // namespace cli
