#include "synonymfiles.h"

#include <QFile>

#include <cmath>

std::optional<double> SynonymFiles::parseVersionLine(QStringView line)
{
    line = line.trimmed();
    // A byte-order mark in front of the version line is not part of it.
    if (line.startsWith(QChar::ByteOrderMark))
        line = line.sliced(1).trimmed();
    const QStringView prefix = u"synonym version";
    if (line.startsWith(prefix))
        line = line.sliced(prefix.size()).trimmed();
    bool ok = false;
    const double v = line.toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

SynonymFiles::Version SynonymFiles::readVersion(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    // The version line is short; a file without a line feed in its first kilobyte has none.
    const QByteArray first = f.readLine(1024);
    const std::optional<double> v = parseVersionLine(QString::fromUtf8(first));
    if (!v)
        return {VersionStatus::Unparsable, 0};
    return {VersionStatus::Read, *v};
}

bool SynonymFiles::promoteWaiting(const QString &tempDir, const QString &code)
{
    bool ok = true;
    auto promote = [&](const QString &waiting, const QString &inUse) {
        if (!QFile::exists(tempDir + waiting))
            return;
        if (QFile::exists(tempDir + inUse))
            QFile::remove(tempDir + inUse);
        if (!QFile::rename(tempDir + waiting, tempDir + inUse)) {
            qWarning("Cannot put %s in place of %s", qPrintable(tempDir + waiting),
                     qPrintable(inUse));
            ok = false;
        }
    };
    promote(waitingListFile(code), listFile(code));
    promote(waitingFavFile(code), favFile(code));
    return ok;
}
