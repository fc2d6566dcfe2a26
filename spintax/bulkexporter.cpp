#include "bulkexporter.h"

#include "copysource.h"
#include "distinctcopies.h"
#include "mergedata.h"
#include "ziparchivewriter.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringEncoder>

#include <memory>

namespace spintax {

namespace {

const QByteArray byteOrderMark("\xEF\xBB\xBF");

// Single files are handed to the disk in pieces of this size.
constexpr qsizetype streamChunk = 4 << 20;

// Where the files of one export go.
class Sink
{
public:
    virtual ~Sink() = default;
    virtual bool writeFile(const QString &name, QByteArray data) = 0;
    // A single file of a document type, written in pieces.
    virtual bool beginStream(const QString &name) = 0;
    virtual bool appendStream(QByteArray &chunk) = 0;   // consumes chunk
    virtual bool endStream() = 0;
    virtual bool finish(const BulkExporter::Progress &fraction) = 0;
    QString error;
    bool cancelled = false;
};

class FolderSink final : public Sink
{
public:
    explicit FolderSink(QString folder) : folder(std::move(folder)) {}

    bool writeFile(const QString &name, QByteArray data) override
    {
        QSaveFile file(pathOf(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size() ||
            !file.commit())
            return fail(file);
        return true;
    }
    bool beginStream(const QString &name) override
    {
        stream = std::make_unique<QSaveFile>(pathOf(name));
        if (!stream->open(QIODevice::WriteOnly))
            return fail(*stream);
        return true;
    }
    bool appendStream(QByteArray &chunk) override
    {
        const bool ok = stream->write(chunk) == chunk.size();
        chunk.clear();
        return ok || fail(*stream);
    }
    bool endStream() override
    {
        const bool ok = stream->commit();
        if (!ok)
            fail(*stream);
        stream.reset();
        return ok;
    }
    bool finish(const BulkExporter::Progress &) override { return true; }

private:
    QString pathOf(const QString &name) const { return folder + u'/' + name; }
    bool fail(QSaveFile &file)
    {
        error = QStringLiteral("Could not write %1: %2")
                    .arg(QDir::toNativeSeparators(file.fileName()), file.errorString());
        return false;
    }

    QString folder;
    std::unique_ptr<QSaveFile> stream;
};

class ZipSink final : public Sink
{
public:
    explicit ZipSink(const QString &archivePath) : archivePath(archivePath), zip(archivePath) {}

    bool open()
    {
        if (zip.open())
            return true;
        error = failure(archivePath);
        return false;
    }
    bool writeFile(const QString &name, QByteArray data) override
    {
        if (zip.add(name, std::move(data)))
            return true;
        error = failure(name);
        return false;
    }
    bool beginStream(const QString &name) override
    {
        streamName = name;
        stream.clear();
        return true;
    }
    bool appendStream(QByteArray &chunk) override
    {
        stream += chunk;
        chunk.clear();
        return true;
    }
    bool endStream() override { return writeFile(streamName, std::exchange(stream, {})); }
    bool finish(const BulkExporter::Progress &fraction) override
    {
        // The progress callback of the archive reports per mille of the compression.
        const bool ok = zip.commit([&fraction](double f) { return fraction(qint64(f * 1000), 1000); });
        if (!ok) {
            cancelled = zip.wasCancelled();
            error = QStringLiteral("Could not write %1: %2")
                        .arg(QDir::toNativeSeparators(archivePath), zip.errorString());
        }
        return ok;
    }
    void discard() { zip.discard(); }

private:
    QString failure(const QString &what) const
    {
        return QStringLiteral("Could not write %1 into %2: %3")
            .arg(what, QDir::toNativeSeparators(archivePath), zip.errorString());
    }

    QString archivePath;
    ZipArchiveWriter zip;
    QString streamName;
    QByteArray stream;
};

} // namespace

class BulkExporter::Run
{
public:
    Run(BulkExporter &owner, const ExportOptions &options)
        : owner(owner), options(options), copies(owner.source)
    {
    }

    ExportResult exec();

private:
    bool writeType(Sink &sink, const ExportTypeOptions &type, const QString &ext, bool html);
    std::optional<QString> nextCopy();
    bool report();
    bool fail(const QString &message)
    {
        result.status = ExportResult::Status::Failed;
        result.error = message;
        return false;
    }

    BulkExporter &owner;
    const ExportOptions &options;
    ExportResult result;

    DistinctCopies copies;

    // Work units: one per copy, and with a ZIP as many again for compressing the archive.
    qint64 done = 0;
    qint64 total = 0;
    bool cancelled = false;
};

ExportResult BulkExporter::Run::exec()
{
    const qint64 copyCount = qint64(qMax(0, options.plain.count)) + qMax(0, options.html.count);
    if (copyCount > 0 && !owner.source.balanced()) {
        fail(QStringLiteral("The article cannot be spun: its braces { } do not match."));
        return result;
    }
    total = options.zip ? 2 * copyCount + 1 : copyCount;

    std::unique_ptr<Sink> sink;
    ZipSink *zipSink = nullptr;
    if (options.zip) {
        const QString archivePath = options.target + QStringLiteral(".zip");
        const QString folder = QFileInfo(archivePath).absolutePath();
        if (!QDir().mkpath(folder)) {
            fail(QStringLiteral("Could not create the folder %1").arg(QDir::toNativeSeparators(folder)));
            return result;
        }
        auto zs = std::make_unique<ZipSink>(archivePath);
        if (!zs->open()) {
            fail(zs->error);
            return result;
        }
        zipSink = zs.get();
        sink = std::move(zs);
        result.path = archivePath;
    } else {
        if (!QDir().mkpath(options.target)) {
            fail(QStringLiteral("Could not create the folder %1")
                     .arg(QDir::toNativeSeparators(options.target)));
            return result;
        }
        sink = std::make_unique<FolderSink>(options.target);
        result.path = options.target;
    }

    const bool written = writeType(*sink, options.plain, QStringLiteral(".txt"), false) &&
                         writeType(*sink, options.html, QStringLiteral(".html"), true);
    if (written) {
        const qint64 before = done;
        const bool finished = sink->finish([this, before](qint64 part, qint64 of) {
            done = before + (total - before) * part / qMax<qint64>(1, of);
            return report();
        });
        if (!finished && !sink->cancelled)
            fail(sink->error);
        cancelled = cancelled || sink->cancelled;
    }
    if (zipSink && (cancelled || result.status == ExportResult::Status::Failed)) {
        // An archive is complete or not there at all.
        zipSink->discard();
        result.path.clear();
        result.files.clear();
    }
    if (cancelled && result.status != ExportResult::Status::Failed)
        result.status = ExportResult::Status::Cancelled;
    return result;
}

bool BulkExporter::Run::report()
{
    if (!cancelled && owner.progress && !owner.progress(done, total))
        cancelled = true;
    return !cancelled;
}

std::optional<QString> BulkExporter::Run::nextCopy()
{
    std::optional<QString> text = copies.next([this] { return report(); });
    if (!text && !cancelled)
        fail(QStringLiteral("The article cannot be spun: its braces { } do not match."));
    return text;
}

bool BulkExporter::Run::writeType(Sink &sink, const ExportTypeOptions &type, const QString &ext,
                                  bool html)
{
    if (type.count <= 0)
        return true;
    copies.reset();

    QByteArray separator;
    if (type.single) {
        const QString name = type.name + ext;
        if (!sink.beginStream(name))
            return fail(sink.error);
        appendEncoded(separator, html ? QStringLiteral("\n<br>") + type.separator + QStringLiteral("<br>\n")
                                      : u'\n' + type.separator + u'\n');
    }
    QByteArray chunk;
    if (type.single)
        chunk = byteOrderMark;

    for (int k = 0; k < type.count; ++k) {
        std::optional<QString> text = nextCopy();
        if (!text) {
            if (cancelled)
                break;
            return false;
        }
        if (owner.merge)
            text = owner.merge->getMerged(*text, k);
        if (type.single) {
            appendEncoded(chunk, *text);
            chunk += separator;
            if (chunk.size() >= streamChunk && !sink.appendStream(chunk))
                return fail(sink.error);
        } else {
            QByteArray data;
            data.reserve(text->size() + text->size() / 4 + 16);
            data += byteOrderMark;
            appendEncoded(data, *text);
            const QString name = copyFileName(type.name, k, type.count, ext);
            if (!sink.writeFile(name, std::move(data)))
                return fail(sink.error);
            result.files << name;
        }
        ++done;
        if (!report())
            break;
    }
    if (type.single) {
        // A cancelled single file keeps the whole copies written so far.
        if (!sink.appendStream(chunk) || !sink.endStream())
            return fail(sink.error);
        result.files << type.name + ext;
    }
    return !cancelled;
}

BulkExporter::BulkExporter(CopySource &source, const MergeData *merge)
    : source(source), merge(merge)
{
}

ExportResult BulkExporter::gen(const ExportOptions &options)
{
    Run run(*this, options);
    return run.exec();
}

QString BulkExporter::exportTarget(const QString &path, const QDateTime &utcNow)
{
    QString folder = path;
    while (folder.size() > 1 && (folder.endsWith(u'/') || folder.endsWith(u'\\')))
        folder.chop(1);
    if (folder == u"/")
        folder.clear();
    return folder + u'/' + utcNow.toUTC().toString(QStringLiteral("yyyyMMdd_hhmmsszzz"));
}

ExportTypeOptions BulkExporter::typeOptions(bool ticked, const QString &countText, bool single,
                                            const QString &separator, const QString &name)
{
    ExportTypeOptions type;
    if (!ticked)
        return type;
    bool ok = false;
    const int count = countText.trimmed().toInt(&ok);
    type.count = ok && count > 0 ? count : 0;
    type.single = single;
    type.separator = separator;
    if (!name.trimmed().isEmpty()) {
        // The name is a file name inside the export folder or archive, never a path.
        type.name = name;
        type.name.replace(u'/', u'_').replace(u'\\', u'_');
    }
    return type;
}

QString BulkExporter::copyFileName(const QString &name, int k, int count, const QString &ext)
{
    const int width = int(QString::number(count).size());
    return name + QStringLiteral("%1").arg(k + 1, width, 10, QLatin1Char('0')) + ext;
}

void BulkExporter::appendEncoded(QByteArray &out, QStringView text)
{
    QStringEncoder encoder(QStringEncoder::Utf8, QStringEncoder::Flag::Stateless);
    auto appendUtf8 = [&out, &encoder](QStringView part) {
        if (part.isEmpty())
            return;
        const qsizetype old = out.size();
        out.resize(old + encoder.requiredSpace(part.size()));
        char *end = encoder.appendToBuffer(out.data() + old, part);
        out.truncate(end - out.constData());
    };
    qsizetype from = 0;
    for (;;) {
        const qsizetype lf = text.indexOf(u'\n', from);
        if (lf < 0) {
            appendUtf8(text.mid(from));
            return;
        }
        const bool hasCr = lf > from && text.at(lf - 1) == u'\r';
        appendUtf8(text.mid(from, lf - from - (hasCr ? 1 : 0)));
        out += "\r\n";
        from = lf + 1;
    }
}

} // namespace spintax
