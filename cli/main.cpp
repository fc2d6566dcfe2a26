// rewordix-cli: the spin engine from the command line.
//
// Every subcommand is one row of `commands` below and lives in its own
// cmd_<name>.cpp; adding one means adding a row and a file. The file declares
// the subcommand's options to a CommandLine (commandline.h), which takes the
// synopsis and summary of its row for the subcommand's --help.

#include "cliio.h"
#include "commands.h"

#include <QCoreApplication>

#include <cstdio>

namespace {

const cli::Command commands[] = {
    {"spin", "[--copies N] [--random] [--distinct] [--seed S] [-0] FILE",
     "N spun copies (default 1), each followed by a line feed (a NUL byte with -0)", cli::runSpin},
    {"count", "FILE", "exact number of distinct copies, in decimal", cli::runCount},
    {"flat", "FILE", "flat text: top-level groups kept, nested groups read first", cli::runFlat},
    {"first", "FILE", "first-alternative reading", cli::runFirst},
    {"strip-first", "FILE", "remove the first alternative of every group", cli::runStripFirst},
    {"stats", "FILE", "spun words, total words, uniqueness, quality and paragraphs", cli::runStats},
    {"export",
     "--out DIR [--zip] [--plain N] [--html N] [--plain-single SEP] [--html-single SEP] "
     "[--plain-name NAME] [--html-name NAME] [--merge CSV] [--seed S] FILE",
     "bulk export as the Export dialog writes it; prints the folder or archive created "
     "(with --merge the counts default to the number of data rows)",
     cli::runExport},
    {"synonyms", "[--lang CODE] WORD",
     "candidate list of WORD from the working folder's synonym store, one entry a line with a "
     "tab and its kind (user-favourite, best, better, good, user, server); the language defaults "
     "to the editor's",
     cli::runSynonyms},
    {"post",
     "--url URL --user NAME --password-file FILE [--title TITLE] [--categories A,B] "
     "[--keywords K1,K2] [--seed S] ARTICLE",
     "posts one spun copy of ARTICLE to a WordPress blog over XML-RPC and prints the post id; "
     "a refused or failed post prints the error and exits with 5",
     cli::runPost},
    {"auto-select",
     "[--lang CODE] [--max-syn N] [--level L] [--no-keep] [--number-one] [--passes L1,L2,...] "
     "FILE",
     "every word and phrase with synonyms wrapped in a group of it and up to N synonyms "
     "(default 5) from the lists of level L (default 4, all), protected terms left alone",
     cli::runAutoSelect},
    {"replace-favorites", "[--lang CODE] FILE",
     "every lower-case word with user favourites replaced by a group of it and its favourites",
     cli::runReplaceFavorites},
};

void printHelp()
{
    QByteArray text = "usage: rewordix-cli COMMAND [OPTIONS] FILE\n"
                      "FILE is a text file (UTF-8, UTF-16 with a byte-order mark, Windows-1252 or\n"
                      "ISO-8859-1), or - for standard input.\n\n"
                      "commands:\n";
    for (const cli::Command &c : commands) {
        text += "  " + QByteArray(c.name) + ' ' + c.synopsis + "\n      " + c.summary + '\n';
    }
    text += "\nexit status: 0 success, 1 unbalanced text, 2 usage error, 3 output error,\n"
            "4 working folder refused (owned by another user or not safe), 5 post refused or\n"
            "failed, 6 database or synonym files unusable\n";
    std::fwrite(text.constData(), 1, size_t(text.size()), stdout);
}

} // namespace

const cli::Command *cli::findCommand(QStringView name)
{
    for (const Command &c : commands)
        if (name == QLatin1String(c.name))
            return &c;
    return nullptr;
}

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments().mid(1);
    if (args.isEmpty())
        return cli::usageError(QStringLiteral("no command given; try --help"));
    const QString name = args.takeFirst();
    if (name == QLatin1String("--help") || name == QLatin1String("-h") ||
        name == QLatin1String("help")) {
        printHelp();
        return cli::Success;
    }
    if (const cli::Command *command = cli::findCommand(name))
        return command->run(args);
    return cli::usageError(QStringLiteral("unknown command '%1'; try --help").arg(name));
}
