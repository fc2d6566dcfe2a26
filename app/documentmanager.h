#pragma once

#include <QObject>
#include <QString>

class Lexora3;
class MyTabItem;
class QTabWidget;

// Documents of the main window: the document tabs and their three companion tabs (flat, spun,
// HTML) at the same index, new / open / load / save / save as / close, and the recent-file
// list. It works on the window's shared fields (mainTab, item, textEdit, curFileNum, ...).
//
// There is always at least one document: closing the last tab opens a fresh "Untitled" one,
// so the window's `item` and `textEdit` are never left dangling or null and every edit, view
// and save command has a document to work on.
class DocumentManager final : public QObject
{
    Q_OBJECT

public:
    explicit DocumentManager(Lexora3 *window);
    Q_DISABLE_COPY_MOVE(DocumentManager)

    // Builds the four tab widgets with the first document ("Untitled <curFileNum>") and its
    // companions; the pages are added to the window's stacked widget in view order.
    void createPages();

    // Loads a text file into a new document tab; false when it cannot be read (nothing shown).
    bool load(const QString &path);
    // Writes one tab to `path` (Save As first when the path is empty). On a failed write the
    // old file stays intact, the document stays modified, the user is told why, and the result
    // is false.
    bool fileSave(const QString &path, MyTabItem *tab, int index);
    bool fileSaveAs(MyTabItem *tab, int index);
    // Asks before a modified document tab is closed; true when it may close.
    bool maybeSave(int index);
    void addTab(MyTabItem *tab, const QString &title);
    void updateRecentFile(const QString &path);
    // Shows the first five entries of `list` in the File menu's recent-file entries.
    void fillRecentFileActions(const QStringList &list);
    // The tab widget of the view on screen (document, flat, spun or HTML page).
    QTabWidget *currentViewTabs() const;

    // Re-reads the current tab of every page into the window's item / textEdit fields.
    void syncCurrentTabs();

public slots:
    void fileNew();
    void fileOpen();
    void fileSave();
    void fileSaveAs();
    void mainTab(int index);
    void tabCloseRequested(int index);
    void recentFileQAClicked(int index);

private:
    // Creates the flat, spun and HTML companions of document number `number` and adds them
    // under the given names. With a folder (loaded documents) the companions also get a
    // current file: that folder + their name, beside the document.
    void addCompanions(int number, const QString &flatName, const QString &spunName,
                       const QString &htmlName, const QString &folder);
    QTabWidget *tabsHolding(MyTabItem *tab) const;

    Lexora3 *w;
};
