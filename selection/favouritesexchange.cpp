#include "favouritesexchange.h"

#include "autoselect.h"

#include <algorithm>

namespace selection {
namespace {

bool wordCharBefore(QStringView text, qsizetype i)
{
    if (i <= 0)
        return false;
    const QChar c = text[i - 1];
    if (c.isLowSurrogate() && i >= 2 && text[i - 2].isHighSurrogate())
        return isWordChar(QChar::surrogateToUcs4(text[i - 2], c));
    return isWordChar(c.unicode());
}

bool wordCharAt(QStringView text, qsizetype i)
{
    if (i >= text.size())
        return false;
    const QChar c = text[i];
    if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
        return isWordChar(QChar::surrogateToUcs4(c, text[i + 1]));
    return isWordChar(c.unicode());
}

QString replaceWord(const QString &text, const QString &word, const QString &group)
{
    QString out;
    qsizetype copied = 0;
    qsizetype from = 0;
    for (;;) {
        const qsizetype at = text.indexOf(word, from, Qt::CaseSensitive);
        if (at < 0)
            break;
        const qsizetype end = at + word.size();
        if (wordCharBefore(text, at) || wordCharAt(text, end)) {
            from = at + 1;
            continue;
        }
        if (out.isEmpty())
            out.reserve(text.size() + text.size() / 4);
        out.append(QStringView(text).sliced(copied, at - copied));
        out.append(group);
        copied = end;
        from = end;
    }
    if (copied == 0)
        return text;
    out.append(QStringView(text).sliced(copied));
    return out;
}

} // namespace

QString replaceUserFavorites(const QString &text, const SynonymStore::SynonymMap &userFav)
{
    QStringList words = userFav.keys();
    std::sort(words.begin(), words.end(), [](const QString &a, const QString &b) {
        return a.size() != b.size() ? a.size() > b.size() : a < b;
    });
    QString result = text;
    for (const QString &word : std::as_const(words)) {
        if (word.isEmpty())
            continue;
        QStringList alternatives{word};
        for (const QString &favourite : userFav.value(word))
            if (!favourite.trimmed().isEmpty())
                alternatives.append(favourite);
        if (alternatives.size() < 2)
            continue;
        result = replaceWord(result, word, u'{' + alternatives.join(u'|') + u'}');
    }
    return result;
}

} // namespace selection
