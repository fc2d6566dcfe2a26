#pragma once

#include <QTextEdit>

class GuardFlags;

// The spin editor used by every editor tab. Tab and Shift+Tab step through the words, Ctrl+V
// goes through the window's paste (which may identify synonyms afterwards), F3 repeats the last
// search, and clicks in the spun view select the source of the clicked word. The editor asks
// for these through its signals; whoever owns the documents connects them.
class QMyTextEdit final : public QTextEdit
{
    Q_OBJECT

public:
    // guards: held while a mouse press moves the caret, so cursor tracking answers the press
    // once, after it landed; textHighlight: this is a spun companion, whose hover marks the
    // spun phrase under the mouse.
    QMyTextEdit(GuardFlags &guards, bool textHighlight, QWidget *parentWidget = nullptr);
    Q_DISABLE_COPY_MOVE(QMyTextEdit)

    bool isTextHighlight() const { return textHighlight; }

signals:
    void findNextRequested();
    void pasteRequested();
    void previousWordRequested();
    void nextWordRequested();
    // A mouse press at `pos` (viewport coordinates), before the caret moves.
    void pressedAt(const QPoint &pos);
    // The press has moved the caret.
    void pressFinished();
    // The mouse moved over a spun companion.
    void hoveredAt(const QPoint &pos);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    bool focusNextPrevChild(bool next) override;

private:
    GuardFlags &guards;
    bool textHighlight;
};
