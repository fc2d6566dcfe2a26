// Toolbars and menus of the main window.

#include "lexora3.h"

#include "documentmanager.h"
#include "languages.h"
#include "qmyaction.h"

#include "storage/settingsstore.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>

namespace {

// An action whose tooltip and status tip equal `tip`; icon is a file name of img/ or empty.
QAction *makeAction(QObject *parent, const QString &icon, const QString &text, const QString &tip,
                    const QKeySequence &shortcut = {})
{
    auto *action = icon.isEmpty()
                       ? new QAction(text, parent)
                       : new QAction(QIcon(QStringLiteral(":/img/") + icon), text, parent);
    if (!tip.isEmpty()) {
        action->setToolTip(tip);
        action->setStatusTip(tip);
    }
    if (!shortcut.isEmpty())
        action->setShortcut(shortcut);
    return action;
}

} // namespace

void Lexora3::createToolbars()
{
    // "Edit" toolbar
    editTB = addToolBar(QStringLiteral("Edit"));
    editTB->setObjectName(QStringLiteral("editTB"));
    openQA = makeAction(this, QStringLiteral("fileopen.png"), QStringLiteral("Open"),
                        QStringLiteral("Open"), QKeySequence::Open);
    newQA = makeAction(this, QStringLiteral("page_add.png"), QStringLiteral("New"),
                       QStringLiteral("New"), QKeySequence::New);
    saveQA = makeAction(this, QStringLiteral("page_save.png"), QStringLiteral("Save"),
                        QStringLiteral("Save"), QKeySequence::Save);
    cutQA = makeAction(this, QStringLiteral("cut.png"), QStringLiteral("Cut"),
                       QStringLiteral("Cut"), QKeySequence::Cut);
    copyQA = makeAction(this, QStringLiteral("page_copy.png"), QStringLiteral("Copy"),
                        QStringLiteral("Copy"), QKeySequence::Copy);
    pasteQA = makeAction(this, QStringLiteral("page_paste.png"), QStringLiteral("Paste"),
                         QStringLiteral("Paste"), QKeySequence::Paste);
    deleteQA = makeAction(this, QStringLiteral("page_delete.png"), QStringLiteral("Delete"),
                          QStringLiteral("Delete"), QKeySequence::Delete);
    undoQA = makeAction(this, QStringLiteral("arrow_undo.png"), QStringLiteral("Undo"),
                        QStringLiteral("Undo"));
    redoQA = makeAction(this, QStringLiteral("arrow_redo.png"), QStringLiteral("Redo"),
                        QStringLiteral("Redo"));
    undoQA->setEnabled(false);
    redoQA->setEnabled(false);
    fontQA = makeAction(this, QStringLiteral("font.png"), QStringLiteral("Font"),
                        QStringLiteral("Font"));
    findQA = makeAction(this, QStringLiteral("page_find.png"), QStringLiteral("Find"),
                        QStringLiteral("Find text"), QKeySequence::Find);
    findQA->setObjectName(QStringLiteral("find"));
    replaceAllFavQA = makeAction(this, QStringLiteral("all_user_favorites.png"),
                                 QStringLiteral("Replace everyone's favorites"),
                                 QStringLiteral("Click to replace everyone's favorites"));
    replaceUserFavQA = makeAction(this, QStringLiteral("my favorites.png"),
                                  QStringLiteral("Replace my favorites"),
                                  QStringLiteral("Click to replace all of your favorites"));

    editTB->addAction(openQA);
    editTB->addAction(newQA);
    editTB->addAction(saveQA);
    editTB->addSeparator();
    editTB->addAction(cutQA);
    editTB->addAction(copyQA);
    editTB->addAction(pasteQA);
    editTB->addAction(deleteQA);
    editTB->addSeparator();
    editTB->addAction(undoQA);
    editTB->addAction(redoQA);
    editTB->addSeparator();
    editTB->addAction(fontQA);
    editTB->addSeparator();
    editTB->addAction(findQA);
    editTB->addSeparator();
    editTB->addAction(replaceAllFavQA);
    editTB->addAction(replaceUserFavQA);

    connect(openQA, &QAction::triggered, documents, &DocumentManager::fileOpen);
    connect(newQA, &QAction::triggered, documents, &DocumentManager::fileNew);
    connect(saveQA, &QAction::triggered, documents, qOverload<>(&DocumentManager::fileSave));
    connect(cutQA, &QAction::triggered, this, &Lexora3::cut);
    connect(copyQA, &QAction::triggered, this, &Lexora3::copy);
    connect(pasteQA, &QAction::triggered, this, &Lexora3::paste);
    connect(deleteQA, &QAction::triggered, this, &Lexora3::deleteText);
    connect(undoQA, &QAction::triggered, this, &Lexora3::undo);
    connect(redoQA, &QAction::triggered, this, &Lexora3::redo);
    connect(fontQA, &QAction::triggered, this, qOverload<>(&Lexora3::textFont));
    connect(findQA, &QAction::triggered, this, &Lexora3::find);
    connect(replaceAllFavQA, &QAction::triggered, this, &Lexora3::replaceAllFavorites);
    connect(replaceUserFavQA, &QAction::triggered, this, &Lexora3::replaceUserFavorites);

    // "HTML" toolbar: each tag entry reads as its tag in angle brackets ("<b>").
    htmlTB = addToolBar(QStringLiteral("HTML"));
    htmlTB->setObjectName(QStringLiteral("htmlTB"));
    hyperlinkQA = makeAction(this, QStringLiteral("link.png"), QStringLiteral("Hyperlink"),
                             QStringLiteral("Highlight text to create hyperlink"));
    brTagQA = makeAction(this, QString(), QStringLiteral("<br>"), QStringLiteral("line break"));
    listTB = new QToolButton(this);
    listTB->setIcon(QIcon(QStringLiteral(":/img/text_list_bullets.png")));
    listTB->setPopupMode(QToolButton::InstantPopup);
    auto *listMenu = new QMenu(listTB);
    ulTagQA = listMenu->addAction(QStringLiteral("Unordered List"));
    olTagQA = listMenu->addAction(QStringLiteral("Ordered List"));
    dlTagQA = listMenu->addAction(QStringLiteral("Definition List"));
    listTB->setMenu(listMenu);
    fontTagQA = makeAction(this, QStringLiteral("font.png"), QStringLiteral("<font>"),
                           QStringLiteral("font"));
    uTagQA = makeAction(this, QStringLiteral("text_underline.png"), QStringLiteral("<u>"),
                        QStringLiteral("underlined text"));
    iTagQA = makeAction(this, QStringLiteral("text_italic.png"), QStringLiteral("<i>"),
                        QStringLiteral("italic text"));
    boldTagQA = makeAction(this, QStringLiteral("text_bold.png"), QStringLiteral("<b>"),
                           QStringLiteral("bold text"));
    pTagQA = makeAction(this, QStringLiteral("p.png"), QStringLiteral("<p>"),
                        QStringLiteral("paragraph"));

    htmlTB->addAction(hyperlinkQA);
    htmlTB->addAction(brTagQA);
    htmlTB->addWidget(listTB);
    htmlTB->addAction(fontTagQA);
    htmlTB->addAction(uTagQA);
    htmlTB->addAction(iTagQA);
    htmlTB->addAction(boldTagQA);
    htmlTB->addAction(pTagQA);

    connect(hyperlinkQA, &QAction::triggered, this, &Lexora3::hyperlink);
    connect(brTagQA, &QAction::triggered, this, &Lexora3::brTag);
    connect(ulTagQA, &QAction::triggered, this, &Lexora3::ulTag);
    connect(olTagQA, &QAction::triggered, this, &Lexora3::olTag);
    connect(dlTagQA, &QAction::triggered, this, &Lexora3::dlTag);
    connect(fontTagQA, &QAction::triggered, this, &Lexora3::fontTag);
    connect(uTagQA, &QAction::triggered, this, &Lexora3::uTag);
    connect(iTagQA, &QAction::triggered, this, &Lexora3::iTag);
    connect(boldTagQA, &QAction::triggered, this, &Lexora3::boldTag);
    connect(pTagQA, &QAction::triggered, this, &Lexora3::pTag);

    // "Miscellaneous" toolbar. The view entries carry only a tooltip; the chosen view's entry
    // is shown bold.
    miscTB = addToolBar(QStringLiteral("Miscellaneous"));
    miscTB->setObjectName(QStringLiteral("miscTB"));
    const auto viewAction = [this](const QString &icon, const QString &text, const QKeySequence &key) {
        auto *action = new QAction(QIcon(QStringLiteral(":/img/") + icon), text, this);
        action->setToolTip(text);
        action->setShortcut(key);
        return action;
    };
    editViewQA = viewAction(QStringLiteral("page_edit.png"), QStringLiteral("Edit View"),
                            QKeySequence(QStringLiteral("Ctrl+1")));
    QFont bold = editViewQA->font();
    bold.setBold(true);
    editViewQA->setFont(bold);
    flatViewQA = viewAction(QStringLiteral("flatview.png"), QStringLiteral("Flat View"),
                            QKeySequence(QStringLiteral("Ctrl+2")));
    spunViewQA = viewAction(QStringLiteral("spun.png"), QStringLiteral("Spun View"),
                            QKeySequence(QStringLiteral("Ctrl+3")));
    webViewQA = viewAction(QStringLiteral("world.png"), QStringLiteral("HTML View"),
                           QKeySequence(QStringLiteral("Ctrl+4")));
    postToWPQA = makeAction(this, QStringLiteral("wordpress post.png"),
                            QStringLiteral("Post To Wordpress"), QStringLiteral("Post To Wordpress"));
    addWebsiteQA = makeAction(this, QStringLiteral("add wordpress site.png"),
                              QStringLiteral("Add Website"), QStringLiteral("Add Website"));
    autoSelectQA = makeAction(this, QStringLiteral("auto select.png"),
                              QStringLiteral("Auto Select Synonyms"),
                              QStringLiteral("Auto Select Synonyms"));
    protectedTermQA = makeAction(this, QStringLiteral("protect terms.png"),
                                 QStringLiteral("Protected Terms"),
                                 QStringLiteral("Protected Terms"));
    removeOriginalWordQA = makeAction(this, QStringLiteral("remove original word.png"),
                                      QStringLiteral("Remove Original Word"),
                                      QStringLiteral("Remove Original Word"),
                                      QKeySequence(QStringLiteral("Ctrl+R")));
    copyScapeQA = makeAction(this, QStringLiteral("copyscape.png"), QStringLiteral("Copyscape"),
                             QStringLiteral("Copyscape"));

    miscTB->addAction(editViewQA);
    miscTB->addAction(flatViewQA);
    miscTB->addAction(spunViewQA);
    miscTB->addAction(webViewQA);
    miscTB->addSeparator();
    miscTB->addAction(postToWPQA);
    miscTB->addAction(addWebsiteQA);
    miscTB->addSeparator();
    miscTB->addAction(autoSelectQA);
    miscTB->addSeparator();
    miscTB->addAction(protectedTermQA);
    miscTB->addAction(removeOriginalWordQA);
    miscTB->addSeparator();
    miscTB->addAction(copyScapeQA);

    connect(editViewQA, &QAction::triggered, this, &Lexora3::editViewClicked);
    connect(flatViewQA, &QAction::triggered, this, &Lexora3::flatViewClicked);
    connect(spunViewQA, &QAction::triggered, this, &Lexora3::spunViewClicked);
    connect(webViewQA, &QAction::triggered, this, &Lexora3::webViewClicked);
    connect(postToWPQA, &QAction::triggered, this, &Lexora3::postToWP);
    connect(addWebsiteQA, &QAction::triggered, this, &Lexora3::addWebsite);
    connect(autoSelectQA, &QAction::triggered, this, &Lexora3::autoSelect);
    connect(protectedTermQA, &QAction::triggered, this, &Lexora3::protectedTermQAClicked);
    connect(removeOriginalWordQA, &QAction::triggered, this, &Lexora3::removeOriginalWord);
    connect(copyScapeQA, &QAction::triggered, this, &Lexora3::copyScape);
    // The auto-select, protected-terms and Copyscape dialogs (autoSelectQD, protectedTermsQD,
    // copyScapeQD) are created here once their features exist.
}

void Lexora3::createMenus()
{
    // "&File"
    QMenu *fileMenu = menuBar()->addMenu(QStringLiteral("&File"));
    exportQA = makeAction(this, QStringLiteral("export.png"), QStringLiteral("&Export"), QString(),
                          QKeySequence(QStringLiteral("Ctrl+E")));
    exportQA->setStatusTip(QStringLiteral("Generate spun articles"));
    saveAsQA = makeAction(this, QString(), QStringLiteral("Save As"), QString(),
                          QKeySequence(Qt::Key_F12));
    saveAsQA->setStatusTip(QStringLiteral("Save as different file"));
    exitQA = makeAction(this, QString(), QStringLiteral("E&xit"), QString(),
                        QKeySequence(QStringLiteral("Alt+F4")));
    exitQA->setStatusTip(QStringLiteral("Exit applications"));
    fileMenu->addAction(exportQA);
    fileMenu->addSeparator();
    fileMenu->addAction(saveAsQA);
    fileMenu->addSeparator();
    for (int i = 0; i < 5; ++i) {
        auto *entry = new QMyAction(i, this);
        entry->setVisible(false);
        connect(entry, &QMyAction::recentFileQAClicked, documents,
                &DocumentManager::recentFileQAClicked);
        recentFileQAs << entry;
        fileMenu->addAction(entry);
    }
    fileMenu->addSeparator();
    fileMenu->addAction(exitQA);
    connect(exportQA, &QAction::triggered, this, &Lexora3::generateSpun);
    connect(saveAsQA, &QAction::triggered, documents, qOverload<>(&DocumentManager::fileSaveAs));
    connect(exitQA, &QAction::triggered, this, &Lexora3::exit);
    documents->fillRecentFileActions(storage::recentFileList());

    // "F&ormat"
    QMenu *formatMenu = menuBar()->addMenu(QStringLiteral("F&ormat"));
    colorSettingsQA = formatMenu->addAction(QIcon(QStringLiteral(":/img/palette.png")),
                                            QStringLiteral("Color settings"));
    connect(colorSettingsQA, &QAction::triggered, this, &Lexora3::colorSettings);

    // "T&oolbars": checked unless the stored key says otherwise; the toolbar follows.
    QMenu *toolbarsMenu = menuBar()->addMenu(QStringLiteral("T&oolbars"));
    const struct
    {
        QAction *&action;
        const char *text;
        QLatin1StringView key;
        QToolBar *toolbar;
        void (Lexora3::*slot)(bool);
    } toolbarEntries[] = {
        {editToolbarQA, "Edit Toolbar", storage::keys::editToolbarB, editTB,
         &Lexora3::showEditToolbar},
        {htmlToolbarQA, "HTML Toolbar", storage::keys::htmlToolbarB, htmlTB,
         &Lexora3::showHtmlToolbar},
        {miscToolbarQA, "Miscellaneous Toolbar", storage::keys::miscToolbarB, miscTB,
         &Lexora3::showMiscToolbar},
    };
    for (const auto &entry : toolbarEntries) {
        entry.action = toolbarsMenu->addAction(QString::fromLatin1(entry.text));
        entry.action->setCheckable(true);
        const QVariant stored = settingsTB.value(entry.key);
        const bool shown = !stored.isValid() || storage::isTrue(stored);
        entry.action->setChecked(shown);
        entry.toolbar->setVisible(shown);
        connect(entry.action, &QAction::toggled, this, entry.slot);
    }

    // "Data Merge"
    QMenu *mergeMenu = menuBar()->addMenu(QStringLiteral("Data Merge"));
    loadDataQA = mergeMenu->addAction(QStringLiteral("Load Data From File"));
    connect(loadDataQA, &QAction::triggered, this, &Lexora3::loadMergeData);

    // "Language Update": which languages fetch their lists from the update server.
    QMenu *updateMenu = menuBar()->addMenu(QStringLiteral("Language Update"));
    const QList<LanguageEntry> &langs = languages::all();
    for (int i = 0; i < langs.size(); ++i) {
        QAction *entry = updateMenu->addAction(langs.at(i).label);
        entry->setCheckable(true);
        entry->setChecked(true);
        connect(entry, &QAction::toggled, this,
                [this, i](bool checked) { languageUpdateToggled(i, checked); });
        languageUpdateQAs << entry;
    }
}
