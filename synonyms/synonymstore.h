#pragma once

#include "storage/language.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>

#include <memory>

class Inflection;
class LocalDatabase;

// The synonyms of the current language, loaded from the user's two tables (code + "_usersyn",
// code + "_fav") and the two cache files (code + "_syn.dat", code + "_syn_fav.dat"), and the
// candidate list built from them for a word of the text.
//
// Every map is keyed by the word or phrase lower-cased and trimmed (storeKey()) and holds the
// entries in their stored order. A word without an entry and a word whose stored list column was
// null are the same: absent from the map.
//
// Loading runs on the GUI thread and is synchronous. The window listens to the signals: it
// disables itself on loadingStarted(), shows the wait cursor and enables itself on readingFiles(),
// restores the cursor on loadingFinished(), refills the synonym panel on synonymsLoaded(), and on
// synonymFileError() tells the user and asks the update server for the lists again.
class SynonymStore final : public QObject
{
    Q_OBJECT

public:
    using SynonymMap = QHash<QString, QStringList>;

    // Where a candidate comes from. Blank and Word are the two header entries of every list.
    enum class Kind
    {
        Blank,
        Word,
        UserFavourite,
        Best,
        Better,
        Good,
        UserSynonym,
        Server,
        // A synonym of the word's base form put into the word's form («takes» -> «requires»),
        // offered for a word without lists of its own; never stored in a list file.
        Inflected
    };

    struct Candidate
    {
        QString entry;   // lower-cased, as compared and as written into the text's group
        QString display; // as shown: first letter upper-cased when the word's first letter is
        Kind kind = Kind::Server;

        friend bool operator==(const Candidate &, const Candidate &) = default;
    };

    // The favourite grades of the favourites table's syn_type column.
    enum FavType
    {
        GoodType = 0,
        BetterType = 1,
        BestType = 2,
        UserFavType = 3
    };

    static constexpr int candidateLimit = 12; // header entries and ten further entries

    explicit SynonymStore(QObject *parent = nullptr);
    ~SynonymStore() override;
    Q_DISABLE_COPY_MOVE(SynonymStore)

    // The working folder (with its trailing "/") that holds the cache files.
    void setTempDir(const QString &folder) { tempDir = folder; }
    QString workingFolder() const { return tempDir; }

    // The connection the user tables are read from and edits written to; opened by
    // loadSynonyms() when it is not open yet. Without one the store holds the files' lists only
    // and edits change the maps alone.
    void setDatabase(LocalDatabase *database) { db = database; }

    // Where installed thesauri are looked for (ThesaurusImporter::defaultFolder() by default).
    void setThesaurusFolder(const QString &folder) { thesaurusFolder = folder; }
    // Where Hunspell dictionaries and WordNet's lists of irregular forms are looked for
    // (Inflection::defaultHunspellFolder() and defaultWordNetFolder() by default). Takes effect
    // at the next load.
    void setMorphologyFolders(const QString &hunspell, const QString &wordNet)
    {
        hunspellFolder = hunspell;
        wordNetFolder = wordNet;
    }

    // ---- current language ------------------------------------------------------------------

    // Index of the current language in the language box (Language::all()).
    int currentLanguageIndex() const { return qMax(0, Language::indexOfCode(curLang)); }

    // Makes the language at `index` of the language box current, stores "languageSettings" with
    // the editor's direction and reloads. An index outside the box does nothing.
    void langChanged(int index, bool rightToLeft);

    // ---- loading ------------------------------------------------------------------------------

    // Reloads the current language: user tables, waiting downloads of every language, the built-in
    // thesaurus when the language has no list yet, the 24 version numbers, then loadSynFile().
    void loadSynonyms();

    // Loads the current language's two list files into the maps. Returns false when the synonym
    // list's body could not be read. A file that cannot be read (the list or the favourites) gets
    // version 0 and is deleted when an update server will send it again, else moved aside to
    // name + ".damaged-<time>"; fileProblem() says which. The other file is read as usual.
    bool loadSynFile();

    // Whether a load has completed since the store was made.
    bool hasLoaded() const { return loads > 0; }

    // ---- downloads ----------------------------------------------------------------------------

    // The version of the language's list (or favourites) file in use; 0 when none was read.
    double fileVersion(const QString &code, bool favourites) const;
    // Puts the language's waiting downloads in place of its files in use and records their
    // versions. False when a waiting file could not be put in place (it waits for the next load).
    bool promoteDownloads(const QString &code);

    // ---- candidates ---------------------------------------------------------------------------

    // The candidates offered for `word` as it stands in the text: "(blank)", the word, then user
    // favourites, best, better and good favourites, user synonyms and server synonyms, without
    // duplicates or deleted entries; at most candidateLimit entries, plus the user's own ones.
    // A word that no list holds gets the synonyms of its base forms in its own form instead
    // (Kind::Inflected), when the language's dictionary is installed.
    QList<Candidate> candidateList(const QString &word) const;

    static QString storeKey(const QString &word) { return word.toLower().trimmed(); }
    static QString kindName(Kind kind);

    // ---- edits --------------------------------------------------------------------------------
    // Each edit changes the maps at once and writes the changed rows of the current language's
    // tables. A database error is printed; the maps keep the edit.

    // Puts `synonym` first among the user synonyms of `word`.
    void addUserSynonym(const QString &word, const QString &synonym);
    // Stars `synonym`: a server synonym becomes the first good favourite, a user synonym the first
    // user favourite. Other kinds are left alone.
    void markFavourite(const QString &word, const QString &synonym, Kind kind);
    // Unstars `synonym`: removed from its grade's favourites (the list is stored also when it
    // becomes empty); a user favourite goes back to the front of the user synonyms (stored).
    void unmarkFavourite(const QString &word, const QString &synonym, Kind kind);
    // Removes `synonym` from the word's lists for good: a user favourite or user synonym from the
    // user's lists, a community favourite or server synonym from the favourites and the server
    // list in memory. The word's deleted list records it, which hides it at every later load.
    void removeSynonym(const QString &word, const QString &synonym, Kind kind);
    // Adopts an alternative found in the text as first user favourite or first user synonym,
    // stored like an added one.
    void learn(const QString &word, const QString &synonym, bool favourite);

    // ---- the store ----------------------------------------------------------------------------

    QString curLang = QStringLiteral("eng");

    SynonymMap allUserSyn; // the language's synonym list (from the list file), minus deletions
    SynonymMap userSyn;    // the user's own synonyms
    SynonymMap deletedSyn; // synonyms the user removed
    SynonymMap userFav;    // the user's own favourites
    SynonymMap goodfav;    // community favourites by grade: file merged with the user's rows
    SynonymMap betterfav;
    SynonymMap bestfav;

    // The most blank-separated words of any head word of allUserSyn, at least 1: the longest
    // phrase worth looking up.
    int maxPhraseWord = 1;

    // Version of the list and favourites file in use per language code (eng_synver,
    // eng_favsynver, ...); 0 until a file has been read.
    QHash<QString, double> synver;
    QHash<QString, double> favsynver;

signals:
    void loadingStarted();
    void readingFiles();
    void loadingFinished(bool firstLoad);
    void synonymsLoaded();
    void synonymFileError();
    // A cache file of the working folder could not be used; `message` names it and what was done.
    void fileProblem(const QString &message);

    void thesaurusImportStarted(const QString &code);
    void thesaurusImportProgress(qint64 done, qint64 total);
    void thesaurusImportFinished(const QString &code, bool ok);

private:
    bool readUserTables();
    void importThesaurusIfMissing();
    void readVersions();
    bool readListBody(const QByteArray &data);
    void readFavouritesBody(QStringView body);
    void listFileFailed();
    void setFileAside(const QString &name);

    void storeUserSyn(const QString &key, const QStringList &list);
    void storeDeleted(const QString &key, const QStringList &list);
    enum class UserSynColumn
    {
        UserSyn,
        DeletedSyn
    };
    // Select the word's row, insert it when absent, else update the one column.
    void storeUserSynColumn(const QString &key, UserSynColumn column, const QStringList &list);
    void storeFav(const QString &key, int synType, const QStringList &list);
    bool hasDatabase() const;

    // The synonyms of a base form from every list, the base's deleted entries left out.
    QStringList synonymsOfBase(const QString &baseKey) const;
    bool hasOwnEntry(const QString &key) const;

    QString tempDir;
    QString thesaurusFolder;
    QString hunspellFolder;
    QString wordNetFolder;
    // The current language's morphology, made at each load; asked from the const candidate list.
    std::unique_ptr<Inflection> inflection;
    LocalDatabase *db = nullptr;
    int loads = 0;
    // Whether the list being loaded was made from the thesaurus during this load.
    bool justImported = false;
    // Languages whose import failed: reported once, not retried until the next start.
    QSet<QString> importFailed;
};
