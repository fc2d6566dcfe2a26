// spin: copies made the way bulk export makes them. The generator is reset
// (copy counter 0, random generator absent) and every copy is a top-level
// sequential spin, so the first copies read every first alternative, then
// every second one, and so on; --random makes every choice random.

#include "cliio.h"
#include "commandline.h"
#include "commands.h"

#include "spintax/combinationcount.h"
#include "spintax/distinctspinner.h"
#include "spintax/generator.h"
#include "spintax/spintree.h"

namespace cli {

int runSpin(const QStringList &args)
{
    CommandLine commandLine(
        "spin",
        {option("copies", "Number of copies (default 1).", "N"),
         option("random", "Every choice random, from the first copy on."),
         option("distinct", "No copy repeats an earlier one while unused combinations "
                            "remain."),
         option("seed", "Seed of the random choices, for copies that can be made again.", "S"),
         option("0", "Ends every copy with a NUL byte instead of a line feed.")});
    if (const std::optional<int> done = commandLine.parse(args))
        return *done;
    qint64 copies = 1;
    std::optional<quint64> seed;
    if (!commandLine.wholeNumber(QStringLiteral("copies"), copies) ||
        !commandLine.wholeNumber(QStringLiteral("seed"), seed))
        return UsageError;
    const bool random = commandLine.isSet(QStringLiteral("random"));
    const bool distinct = commandLine.isSet(QStringLiteral("distinct"));
    const bool nul = commandLine.isSet(QStringLiteral("0"));

    std::optional<QString> text = readInput(commandLine.argument());
    if (!text)
        return UsageError;
    // Bulk export spins the article trimmed.
    const QString article = std::move(*text).trimmed(); // in place: inputs may be large
    const std::optional<spintax::SpinTree> tree = spintax::SpinTree::parse(article);
    if (!tree)
        return unbalancedText();

    spintax::Generator generator;
    generator.setSeed(seed);
    generator.resetBatch(article);
    std::optional<spintax::DistinctSpinner> spinner;
    if (distinct)
        spinner.emplace(generator, *tree,
                        spintax::countCombinations<quint64>(*tree, spintax::CountRule::Reachable));

    Output out;
    const char separator = nul ? '\0' : '\n';
    for (qint64 k = 0; k < copies; ++k) {
        const spintax::SpinResult copy =
            spinner ? spinner->next(random) : generator.anySpin(*tree, random);
        out.append(copy.text);
        out.appendByte(separator);
    }
    return out.finish();
}

} // namespace cli
