#include "language.h"

const QList<Language> &Language::all()
{
    static const QList<Language> languages = [] {
        struct Row
        {
            const char *code, *label, *name;
            Script script;
        };
        // The server paths follow the pattern "/" + name + "_syn4.dat".
        const Row rows[] = {
            {"eng", "English", "english", Script::Latin},
            {"heb", "Hebrew", "hebrew", Script::Hebrew},
            {"ara", "Arabic", "arabic", Script::Arabic},
            {"rom", "Romanian", "romanian", Script::Latin},
            {"ger", "German", "german", Script::Latin},
            {"spa", "Spanish", "spanish", Script::Latin},
            {"swe", "Swedish", "swedish", Script::Latin},
            {"ita", "Italian", "italian", Script::Latin},
            {"fre", "French", "french", Script::Latin},
            {"dut", "Dutch", "dutch", Script::Latin},
            {"por", "Portuguese", "portuguese", Script::Latin},
            {"bul", "Bulgarian", "bulgarian", Script::Cyrillic},
        };
        QList<Language> list;
        for (const Row &r : rows) {
            const QString name = QString::fromLatin1(r.name);
            list.append({QString::fromLatin1(r.code), QString::fromLatin1(r.label),
                         "/" + name + "_syn4.dat", "/" + name + "_fav_syn4.dat", r.script});
        }
        return list;
    }();
    return languages;
}

int Language::indexOfCode(const QString &code)
{
    const QList<Language> &list = all();
    for (int i = 0; i < list.size(); ++i) {
        if (list[i].code == code)
            return i;
    }
    return -1;
}

QString Language::codeOfLabel(const QString &label)
{
    for (const Language &l : all()) {
        if (l.label == label)
            return l.code;
    }
    return {};
}
