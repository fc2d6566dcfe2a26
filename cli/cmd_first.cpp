// first: every group replaced by its first alternative, runs of spaces made one.

#include "cliio.h"
#include "commandline.h"
#include "commands.h"

#include "spintax/generator.h"

namespace cli {

int runFirst(const QStringList &args)
{
    CommandLine commandLine("first", {});
    if (const std::optional<int> done = commandLine.parse(args))
        return *done;
    const std::optional<QString> text = readInput(commandLine.argument());
    if (!text)
        return UsageError;
    const std::optional<QString> reading = spintax::anySpin2(*text, true);
    if (!reading)
        return unbalancedText();
    Output out;
    out.append(*reading);
    return out.finish();
}

} // namespace cli
