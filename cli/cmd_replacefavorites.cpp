// replace-favorites: the article after "Replace my favorites": every lower-case occurrence of a
// word with user favourites in the working folder's store becomes a group of the word and its
// favourites.

#include "cliio.h"
#include "clistore.h"
#include "commands.h"

#include "selection/favouritesexchange.h"
#include "synonyms/synonymstore.h"

namespace cli {

int runReplaceFavorites(const QStringList &args)
{
    constexpr const char synopsis[] = "[--lang CODE] FILE";
    QCommandLineParser parser;
    parser.addOption(languageOption());
    const std::optional<QString> file =
        parseFileArguments(parser, "replace-favorites", synopsis, args);
    if (!file)
        return UsageError;
    const std::optional<QString> lang = chosenLanguage(parser, synopsis);
    if (!lang)
        return UsageError;
    const std::optional<QString> text = readInput(*file);
    if (!text)
        return UsageError;
    LoadedStore loaded(*lang);
    Output out;
    out.append(withOneLineFeed(selection::replaceUserFavorites(*text, loaded.store().userFav)));
    return out.finish();
}

} // namespace cli
