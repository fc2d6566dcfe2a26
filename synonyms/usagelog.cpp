#include "usagelog.h"

#include "storage/ownerfiles.h"

#include <QFile>

QString UsageLog::fileName(const QString &code, Kind kind)
{
    switch (kind) {
    case Kind::Quick:
        return code + QStringLiteral("_qlog.log");
    case Kind::Add:
        return code + QStringLiteral("_log.log");
    case Kind::Favourite:
        return code + QStringLiteral("_fav_log.log");
    case Kind::Unfavourite:
        return code + QStringLiteral("_unfav_log.log");
    case Kind::Delete:
        return code + QStringLiteral("_delete_log.log");
    }
    return {};
}

QString UsageLog::quickRecord(const QString &label, const QString &entry, bool selected)
{
    return label.trimmed() + u'|' + entry + u'|' + (selected ? u'1' : u'0');
}

QString UsageLog::record(const QString &label, const QString &synonym)
{
    return label + u'|' + synonym;
}

bool UsageLog::append(const QString &tempDir, const QString &code, Kind kind, const QString &record)
{
    // Owner-only and never through a link planted in the working folder.
    const storage::OpenedFile opened =
        storage::openOwnerOnlyForAppend(tempDir + fileName(code, kind));
    if (!opened.file)
        return false;
    QFile &file = *opened.file;
    // The mark opens an empty file; every later record is preceded by its separator, so the file
    // never ends with a line feed.
    QByteArray bytes = file.size() == 0 ? QByteArrayLiteral("\xEF\xBB\xBF") : QByteArray("\n");
    bytes += record.toUtf8();
    return file.write(bytes) == bytes.size() && file.flush();
}
