#pragma once

#include <QObject>
#include <QString>

#include <functional>

class NetworkClient;
class QUrl;
class ProgramUpdate;
class SynonymStore;
class SynonymSync;

// The start-up chain of the update server, one request at a time: the usage upload, then the
// first synonym load, then the program version check, then (when no new program came) the
// list-version query and the list downloads. A list that turns out unreadable at a load asks for
// the lists again. Without a configured server no request is made and the chain goes straight to
// loading.
//
// The window shows the download row from downloadStarted/Progress/Ended (both channels use the
// same row) and the boxes from userMessage() and newVersionDownloaded().
class UpdateChannels final : public QObject
{
    Q_OBJECT

public:
    explicit UpdateChannels(SynonymStore &store, QObject *parent = nullptr);
    ~UpdateChannels() override;
    Q_DISABLE_COPY_MOVE(UpdateChannels)

    // `server`: base URL, empty for none; `userId`: `res` of the usage form; `version`: the
    // program's own; `programDownload`: where a new program is written for the Updater, empty
    // when this copy cannot replace itself (a newer version is then only announced through
    // userMessage(), with its download address, and the list downloads go on).
    void configure(const QString &server, const QString &userId, double version,
                   const QString &programDownload);

    // How the window loads the current language (at start-up and when a download asks for a
    // reload); SynonymStore::loadSynonyms() unless set.
    void setLoader(std::function<void()> load) { loader = std::move(load); }

    // What the user is told when a newer program exists that this copy does not fetch itself.
    static QString newVersionText(const QString &version, const QUrl &address);

    // Step one of the chain: the usage upload.
    void start();

    NetworkClient &client() { return *net; }
    SynonymSync &synonyms() { return *sync; }
    ProgramUpdate &program() { return *update; }

signals:
    void downloadStarted(const QString &statusText);
    void downloadProgress(qint64 received, qint64 total, const QString &speedText);
    void downloadEnded();
    void userMessage(const QString &title, const QString &text);
    // A new program waits for the Updater: tell the user, call the Updater, end the program.
    void newVersionDownloaded();

private:
    void load();

    SynonymStore &store;
    NetworkClient *net = nullptr;
    SynonymSync *sync = nullptr;
    ProgramUpdate *update = nullptr;
    std::function<void()> loader;
    bool versionChecked = false;
};
