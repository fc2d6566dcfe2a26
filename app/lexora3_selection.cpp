// Selection and navigation: identify and auto-select, protected terms, word steps, cursor
// tracking, search and the rapid-spin timer.

#include "lexora3.h"

#include "qmytextedit.h"

#include "caretword.h"
#include "flagclear.h"
#include "quickspinpanel.h"

#include <QScopedValueRollback>

void Lexora3::cursorChanged()
{
    cursorChanged(-1);
}

EditorPort Lexora3::mainEditorPort()
{
    return {[this] { return textEdit->textCursor(); },
            [this](const QTextCursor &cursor) { textEdit->setTextCursor(cursor); }};
}

// For now the caret only drives the synonym panel: the word or innermost group under the caret
// (or the selected text) is handed to it whenever it changes.
void Lexora3::cursorChanged(int view2)
{
    if (!allowCursorChange || !textEdit)
        return;
    const QTextEdit *editor = view2 == 1 ? textEdit : currentViewEditor();
    if (!editor || !allowChanges)
        return;
    const FlagClear hold(allowChanges);
    const QTextCursor cursor = editor->textCursor();
    const QString current = cursor.hasSelection() ? cursor.selectedText() : caretWord(cursor).text;
    if (current == curWord)
        return;
    const QScopedValueRollback<bool> updating(updatingList, true);
    quickSpin->showWord(current);
    curWord = current;
}

// Word steps: Tab / Shift+Tab in the editor and the "<" / ">" buttons of the bottom bar.
void Lexora3::previousClicked(bool checked)
{
    navigator.previousClicked(checked);
}

void Lexora3::nextClicked(bool checked)
{
    // The step set its selection with allowChanges cleared; track the new selection once.
    if (navigator.nextClicked(checked))
        cursorChanged(-1);
}

// Not wired yet: identify, auto-select, protected terms, tracking and search.
void Lexora3::identify(bool) {}
void Lexora3::autoSelect(bool) {}
void Lexora3::protectedTermQAClicked(bool) {}
void Lexora3::selectionChanged() {}
void Lexora3::find(bool) {}
void Lexora3::timershot() {}
bool Lexora3::searchFindNext() { return false; }
