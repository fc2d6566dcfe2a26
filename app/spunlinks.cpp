#include "spunlinks.h"

#include <algorithm>

SpunLinks::SpunLinks(const spintax::SpunMap &map) : map(map)
{
    bySpunStart.reserve(size_t(map.size()));
    for (const Entry &e : map)
        bySpunStart.push_back(e);
    std::sort(bySpunStart.begin(), bySpunStart.end(),
              [](const Entry &a, const Entry &b) { return a[2] < b[2]; });
}

std::optional<SpunLinks::Entry> SpunLinks::at(QStringView spunText, qsizetype position,
                                              qsizetype textStart) const
{
    const qsizetype local = position - textStart;
    if (map.isEmpty() || local < 0 || local >= spunText.size())
        return std::nullopt;
    if (!spunText[local].isSpace()) {
        qsizetype start = local;
        while (start > 0 && !spunText[start - 1].isSpace())
            --start;
        qsizetype end = local;
        while (end < spunText.size() && !spunText[end].isSpace())
            ++end;
        const qsizetype wordStart = textStart + start;
        const auto it =
            map.constFind(spunText.mid(start, end - start).toString() + QString::number(wordStart));
        // The start check keeps the word «5» at 0 from matching the empty output of a group
        // at 50 (key «50»).
        if (it != map.constEnd() && (*it)[2] == wordStart)
            return *it;
    }
    // Entries starting at or before the position; the smallest range that holds it wins,
    // which is the innermost recorded group.
    const auto last = std::upper_bound(bySpunStart.begin(), bySpunStart.end(), position,
                                       [](qsizetype pos, const Entry &e) { return pos < e[2]; });
    std::optional<Entry> best;
    for (auto it = bySpunStart.begin(); it != last; ++it) {
        const Entry &e = *it;
        if (position < e[3] && (!best || e[3] - e[2] < (*best)[3] - (*best)[2]))
            best = e;
    }
    return best;
}
