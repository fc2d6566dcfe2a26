#include "commandline.h"

#include "cliio.h"
#include "commands.h"

namespace cli {

QCommandLineOption option(const char *name, const char *help, const char *valueName)
{
    return QCommandLineOption(QLatin1String(name), QLatin1String(help),
                              valueName ? QString::fromLatin1(valueName) : QString());
}

CommandLine::CommandLine(const char *command, const QList<QCommandLineOption> &options,
                         const QString &argument, const QString &argumentHelp)
    : name(QLatin1String(command)), argumentName(argument)
{
    const Command *row = findCommand(name);
    Q_ASSERT(row);
    if (row) {
        synopsis = QLatin1String(row->synopsis);
        parser.setApplicationDescription(QLatin1String(row->summary));
    }
    parser.addOption(help);
    parser.addOptions(options);
    parser.addPositionalArgument(argument, argumentHelp);
}

std::optional<int> CommandLine::parse(const QStringList &args)
{
    // QCommandLineParser skips the first entry, the program's name.
    if (!parser.parse(QStringList{name} + args)) {
        // Its messages are one line today; keep them one line if that changes.
        return usageError(parser.errorText().replace(QLatin1Char('\n'), QLatin1String("; ")));
    }
    if (parser.isSet(help))
        return printHelp();
    const QStringList positional = parser.positionalArguments();
    if (positional.size() > 1)
        return usageError(
            QStringLiteral("takes one %1, got '%2' too").arg(argumentName, positional[1]));
    if (positional.isEmpty())
        return usage();
    return std::nullopt;
}

std::optional<quint64> CommandLine::readWholeNumber(const QString &option, quint64 max) const
{
    const QString text = parser.value(option);
    bool ok = false;
    const quint64 n = text.toULongLong(&ok);
    if (ok && n <= max)
        return n;
    if (ok)
        usageError(
            QStringLiteral("--%1 is at most %2, not '%3'").arg(option, QString::number(max), text));
    else
        usageError(QStringLiteral("--%1 needs a whole number >= 0, not '%2'").arg(option, text));
    return std::nullopt;
}

int CommandLine::usageError(QString problem) const
{
    if (problem.endsWith(u'.'))
        problem.chop(1);
    return cli::usageError(QStringLiteral("%1: %2; see rewordix-cli %1 --help").arg(name, problem));
}

int CommandLine::usage() const
{
    return cli::usageError(QStringLiteral("usage: rewordix-cli %1 %2").arg(name, synopsis));
}

int CommandLine::printHelp() const
{
    // The parser's first line names the program as it was started; the subcommand's usage line
    // takes its place.
    QString text = parser.helpText();
    const qsizetype firstLine = text.indexOf(u'\n');
    if (firstLine >= 0)
        text.replace(0, firstLine, QStringLiteral("Usage: rewordix-cli %1 %2").arg(name, synopsis));
    Output out;
    out.append(text);
    return out.finish();
}

} // namespace cli
