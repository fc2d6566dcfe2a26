// synonyms: the candidate list of a word from the working folder's synonym store, loaded by the
// same code as the editor (user tables, waiting downloads, the built-in thesaurus when the
// language has no list yet), one entry a line as the synonym panel shows it, with its kind.

#include "cliio.h"
#include "commands.h"

#include "storage/language.h"
#include "synonyms/synonymstore.h"

#include "storage/localdatabase.h"
#include "storage/settingsstore.h"
#include "storage/workingfolder.h"

#include <cstdio>

namespace cli {
namespace {

int synonymsUsage(const QString &problem)
{
    return usageError(problem +
                      QStringLiteral("\nusage: rewordix-cli synonyms [--lang CODE] WORD"));
}

// The language of the editor's language box: "lang" of "languageSettings", else English.
QString defaultLanguage()
{
    const QString lang = storage::value(storage::keys::languageSettings)
                             .toMap()
                             .value(storage::langEntry)
                             .toString();
    return Language::isKnownCode(lang) ? lang : QStringLiteral("eng");
}

} // namespace

int runSynonyms(const QStringList &args)
{
    QString lang;
    QStringList words;
    bool options = true;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        if (options && a == QLatin1String("--")) {
            options = false;
        } else if (options && a == QLatin1String("--lang")) {
            if (++i >= args.size())
                return synonymsUsage(QStringLiteral("--lang needs a language code"));
            lang = args[i];
        } else if (options && a.startsWith(QLatin1String("--lang="))) {
            lang = a.mid(7);
        } else if (options && a.startsWith(QLatin1Char('-')) && a.size() > 1) {
            return synonymsUsage(QStringLiteral("unknown option '%1'").arg(a));
        } else {
            words.append(a);
        }
    }
    if (words.size() != 1 || words[0].trimmed().isEmpty())
        return synonymsUsage(QStringLiteral("give exactly one word or quoted phrase"));
    if (lang.isEmpty()) {
        lang = defaultLanguage();
    } else if (!Language::isKnownCode(lang)) {
        QStringList codes;
        for (const Language &l : Language::all())
            codes.append(l.code);
        return synonymsUsage(
            QStringLiteral("unknown language '%1' (one of %2)").arg(lang, codes.join(u' ')));
    }

    const QString folder = storage::workingFolder();
    LocalDatabase db;
    db.connect(folder); // without a database the files' lists are still offered

    SynonymStore store;
    store.setTempDir(folder);
    store.setDatabase(&db);
    store.curLang = lang;
    QObject::connect(&store, &SynonymStore::synonymFileError,
                     [] { std::fputs("rewordix-cli: Error opening synonyms file.\n", stderr); });
    store.loadSynonyms();

    Output out;
    const QList<SynonymStore::Candidate> list = store.candidateList(words[0]);
    // The first two entries are the panel's header rows ("(blank)" and the word itself).
    for (qsizetype i = 2; i < list.size(); ++i) {
        out.append(list[i].display);
        out.appendByte('\t');
        out.append(SynonymStore::kindName(list[i].kind));
        out.appendByte('\n');
    }
    const int status = out.finish();
    db.shutdown();
    return status;
}

} // namespace cli
