// The reader of documents and command-line input from arbitrary bytes: the encoding named is one
// of the five, valid UTF-8 reads as UTF-8, and a single-byte reading keeps one character per
// byte and never invents U+FFFD.
#include "storage/textreader.h"

#include <QString>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const storage::DecodedText decoded = storage::decodeText(bytes);

    const bool bom = bytes.startsWith("\xEF\xBB\xBF") || bytes.startsWith("\xFF\xFE") ||
                     bytes.startsWith("\xFE\xFF");
    if (decoded.encoding == u"ISO-8859-1" || decoded.encoding == u"Windows-1252") {
        if (bom || decoded.text.size() != bytes.size() || decoded.text.contains(QChar(0xFFFD)))
            std::abort();
        if (QString::fromUtf8(bytes).toUtf8() == bytes)
            std::abort(); // valid UTF-8 must have been read as UTF-8
    } else if (decoded.encoding == u"UTF-8") {
        if (!bom && decoded.text != QString::fromUtf8(bytes))
            std::abort();
    } else if (decoded.encoding != u"UTF-16LE" && decoded.encoding != u"UTF-16BE") {
        std::abort();
    }
    return 0;
}
