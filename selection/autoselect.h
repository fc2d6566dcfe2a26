#pragma once

#include "synonyms/synonymstore.h"

#include <QList>
#include <QRegularExpression>
#include <QSet>
#include <QString>
#include <QStringView>

#include <functional>
#include <optional>

// Auto-select and identify: looking the words and phrases of an article up in the synonym lists
// of the current language.
//
// Both scan a text the same way. From the next word they try the longest phrase first (up to
// `max` words), down to the single word; the first phrase found in the lists is taken and the
// scan goes on after it. A phrase is a run of words separated by white space or bars; any other
// character (punctuation, an apostrophe, a brace) ends it. Words are Unicode words: letters,
// digits, combining marks and connector punctuation such as "_", so «Café», «naïve» and Arabic
// with its vowel marks are single words in every language.
//
// Auto-select rewrites the text, wrapping each taken phrase in a spin group of the phrase and its
// synonyms; it leaves text inside existing groups alone and never wraps a protected term.
// Identify only reports which phrases could be spun, so the editor can underline them; it looks
// inside groups as well.
//
// Positions are QString (UTF-16) indices. Both scans are linear in the text times `max`; no
// regular expression runs per position.
namespace selection {

// The lists both scans read, copied from the store. Copying is cheap (the maps are implicitly
// shared), and a copy may be read on a worker thread while the panel edits the store.
struct SynonymLists
{
    SynonymStore::SynonymMap bestfav;
    SynonymStore::SynonymMap betterfav;
    SynonymStore::SynonymMap goodfav;
    SynonymStore::SynonymMap userFav;
    SynonymStore::SynonymMap allUserSyn;
    SynonymStore::SynonymMap userSyn;
    SynonymStore::SynonymMap deletedSyn;
    int maxPhraseWord = 1;

    static SynonymLists of(const SynonymStore &store);
};

// Which lists a run consults, in the order their synonyms are collected:
// 0 best, better, good and user favourites; 1 best and better; 2 best; 3 none;
// 4 (the auto-select dialog) all favourites, then the synonym list and the user's synonyms.
enum ListLevel : int
{
    AllFavourites = 0,
    BetterFavourites = 1,
    BestFavourites = 2,
    NoLists = 3,
    AllLists = 4
};

struct AutoSelectOptions
{
    int max = 1;  // longest phrase tried, in words
    int max2 = 0; // most synonyms per group (the phrase itself not counted)
    int qlevel = AllLists;
    bool keep = true;         // the phrase itself is the group's first alternative
    bool numberOne = false;   // at most one synonym from each favourites list
    bool phrasesOnly = false; // single words are left as they are
    int frequency = 1;        // wrap only every frequency-th found phrase (1: all)
};

// Called now and then with the characters scanned so far and the text's length.
using Progress = std::function<void(qsizetype done, qsizetype total)>;

// The phrase of n words (n <= 1: a single word) as a regular expression, using the same word and
// separator characters as the scans.
QRegularExpression getPattern(int n);

// True for a character that is part of a word (a letter, digit, mark or connector punctuation).
bool isWordChar(char32_t c);

// The text with every phrase found in the lists of the level wrapped in a group; no value when a
// `{` has no partner. Existing groups are copied unchanged, protected terms (lower-case) too.
std::optional<QString> autoSelect2(const QString &text, const SynonymLists &lists,
                                   const QSet<QString> &protectedTerms,
                                   const AutoSelectOptions &options, const Progress &progress = {});

// autoSelect2 once per level, each run on the previous result (the qlevel of `options` is not
// used). The favourites exchange runs 2, 1, 0: a later pass wraps only what the earlier ones left
// unwrapped, because no run touches text inside groups.
std::optional<QString> autoSelectPasses(const QString &text, const SynonymLists &lists,
                                        const QSet<QString> &protectedTerms,
                                        const QList<int> &levels, AutoSelectOptions options,
                                        const Progress &progress = {});

// Takes a result piece by piece.
using Writer = std::function<void(QStringView piece)>;

// autoSelectPasses with the result handed to `write` in pieces as it is made, so that neither
// the whole result nor a later pass's whole input exists at once (a pass can make its text
// several times longer): the text is cut where no phrase and no group can reach across (before
// a `{` or a punctuation mark outside every group), and each pass works on one piece after the
// other. The pieces together are autoSelectPasses' result. False, with nothing written, when a
// `{` has no partner.
bool autoSelectPassesTo(const QString &text, const SynonymLists &lists,
                        const QSet<QString> &protectedTerms, const QList<int> &levels,
                        AutoSelectOptions options, const Writer &write);

// The levels of "Good", "Better", "Best" and "Best->Better->Good" (index 0 to 3).
QList<int> favouritePasses(int qualityIndex);

struct TextSpan
{
    qsizetype start = 0;
    qsizetype length = 0;
    friend bool operator==(const TextSpan &, const TextSpan &) = default;
};

// What identify underlines, as the synonymsBox index says.
enum class IdentifyMode : int
{
    WordsAndPhrases = 0,
    Phrases = 1,
    RemoveUnderline = 2
};

// The ranges identify underlines, in text order and shifted by `start`: each phrase found in any
// of the six lists (words inside groups too; protected terms are not consulted), single words only
// in WordsAndPhrases mode. No value when a `{` has no partner.
std::optional<QList<TextSpan>> formatIdentified(const QString &text, const SynonymLists &lists,
                                                int max, qsizetype start, IdentifyMode mode,
                                                const Progress &progress = {});

} // namespace selection
