#pragma once

#include <QStringList>
#include <QStringView>

namespace cli {

// One subcommand of rewordix-cli. `run` gets the arguments after the
// subcommand's name and returns the process exit status.
struct Command
{
    const char *name;
    const char *synopsis; // arguments, for --help and usage errors
    const char *summary;  // one line, for --help
    int (*run)(const QStringList &args);
};

// The row of the command table named `name`; null when there is none.
const Command *findCommand(QStringView name);

int runSpin(const QStringList &args);
int runCount(const QStringList &args);
int runFlat(const QStringList &args);
int runFirst(const QStringList &args);
int runStripFirst(const QStringList &args);
int runStats(const QStringList &args);
int runExport(const QStringList &args);
int runSynonyms(const QStringList &args);
int runPost(const QStringList &args);
int runAutoSelect(const QStringList &args);
int runReplaceFavorites(const QStringList &args);

} // namespace cli
