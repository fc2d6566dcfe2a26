#pragma once

#include <QString>
#include <QStringList>

// The Updater: started by the main program as `rewordix-updater VERSION DOWNLOAD-PATH`, it puts
// a downloaded new program in place of the installed one and starts the main program again with
// the argument "1". Any file found at the download path is installed; there is no version
// comparison.
class Updater final
{
public:
    // The command-line arguments after the program name. A missing download path or a version
    // that is not a number is reported on the error output; the defaults stay.
    explicit Updater(const QStringList &arguments);

    // The main program, next to the Updater: "rewordix" ("Rewordix.exe" on Windows).
    static QString installedProgram();

    // Installs the download when there is one, then starts the main program. Returns the exit
    // status (always 1, as both programs end after starting the other); on a failed install the
    // failure box is shown and the main program is not started.
    int run();

    // Puts the file at `download` in place of `target`: written to a temporary file beside the
    // target and renamed over it, keeping the target's permissions (execute included), so a
    // failed copy leaves the installed program as it was. The download is deleted afterwards.
    // Returns an empty text on success, else what failed.
    static QString install(const QString &download, const QString &target);

    double curVer = 1.0;
    QString updatePath;
    bool updated = false;

private:
    static void showFailure(const QString &reason);
    static bool startMainProgram();
};
