#include "synonymsync.h"

#include "transferspeed.h"

#include "storage/ownerfiles.h"
#include "storage/settingsstore.h"
#include "synonyms/synonymstore.h"

SynonymSync::SynonymSync(NetworkClient &client, SynonymStore &store, QObject *parent)
    : QObject(parent), client(client), store(store),
      walk([this](const QString &code,
                  bool favourites) { return this->store.fileVersion(code, favourites); },
           [this](const QString &code) { return languageEnabled(code); }),
      languageEnabled(
          [](const QString &code) { return storage::flag(storage::languageUpdateKey(code)); })
{
}

SynonymSync::~SynonymSync() = default;

void SynonymSync::setLanguageEnabled(SynonymDownloadWalk::Enabled enabled)
{
    languageEnabled = std::move(enabled);
}

// ---- usage upload ---------------------------------------------------------------------------

void SynonymSync::updateServerDB()
{
    // Without a server the logs stay where they are for a later upload.
    if (!client.isConfigured()) {
        emit uploadFinished();
        return;
    }
    const UsageForm form = UsageForm::collect(store.workingFolder(), res, curVer);
    if (form.isEmpty()) {
        emit uploadFinished();
        return;
    }
    client.post(QStringLiteral("/?page_id=11"), form.body(), {},
                [this, form](const NetworkClient::Result &r) { updateReadyRead(form, r); });
}

void SynonymSync::updateReadyRead(const UsageForm &form, const NetworkClient::Result &result)
{
    if (result.ok)
        form.removeSentLogs();
    else
        qWarning("Usage upload failed (logs kept for the next start): %s",
                 qPrintable(result.error));
    emit uploadFinished();
}

// ---- list versions and downloads ------------------------------------------------------------

void SynonymSync::startSynonymUpdater()
{
    const bool sent = client.get(QStringLiteral("/?page_id=346"), {},
                                 [this](const NetworkClient::Result &r) { dpSynonymUpdater(r); });
    if (!sent)
        emit walkFinished();
}

void SynonymSync::dpSynonymUpdater(const NetworkClient::Result &result)
{
    if (!result.ok) {
        qWarning("List version query failed: %s", qPrintable(result.error));
        emit walkFinished();
        return;
    }
    latest = serveranswers::parseGroupVersions(result.body, latest);
    continueWalk(-1);
}

void SynonymSync::continueWalk(int after)
{
    const int index = walk.next(after, latest);
    if (index < 0) {
        emit walkFinished();
        return;
    }
    startDownload(index);
}

void SynonymSync::startDownload(int index)
{
    const SynonymDownload &d = SynonymDownload::all().at(index);
    walk.started(index);
    emit downloadStarted(d.statusText);
    time.restart();
    client.get(
        d.path,
        [this, index](qint64 received, qint64 total) {
            const SynonymDownload &d = SynonymDownload::all().at(index);
            emit downloadProgress(received, total,
                                  transferspeed::speedText(received, time.elapsed(), d.byteUnit));
        },
        [this, index](const NetworkClient::Result &r) { downloadFinished(index, r); });
}

void SynonymSync::downloadFinished(int index, const NetworkClient::Result &result)
{
    const SynonymDownload &d = SynonymDownload::all().at(index);
    emit downloadEnded();

    bool installed = false;
    if (!result.ok) {
        qWarning("Download of %s failed: %s", qPrintable(d.path), qPrintable(result.error));
    } else {
        const serveranswers::ListDownload checked = serveranswers::checkListDownload(result.body);
        if (!checked.ok)
            qWarning("Download of %s refused: %s", qPrintable(d.path), qPrintable(checked.error));
        else
            installed = writeWaitingFile(d, checked.file);
    }
    if (installed) {
        if (!store.promoteDownloads(d.code))
            qWarning("%s waits for the next load", qPrintable(d.waitingFile));
        if (d.alwaysReloads || store.curLang == d.code)
            emit reloadRequested();
    }
    // A reload that found a list unreadable asks for the versions again; that query replaces
    // the rest of this walk.
    if (client.isBusy())
        return;
    continueWalk(index);
}

bool SynonymSync::writeWaitingFile(const SynonymDownload &d, const QByteArray &file)
{
    // Written whole or not at all: a waiting file is always a complete download. Owner-only and
    // never through a link planted under the waiting name.
    storage::OwnerOnlySaveFile out(store.workingFolder() + d.waitingFile);
    if (!out.open()) {
        if (d.tellsUser)
            emit userMessage(QStringLiteral("Error 003"), QStringLiteral("Error creating file."));
        else
            qWarning("Cannot create %s: %s", qPrintable(d.waitingFile),
                     qPrintable(out.errorString()));
        return false;
    }
    if (!out.write(file) || !out.commit()) {
        if (d.tellsUser)
            emit userMessage(QStringLiteral("Error 001"), out.errorString());
        else
            qWarning("Cannot write %s: %s", qPrintable(d.waitingFile),
                     qPrintable(out.errorString()));
        return false;
    }
    return true;
}
