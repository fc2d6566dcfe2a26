#include "qmytextedit.h"

#include "bracepairhighlight.h"
#include "lexora3.h"

#include <QKeyEvent>
#include <QMouseEvent>

QMyTextEdit::QMyTextEdit(Lexora3 *window, bool textHighlight, QWidget *parentWidget)
    : QTextEdit(parentWidget), lexora(window), textHighlight(textHighlight)
{
    setMouseTracking(true);
    // Spun companions use their extra selections for the hover mark instead.
    if (!textHighlight)
        new BracePairHighlight(this);
}

void QMyTextEdit::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F3) {
        if (lexora->searchFindNext()) {
            event->accept();
            return;
        }
    } else if (event->key() == Qt::Key_V && event->modifiers() == Qt::ControlModifier) {
        lexora->paste();
        event->accept();
        return;
    } else if (event->key() == Qt::Key_Backtab
               || (event->key() == Qt::Key_Tab && (event->modifiers() & Qt::ShiftModifier))) {
        lexora->previousClicked(false);
        event->accept();
        return;
    } else if (event->key() == Qt::Key_Tab) {
        lexora->nextClicked(false);
        event->accept();
        return;
    }
    QTextEdit::keyPressEvent(event);
}

void QMyTextEdit::keyReleaseEvent(QKeyEvent *event)
{
    lexora->allowChanges = true;
    QTextEdit::keyReleaseEvent(event);
}

// Tab is a word step, not a focus move: keep it for keyPressEvent.
bool QMyTextEdit::focusNextPrevChild(bool)
{
    return false;
}

void QMyTextEdit::mousePressEvent(QMouseEvent *event)
{
    lexora->allowCursorChange = false;
    lexora->linkSpunClick(this, event->position().toPoint());
    QTextEdit::mousePressEvent(event);
    lexora->allowCursorChange = true;
    lexora->cursorChanged(1);
}

void QMyTextEdit::mouseMoveEvent(QMouseEvent *event)
{
    if (textHighlight)
        lexora->highlightSpunWord(this, event->position().toPoint());
    QTextEdit::mouseMoveEvent(event);
}
