#include "lexora3.h"

#include "appactions.h"
#include "colorqd.h"
#include "documentmanager.h"
#include "figuresupdater.h"
#include "mytabitem.h"
#include "qjssaveonclose.h"
#include "qmytextedit.h"
#include "servicedialogs.h"
#include "viewmanager.h"

#include "selection/identifyformat.h"
#include "selection/widgets/qjsprotectedterms.h"
#include "storage/language.h"
#include "storage/settingsstore.h"
#include "storage/workingfolder.h"
#include "tagtools.h"
#include "synonyms/synonymstore.h"
#include "synonyms/widgets/quickspinpanel.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QDockWidget>
#include <QFileDialog>
#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QRadioButton>
#include <QSplashScreen>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTextDocument>
#include <QToolBar>
#include <QVBoxLayout>

Lexora3::Lexora3(QSplashScreen *splash, double curVer, bool debugMode, QWidget *parent)
    : QMainWindow(parent), curVer(curVer), debugMode(debugMode), splash(splash)
{
    if (splash)
        splash->show();
    splashMessage(QStringLiteral("Loading Components..."));

    const storage::WorkingFolder folder = storage::openWorkingFolder();
    tempDir = folder.path;
    if (!folder.ok()) {
        // Lists, logs and downloads of this session go to a private folder that is removed at
        // the end. Should not even that be made, a path below a file stands in: every write
        // there fails, and nothing lands in the refused folder or the current directory.
        sessionFolder = std::make_unique<QTemporaryDir>();
        tempDir = sessionFolder->isValid() ? sessionFolder->path() + u'/'
                                           : QStringLiteral("/dev/null/rewordix_temp/");
    }
    title = QStringLiteral("Rewordix v") + QString::number(curVer);
    setWindowFilePath(QString());
    setWindowIcon(QIcon(QStringLiteral(":/img/rewordix.png")));

    // Documents and their four pages, in view order on the view manager's stacked widget.
    documents = new DocumentManager(guards, this);
    connect(documents, &DocumentManager::titleChanged, this, &Lexora3::setCurrentWindowTitle);
    documents->createPages();
    views = new ViewManager(*documents, generator, guards, this);
    connect(views, &ViewManager::titleChanged, this, &Lexora3::setCurrentWindowTitle);

    centralFrame = new QFrame;
    auto *centralLayout = new QVBoxLayout(centralFrame);
    centralLayout->setContentsMargins(3, 3, 3, 3);
    centralLayout->setSpacing(0);
    centralLayout->addWidget(views->pages());
    createBottomBar(centralFrame);

    colorSettingsQD = new ColorQD(this);
    colorSettingsQD->setObjectName(QStringLiteral("colorSettingsQD"));
    connect(colorSettingsQD, &ColorQD::colorsChanged, this, &Lexora3::recolourEditors);

    splashMessage(QStringLiteral("Loading Toolbars..."));
    actions = new AppActions(this);
    actions->build(this);
    views->setViewActions(
        {actions->action(AppActions::EditView), actions->action(AppActions::FlatView),
         actions->action(AppActions::SpunView), actions->action(AppActions::WebView)});
    createDocks();

    setCentralWidget(centralFrame);
    createStatusBar();
    createUpdateChannels();
    createTracking();

    services = new ServiceDialogs(this, con, generator, [this] { return documents->editor(); });

    splashMessage(QStringLiteral("Loading Menus..."));
    connectActions();
    connectDocuments();
    createAutoSelect();

    setWindowState(Qt::WindowMaximized);
    centralFrame->setFrameShape(QFrame::Panel);
    centralFrame->setFrameShadow(QFrame::Sunken);
    setContentsMargins(2, 2, 2, 2);

    restoreStoredChecks();

    splashMessage(QStringLiteral("Loading Database..."));
    if (!folder.ok())
        refusedFolderMessage(folder.error);
    else if (!con.connect(tempDir))
        databaseFailed();
    // Protected terms apply from start-up on, before their dialog is ever opened.
    protectedTermsQD->myInit(&con);
    splashMessage(QStringLiteral("Done"));
    if (splash)
        splash->finish(this);

    documents->editor()->document()->clearUndoRedoStacks();
    setValidator(synStore->curLang);

    // 500 x 200 is the size of the normal (restored) state; resizing drops the maximised
    // state on some platforms, so it is asked for again.
    resize(500, 200);
    setWindowState(windowState() | Qt::WindowMaximized);
}

Lexora3::~Lexora3()
{
    con.shutdown();
}

void Lexora3::splashMessage(const QString &text)
{
    if (splash)
        splash->showMessage(text, Qt::AlignLeft, Qt::white);
}

void Lexora3::connectActions()
{
    using A = AppActions;
    const auto on = [this](A::Id id, auto receiver, auto slot) {
        connect(actions->action(id), &QAction::triggered, receiver, slot);
    };
    on(A::Open, documents, &DocumentManager::fileOpen);
    on(A::New, documents, &DocumentManager::fileNew);
    on(A::Save, documents, qOverload<>(&DocumentManager::fileSave));
    on(A::SaveAs, documents, qOverload<>(&DocumentManager::fileSaveAs));
    on(A::Cut, this, &Lexora3::cut);
    on(A::Copy, this, &Lexora3::copy);
    on(A::Paste, this, &Lexora3::paste);
    on(A::Delete, this, &Lexora3::deleteText);
    on(A::Undo, this, &Lexora3::undo);
    on(A::Redo, this, &Lexora3::redo);
    on(A::Font, this, &Lexora3::textFont);
    on(A::Hyperlink, this, &Lexora3::hyperlink);
    on(A::BrTag, this, &Lexora3::brTag);
    const std::pair<A::Id, tagtools::Tag> tags[] = {
        {A::UlTag, tagtools::Tag::UnorderedList},  {A::OlTag, tagtools::Tag::OrderedList},
        {A::DlTag, tagtools::Tag::DefinitionList}, {A::FontTag, tagtools::Tag::Font},
        {A::UTag, tagtools::Tag::Underline},       {A::ITag, tagtools::Tag::Italic},
        {A::BoldTag, tagtools::Tag::Bold},         {A::PTag, tagtools::Tag::Paragraph},
    };
    for (const auto &[id, tag] : tags)
        on(id, this, [this, tag = tag] { wrapTag(tag); });
    on(A::EditView, views, &ViewManager::editViewClicked);
    on(A::FlatView, views, &ViewManager::flatViewClicked);
    on(A::SpunView, views, &ViewManager::spunViewClicked);
    on(A::WebView, views, &ViewManager::webViewClicked);
    on(A::RemoveOriginalWord, views, &ViewManager::removeOriginalWord);
    on(A::Export, this, &Lexora3::generateSpun);
    on(A::Exit, this, &Lexora3::close);
    on(A::ColorSettings, this, &Lexora3::colorSettings);
    on(A::LoadData, this, &Lexora3::loadMergeData);
    on(A::PostToWP, services, &ServiceDialogs::postToWP);
    on(A::AddWebsite, services, &ServiceDialogs::addWebsite);
    on(A::CopyScape, services, &ServiceDialogs::copyScape);

    // "T&oolbars": checked unless the stored key says otherwise; the toolbar follows.
    const struct
    {
        A::Id id;
        A::Toolbar toolbar;
        QLatin1StringView key;
    } toolbarEntries[] = {
        {A::EditToolbar, A::Toolbar::Edit, storage::keys::editToolbarB},
        {A::HtmlToolbar, A::Toolbar::Html, storage::keys::htmlToolbarB},
        {A::MiscToolbar, A::Toolbar::Misc, storage::keys::miscToolbarB},
    };
    for (const auto &entry : toolbarEntries) {
        QAction *action = actions->action(entry.id);
        const QVariant stored = storage::value(entry.key);
        const bool shown = !stored.isValid() || storage::isTrue(stored);
        action->setChecked(shown);
        actions->toolbar(entry.toolbar)->setVisible(shown);
        connect(action, &QAction::toggled, this, [this, entry](bool checked) {
            storage::setValue(entry.key,
                              checked ? QStringLiteral("true") : QStringLiteral("false"));
            actions->toolbar(entry.toolbar)->setVisible(checked);
        });
    }

    connect(actions, &AppActions::languageUpdateToggled, this, [](int index, bool checked) {
        const QList<Language> &langs = Language::all();
        if (index >= 0 && index < langs.size())
            storage::setValue(storage::languageUpdateKey(langs.at(index).code), checked);
    });
    connect(actions, &AppActions::recentFileChosen, documents, &DocumentManager::load);
    actions->showRecentFiles(storage::recentFileList());
}

void Lexora3::connectDocuments()
{
    connect(documents, &DocumentManager::recentFilesChanged, actions, &AppActions::showRecentFiles);
    // Saving always writes UTF-8; the user learns what an opened file was read as.
    connect(documents, &DocumentManager::fileRead, this,
            [this](const QString &name, const QString &encoding) {
                statusBar()->showMessage(QStringLiteral("%1 read as %2").arg(name, encoding));
            });
    connect(documents, &DocumentManager::undoAvailable, actions->action(AppActions::Undo),
            &QAction::setEnabled);
    connect(documents, &DocumentManager::redoAvailable, actions->action(AppActions::Redo),
            &QAction::setEnabled);
    connect(documents, &DocumentManager::caretTrackingWanted, this, [this] { cursorChanged(-1); });
    connect(documents, &DocumentManager::editorCursorMoved, this, [this] { cursorChanged(-1); });
    connect(documents, &DocumentManager::pasteRequested, this, &Lexora3::paste);
    connect(documents, &DocumentManager::previousWordRequested, this, &Lexora3::previousClicked);
    connect(documents, &DocumentManager::nextWordRequested, this, &Lexora3::nextClicked);
    connect(documents, &DocumentManager::editorPressedAt, views, &ViewManager::linkSpunClick);
    connect(documents, &DocumentManager::editorPressFinished, this, [this] { cursorChanged(1); });
    connect(documents, &DocumentManager::editorHoveredAt, views, &ViewManager::highlightSpunWord);
}

// Language Update entries and the identify boxes take their stored state; absent keys keep
// the defaults (checked / unchecked).
void Lexora3::restoreStoredChecks()
{
    const QList<Language> &langs = Language::all();
    const QList<QAction *> &entries = actions->languageUpdateEntries();
    for (qsizetype i = 0; i < langs.size() && i < entries.size(); ++i) {
        const QVariant stored = storage::value(storage::languageUpdateKey(langs.at(i).code));
        if (stored.isValid())
            entries.at(i)->setChecked(storage::isTrue(stored));
    }
    const QVariant onLoad = storage::value(storage::keys::identifyOnLoad);
    if (onLoad.isValid())
        identifyOnLoad->setChecked(storage::isTrue(onLoad));
    const QVariant onPaste = storage::value(storage::keys::identifyOnPaste);
    if (onPaste.isValid())
        identifyOnPaste->setChecked(storage::isTrue(onPaste));
}

void Lexora3::show2()
{
    start = false;
    setCurrentWindowTitle(QStringLiteral("Untitled 1"));
    quickSpin->setMaximumWidth(600);
    populateLangBox();
    documents->document()->setSaved();
    updateServerDB();
    services->loadWebsites();
    limitSentenceDockWidth();
    documents->editor()->document()->clearUndoRedoStacks();
}

void Lexora3::setCurrentWindowTitle(const QString &name)
{
    setWindowTitle(name + QStringLiteral(" - ") + title);
}

void Lexora3::limitSentenceDockWidth()
{
    auto *sentenceDW = findChild<QDockWidget *>(QStringLiteral("sentenceDW"));
    if (sentenceDW && sentenceDW->widget()) {
        const QMargins margins = contentsMargins();
        sentenceDW->widget()->setMaximumWidth(width() - margins.left() - margins.right());
    }
}

void Lexora3::populateLangBox()
{
    const QSignalBlocker block(langBox);
    langBox->clear();
    for (const Language &l : Language::all())
        langBox->addItem(l.label);

    const storage::StoredLanguage stored = storage::storedLanguage();
    synStore->curLang = stored.code;
    langBox->setCurrentIndex(Language::indexOfCode(stored.code));
    if (stored.stored) {
        if (stored.rightToLeft) {
            rtlRB->setChecked(true);
            rtl();
        } else {
            ltrRB->setChecked(true);
            ltr();
        }
        setValidator(stored.code);
    } else {
        storage::saveLanguageSettings(stored.code, false);
    }
}

void Lexora3::langChanged(int index)
{
    quickSpin->addSynLE->clear();
    if (start)
        return;
    const QString code = Language::codeOfLabel(langBox->itemText(index));
    if (!code.isEmpty())
        synStore->curLang = code;
    setValidator(synStore->curLang);
    storage::saveLanguageSettings(synStore->curLang, !ltrRB->isChecked());
    reloadSynonymsForLanguage();
}

// "Remove Underline" takes the underline of identified synonyms off the whole document.
void Lexora3::synonymsBoxIndexChanged(int index)
{
    QMyTextEdit *editor = documents->editor();
    if (index != 2 || !editor)
        return;
    selection::removeUnderline(*editor->document());
}

void Lexora3::loadMergeData()
{
    const QString path =
        QFileDialog::getOpenFileName(this, QStringLiteral("Open File"), documents->folder(),
                                     QStringLiteral("CSV (Comma delimited) (*.csv)"));
    if (!path.isEmpty())
        openMergeData(path);
}

void Lexora3::closeEvent(QCloseEvent *event)
{
    if (!saveOnCloseQD)
        saveOnCloseQD = new QJSSaveOnClose(*documents, this);
    if (saveOnCloseQD->collect() > 0) {
        saveOnCloseQD->exec();
        if (!saveOnCloseQD->isDone() && !saveOnCloseQD->isDiscard()) {
            event->ignore();
            return;
        }
    }
    con.shutdown();
    event->accept();
}

void Lexora3::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    if (guards.allowChanges())
        limitSentenceDockWidth();
}

// Whatever session follows must not write into a folder that someone else controls.
void Lexora3::refusedFolderMessage(const QString &reason)
{
    QMessageBox::critical(this, QStringLiteral("Rewordix"),
                          reason + QStringLiteral("\n\nRewordix starts without its database: "
                                                  "synonym edits, blog accounts and the Copyscape "
                                                  "account of this session are not saved."));
    workWithoutDatabase(QStringLiteral("the working folder was refused: ") + reason);
}

// The database could not be opened: the user learns why and what it costs, and a damaged file
// can be moved aside for a fresh start. The user's file is never replaced silently.
void Lexora3::databaseFailed()
{
    const QString consequence = QStringLiteral(
        "Without it, synonym edits, blog accounts and the Copyscape account of this session are "
        "not saved.");
    const QString reason = con.errorString();
    if (!con.isDamaged()) {
        QMessageBox::critical(this, QStringLiteral("Rewordix"),
                              reason + QStringLiteral("\n\n") + consequence);
        workWithoutDatabase(reason);
        return;
    }
    const auto answer = QMessageBox::question(
        this, QStringLiteral("Rewordix"),
        reason + QStringLiteral("\n\n") + consequence +
            QStringLiteral("\n\nMove the damaged file aside (it is kept as "
                           "db.sqlite.damaged-<time>) and start a fresh database?"),
        QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer != QMessageBox::Yes) {
        workWithoutDatabase(reason);
        return;
    }
    const LocalDatabase::MoveAside moved =
        LocalDatabase::moveAside(tempDir, QDateTime::currentDateTime());
    if (!moved.error.isEmpty() || !con.connect(tempDir)) {
        const QString failure = moved.error.isEmpty() ? con.errorString() : moved.error;
        QMessageBox::critical(this, QStringLiteral("Rewordix"),
                              failure + QStringLiteral("\n\n") + consequence);
        workWithoutDatabase(failure);
        return;
    }
    statusBar()->showMessage(
        QStringLiteral("The damaged database was kept as %1; a fresh one was started.")
            .arg(QDir::toNativeSeparators(moved.movedTo)));
}

void Lexora3::workWithoutDatabase(const QString &reason)
{
    statusBar()->showMessage(QStringLiteral("Working without a database."));
    noDatabaseQL->setToolTip(reason);
    noDatabaseQL->show();
}
