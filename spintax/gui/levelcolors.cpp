#include "levelcolors.h"

#include <QSettings>

namespace spintax {

LevelColors LevelColors::defaults()
{
    LevelColors colors;
    colors.levels = {QColor(0, 0, 255), QColor(0, 128, 0), QColor(255, 0, 0), QColor(255, 128, 0),
                     QColor(155, 128, 13)};
    return colors;
}

LevelColors LevelColors::fromMap(const QVariantMap &applicationColors)
{
    LevelColors colors;
    for (int level = 1; level <= levelCount; ++level) {
        const QVariant value = applicationColors.value(QStringLiteral("level %1").arg(level));
        bool ok = false;
        const qlonglong argb = value.toString().trimmed().toLongLong(&ok);
        // The stored text is the signed form of an unsigned 32-bit value, so
        // both -2^31..2^31-1 and 0..2^32-1 are accepted.
        if (ok && argb >= -0x80000000LL && argb <= 0xffffffffLL)
            colors.setColor(level, QColor::fromRgba(quint32(argb)));
    }
    return colors;
}

LevelColors LevelColors::fromSettings()
{
    // The names the whole program opens its settings store with; this library
    // sits below the storage library and cannot ask it.
    const QSettings settings(QSettings::NativeFormat, QSettings::UserScope,
                             QStringLiteral("Tarnvale org"), QStringLiteral("Polyvane Alpha 1.0"));
    return fromSettings(settings);
}

LevelColors LevelColors::fromSettings(const QSettings &settings)
{
    const QVariant stored = settings.value(QStringLiteral("applicationColors"));
    if (!stored.isValid())
        return defaults();
    return fromMap(stored.toMap());
}

QColor LevelColors::color(int level) const
{
    if (level > levelCount)
        level = 1;
    if (level < 1)
        return Qt::black;
    const QColor &c = levels[level - 1];
    return c.isValid() ? c : QColor(Qt::black);
}

void LevelColors::setColor(int level, const QColor &color)
{
    if (level >= 1 && level <= levelCount)
        levels[level - 1] = color;
}

} // namespace spintax
