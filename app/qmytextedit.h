#pragma once

#include <QTextEdit>

class Lexora3;

// The spin editor used by every editor tab. Tab and Shift+Tab step through the words,
// Ctrl+V goes through the window's paste (which may identify synonyms afterwards), F3 repeats
// the last search, and clicks in the spun view select the source of the clicked word.
class QMyTextEdit final : public QTextEdit
{
    Q_OBJECT

public:
    // window: the main window whose commands the keys run; textHighlight: this is a spun
    // companion, whose hover marks the spun phrase under the mouse.
    QMyTextEdit(Lexora3 *window, bool textHighlight, QWidget *parentWidget = nullptr);
    Q_DISABLE_COPY_MOVE(QMyTextEdit)

    bool isTextHighlight() const { return textHighlight; }
    Lexora3 *mainWindow() const { return lexora; }

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    bool focusNextPrevChild(bool next) override;

private:
    Lexora3 *lexora;
    bool textHighlight;
};
