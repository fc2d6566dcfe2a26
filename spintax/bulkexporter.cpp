#include "bulkexporter.h"

#include "copysource.h"
#include "distinctcopies.h"
#include "mergedata.h"
#include "zipstreamwriter.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QRegularExpression>
#include <QStringEncoder>

#include <cerrno>
#include <cstring>
#include <memory>

namespace spintax {

namespace {

const QByteArray byteOrderMark("\xEF\xBB\xBF");

// Single files are handed to the disk in pieces of this size.
constexpr qsizetype streamChunk = 4 << 20;

// The reason of a failed write as the system words it ("No space left on device"): QFile's own
// text is "Unknown error" for some failures.
QString writeFailure(const QFile &file, int errorNumber)
{
    if (errorNumber != 0)
        return QString::fromLocal8Bit(std::strerror(errorNumber));
    return file.errorString();
}

// BulkExporter::appendEncoded for a text that arrives in pieces: a CR LF or a surrogate pair cut
// between two pieces is written as in the whole text.
class PieceEncoder
{
public:
    void append(QByteArray &out, QStringView piece)
    {
        if (piece.isEmpty())
            return;
        if (holding) {
            holding = false;
            if (piece.front().isLowSurrogate()) {
                const QChar pair[2] = {held, piece.front()};
                encode(out, QStringView(pair, 2));
                piece = piece.sliced(1);
            } else {
                encode(out, QStringView(&held, 1));
            }
        }
        if (!piece.isEmpty() && piece.back().isHighSurrogate()) {
            held = piece.back();
            holding = true;
            piece.chop(1);
        }
        encode(out, piece);
    }
    // Writes a high surrogate left at the end of the text.
    void finish(QByteArray &out)
    {
        if (holding)
            encode(out, QStringView(&held, 1));
        holding = false;
    }

private:
    // The stateless encoder writes each character on its own, so a text cut anywhere but inside
    // a surrogate pair encodes as the whole.
    void encode(QByteArray &out, QStringView text)
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
                break;
            }
            // A CR that ended the previous piece is written already.
            const bool hasCr = lf > 0 ? text.at(lf - 1) == u'\r' : afterCr;
            appendUtf8(text.mid(from, lf - from - (hasCr && lf > from ? 1 : 0)));
            out += hasCr && lf == 0 ? "\n" : "\r\n";
            from = lf + 1;
        }
        if (!text.isEmpty())
            afterCr = text.back() == u'\r';
    }

    QChar held;
    bool holding = false;
    bool afterCr = false;
};

// A copy's text as a file holds it (UTF-8, CR LF), appended to `out` after what it held when
// the receiver was made.
class EncodingReceiver final : public CopyReceiver
{
public:
    explicit EncodingReceiver(QByteArray &out) : out(out), mark(out.size()) {}
    void restart() override
    {
        out.truncate(mark);
        encoder = PieceEncoder();
    }
    void append(QStringView piece) override { encoder.append(out, piece); }
    void finish() { encoder.finish(out); }

private:
    QByteArray &out;
    qsizetype mark;
    PieceEncoder encoder;
};

// A copy's whole text, for the merge, which may find a placeholder anywhere in it.
class TextReceiver final : public CopyReceiver
{
public:
    void restart() override { text.clear(); }
    void append(QStringView piece) override { text += piece; }
    QString text;
};

// Where the files of one export go.
class Sink
{
public:
    virtual ~Sink() = default;
    virtual bool writeFile(const QString &name, QByteArray data) = 0;
    // A single file of a document type, written in pieces.
    virtual bool beginStream(const QString &name) = 0;
    virtual bool appendStream(QByteArray &chunk) = 0; // consumes chunk
    virtual bool endStream() = 0;
    virtual bool finish() = 0;
    QString error;
};

// Plain files in the export's folder. The folder as a whole only gets its final name when every
// file is written (see Run::exec), so each file is written straight, without a temporary.
class FolderSink final : public Sink
{
public:
    explicit FolderSink(QString folder) : folder(std::move(folder)) {}

    bool writeFile(const QString &name, QByteArray data) override
    {
        return beginStream(name) && appendStream(data) && endStream();
    }
    bool beginStream(const QString &name) override
    {
        stream.setFileName(folder + u'/' + name);
        errno = 0;
        if (!stream.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
            return fail(errno);
        return true;
    }
    bool appendStream(QByteArray &chunk) override
    {
        errno = 0;
        const bool ok = stream.write(chunk) == chunk.size();
        chunk.clear();
        return ok || fail(errno);
    }
    bool endStream() override
    {
        errno = 0;
        const bool ok = stream.flush();
        const int errorNumber = errno;
        stream.close();
        return ok || fail(errorNumber);
    }
    bool finish() override { return true; }

private:
    bool fail(int errorNumber)
    {
        error = QStringLiteral("Could not write %1: %2")
                    .arg(QDir::toNativeSeparators(stream.fileName()),
                         writeFailure(stream, errorNumber));
        stream.close();
        return false;
    }

    QString folder;
    QFile stream;
};

// Entries compressed and written one after another into the archive file (which the run names
// "<target>.zip.partial" until it is complete); nothing of a copy is kept once it is written.
class ZipSink final : public Sink
{
public:
    explicit ZipSink(const QString &archivePath) : file(archivePath), zip(file) {}

    bool open()
    {
        errno = 0;
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            error = QStringLiteral("Could not write %1: %2")
                        .arg(QDir::toNativeSeparators(file.fileName()), writeFailure(file, errno));
            return false;
        }
        return zip.open() || fail(file.fileName());
    }
    bool writeFile(const QString &name, QByteArray data) override
    {
        return (zip.beginEntry(name, data.size()) && zip.write(data) && zip.endEntry()) ||
               fail(name);
    }
    bool beginStream(const QString &name) override
    {
        streamName = name;
        return zip.beginEntry(name) || fail(name);
    }
    bool appendStream(QByteArray &chunk) override
    {
        const bool ok = zip.write(chunk);
        chunk.clear();
        return ok || fail(streamName);
    }
    bool endStream() override { return zip.endEntry() || fail(streamName); }
    bool finish() override
    {
        if (!zip.close())
            return fail(file.fileName());
        errno = 0;
        if (!file.flush()) {
            error = QStringLiteral("Could not write %1: %2")
                        .arg(QDir::toNativeSeparators(file.fileName()), writeFailure(file, errno));
            return false;
        }
        file.close();
        return true;
    }
    void discard()
    {
        zip.abandon();
        file.close();
    }

private:
    bool fail(const QString &what)
    {
        // A failed write of the device explains itself better than the archive's summary.
        const QString reason =
            file.error() != QFileDevice::NoError ? writeFailure(file, errno) : zip.errorString();
        error =
            QStringLiteral("Could not write %1: %2").arg(QDir::toNativeSeparators(what), reason);
        return false;
    }

    QFile file;
    ZipStreamWriter zip;
    QString streamName;
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
    bool nextCopy(CopyReceiver &receiver);
    static void removeStaleTemporaries(const QString &folder);
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

    // Work units: one per copy.
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
    total = copyCount;

    // Everything is written under a temporary name and renamed when complete, so a name the
    // user sees is always a finished export, even after a crash or a kill.
    const QString finalPath = options.target + (options.zip ? QStringLiteral(".zip") : QString());
    const QString partialPath = finalPath + partialSuffix();
    const QString parent = QFileInfo(finalPath).absolutePath();
    errno = 0;
    if (!QDir().mkpath(parent)) {
        fail(QStringLiteral("Could not create the folder %1: %2")
                 .arg(QDir::toNativeSeparators(parent),
                      QString::fromLocal8Bit(std::strerror(errno))));
        return result;
    }
    removeStaleTemporaries(parent);
    if (QFileInfo::exists(finalPath) || QFileInfo(finalPath).isSymLink()) {
        fail(QStringLiteral("Could not create %1: it exists already")
                 .arg(QDir::toNativeSeparators(finalPath)));
        return result;
    }

    std::unique_ptr<Sink> sink;
    ZipSink *zipSink = nullptr;
    if (options.zip) {
        auto zs = std::make_unique<ZipSink>(partialPath);
        if (!zs->open()) {
            fail(zs->error);
            QFile::remove(partialPath);
            return result;
        }
        zipSink = zs.get();
        sink = std::move(zs);
    } else {
        errno = 0;
        if (!QDir().mkdir(partialPath)) {
            fail(QStringLiteral("Could not create the folder %1: %2")
                     .arg(QDir::toNativeSeparators(partialPath),
                          QString::fromLocal8Bit(std::strerror(errno))));
            return result;
        }
        sink = std::make_unique<FolderSink>(partialPath);
    }
    result.path = partialPath;

    const bool written = writeType(*sink, options.plain, QStringLiteral(".txt"), false) &&
                         writeType(*sink, options.html, QStringLiteral(".html"), true);
    if (written && !sink->finish())
        fail(sink->error);
    if (zipSink && (cancelled || result.status == ExportResult::Status::Failed)) {
        // An archive is complete or not there at all.
        zipSink->discard();
        QFile::remove(partialPath);
        result.path.clear();
        result.files.clear();
    }
    if (cancelled && result.status != ExportResult::Status::Failed)
        result.status = ExportResult::Status::Cancelled;
    if (result.status == ExportResult::Status::Done) {
        // rename(2): QFile::rename would fall back to copying.
        if (std::rename(QFile::encodeName(partialPath).constData(),
                        QFile::encodeName(finalPath).constData()) != 0) {
            fail(QStringLiteral("Could not rename %1 to %2: %3")
                     .arg(QDir::toNativeSeparators(partialPath), QFileInfo(finalPath).fileName(),
                          QString::fromLocal8Bit(std::strerror(errno))));
        } else {
            result.path = finalPath;
        }
    }
    return result;
}

void BulkExporter::Run::removeStaleTemporaries(const QString &folder)
{
    // Only names this writer makes: a time stamp, ".zip" or not, then ".partial".
    static const QRegularExpression ours(QStringLiteral(R"(^\d{8}_\d{9}(\.zip)?\.partial$)"));
    const QFileInfoList entries = QDir(folder).entryInfoList(
        QDir::Dirs | QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo &entry : entries) {
        if (!ours.match(entry.fileName()).hasMatch())
            continue;
        if (entry.isSymLink() || entry.isFile())
            QFile::remove(entry.filePath()); // a link is removed, never followed
        else if (entry.isDir())
            QDir(entry.filePath()).removeRecursively();
    }
}

bool BulkExporter::Run::report()
{
    if (!cancelled && owner.progress && !owner.progress(done, total))
        cancelled = true;
    return !cancelled;
}

bool BulkExporter::Run::nextCopy(CopyReceiver &receiver)
{
    if (copies.nextInto(receiver, [this] { return report(); }))
        return true;
    receiver.restart(); // nothing of a draw abandoned half-way is written
    if (!cancelled)
        fail(QStringLiteral("The article cannot be spun: its braces { } do not match."));
    return false;
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
        appendEncoded(separator,
                      html ? QStringLiteral("\n<br>") + type.separator + QStringLiteral("<br>\n")
                           : u'\n' + type.separator + u'\n');
    }
    QByteArray chunk;
    if (type.single)
        chunk = byteOrderMark;

    for (int k = 0; k < type.count; ++k) {
        // A copy is encoded as it arrives (a long article's copy comes part by part, never as one
        // text), straight after what the single file holds or into a separate file's bytes.
        QByteArray data;
        if (!type.single)
            data = byteOrderMark;
        QByteArray &bytes = type.single ? chunk : data;
        bool made;
        if (owner.merge) {
            TextReceiver whole;
            made = nextCopy(whole);
            if (made)
                appendEncoded(bytes, owner.merge->getMerged(whole.text, k));
        } else {
            EncodingReceiver receiver(bytes);
            made = nextCopy(receiver);
            if (made)
                receiver.finish();
        }
        if (!made) {
            if (cancelled)
                break;
            return false;
        }
        if (type.single) {
            chunk += separator;
            if (chunk.size() >= streamChunk && !sink.appendStream(chunk))
                return fail(sink.error);
        } else {
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
        // The name is a file name inside the export folder or archive, never a path, and holds
        // no control characters (a NUL would cut the name short inside a ZIP).
        type.name = name;
        for (QChar &c : type.name) {
            if (c == u'/' || c == u'\\' || c.unicode() < 0x20 || c.unicode() == 0x7F)
                c = u'_';
        }
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
    PieceEncoder encoder;
    encoder.append(out, text);
    encoder.finish(out);
}

} // namespace spintax
