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

std::optional<SpunLinks::Entry> SpunLinks::at(QStringView spunText, qsizetype position) const
{
    if (map.isEmpty() || position < 0 || position >= spunText.size())
        return std::nullopt;
    if (!spunText[position].isSpace()) {
        qsizetype start = position;
        while (start > 0 && !spunText[start - 1].isSpace())
            --start;
        qsizetype end = position;
        while (end < spunText.size() && !spunText[end].isSpace())
            ++end;
        const auto it =
            map.constFind(spunText.mid(start, end - start).toString() + QString::number(start));
        // The start check keeps the word «5» at 0 from matching the empty output of a group
        // at 50 (key «50»).
        if (it != map.constEnd() && (*it)[2] == start)
            return *it;
    }
    // Entries starting at or before the position; the smallest range that holds it wins,
    // which is the innermost recorded group.
    const auto last = std::upper_bound(
        bySpunStart.begin(), bySpunStart.end(), position,
        [](qsizetype pos, const Entry &e) { return pos < e[2]; });
    std::optional<Entry> best;
    for (auto it = bySpunStart.begin(); it != last; ++it) {
        const Entry &e = *it;
        if (position < e[3] && (!best || e[3] - e[2] < (*best)[3] - (*best)[2]))
            best = e;
    }
    return best;
}
