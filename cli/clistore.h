#pragma once

#include <QString>
#include <QStringView>

#include <memory>
#include <optional>

class LocalDatabase;
class ProtectedTerms;
class SynonymStore;

namespace cli {

class CommandLine;

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

// The language of a store command: its --lang, else the editor's ("lang" of "languageSettings",
// English when unset or unknown). No value, after a usage error, for an unknown code.
std::optional<QString> chosenLanguage(const CommandLine &commandLine);

class Output;

// Appends `text` with its trailing line feeds replaced by exactly one, as the store commands
// print it; the text is not copied (it may be several times the input's size).
void appendWithOneLineFeed(Output &out, QStringView text);

} // namespace cli
