// Selection and navigation: identify and auto-select, protected terms, word steps, cursor
// tracking, search and the rapid-spin timer.

#include "lexora3.h"

#include "qmytextedit.h"

void Lexora3::cursorChanged()
{
    cursorChanged(-1);
}

EditorPort Lexora3::mainEditorPort()
{
    return {[this] { return textEdit->textCursor(); },
            [this](const QTextCursor &cursor) { textEdit->setTextCursor(cursor); }};
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
void Lexora3::cursorChanged(int) {}
void Lexora3::selectionChanged() {}
void Lexora3::find(bool) {}
void Lexora3::timershot() {}
bool Lexora3::searchFindNext() { return false; }
