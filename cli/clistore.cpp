#include "clistore.h"

#include "cliio.h"
#include "commandline.h"

#include "storage/language.h"
#include "synonyms/protectedterms.h"
#include "synonyms/synonymstore.h"

#include "storage/localdatabase.h"
#include "storage/settingsstore.h"
#include "storage/workingfolder.h"

#include <cstdio>

namespace cli {

LoadedStore::LoadedStore(const QString &lang)
    : db(std::make_unique<LocalDatabase>()), synonyms(std::make_unique<SynonymStore>()),
      terms(std::make_unique<ProtectedTerms>())
{
    const QString folder = storage::workingFolder();
    db->connect(folder); // without a database the files' lists are still used
    synonyms->setTempDir(folder);
    synonyms->setDatabase(db.get());
    synonyms->curLang = lang;
    QObject::connect(synonyms.get(), &SynonymStore::synonymFileError,
                     [] { std::fputs("rewordix-cli: Error opening synonyms file.\n", stderr); });
    synonyms->loadSynonyms();
    terms->myInit(db.get());
}

LoadedStore::~LoadedStore()
{
    terms.reset();
    synonyms.reset();
    db->shutdown();
}

std::optional<QString> chosenLanguage(const CommandLine &commandLine)
{
    QString lang = commandLine.value(QStringLiteral("lang"));
    if (lang.isEmpty()) {
        return storage::storedLanguage().code;
    }
    if (Language::isKnownCode(lang))
        return lang;
    QStringList codes;
    for (const Language &l : Language::all())
        codes.append(l.code);
    commandLine.usageError(
        QStringLiteral("unknown language '%1' (one of %2)").arg(lang, codes.join(u' ')));
    return std::nullopt;
}

void appendWithOneLineFeed(Output &out, QStringView text)
{
    while (text.endsWith(u'\n'))
        text.chop(1);
    out.append(text);
    out.appendByte('\n');
}

} // namespace cli
