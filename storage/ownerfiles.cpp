#include "ownerfiles.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace storage {

namespace {

constexpr mode_t ownerReadWrite = S_IRUSR | S_IWUSR;

QByteArray nativePath(const QString &path)
{
    return QFile::encodeName(QDir::toNativeSeparators(path));
}

QString linkRefused(const QString &path)
{
    return QStringLiteral("%1 is a symbolic link; it is left alone")
        .arg(QDir::toNativeSeparators(path));
}

// Checks an opened descriptor: a regular file, ours, and at most 0600 afterwards.
QString checkOpened(int fd, const QString &path)
{
    struct stat st;
    if (::fstat(fd, &st) != 0)
        return systemError(errno);
    if (!S_ISREG(st.st_mode))
        return QStringLiteral("%1 is not a regular file").arg(QDir::toNativeSeparators(path));
    if (st.st_uid != ::geteuid())
        return QStringLiteral("%1 belongs to another user").arg(QDir::toNativeSeparators(path));
    if ((st.st_mode & 07777 & ~ownerReadWrite) != 0 && ::fchmod(fd, ownerReadWrite) != 0)
        return systemError(errno);
    return {};
}

// open(2) that never follows a link in the last component; a link there fails with ELOOP.
int openNoFollow(const QString &path, int flags)
{
    int fd;
    do {
        fd = ::open(nativePath(path).constData(), flags | O_NOFOLLOW | O_CLOEXEC, ownerReadWrite);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

QString openError(const QString &path, int errorNumber)
{
    if (errorNumber == ELOOP || isSymLink(path))
        return linkRefused(path);
    return QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), systemError(errorNumber));
}

} // namespace

bool isSymLink(const QString &path)
{
    struct stat st;
    return ::lstat(nativePath(path).constData(), &st) == 0 && S_ISLNK(st.st_mode);
}

QString systemError(int errorNumber)
{
    return QString::fromLocal8Bit(std::strerror(errorNumber));
}

OpenedFile openOwnerOnlyForAppend(const QString &path)
{
    OpenedFile result;
    const int fd = openNoFollow(path, O_WRONLY | O_APPEND | O_CREAT);
    if (fd < 0) {
        result.error = openError(path, errno);
        return result;
    }
    result.error = checkOpened(fd, path);
    if (!result.error.isEmpty()) {
        ::close(fd);
        return result;
    }
    auto file = std::make_unique<QFile>();
    if (!file->open(fd, QIODevice::WriteOnly | QIODevice::Append, QFileDevice::AutoCloseHandle)) {
        result.error = file->errorString();
        ::close(fd);
        return result;
    }
    result.file = std::move(file);
    return result;
}

QString ensureOwnerOnlyFile(const QString &path)
{
    const int fd = openNoFollow(path, O_RDONLY | O_CREAT);
    if (fd < 0)
        return openError(path, errno);
    const QString error = checkOpened(fd, path);
    ::close(fd);
    return error;
}

OwnerOnlySaveFile::OwnerOnlySaveFile(QString path) : path(std::move(path)) {}

OwnerOnlySaveFile::~OwnerOnlySaveFile()
{
    cancel();
}

bool OwnerOnlySaveFile::fail(const QString &what, int errorNumber)
{
    error = QStringLiteral("%1 %2: %3")
                .arg(what, QDir::toNativeSeparators(path), systemError(errorNumber));
    cancel();
    return false;
}

bool OwnerOnlySaveFile::open()
{
    cancel();
    error.clear();
    // Only a regular file is replaced: a link is left alone, and a folder or device in its place
    // is reported before anything is written.
    struct stat st;
    if (::lstat(nativePath(path).constData(), &st) == 0 && !S_ISREG(st.st_mode)) {
        error =
            S_ISLNK(st.st_mode)
                ? linkRefused(path)
                : QStringLiteral("%1 is not a regular file").arg(QDir::toNativeSeparators(path));
        return false;
    }
    // A fresh, exclusively created name: nothing planted can stand in for it.
    for (int attempt = 0; attempt < 16; ++attempt) {
        const QString candidate =
            path + QStringLiteral(".%1.tmp").arg(QRandomGenerator::global()->generate(), 8, 16,
                                                 QLatin1Char('0'));
        fd = openNoFollow(candidate, O_WRONLY | O_CREAT | O_EXCL);
        if (fd >= 0) {
            tempPath = candidate;
            return true;
        }
        if (errno != EEXIST)
            return fail(QStringLiteral("Could not create a temporary file for"), errno);
    }
    return fail(QStringLiteral("Could not create a temporary file for"), EEXIST);
}

bool OwnerOnlySaveFile::write(QByteArrayView data)
{
    if (fd < 0)
        return false;
    const char *p = data.data();
    qsizetype left = data.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, size_t(left));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return fail(QStringLiteral("Could not write"), errno);
        }
        p += n;
        left -= n;
    }
    return true;
}

bool OwnerOnlySaveFile::commit()
{
    if (fd < 0)
        return false;
    if (::fsync(fd) != 0)
        return fail(QStringLiteral("Could not write"), errno);
    const int closed = ::close(fd);
    fd = -1;
    if (closed != 0)
        return fail(QStringLiteral("Could not write"), errno);
    // A link may have been put in place while we wrote; rename would replace it, but a link
    // found at the final name is the user's or an attacker's and is left as it is.
    if (isSymLink(path)) {
        error = linkRefused(path);
        cancel();
        return false;
    }
    if (::rename(nativePath(tempPath).constData(), nativePath(path).constData()) != 0)
        return fail(QStringLiteral("Could not replace"), errno);
    tempPath.clear();
    return true;
}

void OwnerOnlySaveFile::cancel()
{
    if (fd >= 0) {
        ::close(fd);
        fd = -1;
    }
    if (!tempPath.isEmpty()) {
        ::unlink(nativePath(tempPath).constData());
        tempPath.clear();
    }
}

QString writeOwnerOnlyFile(const QString &path, QByteArrayView data)
{
    OwnerOnlySaveFile file(path);
    if (!file.open() || !file.write(data) || !file.commit())
        return file.errorString();
    return {};
}

} // namespace storage
