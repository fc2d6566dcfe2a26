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
    const std::optional<std::vector<qsizetype>> parts =
        spintax::SpinTree::topLevelParts(article, partSize);
    if (!parts)
        return unbalancedText();

    spintax::Generator generator;
    generator.setSeed(seed);
    generator.resetBatch(article);
    Output out;
    const char separator = nul ? '\0' : '\n';

    if (distinct) {
        // Telling copies apart needs the signatures of the whole article.
        const std::optional<spintax::SpinTree> tree = spintax::SpinTree::parse(article);
        spintax::DistinctSpinner spinner(
            generator, *tree,
            spintax::countCombinations<quint64>(*tree, spintax::CountRule::Reachable));
        for (qint64 k = 0; k < copies; ++k) {
            out.append(spinner.next(random).text);
            out.appendByte(separator);
        }
        return out.finish();
    }

    // Part by part: only one part's tree and output exist at a time, so a long article needs
    // little memory beyond its own text. An article of one part is parsed once for all copies.
    std::optional<spintax::SpinTree> single;
    if (parts->size() == 1)
        single = spintax::SpinTree::parse(article);
    QString piece;
    for (qint64 k = 0; k < copies; ++k) {
        qsizetype start = 0;
        for (const qsizetype end : *parts) {
            std::optional<spintax::SpinTree> partTree;
            if (!single)
                partTree = spintax::SpinTree::parse(article.mid(start, end - start));
            piece.truncate(0);
            generator.appendSpinPart(single ? *single : *partTree, random, piece);
            out.append(piece);
            start = end;
        }
        generator.finishCopy(random);
        out.appendByte(separator);
    }
    return out.finish();
}

} // namespace cli
