// stats: the five status bar texts, one a line.

#include "cliio.h"
#include "commandline.h"
#include "commands.h"

#include "spintax/generator.h"
#include "spintax/spintree.h"

namespace cli {

int runStats(const QStringList &args)
{
    CommandLine commandLine("stats", {});
    if (const std::optional<int> done = commandLine.parse(args))
        return *done;
    const std::optional<QString> text = readInput(commandLine.argument());
    if (!text)
        return UsageError;
    const std::optional<std::vector<qsizetype>> parts =
        spintax::SpinTree::topLevelParts(*text, partSize);
    if (!parts)
        return unbalancedText();
    // Part by part, so that one part's tree and flat text exist at a time.
    spintax::StatusCounter counter;
    qsizetype start = 0;
    for (const qsizetype end : *parts) {
        counter.addPart(*spintax::SpinTree::parse(text->mid(start, end - start)));
        start = end;
    }
    counter.addWords(*text);
    const std::optional<spintax::StatusFigures> f = counter.figures();
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
