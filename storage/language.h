#pragma once

#include <QList>
#include <QString>

// One of the twelve synonym languages. The three-letter code names everything per language:
// cache files ("eng_syn.dat"), tables (eng_usersyn, eng_fav), settings keys and version fields.
struct Language
{
    // Which letters the add field of the synonym panel accepts.
    enum class Script
    {
        Latin,
        Hebrew,
        Arabic,
        Cyrillic
    };

    QString code;
    QString label;    // untranslated text of the language box ("English")
    QString listPath; // server path of the synonym list ("/english_syn4.dat")
    QString favPath;  // server path of the favourites list ("/english_fav_syn4.dat")
    Script script = Script::Latin;

    // The twelve languages in the order of the language box: eng, heb, ara, rom, ger, spa, swe,
    // ita, fre, dut, por, bul.
    static const QList<Language> &all();

    // Index in all(), or -1 for an unknown code.
    static int indexOfCode(const QString &code);
    // The code of an untranslated box label ("German" -> "ger"), empty when unknown.
    static QString codeOfLabel(const QString &label);
    static bool isKnownCode(const QString &code) { return indexOfCode(code) >= 0; }
};
