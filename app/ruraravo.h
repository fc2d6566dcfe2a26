#pragma once

#include <QString>
#include <QStringList>

// The program's entry: hands over to the Updater when started without arguments, otherwise
// builds and shows the main window and runs the event loop.
class RurAravo final
{
public:
    static constexpr double curVer = 1.191;
    static constexpr bool debugMode = false;

    static int main(int argc, char **argv);

    // The Updater, next to this program: "rewordix-updater" ("Updater.exe" on Windows).
    static QString updaterProgram();
    // Where a downloaded new version waits in the working folder: tempDir + "Rewordix.exe"
    // on Windows, tempDir + "rewordix" elsewhere.
    static QString downloadedProgram(const QString &tempDir);
    // Whether this copy may replace its own program with a downloaded new version: not when it
    // was built for a package (-DREWORDIX_PACKAGED=ON: the package manager owns the files, and
    // root could write them), nor when the program's folder cannot be written.
    static bool canReplaceItself();
    static bool canReplaceItself(bool packagedBuild, const QString &programFolder);
    // Where a new version is downloaded for the Updater: downloadedProgram(tempDir), or empty
    // when this copy cannot replace itself (a newer version is then only announced).
    static QString programDownload(const QString &tempDir);
    // The Updater's arguments: the version as text and the download path (empty when this copy
    // cannot replace itself, so a download left by an earlier copy is never installed).
    static QStringList updaterArguments(const QString &tempDir);
    // The files named on the command line, to be opened: every argument but the "1" the
    // Updater passes as the first one.
    static QStringList filesToOpen(const QStringList &arguments);
    // Starts the Updater detached on the download waiting in `tempDir` (the working folder);
    // false when it could not be started.
    static bool handOverToUpdater(const QString &tempDir);
};
