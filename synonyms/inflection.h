#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

class Hunspell;
class QStringDecoder;
class QStringEncoder;

// Synonyms for an inflected word («takes», «houses», «ran») that has no list of its own: the word
// is traced back to its base forms and the base forms' synonyms are put into the word's form.
//
// Base forms come from the installed Hunspell dictionary of the language (analyze(): the stem and
// the suffix flag that made the word, " st:take fl:S"); for English also from WordNet's lists of
// irregular forms (verb.exc, noun.exc, adj.exc: "ran run"). A synonym is put into the word's form
// by the suffix rule of that flag as the .aff file writes it (strip, add, condition), applied
// whatever flags the synonym itself carries in the dictionary («require» has no S flag, yet
// «requires» is a word), and the result is kept only when the dictionary accepts it. A synonym
// that cannot be put into the form is left out rather than offered in the wrong one.
//
// What is left out on purpose:
// - phrases, on either side: which word of «call for» or «legal right» carries the ending depends
//   on the part of speech, which the lists do not keep;
// - a result two readings of the rule disagree on (two entries of the flag accept the synonym
//   and give different words);
// - for irregular forms, a synonym whose own irregular forms of that kind are not one single word
//   («go»: «went», «gone» for a past form whose tense is not known).
//
// Case: a capitalised word whose analyses include capitalised stems («Rechte» -> «Recht») uses
// only those (German nouns); and a synonym is used only when its first letter has the case of the
// stem's, so that a German noun takes noun synonyms and an English word no proper names.
//
// Both data sources are optional: without a dictionary the object offers nothing.
// Not thread-safe (Hunspell is not); the store uses it on the GUI thread.
class Inflection final
{
public:
    // The folder of Hunspell dictionaries: $REWORDIX_HUNSPELL_DIR when set, else
    // /usr/share/hunspell/. The WordNet folder: $REWORDIX_WORDNET_DIR, else /usr/share/wordnet/.
    // Both end with "/".
    static QString defaultHunspellFolder();
    static QString defaultWordNetFolder();

    // Dictionary base names tried for a language code ("eng" -> "en_US"), in order.
    static QStringList dictionaryNames(const QString &code);

    // Nothing is read until the first question: loading a dictionary takes a tenth of a second.
    Inflection(const QString &code, const QString &hunspellFolder, const QString &wordNetFolder);
    ~Inflection();
    Q_DISABLE_COPY_MOVE(Inflection)

    // Whether a dictionary for the language is installed and loaded (loads it).
    bool isAvailable();
    bool spell(const QString &word);

    // One suffix rule line of the .aff file.
    struct SuffixRule
    {
        QString flag;
        QString strip;
        QString add;
        QString condition; // as written: "[^aeiou]y", "e", "."
        friend bool operator==(const SuffixRule &, const SuffixRule &) = default;
    };

    // How a word came from a base form: the suffix flag, or for an English irregular form the
    // irregular list it came from and the regular flag of the same form.
    struct Base
    {
        QString base;      // as the dictionary has it (case kept)
        QString flag;      // the suffix flag whose rule makes the form
        QString irregular; // "verb", "noun" or "adj" when the word is an irregular form
        // The rule line that made the word from the base; empty for an irregular form.
        SuffixRule rule;
        friend bool operator==(const Base &, const Base &) = default;
    };

    // The ways `word` comes from a base form, best first; empty for a word that is no inflected
    // form the dictionary or the irregular lists know.
    QList<Base> bases(const QString &word);

    // `synonym` put into the form that `base` describes; nullopt when that is not certain.
    std::optional<QString> inflect(const QString &synonym, const Base &base);

    // The synonyms of `word` in its own form: for each base form (in order), the base's synonyms
    // from `synonymsOf` (keyed by the base lower-cased) put into the word's form; without
    // duplicates (ignoring case) and without the word itself; at most `max`.
    using Lookup = std::function<QStringList(const QString &baseKey)>;
    QStringList inflectedSynonyms(const QString &word, const Lookup &synonymsOf, int max);

    // The suffix rules of a flag as read from the .aff file (loads it); for tests.
    QList<SuffixRule> rulesOf(const QString &flag);

    // Applies one rule to a word: nullopt when the word does not end in the rule's strip text or
    // does not meet its condition.
    static std::optional<QString> applyRule(const QString &word, const SuffixRule &rule);

private:
    bool load();
    void loadAffix(const QString &path);
    void loadWordNet(const QString &folder);
    QList<Base> irregularBases(const QString &word);
    QList<Base> reverseBases(const QString &word);
    std::optional<QString> inflectUncached(const QString &synonym, const Base &base);
    std::optional<QString> inflectWord(const QString &synonym, const Base &base);
    // Whether English `lemma` has a part of speech that takes the form of `flag`.
    bool fitsForm(const QString &lemma, const QString &flag) const;
    // How many characters at the end of `word` differ from `base`.
    static int distance(const QString &word, const QString &base);
    std::optional<QString> applyFlag(const QString &synonym, const Base &base);
    // Whether the dictionary reads `form` as `synonym` with `flag`.
    bool derivesFrom(const QString &form, const QString &synonym, const QString &flag);
    std::string toDict(const QString &s) const;
    QString fromDict(const std::string &s) const;

    QString code;
    QString hunspellFolder;
    QString wordNetFolder;
    bool loaded = false;
    std::unique_ptr<Hunspell> hunspell;
    std::unique_ptr<QStringEncoder> encoder;
    std::unique_ptr<QStringDecoder> decoder;
    QHash<QString, QList<SuffixRule>> rulesByFlag;
    QHash<QString, QList<SuffixRule>> rulesByAdd; // for tracing a stem to its flag

    // English irregular forms per list ("verb", "noun", "adj"): form -> bases, base -> forms.
    struct Irregular
    {
        QHash<QString, QStringList> basesOf;
        QHash<QString, QStringList> formsOf;
    };
    QHash<QString, Irregular> irregular;
    // English words and phrases by the parts of speech WordNet gives them.
    enum PartOfSpeech : quint8
    {
        Noun = 1,
        Verb = 2,
        Adjective = 4,
        Adverb = 8
    };
    QHash<QString, quint8> partsOfSpeech;

    static constexpr qsizetype cacheLimit = 20000;
    QHash<QString, QList<Base>> basesCache;
    QHash<QString, std::optional<QString>> inflectCache;
};
