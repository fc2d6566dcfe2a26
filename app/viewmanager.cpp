#include "viewmanager.h"

#include "documentmanager.h"
#include "figuresupdater.h"
#include "lexora3.h"
#include "mytabitem.h"
#include "qmytextedit.h"
#include "textfile.h"

#include "generator.h"

#include <QAction>
#include <QScopedValueRollback>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <QTimer>

namespace {

// Replaces the whole text of `editor` with one cursor insertion and puts the cursor at 0.
void writeOver(QTextEdit *editor, const QString &text)
{
    QTextCursor cursor(editor->document());
    cursor.beginEditBlock();
    cursor.select(QTextCursor::Document);
    cursor.insertText(text);
    cursor.endEditBlock();
    cursor.setPosition(0);
    editor->setTextCursor(cursor);
}

} // namespace

ViewManager::ViewManager(Lexora3 *window) : QObject(window), w(window)
{
    // After the document manager's own handler, which takes the tab in the edit view.
    connect(w->mainTab, &QTabWidget::currentChanged, this, &ViewManager::documentTabChanged);
}

bool ViewManager::pagesAligned() const
{
    const int count = w->mainTab->count();
    return w->flatTab->count() == count && w->spunTab->count() == count
           && w->webTab->count() == count;
}

void ViewManager::scheduleRealign()
{
    if (realignPending)
        return;
    realignPending = true;
    QTimer::singleShot(0, this, &ViewManager::realign);
}

void ViewManager::realign()
{
    realignPending = false;
    if (!pagesAligned())
        return;
    switch (w->view) {
    case 2:
        flatTabChanged(w->flatTab->currentIndex());
        break;
    case 3:
        spunTabChanged(w->spunTab->currentIndex());
        break;
    case 4:
        webTabChanged(w->webTab->currentIndex());
        break;
    default:
        documentTabChanged(w->mainTab->currentIndex());
        break;
    }
}

// Every page is moved, not only the ones a view reads, so that the spun text the HTML view
// may show always belongs to the document on screen.
void ViewManager::alignPages(int index, QTabWidget *except)
{
    {
        const QScopedValueRollback guard(switching, true);
        for (QTabWidget *tabs : {w->mainTab, w->flatTab, w->spunTab, w->webTab}) {
            if (tabs != except && tabs->currentIndex() != index && index < tabs->count())
                tabs->setCurrentIndex(index);
        }
    }
    w->documents->syncCurrentTabs();
    if (w->item) {
        w->item->undoAvailable();
        w->item->redoAvailable();
    }
}

void ViewManager::setViewFonts()
{
    QAction *const entries[] = {w->editViewQA, w->flatViewQA, w->spunViewQA, w->webViewQA};
    for (int v = 1; v <= 4; ++v) {
        QAction *action = entries[v - 1];
        if (!action)
            continue;
        QFont font = action->font();
        font.setBold(v == w->view);
        action->setFont(font);
    }
}

void ViewManager::titleFrom(MyTabItem *tab)
{
    if (tab)
        w->setCurrentWindowTitle(textfile::lastComponent(tab->getFileName()));
}

void ViewManager::editViewClicked()
{
    w->view = 1;
    setViewFonts();
    w->stackedWidget->setCurrentIndex(0);
    alignPages(w->flatTab->currentIndex(), w->flatTab);
    // The document manager's tab handler takes the tab, its Undo / Redo state, the title and
    // the cursor-dependent displays.
    w->documents->mainTab(w->mainTab->currentIndex());
    w->figures->watchCurrentView();
}

void ViewManager::flatViewClicked()
{
    w->view = 2;
    setViewFonts();
    w->stackedWidget->setCurrentIndex(1);
    alignPages(w->mainTab->currentIndex(), w->mainTab);
    titleFrom(w->flatItem);
    newFlatSpin(false);
    w->figures->watchCurrentView();
}

void ViewManager::spunViewClicked()
{
    w->view = 3;
    setViewFonts();
    w->stackedWidget->setCurrentIndex(2);
    alignPages(w->mainTab->currentIndex(), w->mainTab);
    titleFrom(w->spunItem);
    newSpin(true);
    w->figures->watchCurrentView();
}

void ViewManager::webViewClicked()
{
    w->view = 4;
    setViewFonts();
    w->stackedWidget->setCurrentIndex(3);
    alignPages(w->mainTab->currentIndex(), w->mainTab);
    showWebSpin(true);
    titleFrom(w->webItem);
    w->figures->watchCurrentView();
}

void ViewManager::documentTabChanged(int index)
{
    if (switching || w->view != 1 || index < 0)
        return;
    if (!pagesAligned())
        return scheduleRealign();
    alignPages(index, w->mainTab);
    w->figures->watchCurrentView();
}

void ViewManager::flatTabChanged(int index)
{
    if (switching || w->view != 2 || index < 0)
        return;
    if (!pagesAligned())
        return scheduleRealign();
    alignPages(index, w->flatTab);
    titleFrom(w->flatItem);
    newFlatSpin(false);
    w->figures->watchCurrentView();
}

void ViewManager::spunTabChanged(int index)
{
    if (switching || w->view != 3 || index < 0)
        return;
    if (!pagesAligned())
        return scheduleRealign();
    alignPages(index, w->spunTab);
    titleFrom(w->spunItem);
    newSpin(true);
    w->figures->watchCurrentView();
}

void ViewManager::webTabChanged(int index)
{
    if (switching || w->view != 4 || index < 0)
        return;
    if (!pagesAligned())
        return scheduleRealign();
    alignPages(index, w->webTab);
    titleFrom(w->webItem);
    showWebSpin(false);
    w->figures->watchCurrentView();
}

QString ViewManager::spinOfDocument(bool saveToMap)
{
    const QString text = w->textEdit->toPlainText();
    const std::optional<spintax::SpinResult> spin =
        w->generator.anySpin(text, true, true, saveToMap);
    if (saveToMap) {
        w->spunMap = spin ? w->generator.spunMap() : spintax::SpunMap();
        spunLinks = SpunLinks(w->spunMap);
    }
    return spin ? spin->text : text;
}

void ViewManager::newSpin(bool saveToMap)
{
    if (!w->textEdit || !w->spunTextEdit)
        return;
    const QString spun = spinOfDocument(saveToMap);
    {
        // Filling the spun editor is not a caret movement of the user's.
        const QScopedValueRollback guard(w->allowCursorChange, false);
        writeOver(w->spunTextEdit, spun);
    }
    if (saveToMap) {
        marked = {-1, -1};
        w->spunTextEdit->setExtraSelections({});
        linkedSource = w->textEdit;
        linkedSpun = w->spunTextEdit;
        sourceRevision = w->textEdit->document()->revision();
        spunRevision = w->spunTextEdit->document()->revision();
    }
}

void ViewManager::newFlatSpin(bool saveToMap)
{
    if (!w->textEdit || !w->flatTextEdit)
        return;
    const QString text = w->textEdit->toPlainText();
    QString flat = w->generator.spinSingle(text, false, saveToMap);
    // The flat spin of unbalanced text is empty; a balanced text never loses all of itself.
    if (flat.isEmpty())
        flat = text;
    const QScopedValueRollback guard(w->allowCursorChange, false);
    writeOver(w->flatTextEdit, flat);
}

void ViewManager::showWebSpin(bool preferSpun)
{
    if (!w->webItem)
        return;
    if (preferSpun && w->spunTextEdit && !w->spunTextEdit->toPlainText().trimmed().isEmpty())
        w->webItem->showHtml(w->spunTextEdit->toPlainText());
    else if (w->textEdit)
        w->webItem->showHtml(spinOfDocument(false));
}

bool ViewManager::linksCurrent() const
{
    return !spunLinks.isEmpty() && linkedSource && linkedSpun && linkedSource == w->textEdit
           && linkedSpun == w->spunTextEdit
           && linkedSource->document()->revision() == sourceRevision
           && linkedSpun->document()->revision() == spunRevision;
}

int ViewManager::characterAt(QMyTextEdit *editor, const QPoint &pos)
{
    const QTextCursor cursor = editor->cursorForPosition(pos);
    int p = cursor.position();
    // cursorForPosition gives the nearest caret position: on the right half of a character
    // (left half in right-to-left text) that is the position after it.
    const QRect caret = editor->cursorRect(cursor);
    const bool rightToLeft = cursor.block().textDirection() == Qt::RightToLeft;
    const bool pastIt = rightToLeft ? caret.x() < pos.x() : caret.x() > pos.x();
    if (p > cursor.block().position() && (pastIt || cursor.atBlockEnd()))
        --p;
    return p;
}

// Only the paragraph under the mouse is read: a word never spans two paragraphs, and copying
// the whole spun text on every mouse move would cost more than the lookup.
std::optional<SpunLinks::Entry> ViewManager::linkAt(QMyTextEdit *editor, const QPoint &pos) const
{
    const int position = characterAt(editor, pos);
    const QTextBlock block = editor->document()->findBlock(position);
    if (!block.isValid())
        return std::nullopt;
    return spunLinks.at(block.text(), position, block.position());
}

void ViewManager::linkSpunClick(QMyTextEdit *editor, const QPoint &pos)
{
    // Only the spun text has links; a word in another editor that happens to spell a key
    // («fox17») must not move the document's selection.
    if (!editor || !editor->isTextHighlight() || editor != w->spunTextEdit || !linksCurrent())
        return;
    const std::optional<SpunLinks::Entry> entry = linkAt(editor, pos);
    if (!entry)
        return;
    QTextCursor cursor(w->textEdit->document());
    cursor.setPosition((*entry)[0]);
    cursor.setPosition((*entry)[1], QTextCursor::KeepAnchor);
    w->textEdit->setTextCursor(cursor);
}

void ViewManager::highlightSpunWord(QMyTextEdit *editor, const QPoint &pos)
{
    if (!editor || !editor->isTextHighlight())
        return;
    std::optional<SpunLinks::Entry> entry;
    if (editor == w->spunTextEdit && linksCurrent())
        entry = linkAt(editor, pos);
    if (!entry) {
        // Moving off a phrase takes its mark away.
        if (marked.first >= 0) {
            editor->setExtraSelections({});
            marked = {-1, -1};
        }
        return;
    }
    if (marked == std::pair((*entry)[2], (*entry)[3]))
        return;
    QTextEdit::ExtraSelection mark;
    mark.format.setBackground(Qt::yellow);
    mark.cursor = QTextCursor(editor->document());
    mark.cursor.setPosition((*entry)[2]);
    mark.cursor.setPosition((*entry)[3], QTextCursor::KeepAnchor);
    editor->setExtraSelections({mark});
    marked = {(*entry)[2], (*entry)[3]};
}

void ViewManager::removeOriginalWord()
{
    QMyTextEdit *editor = w->textEdit;
    if (!editor)
        return;
    const QString text = editor->toPlainText();
    const QString result = spintax::removeOriginalWord(text);
    if (result == text)
        return;
    QTextCursor cursor(editor->document());
    const int caret = editor->textCursor().position();
    // Underlines of identified phrases must not spread over the whole new text.
    QTextCharFormat format = cursor.charFormat();
    format.setFontUnderline(false);
    format.setUnderlineStyle(QTextCharFormat::NoUnderline);
    cursor.beginEditBlock();
    cursor.select(QTextCursor::Document);
    cursor.insertText(result, format);
    cursor.endEditBlock();
    cursor.setPosition(std::min<int>(caret, int(result.size())));
    editor->setTextCursor(cursor);
}
