#include "appactions.h"

#include "qmyaction.h"
#include "recentfiles.h"

#include "storage/language.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>

namespace {
using T = AppActions::Toolbar;
using M = AppActions::Menu;
using A = AppActions;

// clang-format off
const A::Row rows[] = {
    // id                     name                    icon                          text                            tip                                          status tip                 shortcut   toolbar     menu          sep    check  built
    {A::Open,                 "openQA",               "fileopen.png",               "Open",                         "Open",                                      "",                        "Ctrl+O",  T::Edit,    M::None,      false, false, true},
    {A::New,                  "newQA",                "page_add.png",               "New",                          "New",                                       "",                        "Ctrl+N",  T::Edit,    M::None,      false, false, true},
    {A::Save,                 "saveQA",               "page_save.png",              "Save",                         "Save",                                      "",                        "Ctrl+S",  T::Edit,    M::None,      false, false, true},
    {A::Cut,                  "cutQA",                "cut.png",                    "Cut",                          "Cut",                                       "",                        "Ctrl+X",  T::Edit,    M::None,      true,  false, true},
    {A::Copy,                 "copyQA",               "page_copy.png",              "Copy",                         "Copy",                                      "",                        "Ctrl+C",  T::Edit,    M::None,      false, false, true},
    {A::Paste,                "pasteQA",              "page_paste.png",             "Paste",                        "Paste",                                     "",                        "Ctrl+V",  T::Edit,    M::None,      false, false, true},
    {A::Delete,               "deleteQA",             "page_delete.png",            "Delete",                       "Delete",                                    "",                        "Del",     T::Edit,    M::None,      false, false, true},
    {A::Undo,                 "undoQA",               "arrow_undo.png",             "Undo",                         "Undo",                                      "",                        "",        T::Edit,    M::None,      true,  false, true},
    {A::Redo,                 "redoQA",               "arrow_redo.png",             "Redo",                         "Redo",                                      "",                        "",        T::Edit,    M::None,      false, false, true},
    {A::Font,                 "fontQA",               "font.png",                   "Font",                         "Font",                                      "",                        "",        T::Edit,    M::None,      true,  false, true},
    {A::Find,                 "find",                 "page_find.png",              "Find",                         "Find text",                                 "Find text",               "Ctrl+F",  T::Edit,    M::None,      true,  false, true },
    {A::ReplaceAllFavorites,  "replaceAllFavQA",      "all_user_favorites.png",     "Replace everyone's favorites", "Click to replace everyone's favorites",     "",                        "",        T::Edit,    M::None,      true,  false, true},
    {A::ReplaceUserFavorites, "replaceUserFavQA",     "my favorites.png",           "Replace my favorites",         "Click to replace all of your favorites",    "",                        "",        T::Edit,    M::None,      false, false, true},
    {A::Hyperlink,            "hyperlinkQA",          "link.png",                   "Hyperlink",                    "Highlight text to create hyperlink",        "",                        "",        T::Html,    M::None,      false, false, true},
    {A::BrTag,                "brTagQA",              "",                           "<br>",                         "line break",                                "",                        "",        T::Html,    M::None,      false, false, true},
    {A::UlTag,                "ulTagQA",              "",                           "Unordered List",               "",                                          "",                        "",        T::List,    M::None,      false, false, true},
    {A::OlTag,                "olTagQA",              "",                           "Ordered List",                 "",                                          "",                        "",        T::List,    M::None,      false, false, true},
    {A::DlTag,                "dlTagQA",              "",                           "Definition List",              "",                                          "",                        "",        T::List,    M::None,      false, false, true},
    {A::FontTag,              "fontTagQA",            "font.png",                   "<font>",                       "font",                                      "",                        "",        T::Html,    M::None,      false, false, true},
    {A::UTag,                 "uTagQA",               "text_underline.png",         "<u>",                          "underlined text",                           "",                        "",        T::Html,    M::None,      false, false, true},
    {A::ITag,                 "iTagQA",               "text_italic.png",            "<i>",                          "italic text",                               "",                        "",        T::Html,    M::None,      false, false, true},
    {A::BoldTag,              "boldTagQA",            "text_bold.png",              "<b>",                          "bold text",                                 "",                        "",        T::Html,    M::None,      false, false, true},
    {A::PTag,                 "pTagQA",               "p.png",                      "<p>",                          "paragraph",                                 "",                        "",        T::Html,    M::None,      false, false, true},
    {A::EditView,             "editViewQA",           "page_edit.png",              "Edit View",                    "Edit View",                                 "-",                       "Ctrl+1",  T::Misc,    M::None,      false, false, true},
    {A::FlatView,             "flatViewQA",           "flatview.png",               "Flat View",                    "Flat View",                                 "-",                       "Ctrl+2",  T::Misc,    M::None,      false, false, true},
    {A::SpunView,             "spunViewQA",           "spun.png",                   "Spun View",                    "Spun View",                                 "-",                       "Ctrl+3",  T::Misc,    M::None,      false, false, true},
    {A::WebView,              "webViewQA",            "world.png",                  "HTML View",                    "HTML View",                                 "-",                       "Ctrl+4",  T::Misc,    M::None,      false, false, true},
    {A::PostToWP,             "postToWPQA",           "wordpress post.png",         "Post To Wordpress",            "Post To Wordpress",                         "",                        "",        T::Misc,    M::None,      true,  false, true },
    {A::AddWebsite,           "addWebsiteQA",         "add wordpress site.png",     "Add Website",                  "Add Website",                               "",                        "",        T::Misc,    M::None,      false, false, true },
    {A::AutoSelect,           "autoSelectQA",         "auto select.png",            "Auto Select Synonyms",         "Auto Select Synonyms",                      "",                        "",        T::Misc,    M::None,      true,  false, true},
    {A::ProtectedTerm,        "protectedTermQA",      "protect terms.png",          "Protected Terms",              "Protected Terms",                           "",                        "",        T::Misc,    M::None,      true,  false, true},
    {A::RemoveOriginalWord,   "removeOriginalWordQA", "remove original word.png",   "Remove Original Word",         "Remove Original Word",                      "",                        "Ctrl+R",  T::Misc,    M::None,      false, false, true},
    {A::CopyScape,            "copyScapeQA",          "copyscape.png",              "Copyscape",                    "Copyscape",                                 "",                        "",        T::Misc,    M::None,      true,  false, true },
    {A::Export,               "exportQA",             "export.png",                 "&Export",                      "",                                          "Generate spun articles",  "Ctrl+E",  T::None,    M::File,      false, false, true},
    {A::SaveAs,               "saveAsQA",             "",                           "Save As",                      "",                                          "Save as different file",  "F12",     T::None,    M::File,      true,  false, true},
    {A::Exit,                 "exitQA",               "",                           "E&xit",                        "",                                          "Exit applications",       "Alt+F4",  T::None,    M::File,      true,  false, true},
    {A::ColorSettings,        "colorSettingsQA",      "palette.png",                "Color settings",               "",                                          "",                        "",        T::None,    M::Format,    false, false, true},
    {A::EditToolbar,          "editToolbarQA",        "",                           "Edit Toolbar",                 "",                                          "",                        "",        T::None,    M::Toolbars,  false, true,  true},
    {A::HtmlToolbar,          "htmlToolbarQA",        "",                           "HTML Toolbar",                 "",                                          "",                        "",        T::None,    M::Toolbars,  false, true,  true},
    {A::MiscToolbar,          "miscToolbarQA",        "",                           "Miscellaneous Toolbar",        "",                                          "",                        "",        T::None,    M::Toolbars,  false, true,  true},
    {A::LoadData,             "loadDataQA",           "",                           "Load Data From File",          "",                                          "",                        "",        T::None,    M::DataMerge, false, false, true},
};
// clang-format on
static_assert(std::size(rows) == A::IdCount, "one row per action");

const char *const menuTitles[] = {"", "&File", "F&ormat", "T&oolbars", "Data Merge"};

} // namespace

std::span<const AppActions::Row> AppActions::table()
{
    return rows;
}

AppActions::AppActions(QObject *parent) : QObject(parent) {}

QToolBar *AppActions::toolbar(Toolbar which) const
{
    switch (which) {
    case Toolbar::Edit:
        return editTB;
    case Toolbar::Html:
    case Toolbar::List:
        return htmlTB;
    case Toolbar::Misc:
        return miscTB;
    case Toolbar::None:
        break;
    }
    return nullptr;
}

QMenu *AppActions::menuFor(Menu menu, QMainWindow *window)
{
    QMenu *&slot = menus[static_cast<int>(menu)];
    if (!slot)
        slot = window->menuBar()->addMenu(QString::fromLatin1(menuTitles[static_cast<int>(menu)]));
    return slot;
}

void AppActions::build(QMainWindow *window)
{
    editTB = window->addToolBar(QStringLiteral("Edit"));
    editTB->setObjectName(QStringLiteral("editTB"));
    htmlTB = window->addToolBar(QStringLiteral("HTML"));
    htmlTB->setObjectName(QStringLiteral("htmlTB"));
    miscTB = window->addToolBar(QStringLiteral("Miscellaneous"));
    miscTB->setObjectName(QStringLiteral("miscTB"));
    // The list tags share one button of the HTML toolbar, after "<br>".
    listTB = new QToolButton(window);
    listTB->setObjectName(QStringLiteral("listTB"));
    listTB->setIcon(QIcon(QStringLiteral(":/img/text_list_bullets.png")));
    listTB->setToolTip(QStringLiteral("List"));
    listTB->setAccessibleName(QStringLiteral("List"));
    listTB->setPopupMode(QToolButton::InstantPopup);
    auto *listMenu = new QMenu(listTB);
    listTB->setMenu(listMenu);

    for (const Row &row : rows) {
        const QString text = QString::fromUtf8(row.text);
        auto *action =
            row.icon[0] ? new QAction(QIcon(QStringLiteral(":/img/") + QString::fromUtf8(row.icon)),
                                      text, window)
                        : new QAction(text, window);
        action->setObjectName(QString::fromLatin1(row.name));
        if (row.tip[0])
            action->setToolTip(QString::fromUtf8(row.tip));
        // "-": a tooltip only; empty: the tooltip is also the status tip.
        if (row.statusTip[0] && QLatin1StringView(row.statusTip) != QLatin1StringView("-"))
            action->setStatusTip(QString::fromUtf8(row.statusTip));
        else if (!row.statusTip[0] && row.tip[0])
            action->setStatusTip(QString::fromUtf8(row.tip));
        if (row.shortcut[0])
            action->setShortcut(QKeySequence(QString::fromLatin1(row.shortcut)));
        action->setCheckable(row.checkable);
        action->setEnabled(row.built);
        actions[row.id] = action;

        if (row.toolbar == Toolbar::List) {
            listMenu->addAction(action);
        } else if (QToolBar *bar = toolbar(row.toolbar)) {
            if (row.separatorBefore)
                bar->addSeparator();
            bar->addAction(action);
            if (row.id == BrTag)
                bar->addWidget(listTB);
        }
        if (row.menu != Menu::None) {
            QMenu *menu = menuFor(row.menu, window);
            if (row.id == Exit) {
                menu->addSeparator();
                for (int i = 0; i < 5; ++i) {
                    auto *entry = new QMyAction(i, window);
                    entry->setVisible(false);
                    connect(entry, &QMyAction::recentFileQAClicked, this, [this](int index) {
                        const QStringList texts = recentFileTexts();
                        if (index >= 0 && index < texts.size())
                            emit recentFileChosen(recentfiles::pathOfMenuText(texts.at(index)));
                    });
                    recentFileQAs << entry;
                    menu->addAction(entry);
                }
            }
            if (row.separatorBefore)
                menu->addSeparator();
            menu->addAction(action);
        }
    }
    // Undo and Redo follow the current document's history.
    actions[Undo]->setEnabled(false);
    actions[Redo]->setEnabled(false);
    // The view on screen is shown bold; the edit view at start.
    QFont bold = actions[EditView]->font();
    bold.setBold(true);
    actions[EditView]->setFont(bold);

    // "Language Update": which languages fetch their lists from the update server.
    QMenu *updateMenu = window->menuBar()->addMenu(QStringLiteral("Language Update"));
    const QList<Language> &langs = Language::all();
    for (int i = 0; i < langs.size(); ++i) {
        QAction *entry = updateMenu->addAction(langs.at(i).label);
        entry->setCheckable(true);
        entry->setChecked(true);
        connect(entry, &QAction::toggled, this,
                [this, i](bool checked) { emit languageUpdateToggled(i, checked); });
        languageUpdateQAs << entry;
    }
}

void AppActions::setBuilt(Id id, bool built)
{
    actions[id]->setEnabled(built);
}

void AppActions::showRecentFiles(const QStringList &paths)
{
    const QStringList texts = recentfiles::menuTexts(paths);
    for (qsizetype i = 0; i < recentFileQAs.size(); ++i) {
        QMyAction *entry = recentFileQAs.at(i);
        entry->setVisible(i < texts.size());
        // "&" would become a mnemonic; "&&" shows one "&".
        QString text = i < texts.size() ? texts.at(i) : QString();
        entry->setText(text.replace(QLatin1Char('&'), QLatin1String("&&")));
    }
}

QStringList AppActions::recentFileTexts() const
{
    QStringList texts;
    for (QMyAction *entry : recentFileQAs) {
        if (!entry->isVisible())
            break;
        QString text = entry->text();
        texts << text.replace(QLatin1String("&&"), QLatin1String("&"));
    }
    return texts;
}
