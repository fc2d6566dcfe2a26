#include "documentmanager.h"

#include "lexora3.h"
#include "mytabitem.h"
#include "qmyaction.h"
#include "qmytextedit.h"
#include "recentfiles.h"
#include "textfile.h"

#include "storage/settingsstore.h"

#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>

DocumentManager::DocumentManager(Lexora3 *window) : QObject(window), w(window) {}

void DocumentManager::createPages()
{
    w->mainTab = new QTabWidget;
    w->mainTab->setTabsClosable(true);
    auto *first = new MyTabItem(w->curFileNum, w, true, false);
    w->item = first;
    w->textEdit = first->getTextEdit();
    w->setCurrentWindowTitle(textfile::lastComponent(first->getFileName()));
    w->mainTab->addTab(first, first->getFileName());
    connect(w->mainTab, &QTabWidget::currentChanged, this, &DocumentManager::mainTab);
    connect(w->mainTab, &QTabWidget::tabCloseRequested, this,
            &DocumentManager::tabCloseRequested);

    w->flatTab = new QTabWidget;
    w->spunTab = new QTabWidget;
    w->webTab = new QTabWidget;
    const QString name = first->getFileName();
    addCompanions(w->curFileNum, name + QStringLiteral("-flat"), name + QStringLiteral("-spun"),
                  name + QStringLiteral("-html"), QString());
    connect(w->flatTab, &QTabWidget::currentChanged, w, &Lexora3::flatTabChanged);
    connect(w->spunTab, &QTabWidget::currentChanged, w, &Lexora3::spunTabChanged);
    connect(w->webTab, &QTabWidget::currentChanged, w, &Lexora3::webTabChanged);

    w->stackedWidget->addWidget(w->mainTab);
    w->stackedWidget->addWidget(w->flatTab);
    w->stackedWidget->addWidget(w->spunTab);
    w->stackedWidget->addWidget(w->webTab);
    syncCurrentTabs();
}

void DocumentManager::addCompanions(int number, const QString &flatName,
                                    const QString &spunName, const QString &htmlName,
                                    const QString &folder)
{
    const struct
    {
        QTabWidget *tabs;
        bool editor;
        bool highlight;
        const QString &name;
    } pages[] = {{w->flatTab, true, false, flatName},
                 {w->spunTab, true, true, spunName},
                 {w->webTab, false, false, htmlName}};
    for (const auto &page : pages) {
        auto *companion = new MyTabItem(number, w, page.editor, page.highlight);
        if (!folder.isEmpty())
            companion->setCurrentFile(QDir(folder).filePath(page.name));
        companion->setFileName(page.name);
        page.tabs->addTab(companion, page.name);
    }
}

void DocumentManager::syncCurrentTabs()
{
    w->item = qobject_cast<MyTabItem *>(w->mainTab->currentWidget());
    w->textEdit = w->item ? w->item->getTextEdit() : nullptr;
    w->flatItem = qobject_cast<MyTabItem *>(w->flatTab->currentWidget());
    w->flatTextEdit = w->flatItem ? w->flatItem->getTextEdit() : nullptr;
    w->spunItem = qobject_cast<MyTabItem *>(w->spunTab->currentWidget());
    w->spunTextEdit = w->spunItem ? w->spunItem->getTextEdit() : nullptr;
    w->webItem = qobject_cast<MyTabItem *>(w->webTab->currentWidget());
    w->webTextEdit = w->webItem ? w->webItem->getTextBrowser() : nullptr;
}

QTabWidget *DocumentManager::currentViewTabs() const
{
    switch (w->view) {
    case 2:
        return w->flatTab;
    case 3:
        return w->spunTab;
    case 4:
        return w->webTab;
    default:
        return w->mainTab;
    }
}

QTabWidget *DocumentManager::tabsHolding(MyTabItem *tab) const
{
    for (QTabWidget *tabs : {w->mainTab, w->flatTab, w->spunTab, w->webTab}) {
        if (tabs->indexOf(tab) >= 0)
            return tabs;
    }
    return nullptr;
}

void DocumentManager::fileNew()
{
    ++w->curFileNum;
    const QString name = QStringLiteral("Untitled ") + QString::number(w->curFileNum);
    addCompanions(w->curFileNum, name + QStringLiteral("-flat"), name + QStringLiteral("-spun"),
                  name + QStringLiteral("-html"), QString());
    auto *document = new MyTabItem(w->curFileNum, w, true, false);
    w->textEdit = document->getTextEdit();
    addTab(document, document->getFileName());
}

void DocumentManager::fileOpen()
{
    const QString path =
        QFileDialog::getOpenFileName(w, QStringLiteral("Open File"), w->curDir,
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

    ++w->curFileNum;
    auto *document = new MyTabItem(w->curFileNum, w, true, false);
    QMyTextEdit *editor = document->getTextEdit();
    w->textEdit = editor;
    editor->setPlainText(file.text);
    editor->moveCursor(QTextCursor::Start);
    editor->document()->clearUndoRedoStacks();
    if (w->identifyOnLoad && w->identifyOnLoad->isChecked() && w->curLang == QLatin1String("eng"))
        w->identify(true);
    document->setCurrentFile(path);

    const QString name = textfile::lastComponent(path);
    const textfile::CompanionNames companions = textfile::companionNames(name);
    addCompanions(w->curFileNum, companions.flat, companions.spun, companions.html,
                  info.absolutePath());
    addTab(document, name);
    document->setSaved();

    auto *shown = qobject_cast<MyTabItem *>(currentViewTabs()->currentWidget());
    w->setCurrentWindowTitle(shown && w->view != 1 ? shown->getFileName() : name);

    updateRecentFile(path);
    const QString folder = path.left(path.lastIndexOf(name)).trimmed();
    w->curDir = folder;
    storage::saveCurDir(folder);
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
        QMessageBox::warning(w, QStringLiteral("Rewordix"),
                             QStringLiteral("Could not save \"%1\":\n%2").arg(path, error));
        return false;
    }
    const QString name = textfile::lastComponent(path);
    if (QTabWidget *tabs = tabsHolding(tab))
        tabs->setTabText(tabs->indexOf(tab), name);
    w->setCurrentWindowTitle(name);
    tab->setSaved();
    return true;
}

void DocumentManager::fileSave()
{
    QTabWidget *tabs = currentViewTabs();
    auto *tab = qobject_cast<MyTabItem *>(tabs->currentWidget());
    if (tab)
        fileSave(tab->getCurrentFile(), tab, tabs->currentIndex());
}

void DocumentManager::fileSaveAs()
{
    fileSaveAs(w->item, w->mainTab->indexOf(w->item));
}

// The path is taken on only when the write succeeded: a failed Save As must not leave the
// document pointing at a file that was never written, nor put that file in the recent list.
bool DocumentManager::fileSaveAs(MyTabItem *tab, int index)
{
    if (!tab)
        return false;
    QString path =
        QFileDialog::getSaveFileName(w, QStringLiteral("Save as..."), w->curDir,
                                     QStringLiteral("Text files (*.txt *.text);;All Files (*)"));
    if (path.isEmpty())
        return false;
    path = textfile::withTextExtension(path);
    if (!fileSave(path, tab, index))
        return false;
    tab->setCurrentFile(path);
    updateRecentFile(path);
    const QString folder = path.left(path.size() - textfile::lastComponent(path).size()).trimmed();
    w->curDir = folder;
    storage::saveCurDir(folder);
    return true;
}

bool DocumentManager::maybeSave(int index)
{
    auto *tab = qobject_cast<MyTabItem *>(w->mainTab->widget(index));
    if (!tab || tab->isSaved())
        return true;
    const auto answer = QMessageBox::warning(
        w, QStringLiteral("Application"),
        QStringLiteral("The document has been modified.\nDo you want to save your changes?"),
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
    if (answer == QMessageBox::Save)
        return fileSave(tab->getCurrentFile(), tab, index);
    return answer == QMessageBox::Discard;
}

void DocumentManager::addTab(MyTabItem *tab, const QString &title)
{
    w->mainTab->addTab(tab, title);
    const int last = w->mainTab->count() - 1;
    w->flatTab->setCurrentIndex(last);
    w->spunTab->setCurrentIndex(last);
    w->webTab->setCurrentIndex(last);
    // The new document is the current one in every view, not only in the edit view.
    w->mainTab->setCurrentIndex(last);
    syncCurrentTabs();
    mainTab(last);
}

void DocumentManager::mainTab(int index)
{
    if (w->view != 1)
        return;
    auto *tab = qobject_cast<MyTabItem *>(w->mainTab->widget(index));
    if (!tab)
        return;
    w->item = tab;
    w->textEdit = tab->getTextEdit();
    w->mainTab->setCurrentIndex(index);
    tab->undoAvailable();
    tab->redoAvailable();
    w->setCurrentWindowTitle(textfile::lastComponent(tab->getFileName()));
    w->cursorChanged(-1);
}

void DocumentManager::tabCloseRequested(int index)
{
    if (index < 0 || index >= w->mainTab->count() || !maybeSave(index))
        return;
    QList<QWidget *> closing;
    for (QTabWidget *tabs : {w->mainTab, w->flatTab, w->spunTab, w->webTab}) {
        closing << tabs->widget(index);
        tabs->removeTab(index);
    }
    if (w->mainTab->count() == 0) {
        fileNew();
    } else {
        syncCurrentTabs();
        mainTab(w->mainTab->currentIndex());
    }
    for (QWidget *widget : closing)
        delete widget;
}

void DocumentManager::updateRecentFile(const QString &path)
{
    w->setWindowFilePath(path);
    fillRecentFileActions(storage::addRecentFile(path));
}

void DocumentManager::fillRecentFileActions(const QStringList &list)
{
    const QStringList texts = recentfiles::menuTexts(list);
    for (qsizetype i = 0; i < w->recentFileQAs.size(); ++i) {
        QMyAction *entry = w->recentFileQAs.at(i);
        entry->setVisible(i < texts.size());
        // "&" would become a mnemonic; "&&" shows one "&".
        QString text = i < texts.size() ? texts.at(i) : QString();
        entry->setText(text.replace(QLatin1Char('&'), QLatin1String("&&")));
    }
}

void DocumentManager::recentFileQAClicked(int index)
{
    if (index < 0 || index >= w->recentFileQAs.size())
        return;
    QString text = w->recentFileQAs.at(index)->text();
    load(recentfiles::pathOfMenuText(text.replace(QLatin1String("&&"), QLatin1String("&"))));
}
