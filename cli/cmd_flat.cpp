// flat: top-level groups keep their braces and bars, every group inside them
// becomes its first-alternative reading. The result is written as it is.

#include "cliio.h"
#include "commandline.h"
#include "commands.h"

#include "spintax/generator.h"
#include "spintax/spintree.h"

namespace cli {

int runFlat(const QStringList &args)
{
    CommandLine commandLine("flat", {});
    if (const std::optional<int> done = commandLine.parse(args))
        return *done;
    const std::optional<QString> text = readInput(commandLine.argument());
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
