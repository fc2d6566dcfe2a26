#include "zipstreamwriter.h"

#include <QIODevice>

#include <archive.h>
#include <archive_entry.h>

#include <cstring>
#include <ctime>

namespace spintax {

namespace {

la_ssize_t writeToDevice(struct archive *a, void *state, const void *buffer, size_t length)
{
    auto *device = static_cast<QIODevice *>(state);
    if (!device->isOpen()) { // an abandoned archive: its end is not written anywhere
        archive_set_error(a, EIO, "the archive was abandoned");
        return -1;
    }
    const qint64 written = device->write(static_cast<const char *>(buffer), qint64(length));
    if (written != qint64(length)) {
        archive_set_error(a, EIO, "%s", device->errorString().toLocal8Bit().constData());
        return -1;
    }
    return la_ssize_t(written);
}

} // namespace

ZipStreamWriter::ZipStreamWriter(QIODevice &device) : device(device) {}

ZipStreamWriter::~ZipStreamWriter()
{
    abandon();
}

void ZipStreamWriter::abandon()
{
    if (writer)
        archive_write_free(writer);
    writer = nullptr;
    inEntry = false;
}

bool ZipStreamWriter::fail()
{
    if (writer && archive_error_string(writer))
        error = QString::fromLocal8Bit(archive_error_string(writer));
    else if (error.isEmpty())
        error = QStringLiteral("the archive could not be written");
    return false;
}

bool ZipStreamWriter::open()
{
    writer = archive_write_new();
    if (!writer) {
        error = QStringLiteral("out of memory");
        return false;
    }
    // Names are written as UTF-8 and flagged so; the bytes are handed to the device as they
    // come, without libarchive's 10 KiB block padding.
    if (archive_write_set_format_zip(writer) != ARCHIVE_OK ||
        archive_write_set_options(writer, "zip:compression=deflate,zip:hdrcharset=UTF-8") !=
            ARCHIVE_OK ||
        archive_write_set_bytes_per_block(writer, 0) != ARCHIVE_OK ||
        archive_write_open2(writer, &device, nullptr, writeToDevice, nullptr, nullptr) !=
            ARCHIVE_OK)
        return fail();
    return true;
}

bool ZipStreamWriter::beginEntry(const QString &name, qint64 size)
{
    if (!writer || inEntry)
        return false;
    archive_entry *entry = archive_entry_new();
    archive_entry_set_pathname_utf8(entry, name.toUtf8().constData());
    archive_entry_set_filetype(entry, AE_IFREG);
    archive_entry_set_perm(entry, 0644);
    archive_entry_set_mtime(entry, std::time(nullptr), 0);
    if (size >= 0)
        archive_entry_set_size(entry, size);
    else
        archive_entry_unset_size(entry);
    const int status = archive_write_header(writer, entry);
    archive_entry_free(entry);
    if (status != ARCHIVE_OK)
        return fail();
    inEntry = true;
    return true;
}

bool ZipStreamWriter::write(QByteArrayView data)
{
    if (!inEntry)
        return false;
    const char *p = data.data();
    qsizetype left = data.size();
    while (left > 0) {
        const la_ssize_t n = archive_write_data(writer, p, size_t(left));
        if (n <= 0)
            return fail();
        p += n;
        left -= n;
    }
    return true;
}

bool ZipStreamWriter::endEntry()
{
    if (!inEntry)
        return false;
    inEntry = false;
    if (archive_write_finish_entry(writer) != ARCHIVE_OK)
        return fail();
    return true;
}

bool ZipStreamWriter::close()
{
    if (!writer)
        return false;
    if (inEntry && !endEntry())
        return false;
    const int status = archive_write_close(writer);
    if (status != ARCHIVE_OK) {
        fail();
        archive_write_free(writer);
        writer = nullptr;
        return false;
    }
    archive_write_free(writer);
    writer = nullptr;
    return true;
}

} // namespace spintax
