#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <array>
#include <span>

class QAction;
class QMainWindow;
class QMenu;
class QMyAction;
class QToolBar;
class QToolButton;

// Every command of the window, its menu and toolbar entries, in one table. Building the menus
// and toolbars walks the table, so an entry's text, icon, tip, shortcut and place are written
// once. A command whose feature is not built yet is disabled, so no entry does nothing when
// clicked.
class AppActions final : public QObject
{
    Q_OBJECT

public:
    enum Id
    {
        Open,
        New,
        Save,
        Cut,
        Copy,
        Paste,
        Delete,
        Undo,
        Redo,
        Font,
        Find,
        ReplaceAllFavorites,
        ReplaceUserFavorites,
        Hyperlink,
        BrTag,
        UlTag,
        OlTag,
        DlTag,
        FontTag,
        UTag,
        ITag,
        BoldTag,
        PTag,
        EditView,
        FlatView,
        SpunView,
        WebView,
        PostToWP,
        AddWebsite,
        AutoSelect,
        ProtectedTerm,
        RemoveOriginalWord,
        CopyScape,
        Export,
        SaveAs,
        Exit,
        ColorSettings,
        EditToolbar,
        HtmlToolbar,
        MiscToolbar,
        LoadData,
        IdCount
    };
    enum class Toolbar
    {
        None,
        Edit,
        Html,
        Misc,
        List
    }; // List: the HTML toolbar's list button
    enum class Menu
    {
        None,
        File,
        Format,
        Toolbars,
        DataMerge
    };

    struct Row
    {
        Id id;
        const char *name; // object name, the field name the code has always used ("openQA")
        const char *icon; // file of img/, or empty
        const char *text;
        const char *tip;       // tooltip; empty: none
        const char *statusTip; // empty: the tooltip
        const char *shortcut;  // portable text, or empty
        Toolbar toolbar;
        Menu menu;
        bool separatorBefore; // in its toolbar or menu
        bool checkable;
        bool built; // false: the feature is not there yet and the action is disabled
    };
    static std::span<const Row> table();

    explicit AppActions(QObject *parent = nullptr);
    Q_DISABLE_COPY_MOVE(AppActions)

    // Creates the actions, the three toolbars and the menus of `window` (File, Format,
    // Toolbars, Data Merge, Language Update) from the table.
    void build(QMainWindow *window);

    QAction *action(Id id) const { return actions[id]; }
    QToolBar *toolbar(Toolbar which) const;
    const QList<QAction *> &languageUpdateEntries() const { return languageUpdateQAs; }

    // Marks a feature as built: its actions become enabled.
    void setBuilt(Id id, bool built = true);

    // Shows the first five entries of `paths` in the File menu's recent-file entries.
    void showRecentFiles(const QStringList &paths);
    QStringList recentFileTexts() const;

signals:
    void recentFileChosen(const QString &path);
    // Language Update entry `index` of Language::all() toggled.
    void languageUpdateToggled(int index, bool checked);

private:
    QMenu *menuFor(Menu menu, QMainWindow *window);

    std::array<QAction *, IdCount> actions{};
    QToolBar *editTB = nullptr;
    QToolBar *htmlTB = nullptr;
    QToolBar *miscTB = nullptr;
    QToolButton *listTB = nullptr;
    std::array<QMenu *, 5> menus{};
    QList<QMyAction *> recentFileQAs;   // the five recent-file entries of the File menu
    QList<QAction *> languageUpdateQAs; // "English" ... "Bulgarian", in Language::all() order
};
