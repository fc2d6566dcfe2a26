#pragma once

#include <QByteArrayView>
#include <QString>

// The one reader of text files from outside (documents opened in the editor, the input of the
// command-line tool): it decides the encoding, so that a file is read the same way everywhere
// and no letter is silently turned into U+FFFD.
//
//   - a byte-order mark selects UTF-8, UTF-16LE or UTF-16BE (the mark is not part of the text);
//   - else bytes that are valid UTF-8 are UTF-8 (plain ASCII included);
//   - else the file is a single-byte Western text: Windows-1252 when it uses the bytes
//     0x80-0x9F that Windows-1252 gives letters and quotes (€, “, ”, …), ISO-8859-1 otherwise
//     (there those bytes are control codes no text contains, and a byte Windows-1252 leaves
//     undefined means the file is not Windows-1252).
namespace storage {

struct DecodedText
{
    QString text;
    QString encoding; // "UTF-8", "UTF-16LE", "UTF-16BE", "Windows-1252" or "ISO-8859-1"
};

DecodedText decodeText(QByteArrayView bytes);

struct TextFileRead
{
    bool ok = false;
    QString text;
    QString encoding;
    QString error; // why the file could not be read, when !ok
};

// Reads and decodes the whole file; "-" is not special here.
TextFileRead readTextFile(const QString &path);

} // namespace storage
