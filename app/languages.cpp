#include "languages.h"

namespace languages {

const QList<LanguageEntry> &all()
{
    static const QList<LanguageEntry> table = {
        {"eng", "English"},  {"heb", "Hebrew"},  {"ara", "Arabic"},    {"rom", "Romanian"},
        {"ger", "German"},   {"spa", "Spanish"}, {"swe", "Swedish"},   {"ita", "Italian"},
        {"fre", "French"},   {"dut", "Dutch"},   {"por", "Portuguese"}, {"bul", "Bulgarian"},
    };
    return table;
}

QString codeForLabel(const QString &label)
{
    for (const LanguageEntry &l : all()) {
        if (l.label == label)
            return l.code;
    }
    return {};
}

QString labelForCode(const QString &code)
{
    for (const LanguageEntry &l : all()) {
        if (l.code.compare(code, Qt::CaseInsensitive) == 0)
            return l.label;
    }
    return {};
}

} // namespace languages
