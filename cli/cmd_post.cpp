// post: one spun copy of an article to one WordPress blog through the poster the posting dialog
// uses. The copy and the title are the first copies of a fresh batch (as the first copy of
// `spin --seed S` is); the password is read from a file so it never shows in a process list.

#include "cliio.h"
#include "commandline.h"
#include "commands.h"

#include "services/postcopies.h"
#include "services/xmlrpcposter.h"

#include "spintax/generator.h"

#include <QFile>
#include <QFileInfo>

#include <cstdio>

namespace cli {
namespace {

// The first line of the file, without its line end; no value (after saying why) when the file
// cannot be read.
std::optional<QString> readPassword(const CommandLine &commandLine, const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        commandLine.usageError(
            QStringLiteral("cannot read the password file %1: %2").arg(path, file.errorString()));
        return std::nullopt;
    }
    QByteArray bytes = file.readAll();
    const qsizetype end = bytes.indexOf('\n');
    if (end >= 0)
        bytes.truncate(end);
    if (bytes.endsWith('\r'))
        bytes.chop(1);
    return QString::fromUtf8(bytes);
}

// "A, B,,C" as ["A", "B", "C"].
QStringList listOption(const QString &value)
{
    QStringList list;
    for (const QString &piece : value.split(u','))
        if (!piece.trimmed().isEmpty())
            list.append(piece.trimmed());
    return list;
}

} // namespace

int runPost(const QStringList &args)
{
    CommandLine commandLine(
        "post",
        {option("url", "Address of the blog (\"http://\" is added when it has no scheme).", "URL"),
         option("user", "Log-in name.", "NAME"),
         option("password-file", "File whose first line is the password.", "FILE"),
         option("title",
                "Title in spin syntax (default: the article file's name without extension).",
                "TITLE"),
         option("categories", "Comma-separated categories.", "A,B"),
         option("keywords", "Comma-separated keywords.", "K1,K2"),
         option("seed", "Seed of the random choices.", "S")},
        QStringLiteral("ARTICLE"),
        QStringLiteral("UTF-8 text file to post, or - for standard input"));
    if (const std::optional<int> done = commandLine.parse(args))
        return *done;
    for (const char *required : {"url", "user", "password-file"})
        if (commandLine.value(QLatin1String(required)).trimmed().isEmpty())
            return commandLine.usageError(
                QStringLiteral("--%1 is required").arg(QLatin1String(required)));
    std::optional<quint64> seed;
    if (!commandLine.wholeNumber(QStringLiteral("seed"), seed))
        return UsageError;

    const QString input = commandLine.argument();
    const std::optional<QString> text = readInput(input);
    if (!text)
        return UsageError;
    const std::optional<QString> password =
        readPassword(commandLine, commandLine.value(QStringLiteral("password-file")));
    if (!password)
        return UsageError;

    spintax::Generator generator;
    generator.setSeed(seed);
    const QString article = text->trimmed();
    generator.resetBatch(article);
    const QString titleText = commandLine.isSet(QStringLiteral("title"))
                                  ? commandLine.value(QStringLiteral("title"))
                                  : QFileInfo(input).completeBaseName();
    const std::optional<QString> spunTitle = PostCopies::spinTitle(generator, titleText);
    PostCopies copies(generator, article);
    if (!spunTitle || !copies.balanced())
        return unbalancedText();

    PostRequest request;
    request.url = commandLine.value(QStringLiteral("url"));
    request.username = commandLine.value(QStringLiteral("user"));
    request.password = *password;
    request.title = *spunTitle;
    request.content = copies.next();
    if (const QStringList list = listOption(commandLine.value(QStringLiteral("categories")));
        !list.isEmpty())
        request.categories = list;
    request.keywords = listOption(commandLine.value(QStringLiteral("keywords"))).join(u',');

    const XmlRpcPoster poster(request);
    const QByteArray shown = poster.outcome().text.toUtf8() + '\n';
    std::fwrite(shown.constData(), 1, size_t(shown.size()),
                poster.outcome().success ? stdout : stderr);
    return poster.outcome().success ? Success : PostFailed;
}

} // namespace cli
