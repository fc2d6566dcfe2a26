// spin: copies made the way bulk export makes them. The generator is reset
// (copy counter 0, random generator absent) and every copy is a top-level
// sequential spin, so the first copies read every first alternative, then
// every second one, and so on; --random makes every choice random.

#include "cliio.h"
#include "commands.h"

#include "spintax/combinationcount.h"
#include "spintax/distinctspinner.h"
#include "spintax/generator.h"
#include "spintax/spintree.h"

namespace cli {

int runSpin(const QStringList &args)
{
    qint64 copies = 1;
    bool random = false;
    bool distinct = false;
    bool nul = false;
    std::optional<quint64> seed;
    QString input;
    bool haveInput = false;

    for (qsizetype i = 0; i < args.size(); ++i) {
        QString arg = args[i];
        QString value;
        const qsizetype eq = arg.indexOf(QLatin1Char('='));
        const bool takesValue = arg.startsWith(QLatin1String("--copies"))
                                || arg.startsWith(QLatin1String("--seed"));
        if (takesValue && eq > 0) {
            value = arg.mid(eq + 1);
            arg.truncate(eq);
        } else if (takesValue && (arg == QLatin1String("--copies") || arg == QLatin1String("--seed"))) {
            if (i + 1 >= args.size())
                return usageError(QStringLiteral("%1 needs a value").arg(arg));
            value = args[++i];
        }
        bool ok = true;
        if (arg == QLatin1String("--copies")) {
            copies = value.toLongLong(&ok);
            if (!ok || copies < 0)
                return usageError(QStringLiteral("--copies needs a whole number >= 0, not '%1'").arg(value));
        } else if (arg == QLatin1String("--seed")) {
            seed = value.toULongLong(&ok);
            if (!ok)
                return usageError(QStringLiteral("--seed needs a whole number >= 0, not '%1'").arg(value));
        } else if (arg == QLatin1String("--random")) {
            random = true;
        } else if (arg == QLatin1String("--distinct")) {
            distinct = true;
        } else if (arg == QLatin1String("-0")) {
            nul = true;
        } else if (arg.startsWith(QLatin1Char('-')) && arg != QLatin1String("-")) {
            return usageError(QStringLiteral("spin: unknown option '%1'").arg(arg));
        } else if (haveInput) {
            return usageError(QStringLiteral("spin takes one FILE, got '%1' too").arg(arg));
        } else {
            input = arg;
            haveInput = true;
        }
    }
    if (!haveInput)
        return usageError(QStringLiteral("usage: rewordix-cli spin [--copies N] [--random] "
                                         "[--distinct] [--seed S] [-0] FILE"));

    const std::optional<QString> text = readInput(input);
    if (!text)
        return UsageError;
    // Bulk export spins the article trimmed.
    const QString article = text->trimmed();
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
