#pragma once

#include "networkclient.h"
#include "usageform.h"
#include "serveranswers.h"
#include "synonymdownloads.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>

class SynonymStore;

// The synonym channel of the update server: the usage upload at start, the list-version query and
// the walk over the 24 list downloads, one request at a time through the shared NetworkClient.
//
// A download is checked before it goes anywhere (whole, a version line, a UTF-8 body), written to
// the language's waiting file, put in place through the SynonymStore and, when it concerns the
// current language (or is the English list), answered by reloadRequested(). A download that
// fails never replaces the list in use; the walk goes on with the next one.
class SynonymSync final : public QObject
{
    Q_OBJECT

public:
    SynonymSync(NetworkClient &client, SynonymStore &store, QObject *parent = nullptr);
    ~SynonymSync() override;
    Q_DISABLE_COPY_MOVE(SynonymSync)

    // `res` and `version` of the usage form.
    void setUserId(const QString &id) { res = id; }
    void setProgramVersion(double version) { curVer = version; }
    // Whether a language's "Language Update" switch is on; by default its settings key
    // (code + "Update", on when absent).
    void setLanguageEnabled(SynonymDownloadWalk::Enabled enabled);

    // Uploads the usage logs; uploadFinished() follows in every case, at once when there is
    // nothing to send or no server. The logs are deleted only once the server took them.
    void updateServerDB();

    // Asks the server for the list versions and starts the first download due. Drops a request
    // still in flight.
    void startSynonymUpdater();

    serveranswers::GroupVersions latestVersions() const { return latest; }
    bool isBusy() const { return client.isBusy(); }

signals:
    void uploadFinished();
    // The download row: shown with its text, progress with the speed label, hidden at the end.
    void downloadStarted(const QString &statusText);
    void downloadProgress(qint64 received, qint64 total, const QString &speedText);
    void downloadEnded();
    // Reload the current language (askToLoadCurrentSynonym): a file it uses, or the English
    // list, was replaced.
    void reloadRequested();
    // An information box for the user ("Error 001", "Error 003").
    void userMessage(const QString &title, const QString &text);
    // No further download is due in this walk.
    void walkFinished();

private:
    void updateReadyRead(const UsageForm &form, const NetworkClient::Result &result);
    void dpSynonymUpdater(const NetworkClient::Result &result);
    void continueWalk(int after);
    void startDownload(int index);
    void downloadFinished(int index, const NetworkClient::Result &result);
    bool writeWaitingFile(const SynonymDownload &d, const QByteArray &file);

    NetworkClient &client;
    SynonymStore &store;
    SynonymDownloadWalk walk;
    SynonymDownloadWalk::Enabled languageEnabled;
    serveranswers::GroupVersions latest{};
    QString res;
    double curVer = 0;
    QElapsedTimer time;
};
