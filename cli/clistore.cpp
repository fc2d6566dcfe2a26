#include "clistore.h"

#include "cliio.h"

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

QCommandLineOption languageOption()
{
    return {QStringLiteral("lang"),
            QStringLiteral("Synonym language (eng, heb, ara, rom, ger, spa, swe, ita, fre, dut, "
                           "por, bul); defaults to the editor's."),
            QStringLiteral("CODE")};
}

std::optional<QString> parseFileArguments(QCommandLineParser &parser, const char *command,
                                          const char *synopsis, const QStringList &args)
{
    parser.addPositionalArgument(QStringLiteral("FILE"),
                                 QStringLiteral("UTF-8 text file, or - for standard input"));
    const QString usage = QStringLiteral("\nusage: rewordix-cli %1 %2")
                              .arg(QLatin1String(command), QLatin1String(synopsis));
    if (!parser.parse(QStringList{QStringLiteral("rewordix-cli")} + args)) {
        usageError(parser.errorText() + usage);
        return std::nullopt;
    }
    const QStringList files = parser.positionalArguments();
    if (files.size() != 1) {
        usageError(QStringLiteral("give exactly one FILE") + usage);
        return std::nullopt;
    }
    return files.constFirst();
}

std::optional<QString> chosenLanguage(const QCommandLineParser &parser, const char *synopsis)
{
    QString lang = parser.value(QStringLiteral("lang"));
    if (lang.isEmpty()) {
        return storage::storedLanguage().code;
    }
    if (Language::isKnownCode(lang))
        return lang;
    QStringList codes;
    for (const Language &l : Language::all())
        codes.append(l.code);
    usageError(QStringLiteral("unknown language '%1' (one of %2)\nusage: %3")
                   .arg(lang, codes.join(u' '), QLatin1String(synopsis)));
    return std::nullopt;
}

QString withOneLineFeed(QString text)
{
    while (text.endsWith(u'\n'))
        text.chop(1);
    text.append(u'\n');
    return text;
}

} // namespace cli
