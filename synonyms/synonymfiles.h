#pragma once

#include <QString>
#include <QStringView>

#include <optional>

// The four cache files of a language in the working folder and their shared frame: a version line
// ("synonym version 1.5"), a line feed, then the UTF-8 body.
//
//   code + "_syn.dat"       the synonym list in use
//   code + "_syn2.dat"      a downloaded synonym list waiting to replace it
//   code + "_syn_fav.dat"   the favourites list in use
//   code + "_syn_fav2.dat"  a downloaded favourites list waiting to replace it
class SynonymFiles final
{
public:
    static QString listFile(const QString &code) { return code + QStringLiteral("_syn.dat"); }
    static QString waitingListFile(const QString &code)
    {
        return code + QStringLiteral("_syn2.dat");
    }
    static QString favFile(const QString &code) { return code + QStringLiteral("_syn_fav.dat"); }
    static QString waitingFavFile(const QString &code)
    {
        return code + QStringLiteral("_syn_fav2.dat");
    }

    // The number of a version line: trimmed, "synonym version" removed when present, trimmed
    // again, read as a decimal number ("synonym version 2.1" -> 2.1, "3" -> 3). nullopt when no
    // finite number is left.
    static std::optional<double> parseVersionLine(QStringView line);

    enum class VersionStatus
    {
        Missing,
        Read,
        Unparsable
    };
    struct Version
    {
        VersionStatus status = VersionStatus::Missing;
        double value = 0;
    };
    // The version of a cache file. A file that is absent or cannot be opened is Missing.
    static Version readVersion(const QString &path);

    // Puts waiting downloads of `code` in place: a waiting list replaces the list in use, then a
    // waiting favourites list the favourites in use. Returns false when a rename failed (the
    // waiting file is then left for the next attempt).
    static bool promoteWaiting(const QString &tempDir, const QString &code);
};
