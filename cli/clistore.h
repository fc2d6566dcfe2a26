#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class LocalDatabase;
class ProtectedTerms;
class SynonymStore;

namespace cli {

// The working folder's synonym store of one language and the user's protected terms, loaded by
// the editor's own code (user tables, waiting downloads, the built-in thesaurus when the language
// has no list yet). The database is closed when the object goes.
class LoadedStore final
{
public:
    explicit LoadedStore(const QString &lang);
    ~LoadedStore();
    Q_DISABLE_COPY_MOVE(LoadedStore)

    SynonymStore &store() { return *synonyms; }
    ProtectedTerms &protectedTerms() { return *terms; }

private:
    std::unique_ptr<LocalDatabase> db;
    std::unique_ptr<SynonymStore> synonyms;
    std::unique_ptr<ProtectedTerms> terms;
};

// The "--lang CODE" option shared by the store commands.
QCommandLineOption languageOption();

// Parses `args` (the arguments after the subcommand's name) with `parser`, which must take one
// FILE. On success returns the input name; otherwise prints a usage error naming `command` and
// its `synopsis` and returns no value.
std::optional<QString> parseFileArguments(QCommandLineParser &parser, const char *command,
                                          const char *synopsis, const QStringList &args);

// The language given with --lang, else the editor's ("lang" of "languageSettings", English when
// unset or unknown). No value (after a usage error) for an unknown code.
std::optional<QString> chosenLanguage(const QCommandLineParser &parser, const char *synopsis);

// `text` with its trailing line feeds replaced by exactly one, as the store commands print it.
QString withOneLineFeed(QString text);

} // namespace cli
