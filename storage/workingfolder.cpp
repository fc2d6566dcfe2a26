#include "workingfolder.h"

#include "ownerfiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QtGlobal>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace storage {

namespace {

QString withTrailingSlash(const QString &folder)
{
    return folder.endsWith(u'/') ? folder : folder + u'/';
}

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

// Checks an existing folder through a descriptor, so the folder checked is the folder changed.
FolderCheck checkExistingFolder(const QString &folder)
{
    FolderCheck check;
    const int fd =
        ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        check.error = QStringLiteral("The folder %1 cannot be opened: %2")
                          .arg(native(folder), systemError(errno));
        return check;
    }
    struct stat st;
    if (::fstat(fd, &st) != 0) {
        check.error = QStringLiteral("The folder %1 cannot be checked: %2")
                          .arg(native(folder), systemError(errno));
    } else if (st.st_uid != ::geteuid()) {
        check.error = QStringLiteral("The folder %1 belongs to another user (user id %2); it is "
                                     "not used, because whoever owns it could read or replace "
                                     "the database with your passwords.")
                          .arg(native(folder))
                          .arg(st.st_uid);
    } else if ((st.st_mode & (S_IWGRP | S_IWOTH)) != 0) {
        if (::fchmod(fd, S_IRWXU) == 0) {
            check.tightened = true;
        } else {
            check.error = QStringLiteral("The folder %1 may be written by other users and its "
                                         "permissions cannot be narrowed: %2")
                              .arg(native(folder), systemError(errno));
        }
    }
    ::close(fd);
    return check;
}

} // namespace

FolderCheck prepareOwnerOnlyFolder(const QString &folder)
{
    FolderCheck check;
    const QString clean = QDir::cleanPath(folder);
    if (clean.isEmpty()) {
        check.error = QStringLiteral("No folder given");
        return check;
    }
    const QFileInfo info(clean);
    if (info.isDir())
        return checkExistingFolder(clean);
    if (info.exists() || info.isSymLink()) {
        check.error = QStringLiteral("Could not create the folder %1: a file or a broken link "
                                     "stands in its place")
                          .arg(native(clean));
        return check;
    }
    // Parents are ordinary folders (e.g. ~/.local/share); only our own folder is owner-only.
    const QString parent = info.absolutePath();
    if (!QDir().mkpath(parent)) {
        check.error = QStringLiteral("Could not create the folder %1: %2")
                          .arg(native(parent), systemError(errno));
        return check;
    }
    if (::mkdir(QFile::encodeName(info.absoluteFilePath()).constData(), S_IRWXU) != 0 &&
        errno != EEXIST) {
        check.error = QStringLiteral("Could not create the folder %1: %2")
                          .arg(native(clean), systemError(errno));
        return check;
    }
    // Also when another process made it a moment ago: the same rules hold for it.
    return checkExistingFolder(clean);
}

bool ensureOwnerOnlyFolder(const QString &folder)
{
    return prepareOwnerOnlyFolder(folder).ok();
}

QString workingFolderPath()
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
    return withTrailingSlash(folder);
}

WorkingFolder openWorkingFolder()
{
    WorkingFolder result;
    result.path = workingFolderPath();
    result.error = prepareOwnerOnlyFolder(result.path).error;
    return result;
}

QString workingFolder()
{
    const WorkingFolder folder = openWorkingFolder();
    if (!folder.ok())
        qWarning("The working folder is refused: %s", qUtf8Printable(folder.error));
    return folder.path;
}

} // namespace storage
