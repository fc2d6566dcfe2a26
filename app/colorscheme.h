#pragma once

#include <QColor>
#include <QList>
#include <QString>
#include <QVariantMap>

// The rows of the colour settings dialog and their `applicationColors` map: one row per level
// ("level 1" ... shown as "Level 1" ...) followed by "no synonym", "replace" and "first term".
// Map values are 32-bit ARGB numbers as signed decimal text ("-16776961" is opaque blue).
struct ColorScheme
{
    struct Row
    {
        QString key;   // "level 1", "no synonym", ...
        QString label; // "Level 1", "No Synonym", ...
        QColor color;

        bool operator==(const Row &) const = default;
    };

    // The last three rows are the fixed entries; everything before them is a level.
    QList<Row> rows;

    // The number of level rows is the number of entries minus the three fixed ones. An entry
    // that is missing or unreadable shows black.
    static ColorScheme fromMap(const QVariantMap &colors);
    QVariantMap toMap() const;

    qsizetype levelCount() const;

    bool operator==(const ColorScheme &) const = default;
};
