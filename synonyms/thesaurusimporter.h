#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <functional>
#include <optional>

// What the conversion of a thesaurus knows about its language.
struct ThesaurusImportOptions
{
    // How often each word is used, keyed by the word lower-cased, "%" and the WordNet part of
    // speech digit (1 noun, 2 verb, 3 adjective, 4 adverb): "good%3".
    using SenseCounts = QHash<QString, int>;
    // English: without, the thesaurus order is kept.
    SenseCounts senseCounts;
    // The language writes its nouns with a capital (German), and its thesaurus writes them in
    // lower case as head words ("datei") and capitalised in the senses ("Datei").
    bool nounsCapitalised = false;
};

// Turns an installed MyThes thesaurus (/usr/share/mythes/*.dat) into a synonym list file, so that
// a language has synonyms before any list has come from the update server.
//
// A MyThes .dat file: line 1 names its encoding; then records of a head line "word|N" followed by
// N meaning lines "POS|syn1|syn2|...". The list file written: "synonym version 0", then one line
// per head word "head|syn1|syn2|...". Version 0 makes any server list newer.
//
// What is offered as a synonym: the senses of a head word are merged, duplicates (ignoring case)
// and the head word itself dropped. Order: synonyms before similar terms; within each, the more
// used words first when use counts are given (English, from WordNet's cntlist.rev, counted per
// word and part of speech), else the thesaurus order. Under a head word that is not capitalised,
// capitalised entries are names («Robert Brown» under «brown») and are dropped; abbreviations
// written all in capitals («TV») stay, and so do a capitalised head's entries. German writes its
// head words in lower case: there a sense that lists the head word capitalised («Datei» under
// «datei») is a noun's, and its capitalised entries stay.
// Fields marked as antonyms, generic terms or related terms (English "(antonym)", "(generic
// term)", "(related term)", German "(Oberbegriff)", Spanish "(Antónimo)") are not synonyms and
// are dropped; every other parenthesised annotation - "(similar term)", style labels such as
// "(ugs.)" or "(înv.)", optional words such as "(sich)" - is removed from the text. Fields that
// could break spin text ("{", "}") and placeholder templates ("möchten Sie ...") are dropped.

class ThesaurusImporter final
{
public:
    // Called now and then during a conversion with the characters done and the total.
    using Progress = std::function<void(qint64 done, qint64 total)>;

    struct Result
    {
        bool ok = false;
        QString error;     // why the import failed, for the diagnostic output
        QByteArray body;   // convert(): the list body, UTF-8, one head word per line
        int headWords = 0; // head words written
    };

    // The folder searched for thesauri: $REWORDIX_THESAURUS_DIR when set and non-empty, else
    // "/usr/share/mythes/". Always ends with "/".
    static QString defaultFolder();

    // The .dat file names tried for a language code, in order of preference; empty for the
    // languages without a thesaurus (Hebrew, Dutch) and for unknown codes.
    static QStringList thesaurusFileNames(const QString &code);

    // The path of the first installed thesaurus for `code` in `folder`, empty when none.
    static QString installedThesaurus(const QString &code, const QString &folder);

    using SenseCounts = ThesaurusImportOptions::SenseCounts;
    // The counts of WordNet's cntlist.rev ("good%3:00:01:: 1 190"), summed over the senses of a
    // word in a part of speech; empty when the file cannot be read.
    static SenseCounts readSenseCounts(const QString &cntlist);

    // Converts the bytes of a .dat file into a list body. Fails when the encoding named on line 1
    // is unknown; damaged records are skipped.
    using Options = ThesaurusImportOptions;
    // The options for a language code.
    static Options optionsFor(const QString &code, const QString &wordNetFolder);

    static Result convert(QByteArrayView dat, const Progress &progress = {},
                          const Options &options = {});

    // Reads `source`, converts it and writes the list file `dest` (version line and body) in one
    // save, so a failure leaves no half-written list behind. A record of the import is written
    // beside it (recordFile()).
    static Result importFile(const QString &source, const QString &dest,
                             const Progress &progress = {}, const Options &options = {});

    // The record of an import beside the list file: "importer N", the checksum of the list as
    // written and the thesaurus it came from.
    static QString recordFile(const QString &list);
    // Whether `list` was made by an earlier version of this importer and is unchanged since, so
    // that importing again improves it. Lists from the update server and lists changed by hand
    // never need it.
    static bool needsRebuild(const QString &list);
    // Raised whenever the import writes different lists for the same thesaurus.
    static constexpr int revision = 2;

    // One synonym field as offered: annotations removed, blanks collapsed, trimmed. nullopt for
    // a field that is not a synonym (antonym, generic or related term); an empty text for a field
    // that has nothing usable left.
    static std::optional<QString> cleanEntry(QStringView field);

    static inline const QString versionLine = QStringLiteral("synonym version 0");
};
