#pragma once

#include <QList>
#include <QMetaObject>
#include <QObject>
#include <QTimer>

class Lexora3;
class QLabel;
class QTextEdit;

// Keeps the status bar figures (spun and total words, paragraphs, uniqueness, quality) in step
// with the editor of the current view, and says in the status bar which brace of the document
// has no partner. Edits and caret moves only schedule an update: a zero-delay single-shot
// timer collects everything one event-loop pass changes, so a paste is counted once, not once
// per character.
class FiguresUpdater final : public QObject
{
    Q_OBJECT

public:
    explicit FiguresUpdater(Lexora3 *window);
    Q_DISABLE_COPY_MOVE(FiguresUpdater)

    // Follows the editor the figures are taken from (flat editor in the flat view, spun
    // editor in the spun view, the document editor otherwise) and the document editor, and
    // schedules an update.
    void watchCurrentView();
    void schedule();
    // Recomputes now. Text with a `{` that has no partner leaves the figures as they are.
    void update();

    // The status bar message about a brace without partner; hidden for balanced text.
    QLabel *balanceQL = nullptr;

private:
    QTextEdit *figuresEditor() const;

    Lexora3 *w;
    QTimer timer;
    QList<QMetaObject::Connection> watched;
};
