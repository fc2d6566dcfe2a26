#pragma once

#include <QString>

// The five append-only usage logs of a language in the working folder, collected and deleted by
// the start-up upload:
//
//   code + "_qlog.log"        a row ticked or unticked in Spin mode   "word|entry|1" or "...|0"
//   code + "_log.log"         a synonym added (also one already listed) "word|synonym"
//   code + "_fav_log.log"     a user or server synonym starred          "word|synonym"
//   code + "_unfav_log.log"   a user or community favourite unstarred   "word|synonym"
//   code + "_delete_log.log"  a synonym removed                         "word|synonym"
//
// Files are UTF-8 and begin with a byte-order mark; records are separated by a line feed, the
// last one has no line end. A file that cannot be opened is skipped without a word: the logs only
// feed the vendor's statistics.
class UsageLog final
{
public:
    enum class Kind
    {
        Quick,
        Add,
        Favourite,
        Unfavourite,
        Delete
    };

    static QString fileName(const QString &code, Kind kind);

    // "word|entry|1": `label` (the panel's label) trimmed, the entry of the row just clicked and
    // whether it became ticked.
    static QString quickRecord(const QString &label, const QString &entry, bool selected);
    // "word|synonym" for the other four logs.
    static QString record(const QString &label, const QString &synonym);

    // Appends one record to tempDir + fileName(code, kind); false when the file could not be
    // opened or written.
    static bool append(const QString &tempDir, const QString &code, Kind kind,
                       const QString &record);
};
