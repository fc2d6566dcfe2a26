#include "workingfolder.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QtGlobal>

namespace storage {

namespace {

constexpr QFile::Permissions ownerOnly = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                         QFile::ReadUser | QFile::WriteUser | QFile::ExeUser;

QString withTrailingSlash(const QString &folder)
{
    return folder.endsWith(u'/') ? folder : folder + u'/';
}

} // namespace

bool ensureOwnerOnlyFolder(const QString &folder)
{
    const QString clean = QDir::cleanPath(folder);
    if (clean.isEmpty())
        return false;
    const QFileInfo info(clean);
    if (info.isDir())
        return true;
    if (info.exists())
        return false; // a file stands where the folder should be
    // Parents are ordinary folders (e.g. ~/.local/share); only our own folder is owner-only.
    const QString parent = info.absolutePath();
    if (!QDir().mkpath(parent))
        return false;
    QDir dir;
    return dir.mkdir(info.absoluteFilePath(), ownerOnly) || QFileInfo(clean).isDir();
}

QString workingFolder()
{
    QString folder;
    const QString home = qEnvironmentVariable("REWORDIX_HOME");
    if (!home.isEmpty()) {
        // Returned absolute: the tempDir kept by the program must not follow later changes
        // of the current directory.
        folder = QDir::cleanPath(QFileInfo(home).absoluteFilePath());
    } else {
#ifdef Q_OS_WIN
        folder = QDir::rootPath() + QStringLiteral("rewordix_temp");
#else
        folder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                 QStringLiteral("/rewordix_temp");
#endif
    }
    folder = withTrailingSlash(folder);
    if (!ensureOwnerOnlyFolder(folder))
        qWarning("Cannot create the working folder %s", qUtf8Printable(folder));
    return folder;
}

} // namespace storage
