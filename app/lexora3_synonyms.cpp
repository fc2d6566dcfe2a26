// Synonym store loading, the Quick Spin panel, server synchronisation and favourites
// replacement.

#include "lexora3.h"

#include "documentmanager.h"
#include "qmytextedit.h"

#include "storage/language.h"
#include "synonyms/widgets/quickspinpanel.h"
#include "synonyms/quickspintext.h"
#include "synonyms/synonymstore.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QStatusBar>
#include <QToolButton>

void Lexora3::createSynonymPanel()
{
    synStore = new SynonymStore(this);
    synStore->setTempDir(tempDir);
    synStore->setDatabase(&con);

    quickSpin = new QuickSpinPanel(*synStore, guards);
    quickSpin->setObjectName(QStringLiteral("quickSpinFrame"));
    // 200 wide until show2() allows 600.
    quickSpin->setMinimumWidth(200);
    quickSpin->setMaximumWidth(200);
    quickSpin->editor = [this]() -> QTextEdit * { return documents->editor(); };
    quickSpin->nextWordStep = [this] { navigator.nextClicked(true, false); };
    connect(quickSpin->previousTB, &QToolButton::clicked, this, &Lexora3::previousClicked);
    connect(quickSpin->nextTB, &QToolButton::clicked, this, &Lexora3::nextClicked);

    // Loading reads the tables and files on the GUI thread; the window is disabled meanwhile so
    // no edit interleaves with it.
    connect(synStore, &SynonymStore::loadingStarted, this, [this] {
        setEnabled(false);
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    });
    // The first use of a language may convert its installed thesaurus (most of a second for
    // English): the status bar shows how far it got.
    connect(synStore, &SynonymStore::thesaurusImportStarted, this, [this](const QString &code) {
        const int index = Language::indexOfCode(code);
        importLabel = index >= 0 ? Language::all().at(index).label : code;
        statusBar()->showMessage(QStringLiteral("Importing the %1 thesaurus...").arg(importLabel));
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    });
    connect(
        synStore, &SynonymStore::thesaurusImportProgress, this, [this](qint64 done, qint64 total) {
            const qint64 percent = total > 0 ? done * 100 / total : 100;
            statusBar()->showMessage(
                QStringLiteral("Importing the %1 thesaurus... %2%").arg(importLabel).arg(percent));
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        });
    connect(synStore, &SynonymStore::thesaurusImportFinished, this,
            [this] { statusBar()->clearMessage(); });
    connect(synStore, &SynonymStore::synonymFileError, this, [this] { synonymFileFailed = true; });
    // The store changed under the panel: refill it for the word under the caret.
    connect(synStore, &SynonymStore::synonymsLoaded, this, [this] {
        quickSpin->clearWord();
        cursorChanged(1);
    });
    connect(synStore, &SynonymStore::loadingFinished, this, [this] {
        setEnabled(true);
        QGuiApplication::restoreOverrideCursor();
        if (synonymFileFailed) {
            synonymFileFailed = false;
            // The update channels fetch the deleted lists again (UpdateChannels).
            QMessageBox::critical(this, QStringLiteral("Rewordix"),
                                  QStringLiteral("Error opening synonyms file."));
        }
    });
}

void Lexora3::setValidator(const QString &lang)
{
    quickSpin->setValidator(lang);
}

void Lexora3::loadSynonyms()
{
    synStore->loadSynonyms();
}

// The language changed after start-up: the panel forgets its word, then the store of curLang is
// loaded, which refills the panel.
void Lexora3::reloadSynonymsForLanguage()
{
    quickSpin->clearWord();
    loadSynonyms();
}
