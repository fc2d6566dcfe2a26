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
    // The Updater's arguments: the version as text and the download path.
    static QStringList updaterArguments(const QString &tempDir);
    // Starts the Updater detached on the download waiting in `tempDir` (the working folder);
    // false when it could not be started.
    static bool handOverToUpdater(const QString &tempDir);
};
