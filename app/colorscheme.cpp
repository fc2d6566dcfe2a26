#include "colorscheme.h"

#include "storage/settingsstore.h"

#include <algorithm>
#include <iterator>

namespace {

struct Fixed
{
    const char *key;
    const char *label;
};
constexpr Fixed fixedRows[] = {
    {"no synonym", "No Synonym"}, {"replace", "Replace"}, {"first term", "First Term"}};
constexpr qsizetype fixedCount = std::size(fixedRows);

QColor colorOf(const QVariantMap &colors, const QString &key)
{
    const std::optional<quint32> argb = storage::argbFromText(colors.value(key));
    return argb ? QColor::fromRgba(*argb) : QColor(Qt::black);
}

} // namespace

ColorScheme ColorScheme::fromMap(const QVariantMap &colors)
{
    ColorScheme scheme;
    const qsizetype levels = std::max<qsizetype>(0, colors.size() - fixedCount);
    for (qsizetype level = 1; level <= levels; ++level) {
        const QString key = QStringLiteral("level %1").arg(level);
        scheme.rows.append({key, QStringLiteral("Level %1").arg(level), colorOf(colors, key)});
    }
    for (const Fixed &f : fixedRows) {
        const QString key = QLatin1String(f.key);
        scheme.rows.append({key, QLatin1String(f.label), colorOf(colors, key)});
    }
    return scheme;
}

QVariantMap ColorScheme::toMap() const
{
    QVariantMap map;
    for (const Row &row : rows)
        map.insert(row.key, storage::argbText(row.color.rgba()));
    return map;
}

qsizetype ColorScheme::levelCount() const
{
    return std::max<qsizetype>(0, rows.size() - fixedCount);
}
