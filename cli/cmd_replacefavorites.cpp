// replace-favorites: the article after "Replace my favorites": every lower-case occurrence of a
// word with user favourites in the working folder's store becomes a group of the word and its
// favourites.

#include "cliio.h"
#include "clistore.h"
#include "commandline.h"
#include "commands.h"

#include "selection/favouritesexchange.h"
#include "synonyms/synonymstore.h"

namespace cli {

int runReplaceFavorites(const QStringList &args)
{
    CommandLine commandLine(
        "replace-favorites",
        {option("lang", "Language of the synonym store (default: the editor's).", "CODE")});
    if (const std::optional<int> done = commandLine.parse(args))
        return *done;
    const std::optional<QString> lang = chosenLanguage(commandLine);
    if (!lang)
        return UsageError;
    const std::optional<QString> text = readInput(commandLine.argument());
    if (!text)
        return UsageError;
    LoadedStore loaded(*lang);
    Output out;
    appendWithOneLineFeed(out, selection::replaceUserFavorites(*text, loaded.store().userFav));
    return out.finish();
}

} // namespace cli
