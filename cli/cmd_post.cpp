// post: one spun copy of an article to one WordPress blog through the poster the posting dialog
// uses. The copy and the title are the first copies of a fresh batch (as the first copy of
// `spin --seed S` is); the password is read from a file so it never shows in a process list.

#include "cliio.h"
#include "commands.h"

#include "services/postcopies.h"
#include "services/xmlrpcposter.h"

#include "spintax/generator.h"

#include <QCommandLineParser>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

namespace cli {
namespace {

// The post was refused or could not be sent: the text the "Error" box shows is on stderr.
constexpr int PostFailed = 5;

const char postSynopsis[] = "usage: rewordix-cli post --url URL --user NAME --password-file FILE "
                            "[--title TITLE] [--categories A,B] [--keywords K1,K2] [--seed S] "
                            "ARTICLE";

int postUsage(const QString &problem)
{
    return usageError(problem + u'\n' + QLatin1String(postSynopsis));
}

// The first line of the file, without its line end.
std::optional<QString> readPassword(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        usageError(
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
    QCommandLineParser parser;
    const QCommandLineOption url(QStringLiteral("url"), QStringLiteral("blog address"),
                                 QStringLiteral("URL"));
    const QCommandLineOption user(QStringLiteral("user"), QStringLiteral("log-in name"),
                                  QStringLiteral("NAME"));
    const QCommandLineOption passwordFile(QStringLiteral("password-file"),
                                          QStringLiteral("file whose first line is the password"),
                                          QStringLiteral("FILE"));
    const QCommandLineOption title(QStringLiteral("title"),
                                   QStringLiteral("title in spin syntax (default: the article "
                                                  "file's name without extension)"),
                                   QStringLiteral("TITLE"));
    const QCommandLineOption categories(QStringLiteral("categories"),
                                        QStringLiteral("comma-separated categories"),
                                        QStringLiteral("A,B"));
    const QCommandLineOption keywords(QStringLiteral("keywords"),
                                      QStringLiteral("comma-separated keywords"),
                                      QStringLiteral("K1,K2"));
    const QCommandLineOption seed(
        QStringLiteral("seed"), QStringLiteral("seed of the random choices"), QStringLiteral("S"));
    parser.addOptions({url, user, passwordFile, title, categories, keywords, seed});
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("ARTICLE"),
                                 QStringLiteral("UTF-8 text file, or - for standard input"));
    if (!parser.parse(QStringList{QStringLiteral("rewordix-cli post")} + args))
        return postUsage(parser.errorText());
    if (parser.isSet(QStringLiteral("help"))) {
        const QByteArray help = parser.helpText().toUtf8();
        std::fwrite(help.constData(), 1, size_t(help.size()), stdout);
        return Success;
    }
    if (parser.positionalArguments().size() != 1)
        return postUsage(QStringLiteral("post takes one ARTICLE"));
    for (const QCommandLineOption *required : {&url, &user, &passwordFile})
        if (!parser.isSet(*required) || parser.value(*required).trimmed().isEmpty())
            return postUsage(QStringLiteral("--%1 is required").arg(required->names().first()));
    std::optional<quint64> seedValue;
    if (parser.isSet(seed)) {
        bool ok = false;
        seedValue = parser.value(seed).toULongLong(&ok);
        if (!ok)
            return postUsage(QStringLiteral("--seed needs a whole number >= 0, not '%1'")
                                 .arg(parser.value(seed)));
    }

    const QString input = parser.positionalArguments().constFirst();
    const std::optional<QString> text = readInput(input);
    if (!text)
        return UsageError;
    const std::optional<QString> password = readPassword(parser.value(passwordFile));
    if (!password)
        return UsageError;

    spintax::Generator generator;
    generator.setSeed(seedValue);
    const QString article = text->trimmed();
    generator.resetBatch(article);
    const QString titleText =
        parser.isSet(title) ? parser.value(title) : QFileInfo(input).completeBaseName();
    const std::optional<QString> spunTitle = PostCopies::spinTitle(generator, titleText);
    PostCopies copies(generator, article);
    if (!spunTitle || !copies.balanced())
        return unbalancedText();

    PostRequest request;
    request.url = parser.value(url);
    request.username = parser.value(user);
    request.password = *password;
    request.title = *spunTitle;
    request.content = copies.next();
    if (const QStringList list = listOption(parser.value(categories)); !list.isEmpty())
        request.categories = list;
    request.keywords = listOption(parser.value(keywords)).join(u',');

    const XmlRpcPoster poster(request);
    const QByteArray shown = poster.outcome().text.toUtf8() + '\n';
    std::fwrite(shown.constData(), 1, size_t(shown.size()),
                poster.outcome().success ? stdout : stderr);
    return poster.outcome().success ? Success : PostFailed;
}

} // namespace cli
