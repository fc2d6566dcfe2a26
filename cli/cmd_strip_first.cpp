// strip-first: "Remove Original Word" on the whole input. A `{` without
// partner is left in place, as the editor's edit does, so unbalanced text is
// no error here.

#include "cliio.h"
#include "commands.h"

#include "spintax/generator.h"

namespace cli {

int runStripFirst(const QStringList &args)
{
    const std::optional<QString> name = singleInputArgument("strip-first", args);
    if (!name)
        return UsageError;
    const std::optional<QString> text = readInput(*name);
    if (!text)
        return UsageError;
    Output out;
    out.append(spintax::removeOriginalWord(*text));
    return out.finish();
}

} // namespace cli
