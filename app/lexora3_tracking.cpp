// Cursor tracking and word steps.

#include "lexora3.h"

#include "documentmanager.h"
#include "qmytextedit.h"
#include "viewmanager.h"

#include "synonyms/widgets/caretword.h"
#include "synonyms/widgets/quickspinpanel.h"

EditorPort Lexora3::mainEditorPort()
{
    return {[this] { return documents->editor()->textCursor(); },
            [this](const QTextCursor &cursor) { documents->editor()->setTextCursor(cursor); }};
}

// For now the caret only drives the synonym panel: the word or innermost group under the caret
// (or the selected text) is handed to it whenever it changes. view2 == 1 reads the document
// editor whatever the view.
void Lexora3::cursorChanged(int view2)
{
    if (!guards.allowCursorChange() || !documents->editor())
        return;
    const QTextEdit *editor = view2 == 1 ? documents->editor() : views->currentViewEditor();
    if (!editor || !guards.allowChanges())
        return;
    const auto hold = guards.hold({GuardFlags::AllowChanges, GuardFlags::UpdatingList});
    const QTextCursor cursor = editor->textCursor();
    const QString current = cursor.hasSelection() ? cursor.selectedText() : caretWord(cursor).text;
    // The panel knows what its rows belong to (its own edits and steps move that on).
    if (current == quickSpin->currentWord())
        return;
    quickSpin->showWord(current);
}

// Word steps: Tab / Shift+Tab in the editor and the "<" / ">" buttons.
void Lexora3::previousClicked()
{
    navigator.previousClicked(false);
}

void Lexora3::nextClicked()
{
    // The step set its selection with allowChanges cleared; track the new selection once.
    if (navigator.nextClicked(false))
        cursorChanged(-1);
}
