#include "serveranswers.h"

#include "synonyms/synonymfiles.h"

#include <QList>
#include <QStringDecoder>

#include <cmath>

namespace serveranswers {

std::optional<double> parseDecimal(QStringView text)
{
    text = text.trimmed();
    bool ok = false;
    const double v = text.toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

GroupVersions parseGroupVersions(QByteArrayView answer, const GroupVersions &previous)
{
    GroupVersions versions = previous;
    const QString text = QString::fromUtf8(answer).trimmed();
    const QList<QStringView> fields = QStringView(text).split(u'|');
    for (qsizetype i = 0; i < fields.size() && i < qsizetype(versions.size()); ++i) {
        if (const std::optional<double> v = parseDecimal(fields[i]))
            versions[size_t(i)] = *v;
    }
    return versions;
}

double parseProgramVersion(QByteArrayView answer)
{
    return parseDecimal(QString::fromUtf8(answer)).value_or(0.0);
}

bool looksLikeProgram(QByteArrayView body)
{
#if defined(Q_OS_WIN)
    return body.startsWith("MZ");
#elif defined(Q_OS_MACOS)
    return body.startsWith("\xCF\xFA\xED\xFE") || body.startsWith("\xCA\xFE\xBA\xBE");
#else
    return body.startsWith("\x7F"
                           "ELF");
#endif
}

ListDownload checkListDownload(QByteArrayView body)
{
    ListDownload d;
    if (body.isEmpty()) {
        d.error = QStringLiteral("empty download");
        return d;
    }
    const qsizetype nl = body.indexOf('\n');
    QByteArrayView versionLine = nl < 0 ? body : body.first(nl);
    // Line-end debris ("\r" of a CRLF line, trailing blanks) is not written back.
    while (!versionLine.isEmpty() && QChar::isSpace(uchar(versionLine.back())))
        versionLine.chop(1);
    const QByteArrayView rest = nl < 0 ? QByteArrayView() : body.sliced(nl + 1);

    // Stateless: a sequence cut off at the end is an error, not something held for more input.
    QStringDecoder lineDecoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString line = lineDecoder.decode(versionLine);
    const std::optional<double> version = SynonymFiles::parseVersionLine(line);
    if (lineDecoder.hasError() || !version) {
        d.error = QStringLiteral("no version line");
        return d;
    }
    QStringDecoder bodyDecoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = bodyDecoder.decode(rest); // decoding happens on conversion
    if (bodyDecoder.hasError()) {
        d.error = QStringLiteral("the list is not UTF-8");
        return d;
    }
    d.ok = true;
    d.version = *version;
    d.file.reserve(versionLine.size() + 1 + rest.size());
    d.file.append(versionLine);
    d.file.append('\n');
    d.file.append(rest);
    return d;
}

} // namespace serveranswers
