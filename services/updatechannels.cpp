#include "updatechannels.h"

#include "networkclient.h"
#include "programupdate.h"
#include "synonymsync.h"

#include "synonyms/synonymstore.h"

UpdateChannels::UpdateChannels(SynonymStore &store, QObject *parent)
    : QObject(parent), store(store), net(new NetworkClient(this)),
      sync(new SynonymSync(*net, store, this)), update(new ProgramUpdate(*net, this))
{
    connect(sync, &SynonymSync::uploadFinished, this, &UpdateChannels::load);
    connect(sync, &SynonymSync::reloadRequested, this, &UpdateChannels::load);
    // The version check runs once, after the first load of the run.
    connect(&store, &SynonymStore::loadingFinished, this, [this](bool) {
        if (versionChecked || !net->isConfigured())
            return;
        versionChecked = true;
        update->startUpdateChecker();
    });
    connect(update, &ProgramUpdate::noNewVersion, sync, &SynonymSync::startSynonymUpdater);
    // The store deleted an unreadable list: fetch it again, unless a walk is under way (it
    // continues with the lists after the one just loaded). Queued, so the load that found the
    // error has ended first.
    connect(
        &store, &SynonymStore::synonymFileError, this,
        [this] {
            if (net->isConfigured() && versionChecked && !net->isBusy())
                sync->startSynonymUpdater();
        },
        Qt::QueuedConnection);

    connect(sync, &SynonymSync::downloadStarted, this, &UpdateChannels::downloadStarted);
    connect(sync, &SynonymSync::downloadProgress, this, &UpdateChannels::downloadProgress);
    connect(sync, &SynonymSync::downloadEnded, this, &UpdateChannels::downloadEnded);
    connect(sync, &SynonymSync::userMessage, this, &UpdateChannels::userMessage);
    connect(update, &ProgramUpdate::downloadStarted, this, &UpdateChannels::downloadStarted);
    connect(update, &ProgramUpdate::downloadProgress, this, &UpdateChannels::downloadProgress);
    connect(update, &ProgramUpdate::downloadEnded, this, &UpdateChannels::downloadEnded);
    connect(update, &ProgramUpdate::newVersionDownloaded, this,
            &UpdateChannels::newVersionDownloaded);
    // Queued: the synonym channel starts before the window's message box waits for the user.
    connect(
        update, &ProgramUpdate::newVersionAvailable, this,
        [this](const QString &version, const QUrl &address) {
            emit userMessage(QStringLiteral("Rewordix"), newVersionText(version, address));
        },
        Qt::QueuedConnection);
}

QString UpdateChannels::newVersionText(const QString &version, const QUrl &address)
{
    return QStringLiteral("Rewordix %1 is available.\n"
                          "This copy was installed by the package manager and cannot update "
                          "itself. Update it through the package manager, or download the new "
                          "version from:\n%2")
        .arg(version, address.toString());
}

UpdateChannels::~UpdateChannels() = default;

void UpdateChannels::configure(const QString &server, const QString &userId, double version,
                               const QString &programDownload)
{
    net->setBaseUrl(server);
    sync->setUserId(userId);
    sync->setProgramVersion(version);
    update->setCurrentVersion(version);
    update->setDownloadPath(programDownload);
}

void UpdateChannels::start()
{
    sync->updateServerDB();
}

void UpdateChannels::load()
{
    if (loader)
        loader();
    else
        store.loadSynonyms();
}
