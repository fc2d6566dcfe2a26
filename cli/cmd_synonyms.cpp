// synonyms: the candidate list of a word from the working folder's synonym store, loaded by the
// same code as the editor (user tables, waiting downloads, the built-in thesaurus when the
// language has no list yet), one entry a line as the synonym panel shows it, with its kind.

#include "cliio.h"
#include "commandline.h"
#include "commands.h"

#include "storage/language.h"
#include "synonyms/synonymstore.h"

#include "storage/localdatabase.h"
#include "storage/settingsstore.h"
#include "storage/workingfolder.h"

#include <cstdio>

namespace cli {

int runSynonyms(const QStringList &args)
{
    CommandLine commandLine("synonyms",
                            {option("lang",
                                    "Language of the synonym store (default: the "
                                    "editor's).",
                                    "CODE")},
                            QStringLiteral("WORD"), QStringLiteral("Word or quoted phrase."));
    if (const std::optional<int> done = commandLine.parse(args))
        return *done;
    const QString word = commandLine.argument();
    if (word.trimmed().isEmpty())
        return commandLine.usageError(QStringLiteral("give a word or quoted phrase, not blanks"));
    QString lang = commandLine.value(QStringLiteral("lang"));
    if (lang.isEmpty()) {
        lang = storage::storedLanguage().code;
    } else if (!Language::isKnownCode(lang)) {
        QStringList codes;
        for (const Language &l : Language::all())
            codes.append(l.code);
        return commandLine.usageError(
            QStringLiteral("unknown language '%1' (one of %2)").arg(lang, codes.join(u' ')));
    }

    const storage::WorkingFolder folder = storage::openWorkingFolder();
    if (!folder.ok())
        return folderRefused(folder.error);
    LocalDatabase db;
    // connect() also prints its reason as a warning; the user gets it once, below.
    const QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext &, const QString &message) {
            if (type != QtWarningMsg)
                std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
        });
    const bool connected = db.connect(folder.path);
    qInstallMessageHandler(previous);
    if (!connected) {
        // Without the database the user's own synonyms would be missing from the answer.
        std::fprintf(stderr, "rewordix-cli: %s\n", db.errorString().toLocal8Bit().constData());
        return StoreError;
    }

    SynonymStore store;
    store.setTempDir(folder.path);
    store.setDatabase(&db);
    store.curLang = lang;
    bool filesOk = true;
    QObject::connect(&store, &SynonymStore::synonymFileError, [&filesOk] {
        std::fputs("rewordix-cli: Error opening synonyms file.\n", stderr);
        filesOk = false;
    });
    QObject::connect(&store, &SynonymStore::fileProblem, [&filesOk](const QString &message) {
        std::fprintf(stderr, "rewordix-cli: %s\n", message.toLocal8Bit().constData());
        filesOk = false;
    });
    store.loadSynonyms();

    Output out;
    const QList<SynonymStore::Candidate> list = store.candidateList(word);
    // The first two entries are the panel's header rows ("(blank)" and the word itself).
    for (qsizetype i = 2; i < list.size(); ++i) {
        out.append(list[i].display);
        out.appendByte('\t');
        out.append(SynonymStore::kindName(list[i].kind));
        out.appendByte('\n');
    }
    const int status = out.finish();
    db.shutdown();
    return status == Success && !filesOk ? StoreError : status;
}

} // namespace cli
