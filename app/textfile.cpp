#include "textfile.h"

#include "storage/textreader.h"

#include <QSaveFile>

#include <algorithm>

namespace textfile {

ReadResult read(const QString &path)
{
    storage::TextFileRead file = storage::readTextFile(path);
    if (!file.ok)
        return {};
    return {true, std::move(file.text), std::move(file.encoding)};
}

QString write(const QString &path, const QString &text)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    QByteArray bytes("\xEF\xBB\xBF");
    bytes += text.toUtf8();
    if (file.write(bytes) != bytes.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return reason;
    }
    if (!file.commit())
        return file.errorString();
    return {};
}

CompanionNames companionNames(const QString &fileName)
{
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    const QString base = dot < 0 ? QString() : fileName.left(dot + 1);
    const QString ext = dot < 0 ? fileName : fileName.mid(dot + 1);
    return {base + QStringLiteral("flat.") + ext, base + QStringLiteral("spun.") + ext,
            base + QStringLiteral("html.") + ext};
}

QString withTextExtension(const QString &path)
{
    const QString lower = path.toLower();
    if (lower.endsWith(QLatin1String(".txt")) || lower.endsWith(QLatin1String(".text")))
        return path;
    return path + QStringLiteral(".txt");
}

QString lastComponent(const QString &path)
{
    const qsizetype slash =
        std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    return path.mid(slash + 1);
}

} // namespace textfile
