#include "qmytextedit.h"

#include "bracepairhighlight.h"
#include "unbrokenrunwrap.h"

#include "selection/guardflags.h"

#include <QKeyEvent>
#include <QMouseEvent>

QMyTextEdit::QMyTextEdit(GuardFlags &guards, bool textHighlight, QWidget *parentWidget)
    : QTextEdit(parentWidget), guards(guards), textHighlight(textHighlight)
{
    setMouseTracking(true);
    new UnbrokenRunWrap(this);
    // Spun companions use their extra selections for the hover mark instead.
    if (!textHighlight)
        new BracePairHighlight(this);
}

void QMyTextEdit::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F3) {
        emit findNextRequested();
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_V && event->modifiers() == Qt::ControlModifier) {
        emit pasteRequested();
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_Backtab ||
        (event->key() == Qt::Key_Tab && (event->modifiers() & Qt::ShiftModifier))) {
        emit previousWordRequested();
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_Tab) {
        emit nextWordRequested();
        event->accept();
        return;
    }
    QTextEdit::keyPressEvent(event);
}

// Tab is a word step, not a focus move: keep it for keyPressEvent.
bool QMyTextEdit::focusNextPrevChild(bool)
{
    return false;
}

void QMyTextEdit::mousePressEvent(QMouseEvent *event)
{
    {
        const auto hold = guards.hold({GuardFlags::AllowCursorChange});
        emit pressedAt(event->position().toPoint());
        QTextEdit::mousePressEvent(event);
    }
    emit pressFinished();
}

void QMyTextEdit::mouseMoveEvent(QMouseEvent *event)
{
    if (textHighlight)
        emit hoveredAt(event->position().toPoint());
    QTextEdit::mouseMoveEvent(event);
}
