#include "textreader.h"

#include <QFile>
#include <QStringDecoder>

#include <array>

namespace storage {

namespace {

// The characters Windows-1252 puts at 0x80-0x9F; 0 where it defines none.
constexpr std::array<char16_t, 32> windows1252High = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

bool startsWith(QByteArrayView bytes, std::initializer_list<unsigned char> mark)
{
    if (bytes.size() < qsizetype(mark.size()))
        return false;
    qsizetype i = 0;
    for (unsigned char m : mark) {
        if (static_cast<unsigned char>(bytes[i++]) != m)
            return false;
    }
    return true;
}

DecodedText decodeWith(QStringDecoder::Encoding encoding, QByteArrayView bytes, QString name)
{
    QStringDecoder decoder(encoding, QStringDecoder::Flag::Stateless);
    return {decoder.decode(bytes), std::move(name)};
}

DecodedText decodeSingleByte(QByteArrayView bytes)
{
    bool usesHigh = false;
    bool undefinedIn1252 = false;
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b >= 0x80 && b <= 0x9F) {
            usesHigh = true;
            if (windows1252High[b - 0x80] == 0)
                undefinedIn1252 = true;
        }
    }
    QString text = QString::fromLatin1(bytes);
    if (!usesHigh || undefinedIn1252)
        return {std::move(text), QStringLiteral("ISO-8859-1")};
    char16_t *data = reinterpret_cast<char16_t *>(text.data());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (data[i] >= 0x80 && data[i] <= 0x9F)
            data[i] = windows1252High[data[i] - 0x80];
    }
    return {std::move(text), QStringLiteral("Windows-1252")};
}

} // namespace

DecodedText decodeText(QByteArrayView bytes)
{
    if (startsWith(bytes, {0xEF, 0xBB, 0xBF}))
        return decodeWith(QStringDecoder::Utf8, bytes.sliced(3), QStringLiteral("UTF-8"));
    if (startsWith(bytes, {0xFF, 0xFE}))
        return decodeWith(QStringDecoder::Utf16LE, bytes.sliced(2), QStringLiteral("UTF-16LE"));
    if (startsWith(bytes, {0xFE, 0xFF}))
        return decodeWith(QStringDecoder::Utf16BE, bytes.sliced(2), QStringLiteral("UTF-16BE"));

    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return {std::move(text), QStringLiteral("UTF-8")};
    text = QString(); // free before the second decoding: inputs may be large
    return decodeSingleByte(bytes);
}

TextFileRead readTextFile(const QString &path)
{
    TextFileRead result;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.error = file.errorString();
        return result;
    }
    DecodedText decoded;
    {
        const QByteArray bytes = file.readAll();
        if (file.error() != QFileDevice::NoError) {
            result.error = file.errorString();
            return result;
        }
        decoded = decodeText(bytes);
    } // the bytes are freed before the caller works on the text
    result.ok = true;
    result.text = std::move(decoded.text);
    result.encoding = std::move(decoded.encoding);
    return result;
}

} // namespace storage
