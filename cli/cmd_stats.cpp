// stats: the five status bar texts, one a line.

#include "cliio.h"
#include "commandline.h"
#include "commands.h"

#include "spintax/generator.h"

namespace cli {

int runStats(const QStringList &args)
{
    CommandLine commandLine("stats", {});
    if (const std::optional<int> done = commandLine.parse(args))
        return *done;
    const std::optional<QString> text = readInput(commandLine.argument());
    if (!text)
        return UsageError;
    const std::optional<spintax::StatusFigures> f = spintax::calcUniqueness(*text);
    if (!f)
        return unbalancedText();
    Output out;
    for (const QString &line :
         {f->spunWords, f->totalWords, f->unique, f->quality, f->paragraphs}) {
        out.append(line);
        out.appendByte('\n');
    }
    return out.finish();
}

} // namespace cli
