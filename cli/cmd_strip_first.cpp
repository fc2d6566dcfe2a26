// strip-first: "Remove Original Word" on the whole input. A `{` without
// partner is left in place, as the editor's edit does, so unbalanced text is
// no error here.

#include "cliio.h"
#include "commandline.h"
#include "commands.h"

#include "spintax/generator.h"

namespace cli {

int runStripFirst(const QStringList &args)
{
    CommandLine commandLine("strip-first", {});
    if (const std::optional<int> done = commandLine.parse(args))
        return *done;
    const std::optional<QString> text = readInput(commandLine.argument());
    if (!text)
        return UsageError;
    Output out;
    out.append(spintax::removeOriginalWord(*text));
    return out.finish();
}

} // namespace cli
