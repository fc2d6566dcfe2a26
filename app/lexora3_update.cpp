// The update server: the start-up chain (usage upload, first synonym load, program version
// check, list downloads), the download row of the status bar and the hand-over to the Updater.

#include "lexora3.h"

#include "ruraravo.h"

#include "services/updatechannels.h"
#include "storage/settingsstore.h"

#include <QCoreApplication>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QStatusBar>

void Lexora3::createUpdateChannels()
{
    updates = new UpdateChannels(*synStore, this);
    // A session on a private folder (the working folder was refused) fetches no new program:
    // the Updater could only be pointed at the refused folder, or at a folder removed when this
    // window closes.
    updates->configure(storage::updateServer(), storage::userId(), curVer,
                       sessionFolder ? QString() : RurAravo::programDownload(tempDir));
    // A download of the current language (or the English list) reloads like a language change.
    updates->setLoader([this] { reloadSynonymsForLanguage(); });

    // One download row for both channels: shown with its text at the start of each download,
    // progress and speed while it runs, hidden at its end.
    auto *row = findChild<QWidget *>(QStringLiteral("downloadRow"));
    auto *text = findChild<QLabel *>(QStringLiteral("downloadQL"));
    auto *bar = findChild<QProgressBar *>(QStringLiteral("downloadPB"));
    auto *speed = findChild<QLabel *>(QStringLiteral("downloadSpeedQL"));
    connect(updates, &UpdateChannels::downloadStarted, this, [=, this](const QString &status) {
        bar->reset();
        text->setText(status);
        row->show();
        statusBar()->show();
    });
    connect(updates, &UpdateChannels::downloadProgress, this,
            [=](qint64 received, qint64 total, const QString &speedText) {
                // Answers are capped far below 2 GB, so the counts fit the bar's int range.
                bar->setMaximum(total > 0 ? int(total) : 0);
                bar->setValue(int(qMin<qint64>(received, bar->maximum())));
                speed->setText(speedText);
            });
    connect(updates, &UpdateChannels::downloadEnded, row, &QWidget::hide);
    connect(updates, &UpdateChannels::userMessage, this,
            [this](const QString &title, const QString &message) {
                QMessageBox::information(this, title, message);
            });
    connect(updates, &UpdateChannels::newVersionDownloaded, this, &Lexora3::dpFinished);
}

void Lexora3::updateServerDB()
{
    updates->start();
}

void Lexora3::dpFinished()
{
    QMessageBox::information(this, QStringLiteral("Rewordix"),
                             QStringLiteral("A new version of Rewordix has been downloaded.\n"
                                            "Please press OK to restart Rewordix."));
    // The close sequence asks about unsaved documents first. When the user cancels it the
    // program stays open; the Updater installs the download at the next start.
    if (!close())
        return;
    callUpdater();
    QCoreApplication::exit(1);
}

void Lexora3::callUpdater()
{
    if (!RurAravo::handOverToUpdater(tempDir))
        qWarning("Rewordix: could not start %s; the new version is installed at the next start",
                 qPrintable(RurAravo::updaterProgram()));
}
