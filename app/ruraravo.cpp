#include "ruraravo.h"

#include "lexora3.h"
#include "singlecopy.h"

#include "storage/settingsstore.h"
#include "storage/workingfolder.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDebug>
#include <QIcon>
#include <QMessageBox>
#include <QProcess>
#include <QScreen>
#include <QStyleFactory>

#include <optional>

QString RurAravo::updaterProgram()
{
#ifdef Q_OS_WIN
    return QCoreApplication::applicationDirPath() + QStringLiteral("/Updater.exe");
#else
    return QCoreApplication::applicationDirPath() + QStringLiteral("/rewordix-updater");
#endif
}

QString RurAravo::downloadedProgram(const QString &tempDir)
{
#ifdef Q_OS_WIN
    return tempDir + QStringLiteral("Rewordix.exe");
#else
    return tempDir + QStringLiteral("rewordix");
#endif
}

QStringList RurAravo::updaterArguments(const QString &tempDir)
{
    return {QString::number(curVer), downloadedProgram(tempDir)};
}

bool RurAravo::handOverToUpdater(const QString &tempDir)
{
    return QProcess::startDetached(updaterProgram(), updaterArguments(tempDir));
}

int RurAravo::main(int argc, char **argv)
{
    QApplication app(argc, argv);
    // A refused working folder belongs to someone else (or anyone may write to it): a program
    // found there is not handed to the Updater, and no lock is taken there. The window explains
    // the refusal and works in a private folder of its own.
    const storage::WorkingFolder folder = storage::openWorkingFolder();
    // Without arguments the Updater installs a waiting download and starts us again with
    // "1". When it cannot be started we carry on as if started by it, rather than exit with
    // nothing on screen.
    if (QCoreApplication::arguments().size() <= 1 && !debugMode && folder.ok()) {
        if (handOverToUpdater(folder.path))
            return 1;
        qWarning() << "Rewordix: could not start" << updaterProgram() << "- starting directly";
    }
    storage::setApplicationNames();
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/img/rewordix.png")));
    QCoreApplication::processEvents();

    // A second copy on the same working folder leaves everything to the first one: it opens
    // no database and writes no file. (The program opens no files named on its command line,
    // so there is nothing to hand over.)
    std::optional<SingleCopy> singleCopy;
    if (folder.ok())
        singleCopy.emplace(folder.path);
    if (singleCopy && !singleCopy->isFirst()) {
        qWarning().noquote() << SingleCopy::alreadyRunningText();
        QMessageBox::information(nullptr, QStringLiteral("Rewordix"),
                                 SingleCopy::alreadyRunningText());
        return 2;
    }
    if (!folder.ok())
        qWarning().noquote() << "Rewordix: the working folder is refused, starting on a private "
                                "folder:"
                             << folder.error;

    Lexora3 window(nullptr, curVer, debugMode);
    // Maximising is the window manager's job; on a bare X server (kiosk, Xvfb) there is
    // none, so the window also takes the screen's working area before it is shown.
    if (QScreen *screen = window.screen())
        window.setGeometry(screen->availableGeometry());
    window.show();
    window.setWindowState(window.windowState() | Qt::WindowMaximized);
    window.show2();
    return QApplication::exec();
}
