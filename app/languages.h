#pragma once

#include <QList>
#include <QString>

// The twelve synonym languages in the order of the language box and of every per-language
// list (tables, settings keys, menu entries).
struct LanguageEntry
{
    QString code;  // "eng": prefix of every per-language table, file and key
    QString label; // "English": the text of the language box and the Language Update menu
};

namespace languages {
const QList<LanguageEntry> &all();
// Code of a box label ("German" -> "ger"); empty for an unknown label.
QString codeForLabel(const QString &label);
// Box label of a code, compared without regard to case ("GER" -> "German"); empty when unknown.
QString labelForCode(const QString &code);
} // namespace languages
