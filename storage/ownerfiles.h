#pragma once

#include <QByteArrayView>
#include <QFile>
#include <QString>

#include <memory>

// Writing files in the working folder without ever following a symbolic link, and owner-only
// (0600): the folder holds blog passwords, the Copyscape key and the user's synonyms, so a link
// planted there must not redirect a write, and nothing written there may be readable by others.
// A link found where a file is to be written is reported and left alone.
namespace storage {

// Whether `path` itself is a symbolic link (the link is not followed).
bool isSymLink(const QString &path);

// The reason of the last failed system call, as strerror() words it ("No space left on
// device").
QString systemError(int errorNumber);

// Opens `path` for appending, creating it owner-only when absent; an existing file with wider
// permissions is narrowed to 0600. Refuses a symbolic link or anything that is not a regular
// file. Returns the opened file, or no file and the reason.
struct OpenedFile
{
    std::unique_ptr<QFile> file; // null when the file could not be opened
    QString error;
};
OpenedFile openOwnerOnlyForAppend(const QString &path);

// Creates `path` owner-only if it is absent (an empty file), or narrows an existing regular
// file to 0600. Returns the empty string on success, else the reason (a link is refused).
QString ensureOwnerOnlyFile(const QString &path);

// Writes a whole file like QSaveFile (a temporary beside it, renamed over the final name when
// complete, so an interrupted write leaves the old file), but owner-only and without following
// links: the temporary is created exclusively, and a final name that is a symbolic link is
// refused instead of replaced or written through; so is a final name that is not a regular file.
class OwnerOnlySaveFile final
{
public:
    explicit OwnerOnlySaveFile(QString path);
    ~OwnerOnlySaveFile(); // removes an uncommitted temporary
    Q_DISABLE_COPY_MOVE(OwnerOnlySaveFile)

    bool open();
    bool write(QByteArrayView data);
    // Flushes and renames the temporary over the final name.
    bool commit();
    void cancel();

    QString fileName() const { return path; }
    QString errorString() const { return error; }

private:
    bool fail(const QString &what, int errorNumber);

    QString path;
    QString tempPath;
    int fd = -1;
    QString error;
};

// Writes `data` to `path` through an OwnerOnlySaveFile; the empty string on success, else the
// reason.
QString writeOwnerOnlyFile(const QString &path, QByteArrayView data);

} // namespace storage
