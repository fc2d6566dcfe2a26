#include "ruraravo.h"

#include "documentmanager.h"
#include "lexora3.h"
#include "singlecopy.h"

#include "storage/settingsstore.h"
#include "storage/workingfolder.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
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

bool RurAravo::canReplaceItself(bool packagedBuild, const QString &programFolder)
{
    return !packagedBuild && QFileInfo(programFolder).isWritable();
}

bool RurAravo::canReplaceItself()
{
#ifdef REWORDIX_PACKAGED
    constexpr bool packagedBuild = true;
#else
    constexpr bool packagedBuild = false;
#endif
    return canReplaceItself(packagedBuild, QCoreApplication::applicationDirPath());
}

QString RurAravo::programDownload(const QString &tempDir)
{
    return canReplaceItself() ? downloadedProgram(tempDir) : QString();
}

QStringList RurAravo::updaterArguments(const QString &tempDir)
{
    return {QString::number(curVer), programDownload(tempDir)};
}

QStringList RurAravo::filesToOpen(const QStringList &arguments)
{
    QStringList files = arguments.mid(1);
    if (!files.isEmpty() && files.first() == QLatin1String("1"))
        files.removeFirst();
    return files;
}

bool RurAravo::handOverToUpdater(const QString &tempDir)
{
    return QProcess::startDetached(updaterProgram(), updaterArguments(tempDir));
}

namespace {

// Opens the files named on the command line (a file manager's "Open With"), each in its own tab;
// one that cannot be read is named in a message box.
void openFiles(Lexora3 &window, const QStringList &files)
{
    QStringList unreadable;
    for (const QString &file : files) {
        const QString path = QDir::cleanPath(QDir::current().absoluteFilePath(file));
        if (!window.documentManager()->load(path))
            unreadable.append(QDir::toNativeSeparators(path));
    }
    if (unreadable.isEmpty())
        return;
    qWarning().noquote() << "Rewordix: cannot open" << unreadable.join(QStringLiteral(", "));
    QMessageBox::warning(&window, QStringLiteral("Rewordix"),
                         QStringLiteral("Could not open:\n%1").arg(unreadable.join(u'\n')));
}

} // namespace

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
    // An installed copy has the desktop entry and its icon theme icon (dist/); a build-folder
    // copy falls back to the compiled-in one.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.tarnvale.Rewordix"));
    QApplication::setWindowIcon(
        QIcon::fromTheme(QStringLiteral("rewordix"), QIcon(QStringLiteral(":/img/rewordix.png"))));
    QCoreApplication::processEvents();

    // A second copy on the same working folder leaves everything to the first one: it opens
    // no database and writes no file. Files named on its command line are not handed over to
    // the running copy; the message says which copy is in charge.
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
    openFiles(window, filesToOpen(QCoreApplication::arguments()));
    return QApplication::exec();
}
