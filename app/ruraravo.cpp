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

bool RurAravo::handOverToUpdater()
{
    const QString tempDir = storage::workingFolder(); // also creates the folder
    return QProcess::startDetached(updaterProgram(), updaterArguments(tempDir));
}

int RurAravo::main(int argc, char **argv)
{
    QApplication app(argc, argv);
    // Without arguments the Updater installs a waiting download and starts us again with
    // "1". When it cannot be started we carry on as if started by it, rather than exit with
    // nothing on screen.
    if (QCoreApplication::arguments().size() <= 1 && !debugMode) {
        if (handOverToUpdater())
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
    const SingleCopy singleCopy(storage::workingFolder());
    if (!singleCopy.isFirst()) {
        qWarning().noquote() << SingleCopy::alreadyRunningText();
        QMessageBox::information(nullptr, QStringLiteral("Rewordix"),
                                 SingleCopy::alreadyRunningText());
        return 2;
    }

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
