#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QDateTime;

namespace spintax {

class CopySource;
class MergeData;

// One document type of an export ("Plain Text" or "HTML (.html)").
struct ExportTypeOptions
{
    int count = 0;
    bool single = false;                      // all copies in one file
    QString separator;                        // written between copies in a single file
    QString name = QStringLiteral("article"); // file name stem
};

struct ExportOptions
{
    bool zip = false;
    // Folder to create, or with zip the archive path without ".zip".
    QString target;
    ExportTypeOptions plain;
    ExportTypeOptions html;
};

struct ExportResult
{
    enum class Status
    {
        Done,
        Failed,
        Cancelled
    };
    Status status = Status::Done;
    QString path;      // the folder or archive created (empty when none was); the ".partial"
                       // folder when a folder export failed or was cancelled
    QString error;     // names the file and the reason when Failed
    QStringList files; // bare names of the files written, in order
    bool ok() const { return status == Status::Done; }
};

// Writes the copies of one article as the export dialog and `rewordix-cli export` request
// them: separate or single files per type, in a new folder or a ZIP archive, UTF-8 with a
// byte-order mark and CR LF line ends. Copies stay distinct by choice signature while the
// source can still reach an unused combination; with merge data, copy k of each type gets
// the values of data row k.
class BulkExporter final
{
public:
    // Called with (work done, total work); returning false cancels the export. The files already
    // written of a folder export stay in "<target>.partial"; an archive is then not created.
    using Progress = std::function<bool(qint64 done, qint64 total)>;

    explicit BulkExporter(CopySource &source, const MergeData *merge = nullptr);

    void setProgress(Progress callback) { progress = std::move(callback); }

    // Writes the export into "<target>.partial" (a folder, or with zip the archive
    // "<target>.zip.partial") and renames it to its final name when complete, so a name without
    // ".partial" is always a finished export. Temporaries of earlier exports into the same folder
    // that were killed or failed are removed first. An existing final name is never replaced.
    ExportResult gen(const ExportOptions &options);

    static QString partialSuffix() { return QStringLiteral(".partial"); }

    // "<path>/<yyyyMMdd_hhmmsszzz>" of the given UTC time.
    static QString exportTarget(const QString &path, const QDateTime &utcNow);
    // One document type as the dialog row gives it: a clear box or a count that is not a
    // whole number (or negative) exports nothing; an empty name becomes "article".
    static ExportTypeOptions typeOptions(bool ticked, const QString &countText, bool single,
                                         const QString &separator, const QString &name);
    // "name" + number zero-padded to the digits of count + extension: ("post", 3, 12,
    // ".txt") is "post03.txt".
    static QString copyFileName(const QString &name, int k, int count, const QString &ext);
    // Appends text as UTF-8 with every line feed written as CR LF (an existing CR LF is kept
    // as it is).
    static void appendEncoded(QByteArray &out, QStringView text);

private:
    class Run;

    CopySource &source;
    const MergeData *merge;
    Progress progress;
};

} // namespace spintax
