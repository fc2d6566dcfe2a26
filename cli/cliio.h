#pragma once

#include <QByteArray>
#include <QString>
#include <QStringConverter>
#include <QStringList>

#include <optional>

namespace cli {

// Exit statuses of every subcommand.
enum Exit : int
{
    Success = 0,
    Unbalanced = 1,    // a `{` of the input has no partner
    UsageError = 2,    // bad arguments or an input that cannot be read
    OutputError = 3,   // the output could not be written (disk full, closed pipe)
    FolderRefused = 4, // the working folder belongs to another user or cannot be made safe
    PostFailed = 5,    // post: the blog refused the post or could not be reached
    StoreError = 6,    // the working folder's database or synonym files cannot be used
};

// Characters per part when a long article is parsed and worked on part by part
// (spintax::SpinTree::topLevelParts): a part's tree takes a few times its text, so the parts
// keep that cost small next to the article itself.
constexpr qsizetype partSize = qsizetype(1) << 20;

// Prints "rewordix-cli: <message>" as one line on stderr; returns UsageError.
int usageError(const QString &message);
// Prints the reason as one line on stderr; returns FolderRefused.
int folderRefused(const QString &reason);
// Prints the unbalanced-text message; returns Unbalanced.
int unbalancedText();

// The whole input named by `name` ("-" for stdin), decoded as the editor
// decodes documents (storage::decodeText: byte-order mark, UTF-8, else
// Windows-1252 or ISO-8859-1); an input that is not UTF-8 is named on stderr
// with the encoding used. On failure prints the reason and returns no value.
std::optional<QString> readInput(const QString &name);

// Output collected as UTF-8 in a large buffer and written with fwrite in big
// blocks: encoding straight into the buffer avoids a temporary QByteArray per
// copy, which matters when thousands of copies stream out.
class Output final
{
public:
    Output();
    ~Output();
    Output(const Output &) = delete;
    Output &operator=(const Output &) = delete;

    void append(QStringView text);
    void appendByte(char byte);
    // Writes what is buffered; false when writing failed (now or earlier).
    bool flush();
    // flush() and the exit status: Success, or OutputError with a message.
    int finish();

private:
    void reserve(qsizetype bytes);

    QByteArray buffer;
    qsizetype used = 0;
    QStringEncoder encoder{QStringEncoder::Utf8};
    bool failed = false;
};

} // namespace cli
