#include "ziparchivewriter.h"

#include <QFile>
#include <QSaveFile>

#include <zip.h>

namespace spintax {

namespace {

QString zipErrorText(zip_t *za)
{
    return QString::fromLocal8Bit(zip_error_strerror(zip_get_error(za)));
}

struct CloseCallbacks
{
    const ZipArchiveWriter::Progress *progress = nullptr;
    bool cancelled = false;
};

void onCloseProgress(zip_t *, double fraction, void *state)
{
    auto *cb = static_cast<CloseCallbacks *>(state);
    if (cb->progress && *cb->progress && !(*cb->progress)(fraction))
        cb->cancelled = true;
}

int onCloseCancel(zip_t *, void *state)
{
    return static_cast<CloseCallbacks *>(state)->cancelled ? 1 : 0;
}

// End-of-central-directory record of an archive without entries.
QByteArray emptyArchive()
{
    QByteArray eocd(22, '\0');
    eocd[0] = 'P';
    eocd[1] = 'K';
    eocd[2] = 5;
    eocd[3] = 6;
    return eocd;
}

} // namespace

ZipArchiveWriter::ZipArchiveWriter(QString archivePath) : archivePath(std::move(archivePath)) {}

ZipArchiveWriter::~ZipArchiveWriter()
{
    discard();
}

bool ZipArchiveWriter::open()
{
    int errorCode = 0;
    archive = zip_open(QFile::encodeName(archivePath).constData(), ZIP_CREATE | ZIP_TRUNCATE,
                       &errorCode);
    if (!archive) {
        zip_error_t ze;
        zip_error_init_with_code(&ze, errorCode);
        error = QString::fromLocal8Bit(zip_error_strerror(&ze));
        zip_error_fini(&ze);
        return false;
    }
    return true;
}

bool ZipArchiveWriter::add(const QString &name, QByteArray data)
{
    if (!archive)
        return false;
    buffers.push_back(std::move(data));
    const QByteArray &buffer = buffers.back();
    zip_source_t *source = zip_source_buffer(archive, buffer.constData(),
                                             zip_uint64_t(buffer.size()), 0);
    if (!source) {
        error = zipErrorText(archive);
        return false;
    }
    const zip_int64_t index =
        zip_file_add(archive, name.toUtf8().constData(), source, ZIP_FL_ENC_UTF_8);
    if (index < 0) {
        // The archive took no ownership of the source.
        zip_source_free(source);
        error = zipErrorText(archive);
        return false;
    }
    if (zip_set_file_compression(archive, zip_uint64_t(index), ZIP_CM_DEFLATE, 0) < 0) {
        error = zipErrorText(archive);
        return false;
    }
    ++entries;
    return true;
}

bool ZipArchiveWriter::commit(const Progress &progress)
{
    if (!archive)
        return false;
    if (entries == 0) {
        zip_discard(archive);
        archive = nullptr;
        QSaveFile file(archivePath);
        if (!file.open(QIODevice::WriteOnly) || file.write(emptyArchive()) != 22 ||
            !file.commit()) {
            error = file.errorString();
            return false;
        }
        return true;
    }

    CloseCallbacks callbacks{&progress, false};
    zip_register_progress_callback_with_state(archive, 0.01, onCloseProgress, nullptr,
                                              &callbacks);
    zip_register_cancel_callback_with_state(archive, onCloseCancel, nullptr, &callbacks);
    if (zip_close(archive) < 0) {
        cancelled = callbacks.cancelled;
        error = zipErrorText(archive);
        discard();
        return false;
    }
    archive = nullptr;
    buffers.clear();
    return true;
}

void ZipArchiveWriter::discard()
{
    if (archive) {
        zip_discard(archive);
        archive = nullptr;
    }
    buffers.clear();
}

} // namespace spintax
