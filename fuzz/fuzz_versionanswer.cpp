// The update server's version answers from arbitrary bytes: the list-version answer only ever
// changes a group to a finite number, a field that does not read as one keeps the previous
// value, and the program version is finite and 0 for anything that is not a decimal number.
#include "services/serveranswers.h"

#include <QList>
#include <QString>

#include <cmath>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));

    const serveranswers::GroupVersions previous{-1, -2, -3, -4};
    const serveranswers::GroupVersions v = serveranswers::parseGroupVersions(bytes, previous);
    const QString text = QString::fromUtf8(bytes).trimmed();
    const QList<QStringView> fields = QStringView(text).split(u'|');
    for (size_t i = 0; i < v.size(); ++i) {
        if (!std::isfinite(v[i]))
            std::abort();
        const bool given = qsizetype(i) < fields.size();
        const std::optional<double> parsed =
            given ? serveranswers::parseDecimal(fields[qsizetype(i)]) : std::nullopt;
        if (parsed ? v[i] != *parsed : v[i] != previous[i])
            std::abort();
    }

    const double program = serveranswers::parseProgramVersion(bytes);
    if (!std::isfinite(program))
        std::abort();
    if (!serveranswers::parseDecimal(text) && program != 0)
        std::abort();
    return 0;
}
