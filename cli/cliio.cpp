#include "cliio.h"

#include "storage/textreader.h"

#include <QFile>

#include <cstdio>
#include <cstring>

namespace cli {
namespace {

constexpr qsizetype flushThreshold = 1 << 20;

} // namespace

int usageError(const QString &message)
{
    std::fprintf(stderr, "rewordix-cli: %s\n", message.toLocal8Bit().constData());
    return UsageError;
}

int folderRefused(const QString &reason)
{
    std::fprintf(stderr, "rewordix-cli: %s\n", reason.toLocal8Bit().constData());
    return FolderRefused;
}

int unbalancedText()
{
    std::fputs("rewordix-cli: unbalanced text: a '{' has no matching '}'\n", stderr);
    return Unbalanced;
}

std::optional<QString> readInput(const QString &name)
{
    QFile file;
    bool opened;
    if (name == QLatin1String("-")) {
        opened = file.open(stdin, QIODevice::ReadOnly);
    } else {
        file.setFileName(name);
        opened = file.open(QIODevice::ReadOnly);
    }
    if (!opened) {
        usageError(QStringLiteral("cannot read %1: %2").arg(name, file.errorString()));
        return std::nullopt;
    }
    storage::DecodedText decoded;
    {
        const QByteArray bytes = file.readAll();
        if (file.error() != QFileDevice::NoError) {
            usageError(QStringLiteral("cannot read %1: %2").arg(name, file.errorString()));
            return std::nullopt;
        }
        // The editor's reader: a file that is not UTF-8 keeps its letters.
        decoded = storage::decodeText(bytes);
    } // the bytes go before the command works on the text
    if (!decoded.encoding.startsWith(QLatin1String("UTF-")))
        std::fprintf(stderr, "rewordix-cli: %s is not UTF-8; read as %s\n",
                     (name == QLatin1String("-") ? QStringLiteral("standard input") : name)
                         .toLocal8Bit()
                         .constData(),
                     decoded.encoding.toLatin1().constData());
    return std::move(decoded.text);
}

Output::Output()
{
    buffer.resize(flushThreshold * 2);
}

Output::~Output()
{
    flush();
}

void Output::reserve(qsizetype bytes)
{
    if (used + bytes <= buffer.size())
        return;
    flush();
    if (bytes > buffer.size())
        buffer.resize(bytes);
}

void Output::append(QStringView text)
{
    // In pieces, so the buffer stays at its size however long one copy is; the encoder keeps a
    // surrogate pair that is cut between two pieces.
    constexpr qsizetype piece = flushThreshold / 4;
    while (!text.isEmpty()) {
        const QStringView part = text.first(qMin(piece, text.size()));
        text = text.sliced(part.size());
        // UTF-8 needs at most three bytes per UTF-16 code unit.
        reserve(part.size() * 3);
        char *begin = buffer.data() + used;
        char *end = encoder.appendToBuffer(begin, part);
        used += end - begin;
        if (used >= flushThreshold)
            flush();
    }
}

void Output::appendByte(char byte)
{
    reserve(1);
    buffer.data()[used++] = byte;
}

bool Output::flush()
{
    if (used > 0 && !failed)
        failed = std::fwrite(buffer.constData(), 1, size_t(used), stdout) != size_t(used);
    used = 0;
    if (!failed)
        failed = std::fflush(stdout) != 0;
    return !failed;
}

int Output::finish()
{
    if (flush())
        return Success;
    std::fprintf(stderr, "rewordix-cli: cannot write the output: %s\n", std::strerror(errno));
    return OutputError;
}

} // namespace cli
