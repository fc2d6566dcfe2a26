// Plain edit commands. They act on the editor of the view on screen; undo and redo act on the
// current document. With no editor (never the case while the window shows a document) they do
// nothing.

#include "lexora3.h"

#include "mytabitem.h"

#include <QCheckBox>
#include <QTextCursor>

void Lexora3::cut()
{
    if (QTextEdit *editor = currentViewEditor())
        editor->cut();
}

void Lexora3::copy()
{
    if (QTextEdit *editor = currentViewEditor())
        editor->copy();
}

void Lexora3::paste()
{
    QTextEdit *editor = currentViewEditor();
    if (!editor)
        return;
    editor->paste();
    if (identifyOnPaste && identifyOnPaste->isChecked())
        identify(true);
}

void Lexora3::deleteText()
{
    if (QTextEdit *editor = currentViewEditor()) {
        if (!editor->isReadOnly())
            editor->textCursor().removeSelectedText();
    }
}

void Lexora3::undo()
{
    if (item)
        item->undo();
}

void Lexora3::redo()
{
    if (item)
        item->redo();
}
