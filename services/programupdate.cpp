#include "programupdate.h"

#include "serveranswers.h"
#include "transferspeed.h"

#include "storage/ownerfiles.h"

namespace {
const QString programPath = QStringLiteral("/Rewordix.exe");
}

ProgramUpdate::ProgramUpdate(NetworkClient &client, QObject *parent)
    : QObject(parent), client(client)
{
}

ProgramUpdate::~ProgramUpdate() = default;

void ProgramUpdate::startUpdateChecker()
{
    time.start();
    client.get(QStringLiteral("/?page_id=20"), {},
               [this](const NetworkClient::Result &r) { dpApp(r); });
}

void ProgramUpdate::dpApp(const NetworkClient::Result &result)
{
    if (!result.ok) {
        qWarning("Program version query failed: %s", qPrintable(result.error));
        emit versionCheckError();
        return;
    }
    const double v = serveranswers::parseProgramVersion(result.body);
    if (!(curVer < v)) {
        emit noNewVersion();
        return;
    }
    if (downloadPath.isEmpty()) {
        emit newVersionAvailable(QString::fromUtf8(result.body.trimmed()),
                                 client.urlFor(programPath));
        emit noNewVersion();
        return;
    }
    emit downloadStarted(QStringLiteral("Downloading new version..."));
    time.restart();
    client.get(
        programPath, [this](qint64 received, qint64 total) { dp(received, total); },
        [this](const NetworkClient::Result &r) { dpFinished(r); });
}

void ProgramUpdate::dp(qint64 received, qint64 total)
{
    emit downloadProgress(
        received, total,
        transferspeed::speedText(received, time.elapsed(), transferspeed::longByteUnit));
}

void ProgramUpdate::dpFinished(const NetworkClient::Result &result)
{
    emit downloadEnded();
    QString refused;
    if (!result.ok)
        refused = result.error;
    else if (result.body.isEmpty())
        refused = QStringLiteral("empty answer");
    else if (!serveranswers::looksLikeProgram(result.body))
        refused = QStringLiteral("not a program for this platform");
    if (!refused.isEmpty()) {
        qWarning("Program download refused: %s", qPrintable(refused));
        emit noNewVersion();
        return;
    }
    // The Updater installs whatever it finds at the path, so only a whole download may be
    // there: the file is written beside it and renamed into place. It lies in the working folder,
    // so it is owner-only and a link planted under its name is refused, not written through.
    const QString error = storage::writeOwnerOnlyFile(downloadPath, result.body);
    if (!error.isEmpty()) {
        qWarning("Cannot write %s: %s", qPrintable(downloadPath), qPrintable(error));
        emit noNewVersion();
        return;
    }
    emit newVersionDownloaded();
}
