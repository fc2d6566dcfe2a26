// auto-select: the article with every word and phrase that has synonyms wrapped in a spin group,
// as the "Auto Select Synonyms" dialog and "Replace everyone's favorites" write it, from the
// working folder's synonym store and the user's protected terms.

#include "cliio.h"
#include "clistore.h"
#include "commands.h"

#include "selection/autoselect.h"
#include "synonyms/protectedterms.h"
#include "synonyms/synonymstore.h"

namespace cli {
namespace {

constexpr const char synopsis[] = "[--lang CODE] [--max-syn N] [--level L] [--no-keep] "
                                  "[--number-one] [--passes L1,L2,...] FILE";

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
    QCommandLineParser parser;
    const QCommandLineOption maxSyn(QStringLiteral("max-syn"),
                                    QStringLiteral("Most synonyms per group (default 5)."),
                                    QStringLiteral("N"), QStringLiteral("5"));
    const QCommandLineOption level(QStringLiteral("level"),
                                   QStringLiteral("Lists consulted: 0 all favourites, 1 best and "
                                                  "better, 2 best, 3 none, 4 all lists "
                                                  "(default)."),
                                   QStringLiteral("L"), QStringLiteral("4"));
    const QCommandLineOption noKeep(QStringLiteral("no-keep"),
                                    QStringLiteral("Leave the phrase itself out of its group."));
    const QCommandLineOption numberOne(
        QStringLiteral("number-one"),
        QStringLiteral("Take at most the first synonym of each favourites list."));
    const QCommandLineOption passes(
        QStringLiteral("passes"),
        QStringLiteral("Run one pass per level, each on the previous result (--level is then "
                       "not used)."),
        QStringLiteral("L1,L2,..."));
    parser.addOptions({languageOption(), maxSyn, level, noKeep, numberOne, passes});
    const std::optional<QString> file = parseFileArguments(parser, "auto-select", synopsis, args);
    if (!file)
        return UsageError;
    const std::optional<QString> lang = chosenLanguage(parser, synopsis);
    if (!lang)
        return UsageError;

    selection::AutoSelectOptions options;
    bool ok = false;
    options.max2 = parser.value(maxSyn).toInt(&ok);
    if (!ok || options.max2 < 0)
        return usageError(QStringLiteral("--max-syn needs a whole number >= 0, not '%1'")
                              .arg(parser.value(maxSyn)));
    QList<int> levels;
    if (parser.isSet(passes)) {
        for (const QString &part : parser.value(passes).split(u',')) {
            const std::optional<int> l = listLevel(part);
            if (!l)
                return usageError(
                    QStringLiteral("--passes needs levels 0 to 4 separated by commas, not '%1'")
                        .arg(parser.value(passes)));
            levels.append(*l);
        }
    } else {
        const std::optional<int> l = listLevel(parser.value(level));
        if (!l)
            return usageError(
                QStringLiteral("--level needs a level 0 to 4, not '%1'").arg(parser.value(level)));
        levels.append(*l);
    }
    options.keep = !parser.isSet(noKeep);
    options.numberOne = parser.isSet(numberOne);

    const std::optional<QString> text = readInput(*file);
    if (!text)
        return UsageError;
    LoadedStore loaded(*lang);
    options.max = loaded.store().maxPhraseWord;
    const std::optional<QString> result =
        selection::autoSelectPasses(*text, selection::SynonymLists::of(loaded.store()),
                                    loaded.protectedTerms().protectedSet(), levels, options);
    if (!result)
        return unbalancedText();
    Output out;
    out.append(withOneLineFeed(*result));
    return out.finish();
}

} // namespace cli
