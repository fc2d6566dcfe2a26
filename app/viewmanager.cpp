#include "viewmanager.h"

#include "documentmanager.h"
#include "mytabitem.h"
#include "qmytextedit.h"
#include "textfile.h"

#include "selection/guardflags.h"
#include "spintax/generator.h"

#include <QAction>
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

ViewManager::ViewManager(DocumentManager &documents, spintax::Generator &generator,
                         GuardFlags &guards, QObject *parent)
    : QObject(parent), documents(documents), generator(generator), guards(guards)
{
    stackedWidget = new QStackedWidget;
    stackedWidget->setObjectName(QStringLiteral("stackedWidget"));
    for (View page : {View::Edit, View::Flat, View::Spun, View::Html})
        stackedWidget->addWidget(documents.tabs(page));
    connect(documents.tabs(View::Edit), &QTabWidget::currentChanged, this,
            &ViewManager::documentTabChanged);
    connect(documents.tabs(View::Flat), &QTabWidget::currentChanged, this,
            &ViewManager::flatTabChanged);
    connect(documents.tabs(View::Spun), &QTabWidget::currentChanged, this,
            &ViewManager::spunTabChanged);
    connect(documents.tabs(View::Html), &QTabWidget::currentChanged, this,
            &ViewManager::webTabChanged);
    connect(&documents, &DocumentManager::pagesChanged, this, &ViewManager::refreshView);
    documents.setViewQuery([this] { return view; });
}

void ViewManager::setViewActions(const std::array<QAction *, 4> &actions)
{
    viewActions = actions;
    setViewFonts();
}

QTextEdit *ViewManager::currentViewEditor() const
{
    if (view == View::Html)
        return documents.browser();
    return documents.editor(view);
}

QMyTextEdit *ViewManager::formattingEditor() const
{
    return documents.editor();
}

void ViewManager::setViewFonts()
{
    for (int v = 0; v < 4; ++v) {
        QAction *action = viewActions[v];
        if (!action)
            continue;
        QFont font = action->font();
        font.setBold(v == pageIndex(view));
        action->setFont(font);
    }
}

void ViewManager::titleFrom(MyTabItem *tab)
{
    if (tab)
        emit titleChanged(textfile::lastComponent(tab->getFileName()));
}

void ViewManager::fillView(bool preferSpun)
{
    switch (view) {
    case View::Flat:
        titleFrom(documents.current(View::Flat));
        newFlatSpin(false);
        break;
    case View::Spun:
        titleFrom(documents.current(View::Spun));
        newSpin(true);
        break;
    case View::Html:
        showWebSpin(preferSpun);
        titleFrom(documents.current(View::Html));
        break;
    case View::Edit:
        break;
    }
    emit editorsChanged();
}

void ViewManager::showView(View next)
{
    view = next;
    setViewFonts();
    stackedWidget->setCurrentIndex(pageIndex(view));
    emit viewChanged(view);
    if (view == View::Edit) {
        documents.alignPages(documents.tabs(View::Flat)->currentIndex(),
                             documents.tabs(View::Flat));
        // The document manager's tab handler takes the tab, its Undo / Redo state, the title
        // and the cursor-dependent displays.
        documents.mainTab(documents.tabs(View::Edit)->currentIndex());
        emit editorsChanged();
        return;
    }
    documents.alignPages(documents.tabs(View::Edit)->currentIndex(), documents.tabs(View::Edit));
    fillView(true);
}

void ViewManager::editViewClicked()
{
    showView(View::Edit);
}

void ViewManager::flatViewClicked()
{
    showView(View::Flat);
}

void ViewManager::spunViewClicked()
{
    showView(View::Spun);
}

void ViewManager::webViewClicked()
{
    showView(View::Html);
}

void ViewManager::refreshView()
{
    if (view != View::Edit)
        fillView(false);
    else
        emit editorsChanged();
}

void ViewManager::documentTabChanged(int index)
{
    if (view != View::Edit || index < 0)
        return;
    documents.mainTab(index);
    emit editorsChanged();
}

void ViewManager::companionTabChanged(View page, int index)
{
    if (view != page || index < 0)
        return;
    documents.alignPages(index, documents.tabs(page));
    fillView(false);
}

void ViewManager::flatTabChanged(int index)
{
    companionTabChanged(View::Flat, index);
}

void ViewManager::spunTabChanged(int index)
{
    companionTabChanged(View::Spun, index);
}

void ViewManager::webTabChanged(int index)
{
    companionTabChanged(View::Html, index);
}

QString ViewManager::spinOfDocument(bool saveToMap)
{
    const QString text = documents.editor()->toPlainText();
    const std::optional<spintax::SpinResult> spin = generator.anySpin(text, true, true, saveToMap);
    if (saveToMap) {
        spunMap = spin ? generator.spunMap() : spintax::SpunMap();
        spunLinks = SpunLinks(spunMap);
    }
    return spin ? spin->text : text;
}

void ViewManager::newSpin(bool saveToMap)
{
    QMyTextEdit *source = documents.editor();
    QMyTextEdit *spunEditor = documents.editor(View::Spun);
    if (!source || !spunEditor)
        return;
    const QString spun = spinOfDocument(saveToMap);
    {
        // Filling the spun editor is not a caret movement of the user's.
        const auto hold = guards.hold({GuardFlags::AllowCursorChange});
        writeOver(spunEditor, spun);
    }
    if (saveToMap) {
        marked = {-1, -1};
        spunEditor->setExtraSelections({});
        linkedSource = source;
        linkedSpun = spunEditor;
        sourceRevision = source->document()->revision();
        spunRevision = spunEditor->document()->revision();
    }
}

void ViewManager::newFlatSpin(bool saveToMap)
{
    QMyTextEdit *flatEditor = documents.editor(View::Flat);
    if (!documents.editor() || !flatEditor)
        return;
    const QString text = documents.editor()->toPlainText();
    QString flat = generator.spinSingle(text, false, saveToMap);
    // The flat spin of unbalanced text is empty; a balanced text never loses all of itself.
    if (flat.isEmpty())
        flat = text;
    const auto hold = guards.hold({GuardFlags::AllowCursorChange});
    writeOver(flatEditor, flat);
}

void ViewManager::showWebSpin(bool preferSpun)
{
    MyTabItem *web = documents.current(View::Html);
    if (!web)
        return;
    QMyTextEdit *spunEditor = documents.editor(View::Spun);
    if (preferSpun && spunEditor && !spunEditor->toPlainText().trimmed().isEmpty())
        web->showHtml(spunEditor->toPlainText());
    else if (documents.editor())
        web->showHtml(spinOfDocument(false));
}

bool ViewManager::linksCurrent() const
{
    return !spunLinks.isEmpty() && linkedSource && linkedSpun &&
           linkedSource == documents.editor() && linkedSpun == documents.editor(View::Spun) &&
           linkedSource->document()->revision() == sourceRevision &&
           linkedSpun->document()->revision() == spunRevision;
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
    if (!editor || !editor->isTextHighlight() || editor != documents.editor(View::Spun) ||
        !linksCurrent())
        return;
    const std::optional<SpunLinks::Entry> entry = linkAt(editor, pos);
    if (!entry)
        return;
    QTextCursor cursor(documents.editor()->document());
    cursor.setPosition((*entry)[0]);
    cursor.setPosition((*entry)[1], QTextCursor::KeepAnchor);
    documents.editor()->setTextCursor(cursor);
}

void ViewManager::highlightSpunWord(QMyTextEdit *editor, const QPoint &pos)
{
    if (!editor || !editor->isTextHighlight())
        return;
    std::optional<SpunLinks::Entry> entry;
    if (editor == documents.editor(View::Spun) && linksCurrent())
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
    QMyTextEdit *editor = documents.editor();
    if (!editor)
        return;
    const QString text = editor->toPlainText();
    const QString result = spintax::removeOriginalWord(text);
    if (result == text)
        return;
    // A rewrite of the whole text, not a move of the user's: the docks and the panel keep their
    // units until the caret moves.
    const auto hold = guards.hold({GuardFlags::AllowChanges});
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
