#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QList>
#include <QString>
#include <QStringList>

#include <limits>
#include <optional>
#include <type_traits>

namespace cli {

// An option of a subcommand: `--name`, or `-name` when the name is one character; with a
// `valueName` it takes a value.
QCommandLineOption option(const char *name, const char *help, const char *valueName = nullptr);

// The command line of one subcommand: a QCommandLineParser with the subcommand's options,
// -h/--help and exactly one positional argument. The subcommand's row of the command table gives
// the help text's description and usage line, so each cmd_<name>.cpp only declares its options.
//
// Accepted forms are QCommandLineParser's: `--opt value` and `--opt=value`, compacted short
// options (`-0`), options before or after the argument, `-` as an argument (stdin), and `--`
// ending the options.
class CommandLine final
{
public:
    // `command` is the subcommand's name in the command table; `argument` and `argumentHelp`
    // name and describe its positional argument.
    CommandLine(const char *command, const QList<QCommandLineOption> &options,
                const QString &argument = QStringLiteral("FILE"),
                const QString &argumentHelp =
                    QStringLiteral("UTF-8 text file to read, or - for standard input"));

    // Parses `args`, the arguments after the subcommand's name. Returns an exit status when the
    // subcommand has nothing more to do: Success once --help has printed the help, UsageError
    // once a one-line message has said what is wrong with the command line (a parse error, or
    // not exactly one positional argument). No value: go on with isSet(), value() and
    // argument().
    std::optional<int> parse(const QStringList &args);

    bool isSet(const QString &option) const { return parser.isSet(option); }
    // The option's value; its last one when given more than once.
    QString value(const QString &option) const { return parser.value(option); }
    // The positional argument.
    QString argument() const { return parser.positionalArguments().value(0); }

    // When `option` is given, stores its value in `target`: a whole number from 0 to the largest
    // `target` holds. False, after a usage error, when the value is not one.
    template <typename Number> bool wholeNumber(const QString &option, Number &target) const
    {
        static_assert(std::is_integral_v<Number>);
        if (!isSet(option))
            return true;
        const std::optional<quint64> n =
            readWholeNumber(option, quint64(std::numeric_limits<Number>::max()));
        if (n)
            target = Number(*n);
        return n.has_value();
    }
    template <typename Number>
    bool wholeNumber(const QString &option, std::optional<Number> &target) const
    {
        Number n{};
        if (!isSet(option))
            return true;
        if (!wholeNumber(option, n))
            return false;
        target = n;
        return true;
    }

    // Prints "rewordix-cli: <command>: <problem>" (a final full stop dropped) and where to find
    // the help as one line on stderr; returns UsageError.
    int usageError(QString problem) const;
    // Prints the usage line of the subcommand as the error; returns UsageError.
    int usage() const;

private:
    std::optional<quint64> readWholeNumber(const QString &option, quint64 max) const;
    int printHelp() const;

    QString name;
    QString synopsis;
    QString argumentName;
    QCommandLineParser parser;
    QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")},
                            QStringLiteral("Shows this help and exits.")};
};

} // namespace cli
