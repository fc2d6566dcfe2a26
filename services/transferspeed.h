#pragma once

#include <QString>
#include <QStringView>

// The speed label of every download row: "Download Speed: " + number + " " + unit.
namespace transferspeed {

// Units below one kilobyte per second: the English list download says "B/s", all others
// "bytes/s".
inline constexpr QStringView shortByteUnit = u"B/s";
inline constexpr QStringView longByteUnit = u"bytes/s";

// `value` rounded half-even to two decimals and printed with "." in the shortest form that keeps
// at least one decimal: 3 -> "3.0", 12.5 -> "12.5", 12.345 -> "12.35" (12.345 is stored as
// 12.3449..., which rounds down), 0.125 -> "0.12".
QString number(double value);

// "Download Speed: 1.5 kB/s" for `received` bytes in `elapsedMs` milliseconds (taken as at least
// 1 ms): below 1024 bytes/s in `byteUnit`, below 1048576 in "kB/s", above that in "MB/s".
QString speedText(qint64 received, qint64 elapsedMs, QStringView byteUnit);

} // namespace transferspeed
