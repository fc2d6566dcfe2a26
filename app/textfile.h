#pragma once

#include <QString>

// Reading and writing the plain-text documents, and the file names derived from a document's
// name. No widgets: the document manager and the tests call these directly.
namespace textfile {

struct ReadResult
{
    bool ok = false;
    QString text;
    QString encoding; // the encoding the file was read in ("UTF-8", "Windows-1252", ...)
};

// Reads the whole file with the shared text reader (storage::decodeText): a byte-order mark
// selects UTF-8 or UTF-16, valid UTF-8 is UTF-8, anything else Windows-1252 or ISO-8859-1, so a
// Western single-byte article keeps its letters. ok is false when the file is missing or
// unreadable.
ReadResult read(const QString &path);

// Writes U+FEFF and then `text` as UTF-8 through a QSaveFile, so a failed write leaves the
// old file untouched. Returns the empty string on success, otherwise the reason.
QString write(const QString &path, const QString &text);

struct CompanionNames
{
    QString flat;
    QString spun;
    QString html;
};

// Names of the three companion tabs of a loaded document: for "a.b.txt" the base is "a.b."
// and the extension "txt", giving "a.b.flat.txt", "a.b.spun.txt", "a.b.html.txt". A name
// without a dot has an empty base and is itself the extension ("notes" -> "flat.notes").
CompanionNames companionNames(const QString &fileName);

// The path Save As uses: ".txt" is appended unless the name already ends in ".txt" or
// ".text" (any letter case).
QString withTextExtension(const QString &path);

// Last path component ("/a/b/c.txt" -> "c.txt"); both separators count.
QString lastComponent(const QString &path);

} // namespace textfile
