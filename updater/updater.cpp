#include "updater.h"

#include <QCoreApplication>
#include <QFile>
#include <QMessageBox>
#include <QProcess>
#include <QSaveFile>

#include <cstdio>

Updater::Updater(const QStringList &arguments)
{
    if (!arguments.isEmpty()) {
        bool ok = false;
        const double v = arguments.at(0).trimmed().toDouble(&ok);
        if (ok)
            curVer = v;
        else
            std::fprintf(stderr, "Updater: version \"%s\" is not a number\n",
                         qPrintable(arguments.at(0)));
    }
    if (arguments.size() >= 2)
        updatePath = arguments.at(1);
    else
        std::fputs("Updater: no download path given\n", stderr);
}

QString Updater::installedProgram()
{
#ifdef Q_OS_WIN
    return QCoreApplication::applicationDirPath() + QStringLiteral("/Rewordix.exe");
#else
    return QCoreApplication::applicationDirPath() + QStringLiteral("/rewordix");
#endif
}

QString Updater::install(const QString &download, const QString &target)
{
    QFile in(download);
    if (!in.open(QIODevice::ReadOnly))
        return QStringLiteral("cannot read %1: %2").arg(download, in.errorString());
    const QByteArray bytes = in.readAll();
    if (in.error() != QFileDevice::NoError)
        return QStringLiteral("cannot read %1: %2").arg(download, in.errorString());
    in.close();

    const QFile::Permissions executable = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                          QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther |
                                          QFile::ExeOther;
    const QFile::Permissions permissions =
        QFile::exists(target) ? QFile::permissions(target) | QFile::ExeOwner : executable;

    QSaveFile out(target);
    // Renaming over the target is what makes the switch all-or-nothing; never fall back to
    // writing into it directly.
    out.setDirectWriteFallback(false);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit())
        return QStringLiteral("cannot write %1: %2").arg(target, out.errorString());
    if (!QFile::setPermissions(target, permissions))
        std::fprintf(stderr, "Updater: cannot set the permissions of %s\n", qPrintable(target));
    if (!QFile::remove(download))
        std::fprintf(stderr, "Updater: cannot delete %s\n", qPrintable(download));
    return {};
}

int Updater::run()
{
    const QString path = updatePath.trimmed();
    if (!path.isEmpty() && QFile::exists(path)) {
        const QString error = install(path, installedProgram());
        if (!error.isEmpty()) {
            showFailure(error);
            return 1;
        }
        updated = true;
    }
    if (!startMainProgram())
        std::fprintf(stderr, "Updater: cannot start %s\n", qPrintable(installedProgram()));
    return 1;
}

bool Updater::startMainProgram()
{
    return QProcess::startDetached(installedProgram(), {QStringLiteral("1")},
                                   QCoreApplication::applicationDirPath());
}

void Updater::showFailure(const QString &reason)
{
    std::fprintf(stderr, "Updater: could not update application: %s\n", qPrintable(reason));
    std::fflush(stderr);
    QMessageBox box(
        QMessageBox::Critical, QStringLiteral("Rewordix Error"),
        QStringLiteral("Could not update application, if you are using Windows Vista or Windows "
                       "7, please run Rewordix as <b>administrator</b>. Right click Rewordix.exe, "
                       "then select <b>Run as administrator</b> from the popup menu. If the "
                       "problem persists, please download Rewordix.exe update directly from "
                       "<b>Rewordix website</b>, then replace your current version of "
                       "Rewordix.exe with the one you downloaded."));
    box.setTextFormat(Qt::RichText);
    box.exec();
}
