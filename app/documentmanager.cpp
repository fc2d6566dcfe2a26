#include "documentmanager.h"

#include "mytabitem.h"
#include "qmytextedit.h"
#include "textfile.h"

#include "selection/guardflags.h"
#include "storage/settingsstore.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>

DocumentManager::DocumentManager(GuardFlags &guards, QWidget *window)
    : QObject(window), guards(guards), window(window), curDir(storage::loadCurDir())
{
}

MyTabItem *DocumentManager::newTab(int number, bool editor, bool highlight)
{
    auto *tab = new MyTabItem(number, guards, editor, highlight);
    QMyTextEdit *edit = tab->getTextEdit();
    if (editor) {
        connect(edit, &QTextEdit::cursorPositionChanged, this, &DocumentManager::editorCursorMoved);
        connect(edit, &QTextEdit::selectionChanged, this, &DocumentManager::editorSelectionChanged);
    }
    connect(edit, &QMyTextEdit::findNextRequested, this, &DocumentManager::findNextRequested);
    connect(edit, &QMyTextEdit::pasteRequested, this, &DocumentManager::pasteRequested);
    connect(edit, &QMyTextEdit::previousWordRequested, this,
            &DocumentManager::previousWordRequested);
    connect(edit, &QMyTextEdit::nextWordRequested, this, &DocumentManager::nextWordRequested);
    connect(edit, &QMyTextEdit::pressedAt, this,
            [this, edit](const QPoint &pos) { emit editorPressedAt(edit, pos); });
    connect(edit, &QMyTextEdit::pressFinished, this, &DocumentManager::editorPressFinished);
    connect(edit, &QMyTextEdit::hoveredAt, this,
            [this, edit](const QPoint &pos) { emit editorHoveredAt(edit, pos); });
    // Only the document on screen drives the window's Undo / Redo: a companion editor being
    // refilled in the background must not enable Undo for the document the user looks at.
    connect(tab, &MyTabItem::undoAvailable, this, [this, tab](bool available) {
        if (tab == item)
            emit undoAvailable(available);
    });
    connect(tab, &MyTabItem::redoAvailable, this, [this, tab](bool available) {
        if (tab == item)
            emit redoAvailable(available);
    });
    return tab;
}

void DocumentManager::createPages()
{
    mainTabs = new QTabWidget;
    mainTabs->setObjectName(QStringLiteral("mainTab"));
    mainTabs->setTabsClosable(true);
    MyTabItem *first = newTab(curFileNum, true, false);
    mainTabs->addTab(first, first->getFileName());
    connect(mainTabs, &QTabWidget::tabCloseRequested, this, &DocumentManager::tabCloseRequested);

    flatTab = new QTabWidget;
    flatTab->setObjectName(QStringLiteral("flatTab"));
    spunTab = new QTabWidget;
    spunTab->setObjectName(QStringLiteral("spunTab"));
    webTab = new QTabWidget;
    webTab->setObjectName(QStringLiteral("webTab"));
    const QString name = first->getFileName();
    addCompanions(curFileNum, name + QStringLiteral("-flat"), name + QStringLiteral("-spun"),
                  name + QStringLiteral("-html"), QString());
    syncCurrentTabs();
    emit titleChanged(textfile::lastComponent(first->getFileName()));
}

QTabWidget *DocumentManager::tabs(View view) const
{
    switch (view) {
    case View::Flat:
        return flatTab;
    case View::Spun:
        return spunTab;
    case View::Html:
        return webTab;
    case View::Edit:
        break;
    }
    return mainTabs;
}

MyTabItem *DocumentManager::current(View view) const
{
    return view == View::Edit ? item : qobject_cast<MyTabItem *>(tabs(view)->currentWidget());
}

QMyTextEdit *DocumentManager::editor(View view) const
{
    if (view == View::Html)
        return nullptr;
    MyTabItem *tab = current(view);
    return tab ? tab->getTextEdit() : nullptr;
}

QTextBrowser *DocumentManager::browser() const
{
    MyTabItem *tab = current(View::Html);
    return tab ? tab->getTextBrowser() : nullptr;
}

int DocumentManager::count() const
{
    return mainTabs->count();
}

MyTabItem *DocumentManager::documentAt(int index) const
{
    return qobject_cast<MyTabItem *>(mainTabs->widget(index));
}

void DocumentManager::addCompanions(int number, const QString &flatName, const QString &spunName,
                                    const QString &htmlName, const QString &folder)
{
    const struct
    {
        QTabWidget *tabs;
        bool editor;
        bool highlight;
        const QString &name;
    } pages[] = {{flatTab, true, false, flatName},
                 {spunTab, true, true, spunName},
                 {webTab, false, false, htmlName}};
    for (const auto &page : pages) {
        MyTabItem *companion = newTab(number, page.editor, page.highlight);
        if (!folder.isEmpty())
            companion->setCurrentFile(QDir(folder).filePath(page.name));
        companion->setFileName(page.name);
        page.tabs->addTab(companion, page.name);
    }
}

void DocumentManager::syncCurrentTabs()
{
    MyTabItem *const before = item;
    item = qobject_cast<MyTabItem *>(mainTabs->currentWidget());
    textEdit = item ? item->getTextEdit() : nullptr;
    if (item != before)
        emit currentDocumentChanged();
}

void DocumentManager::alignPages(int index, QTabWidget *except)
{
    {
        // The pages' own tab handlers must not answer these programmatic changes.
        const QSignalBlocker blockMain(mainTabs), blockFlat(flatTab), blockSpun(spunTab),
            blockWeb(webTab);
        for (QTabWidget *page : {mainTabs, flatTab, spunTab, webTab}) {
            if (page != except && page->currentIndex() != index && index < page->count())
                page->setCurrentIndex(index);
        }
    }
    syncCurrentTabs();
    announceHistory();
}

void DocumentManager::announceHistory()
{
    if (!item)
        return;
    emit undoAvailable(item->getUndoB());
    emit redoAvailable(item->getRedoB());
}

QTabWidget *DocumentManager::tabsHolding(MyTabItem *tab) const
{
    for (QTabWidget *page : {mainTabs, flatTab, spunTab, webTab}) {
        if (page->indexOf(tab) >= 0)
            return page;
    }
    return nullptr;
}

void DocumentManager::setFolder(const QString &folder)
{
    curDir = folder;
    storage::saveCurDir(folder);
}

void DocumentManager::fileNew()
{
    ++curFileNum;
    const QString name = QStringLiteral("Untitled ") + QString::number(curFileNum);
    addCompanions(curFileNum, name + QStringLiteral("-flat"), name + QStringLiteral("-spun"),
                  name + QStringLiteral("-html"), QString());
    MyTabItem *document = newTab(curFileNum, true, false);
    addTab(document, document->getFileName());
}

void DocumentManager::fileOpen()
{
    const QString path = QFileDialog::getOpenFileName(
        window, QStringLiteral("Open File"), curDir,
        QStringLiteral("Text documents (*.txt *.text);;All Files (*)"));
    if (!path.isEmpty())
        load(path);
}

bool DocumentManager::load(const QString &path)
{
    const QFileInfo info(path);
    if (info.isDir())
        return false;
    const textfile::ReadResult file = textfile::read(path);
    if (!file.ok)
        return false;

    ++curFileNum;
    MyTabItem *document = newTab(curFileNum, true, false);
    QMyTextEdit *editor = document->getTextEdit();
    editor->setPlainText(file.text);
    editor->moveCursor(QTextCursor::Start);
    editor->document()->clearUndoRedoStacks();
    emit documentLoaded(editor);
    document->setCurrentFile(path);

    const QString name = textfile::lastComponent(path);
    const textfile::CompanionNames companions = textfile::companionNames(name);
    addCompanions(curFileNum, companions.flat, companions.spun, companions.html,
                  info.absolutePath());
    addTab(document, name);
    document->setSaved();

    MyTabItem *shown = current(view());
    emit titleChanged(shown && view() != View::Edit ? shown->getFileName() : name);

    updateRecentFile(path);
    setFolder(path.left(path.lastIndexOf(name)).trimmed());
    emit fileRead(name, file.encoding);
    return true;
}

bool DocumentManager::fileSave(const QString &path, MyTabItem *tab, int index)
{
    if (!tab)
        return false;
    if (path.isEmpty())
        return fileSaveAs(tab, index);
    const QString error = textfile::write(path, tab->textForSave());
    if (!error.isEmpty()) {
        QMessageBox::warning(window, QStringLiteral("Rewordix"),
                             QStringLiteral("Could not save \"%1\":\n%2").arg(path, error));
        return false;
    }
    const QString name = textfile::lastComponent(path);
    if (QTabWidget *page = tabsHolding(tab))
        page->setTabText(page->indexOf(tab), name);
    emit titleChanged(name);
    tab->setSaved();
    return true;
}

void DocumentManager::fileSave()
{
    QTabWidget *page = tabs(view());
    auto *tab = qobject_cast<MyTabItem *>(page->currentWidget());
    if (tab)
        fileSave(tab->getCurrentFile(), tab, page->currentIndex());
}

void DocumentManager::fileSaveAs()
{
    fileSaveAs(item, mainTabs->indexOf(item));
}

// The path is taken on only when the write succeeded: a failed Save As must not leave the
// document pointing at a file that was never written, nor put that file in the recent list.
bool DocumentManager::fileSaveAs(MyTabItem *tab, int index)
{
    if (!tab)
        return false;
    QString path =
        QFileDialog::getSaveFileName(window, QStringLiteral("Save as..."), curDir,
                                     QStringLiteral("Text files (*.txt *.text);;All Files (*)"));
    if (path.isEmpty())
        return false;
    path = textfile::withTextExtension(path);
    if (!fileSave(path, tab, index))
        return false;
    tab->setCurrentFile(path);
    updateRecentFile(path);
    setFolder(path.left(path.size() - textfile::lastComponent(path).size()).trimmed());
    return true;
}

bool DocumentManager::maybeSave(int index)
{
    MyTabItem *tab = documentAt(index);
    if (!tab || tab->isSaved())
        return true;
    const auto answer = QMessageBox::warning(
        window, QStringLiteral("Application"),
        QStringLiteral("The document has been modified.\nDo you want to save your changes?"),
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
    if (answer == QMessageBox::Save)
        return fileSave(tab->getCurrentFile(), tab, index);
    return answer == QMessageBox::Discard;
}

void DocumentManager::addTab(MyTabItem *tab, const QString &title)
{
    {
        const QSignalBlocker block(mainTabs);
        mainTabs->addTab(tab, title);
    }
    // The new document is the current one in every view, not only in the edit view.
    alignPages(mainTabs->count() - 1, nullptr);
    mainTab(mainTabs->count() - 1);
    emit pagesChanged();
}

void DocumentManager::mainTab(int index)
{
    if (view() != View::Edit)
        return;
    MyTabItem *tab = documentAt(index);
    if (!tab)
        return;
    alignPages(index, mainTabs);
    emit titleChanged(textfile::lastComponent(tab->getFileName()));
    emit caretTrackingWanted();
}

void DocumentManager::tabCloseRequested(int index)
{
    if (index < 0 || index >= mainTabs->count() || !maybeSave(index))
        return;
    QList<QWidget *> closing;
    {
        const QSignalBlocker blockMain(mainTabs), blockFlat(flatTab), blockSpun(spunTab),
            blockWeb(webTab);
        for (QTabWidget *page : {mainTabs, flatTab, spunTab, webTab}) {
            closing << page->widget(index);
            page->removeTab(index);
        }
    }
    if (mainTabs->count() == 0) {
        fileNew();
    } else {
        alignPages(mainTabs->currentIndex(), mainTabs);
        mainTab(mainTabs->currentIndex());
        emit pagesChanged();
    }
    for (QWidget *widget : closing)
        delete widget;
}

void DocumentManager::updateRecentFile(const QString &path)
{
    window->setWindowFilePath(path);
    emit recentFilesChanged(storage::addRecentFile(path));
}
