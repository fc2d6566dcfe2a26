#pragma once

#include "networkclient.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QUrl>

// The program channel of the update server: once per run, after the first synonym load, the
// server's program version is compared with ours (as decimal numbers: 1.2 is newer than 1.191);
// a newer program is downloaded into the working folder, where the Updater installs it at the
// next start. A copy that cannot replace itself (installed by a package manager into a folder its
// user cannot write) has no download path: it only announces the new version and where to get it.
class ProgramUpdate final : public QObject
{
    Q_OBJECT

public:
    explicit ProgramUpdate(NetworkClient &client, QObject *parent = nullptr);
    ~ProgramUpdate() override;
    Q_DISABLE_COPY_MOVE(ProgramUpdate)

    void setCurrentVersion(double version) { curVer = version; }
    // Where the downloaded program is written (the path the Updater is given). Empty: this copy
    // cannot replace itself, so a newer version is announced (newVersionAvailable), not fetched.
    void setDownloadPath(const QString &path) { downloadPath = path; }

    // Sends the version query. Nothing happens without a server; a failed query ends the
    // update work of this run (versionCheckError).
    void startUpdateChecker();

signals:
    // The download row: "Downloading new version...", progress with its speed label, hidden at
    // the end.
    void downloadStarted(const QString &statusText);
    void downloadProgress(qint64 received, qint64 total, const QString &speedText);
    void downloadEnded();
    // The new program is in place for the Updater: tell the user, call the Updater and exit.
    void newVersionDownloaded();
    // A newer program exists but this copy does not fetch it (no download path): `version` as
    // the server gave it, `address` where it can be downloaded. noNewVersion follows.
    void newVersionAvailable(const QString &version, const QUrl &address);
    // Nothing was downloaded (no newer program, it is only announced, or its download yielded
    // nothing): the synonym channel follows.
    void noNewVersion();
    void versionCheckError();

private:
    void dpApp(const NetworkClient::Result &result);
    void dp(qint64 received, qint64 total);
    void dpFinished(const NetworkClient::Result &result);

    NetworkClient &client;
    double curVer = 0;
    QString downloadPath;
    QElapsedTimer time;
};
