#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <functional>
#include <optional>

// Turns an installed MyThes thesaurus (/usr/share/mythes/*.dat) into a synonym list file, so that
// a language has synonyms before any list has come from the update server.
//
// A MyThes .dat file: line 1 names its encoding; then records of a head line "word|N" followed by
// N meaning lines "POS|syn1|syn2|...". The list file written: "synonym version 0", then one line
// per head word "head|syn1|syn2|...". Version 0 makes any server list newer.
//
// What is offered as a synonym: the senses of a head word are merged, first-seen order kept,
// duplicates (ignoring case) and the head word itself dropped. Fields marked as antonyms, generic
// terms or related terms (English "(antonym)", "(generic term)", "(related term)", German
// "(Oberbegriff)", Spanish "(Antónimo)") are not synonyms and are dropped; every other
// parenthesised annotation - "(similar term)", style labels such as "(ugs.)" or "(înv.)",
// optional words such as "(sich)" - is removed from the text. Fields that could break spin text
// ("{", "}") and placeholder templates ("möchten Sie ...") are dropped.
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

    // Converts the bytes of a .dat file into a list body. Fails when the encoding named on line 1
    // is unknown; damaged records are skipped.
    static Result convert(QByteArrayView dat, const Progress &progress = {});

    // Reads `source`, converts it and writes the list file `dest` (version line and body) in one
    // save, so a failure leaves no half-written list behind.
    static Result importFile(const QString &source, const QString &dest,
                             const Progress &progress = {});

    // One synonym field as offered: annotations removed, blanks collapsed, trimmed. nullopt for
    // a field that is not a synonym (antonym, generic or related term); an empty text for a field
    // that has nothing usable left.
    static std::optional<QString> cleanEntry(QStringView field);

    static inline const QString versionLine = QStringLiteral("synonym version 0");
};
