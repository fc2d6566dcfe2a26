// flat: top-level groups keep their braces and bars, every group inside them
// becomes its first-alternative reading. The result is written as it is.

#include "cliio.h"
#include "commands.h"

#include "spintax/generator.h"
#include "spintax/spintree.h"

namespace cli {

int runFlat(const QStringList &args)
{
    const std::optional<QString> name = singleInputArgument("flat", args);
    if (!name)
        return UsageError;
    const std::optional<QString> text = readInput(*name);
    if (!text)
        return UsageError;
    // makeFlat gives the empty string for unbalanced text; the command says
    // so instead of printing nothing.
    if (!spintax::SpinTree::parse(*text))
        return unbalancedText();
    Output out;
    out.append(spintax::makeFlat(*text));
    return out.finish();
}

} // namespace cli
