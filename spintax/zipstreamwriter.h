#pragma once

#include <QByteArrayView>
#include <QString>

struct archive;
class QIODevice;

namespace spintax {

// Writes a ZIP archive entry by entry with libarchive: each entry is deflate-compressed as its
// bytes arrive and goes to the device at once, so memory stays flat however many copies an
// export holds. Entries are named by bare UTF-8 file names. An entry whose size is not known
// in advance (a single file streamed in pieces) gets a data descriptor after its data, which
// every ZIP reader understands.
//
// The writer only writes to an open device; where the archive file lives, and that it gets its
// final name only when complete, is the caller's business.
class ZipStreamWriter final
{
public:
    explicit ZipStreamWriter(QIODevice &device);
    ~ZipStreamWriter(); // abandons an archive that was not closed
    Q_DISABLE_COPY_MOVE(ZipStreamWriter)

    bool open();
    // size < 0: not known yet.
    bool beginEntry(const QString &name, qint64 size = -1);
    bool write(QByteArrayView data);
    bool endEntry();
    // Writes the central directory. An archive without entries is valid too.
    bool close();
    // Drops an archive that will not be completed, while the device is still open (libarchive
    // writes its end on the way out and keeps its buffers when it cannot).
    void abandon();

    QString errorString() const { return error; }

private:
    bool fail();

    QIODevice &device;
    archive *writer = nullptr;
    bool inEntry = false;
    QString error;
};

} // namespace spintax
