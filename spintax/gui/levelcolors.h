#pragma once

#include <QColor>
#include <QVariantMap>

#include <array>

class QSettings;

namespace spintax {

// Colours of the spin-syntax nesting levels. Levels 1 to 5 have their own
// colour; deeper levels reuse the level 1 colour; level 0 (text outside every
// group) and negative levels (after a stray `}`) are black, and so is a level
// whose colour is not set.
class LevelColors final
{
public:
    static constexpr int levelCount = 5;

    LevelColors() = default;

    // Blue, (0,128,0), red, (255,128,0) and (155,128,13) for levels 1 to 5.
    static LevelColors defaults();

    // Reads the "level 1" ... "level 5" entries of the `applicationColors` map,
    // whose values are 32-bit ARGB numbers as signed decimal text
    // ("-16776961" is opaque blue). Missing or unreadable entries stay unset.
    static LevelColors fromMap(const QVariantMap &applicationColors);

    // The `applicationColors` map of the program's settings store (the one
    // storage/settingsstore.h manages); the defaults when the key is absent.
    // Nothing is written: storing the defaults is the colour dialog's job.
    static LevelColors fromSettings();
    static LevelColors fromSettings(const QSettings &settings);

    // The colour a text at nesting `level` is shown in.
    QColor color(int level) const;

    // Sets the colour of level 1 to 5; other levels are ignored.
    void setColor(int level, const QColor &color);

    // The level whose colour `depth` uses: 0 for depth 0 or less, the depth
    // for 1 to 5, and 1 above 5.
    static int colorLevel(qsizetype depth)
    {
        if (depth <= 0)
            return 0;
        return depth <= levelCount ? int(depth) : 1;
    }

    friend bool operator==(const LevelColors &a, const LevelColors &b)
    {
        return a.levels == b.levels;
    }

private:
    // Index 0 is level 1; an invalid QColor means "not set".
    std::array<QColor, levelCount> levels;
};

} // namespace spintax
