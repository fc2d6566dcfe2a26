#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <vector>

struct zip;

namespace spintax {

// Builds a ZIP archive from memory with libzip: every entry is deflate-compressed and named
// by a bare file name, in the order added. Nothing touches the disk until commit(), which
// writes the archive beside its final path and renames it into place, so an archive is
// either complete or not there at all. An archive without entries is still written (libzip
// alone would write no file for it).
class ZipArchiveWriter final
{
public:
    // Called during commit() with the fraction compressed so far; returning false cancels.
    using Progress = std::function<bool(double fraction)>;

    explicit ZipArchiveWriter(QString archivePath);
    ~ZipArchiveWriter();
    Q_DISABLE_COPY_MOVE(ZipArchiveWriter)

    bool open();
    bool add(const QString &name, QByteArray data);
    bool commit(const Progress &progress = {});
    // Drops everything added; no file is written.
    void discard();

    QString errorString() const { return error; }
    bool wasCancelled() const { return cancelled; }

private:
    QString archivePath;
    zip *archive = nullptr;
    // libzip reads the entry data only when the archive is closed, so the buffers it was
    // handed stay here until then.
    std::vector<QByteArray> buffers;
    int entries = 0;
    QString error;
    bool cancelled = false;
};

} // namespace spintax
