// auto-select: the article with every word and phrase that has synonyms wrapped in a spin group,
// as the "Auto Select Synonyms" dialog and "Replace everyone's favorites" write it, from the
// working folder's synonym store and the user's protected terms.

#include "cliio.h"
#include "clistore.h"
#include "commandline.h"
#include "commands.h"

#include "selection/autoselect.h"
#include "synonyms/protectedterms.h"
#include "synonyms/synonymstore.h"

namespace cli {
namespace {

std::optional<int> listLevel(const QString &text)
{
    bool ok = false;
    const int level = text.trimmed().toInt(&ok);
    if (!ok || level < selection::AllFavourites || level > selection::AllLists)
        return std::nullopt;
    return level;
}

} // namespace

int runAutoSelect(const QStringList &args)
{
    CommandLine commandLine(
        "auto-select",
        {option("lang", "Language of the synonym store (default: the editor's).", "CODE"),
         option("max-syn", "Most synonyms per group (default 5).", "N"),
         option("level",
                "Lists consulted: 0 all favourites, 1 best and better, 2 best, 3 none, 4 all "
                "lists (default).",
                "L"),
         option("no-keep", "Leave the phrase itself out of its group."),
         option("number-one", "Take at most the first synonym of each favourites list."),
         option("passes",
                "Run one pass per level, each on the previous result (--level is then not "
                "used).",
                "L1,L2,...")});
    if (const std::optional<int> done = commandLine.parse(args))
        return *done;
    const std::optional<QString> lang = chosenLanguage(commandLine);
    if (!lang)
        return UsageError;

    selection::AutoSelectOptions options;
    options.max2 = 5;
    if (!commandLine.wholeNumber(QStringLiteral("max-syn"), options.max2))
        return UsageError;
    QList<int> levels;
    if (commandLine.isSet(QStringLiteral("passes"))) {
        const QString passes = commandLine.value(QStringLiteral("passes"));
        for (const QString &part : passes.split(u',')) {
            const std::optional<int> l = listLevel(part);
            if (!l)
                return commandLine.usageError(
                    QStringLiteral("--passes needs levels 0 to 4 separated by commas, not '%1'")
                        .arg(passes));
            levels.append(*l);
        }
    } else {
        const QString level = commandLine.isSet(QStringLiteral("level"))
                                  ? commandLine.value(QStringLiteral("level"))
                                  : QStringLiteral("4");
        const std::optional<int> l = listLevel(level);
        if (!l)
            return commandLine.usageError(
                QStringLiteral("--level needs a level 0 to 4, not '%1'").arg(level));
        levels.append(*l);
    }
    options.keep = !commandLine.isSet(QStringLiteral("no-keep"));
    options.numberOne = commandLine.isSet(QStringLiteral("number-one"));

    std::optional<QString> text = readInput(commandLine.argument());
    if (!text)
        return UsageError;
    LoadedStore loaded(*lang);
    options.max = loaded.store().maxPhraseWord;
    // The result, several times the input's size, is printed as it is made. Line feeds at its
    // end become exactly one, so a run of them is held back until more text follows.
    Output out;
    qsizetype heldLineFeeds = 0;
    auto write = [&out, &heldLineFeeds](QStringView piece) {
        qsizetype keep = piece.size();
        while (keep > 0 && piece[keep - 1] == u'\n')
            --keep;
        if (keep > 0) {
            for (; heldLineFeeds > 0; --heldLineFeeds)
                out.appendByte('\n');
            out.append(piece.first(keep));
        }
        heldLineFeeds += piece.size() - keep;
    };
    if (!selection::autoSelectPassesTo(*text, selection::SynonymLists::of(loaded.store()),
                                       loaded.protectedTerms().protectedSet(), levels, options,
                                       write))
        return unbalancedText();
    out.appendByte('\n');
    return out.finish();
}

} // namespace cli
