#pragma once

#include "view.h"

#include <QObject>
#include <QPoint>
#include <QString>
#include <QStringList>

#include <functional>

class GuardFlags;
class MyTabItem;
class QMyTextEdit;
class QTabWidget;
class QTextBrowser;
class QWidget;

// The documents of the window: the document tabs and their three companion tabs (flat, spun,
// HTML) at the same index, new / open / load / save / save as / close, the recent-file list,
// and which document is current.
//
// There is always at least one document: closing the last tab opens a fresh "Untitled" one,
// so `item` and `textEdit` are never null once the pages exist, and every edit, view and save
// command has a document to work on.
class DocumentManager final : public QObject
{
    Q_OBJECT

public:
    // window: the parent of the file dialogs and messages.
    DocumentManager(GuardFlags &guards, QWidget *window);
    Q_DISABLE_COPY_MOVE(DocumentManager)

    // Which view is on screen; the view manager answers (the edit view until it is set).
    void setViewQuery(std::function<View()> query) { viewOnScreen = std::move(query); }

    // Builds the four tab widgets with the first document ("Untitled 1") and its companions.
    void createPages();

    // The tab widget of a view's page, and its current tab.
    QTabWidget *tabs(View view) const;
    MyTabItem *current(View view) const;
    // The current document and its editor (`item`, `textEdit`).
    MyTabItem *document() const { return item; }
    QMyTextEdit *editor() const { return textEdit; }
    // The editor of a view's current tab; the HTML view has a browser instead (null here).
    QMyTextEdit *editor(View view) const;
    // The HTML view's browser of the current document.
    QTextBrowser *browser() const;
    int count() const;
    MyTabItem *documentAt(int index) const;
    // Number of the last "Untitled" document.
    int fileNumber() const { return curFileNum; }
    // The folder the file dialogs open in.
    QString folder() const { return curDir; }

    // Loads a text file into a new document tab; false when it cannot be read (nothing shown).
    bool load(const QString &path);
    // Writes one tab to `path` (Save As first when the path is empty). On a failed write the
    // old file stays intact, the document stays modified, the user is told why, and the result
    // is false.
    bool fileSave(const QString &path, MyTabItem *tab, int index);
    bool fileSaveAs(MyTabItem *tab, int index);
    // Asks before a modified document tab is closed; true when it may close.
    bool maybeSave(int index);
    // Re-reads the current document tab; announces a new current document.
    void syncCurrentTabs();
    // Makes `index` current in every page but `except`, without the pages' tab handlers.
    void alignPages(int index, QTabWidget *except);
    // Tells the undo / redo state of the current document again.
    void announceHistory();

public slots:
    void fileNew();
    void fileOpen();
    void fileSave();
    void fileSaveAs();
    // A document tab was chosen in the edit view.
    void mainTab(int index);
    void tabCloseRequested(int index);

signals:
    // `item` / `textEdit` now name another document.
    void currentDocumentChanged();
    // A document was added or closed: the view on screen shows the new current one.
    void pagesChanged();
    // The window title should name this file ("Untitled 2", "notes.txt").
    void titleChanged(const QString &name);
    void recentFilesChanged(const QStringList &paths);
    // A file was read into a new document (before it became current).
    void documentLoaded(QMyTextEdit *editor);
    // The file `name` was opened; its bytes were read as `encoding` ("UTF-8", "Windows-1252").
    void fileRead(const QString &name, const QString &encoding);
    void undoAvailable(bool available);
    void redoAvailable(bool available);
    // A document changed its caret: the edit view's tab handler asks for cursor tracking.
    void caretTrackingWanted();
    // Requests of the editors (see QMyTextEdit), from any tab.
    void editorCursorMoved();
    void editorSelectionChanged();
    void findNextRequested();
    void pasteRequested();
    void previousWordRequested();
    void nextWordRequested();
    void editorPressedAt(QMyTextEdit *editor, const QPoint &pos);
    void editorPressFinished();
    void editorHoveredAt(QMyTextEdit *editor, const QPoint &pos);

private:
    MyTabItem *newTab(int number, bool editor, bool highlight);
    // Creates the flat, spun and HTML companions of document number `number` and adds them
    // under the given names. With a folder (loaded documents) the companions also get a
    // current file: that folder + their name, beside the document.
    void addCompanions(int number, const QString &flatName, const QString &spunName,
                       const QString &htmlName, const QString &folder);
    void addTab(MyTabItem *tab, const QString &title);
    void updateRecentFile(const QString &path);
    void setFolder(const QString &folder);
    QTabWidget *tabsHolding(MyTabItem *tab) const;
    View view() const { return viewOnScreen ? viewOnScreen() : View::Edit; }

    GuardFlags &guards;
    QWidget *window;
    std::function<View()> viewOnScreen;
    QString curDir;
    int curFileNum = 1;
    QTabWidget *mainTabs = nullptr; // the document page ("mainTab"; the slot has its name)
    QTabWidget *flatTab = nullptr;
    QTabWidget *spunTab = nullptr;
    QTabWidget *webTab = nullptr;
    MyTabItem *item = nullptr;
    QMyTextEdit *textEdit = nullptr;
};
