#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <array>
#include <optional>

// Readers of what the update server sends back. All of it is outside input: any bytes are read
// without harm and give either a usable value or a clear "no".
namespace serveranswers {

// The latest list versions of the four language groups (eng/heb/ara, rom/ger/spa,
// swe/ita/fre, dut/por/bul).
using GroupVersions = std::array<double, 4>;

// The answer to the list-version query: the trimmed text split at "|", fields 1 to 4 read as
// decimal numbers. A missing or unreadable field keeps its value from `previous`.
GroupVersions parseGroupVersions(QByteArrayView answer, const GroupVersions &previous);

// A decimal number ("1.2", " 1.191\n"), or nullopt for anything else (empty text, words, "inf",
// "nan", hexadecimal).
std::optional<double> parseDecimal(QStringView text);

// The answer to the program-version query; 0 when it is not a decimal number.
double parseProgramVersion(QByteArrayView answer);

// Whether a downloaded program starts like an executable of this platform (ELF; "MZ" on
// Windows; Mach-O on macOS). An error page served with status 200 is not installed as the
// program.
bool looksLikeProgram(QByteArrayView body);

// A downloaded list or favourites file checked before it may replace the one in use.
struct ListDownload
{
    bool ok = false;
    QByteArray file; // version line, line feed, body: what goes to disk
    double version = 0;
    QString error; // why it was refused
};

// Accepts a download whose first line is a readable version line ("synonym version 4.1") and
// whose body is UTF-8; a line feed ends the version line (blanks and carriage returns before it
// are dropped), and a file of the version line alone is an empty list. Refused: an empty answer, a
// first line without a version, a body the synonym store could not decode.
ListDownload checkListDownload(QByteArrayView body);

} // namespace serveranswers
