#include "synonymfiles.h"

#include "storage/ownerfiles.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>

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
        const QString from = tempDir + waiting;
        const QString to = tempDir + inUse;
        if (!QFileInfo::exists(from) && !storage::isSymLink(from))
            return;
        if (storage::isSymLink(from) || storage::isSymLink(to)) {
            // A link in the working folder is not ours: it is reported and left alone.
            qWarning("Cannot put %s in place of %s: a symbolic link is in the way",
                     qPrintable(from), qPrintable(inUse));
            ok = false;
            return;
        }
        // rename(2) replaces the file in use in one step; QFile::rename would copy on failure.
        if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) !=
            0) {
            qWarning("Cannot put %s in place of %s: %s", qPrintable(from), qPrintable(inUse),
                     qPrintable(storage::systemError(errno)));
            ok = false;
        }
    };
    promote(waitingListFile(code), listFile(code));
    promote(waitingFavFile(code), favFile(code));
    return ok;
}
