#include "usageform.h"

#include "storage/language.h"
#include "storage/ownerfiles.h"
#include "synonyms/usagelog.h"

#include <QFile>

namespace {

struct Field
{
    UsageLog::Kind kind;
    const char *suffix; // after the language code
};

// The upload's order of the log kinds and their field names.
constexpr Field fields[] = {
    {UsageLog::Kind::Quick, "_q"},
    {UsageLog::Kind::Add, "_addedsyns"},
    {UsageLog::Kind::Favourite, "_favaddedsyns"},
    {UsageLog::Kind::Delete, "_deletedsyns"},
    {UsageLog::Kind::Unfavourite, "_unfavoritedsyns"},
};

const QByteArray byteOrderMark = QByteArrayLiteral("\xEF\xBB\xBF");

} // namespace

UsageForm UsageForm::collect(const QString &tempDir, const QString &res, double version)
{
    UsageForm f;
    QList<QByteArray> parts;
    for (const Field &field : fields) {
        for (const Language &l : Language::all()) {
            const QString path = tempDir + UsageLog::fileName(l.code, field.kind);
            // The logs are the program's own files; a link in their place could send any file
            // of the user's to the server.
            if (storage::isSymLink(path)) {
                qWarning("Usage log %s is a symbolic link; it is not sent", qPrintable(path));
                continue;
            }
            QFile log(path);
            if (!log.exists() || !log.open(QIODevice::ReadOnly))
                continue;
            const QByteArray content = log.readAll();
            if (log.error() != QFileDevice::NoError) {
                qWarning("Usage log %s not read: %s", qPrintable(path),
                         qPrintable(log.errorString()));
                continue;
            }
            parts.append(l.code.toLatin1() + field.suffix + '=' + content);
            f.logs.append({path, content.size()});
        }
    }
    if (f.logs.isEmpty())
        return f;
    parts.append("res=" + res.toUtf8());
    parts.append("version=" + QByteArray::number(version));
    f.form = parts.join('&');
    return f;
}

void UsageForm::removeSentLogs() const
{
    for (const Log &sent : logs) {
        QFile log(sent.path);
        if (storage::isSymLink(sent.path) || !log.open(QIODevice::ReadOnly)) {
            QFile::remove(sent.path);
            continue;
        }
        QByteArray later = log.size() > sent.size ? log.readAll().mid(sent.size) : QByteArray();
        log.close();
        // Records are preceded by their line feed; what follows the sent part becomes a log of its
        // own with the byte-order mark a new log begins with. It replaces the log in one rename,
        // owner-only like every log.
        if (later.startsWith('\n'))
            later.remove(0, 1);
        if (later.isEmpty()) {
            QFile::remove(sent.path);
            continue;
        }
        const QString error = storage::writeOwnerOnlyFile(sent.path, byteOrderMark + later);
        if (!error.isEmpty()) {
            // The sent records must not be sent twice.
            QFile::remove(sent.path);
            qWarning("Usage log %s: records added during the upload are lost: %s",
                     qPrintable(sent.path), qPrintable(error));
        }
    }
}
