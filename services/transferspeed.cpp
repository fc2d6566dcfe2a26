#include "transferspeed.h"

#include <cmath>

namespace transferspeed {

QString number(double value)
{
    // nearbyint rounds halves to even in the default rounding mode.
    const double rounded = std::nearbyint(value * 100.0) / 100.0;
    QString text = QString::number(rounded, 'f', 2);
    if (text.endsWith(u'0'))
        text.chop(1);
    return text;
}

QString speedText(qint64 received, qint64 elapsedMs, QStringView byteUnit)
{
    double speed = double(received) * 1000.0 / double(qMax<qint64>(1, elapsedMs));
    QString unit = byteUnit.toString();
    if (speed >= 1048576.0) {
        speed /= 1048576.0;
        unit = QStringLiteral("MB/s");
    } else if (speed >= 1024.0) {
        speed /= 1024.0;
        unit = QStringLiteral("kB/s");
    }
    return QStringLiteral("Download Speed: ") + number(speed) + u' ' + unit;
}

} // namespace transferspeed
