#pragma once

#include "selection/guardflags.h"

#include <QObject>
#include <QString>
#include <QTextCursor>
#include <QTimer>

#include <functional>

class QLabel;
class QTextEdit;
class QuickSpinPanel;
class RapidSpinDock;
class UnitSpinDock;
enum class StepDirection;

// Cursor tracking: every caret movement of the spin editor runs dispatch(), which updates the
// position label and the brace-pair highlight, then (unless an operation holds allowChanges)
// refreshes the paragraph and sentence docks, refills the Quick Spin panel when the word or group
// under the caret differs from the one the panel shows, and restarts the rapid dock's 150 ms timer.
// Each dock reloads only when its unit's text differs from the text it last loaded, so moving
// inside one sentence keeps the user's ticks and costs no list rebuild. Nothing here reads the
// whole document: the work of one move is bounded by the caret's paragraph.
class CursorTracker final : public QObject
{
    Q_OBJECT

public:
    struct Parts
    {
        QLabel *curposQL = nullptr;
        UnitSpinDock *sentenceDock = nullptr;
        UnitSpinDock *paragraphDock = nullptr;
        RapidSpinDock *rapidDock = nullptr;
        QuickSpinPanel *quickSpin = nullptr;
    };
    // mainEditor: the document's spin editor; viewEditor: the editor of the current view.
    CursorTracker(GuardFlags &guards, const Parts &parts, std::function<QTextEdit *()> mainEditor,
                  std::function<QTextEdit *()> viewEditor, QObject *parent = nullptr);
    Q_DISABLE_COPY_MOVE(CursorTracker)

    // The dispatcher. view2 == 1 works on the main editor whatever the view.
    void dispatch(int view2 = -1);
    // After a sentence arrow step onto `unit`: the sentence dock lists a group's further
    // alternatives under its first one, the rapid dock shows the unit's columns. The rapid label
    // names a group by its first alternative after a forward step and by its whole text after a
    // backward one.
    void loadStepDocks(const QString &unit, StepDirection direction);

    // "[row,column]": row = the paragraph number (from 0) plus the caret's display line in it
    // (from 1), column = the caret's column in its display line, both with five digits.
    static QString positionText(const QTextCursor &cursor);

    QString curSen;
    QString curParagraph;
    QString curRapid;
    QTimer t; // the rapid dock's debounce

private:
    void refreshUnit(UnitSpinDock *dock, QString &last, const QString &text);
    void timershot();

    GuardFlags &guards;
    Parts parts;
    std::function<QTextEdit *()> mainEditor;
    std::function<QTextEdit *()> viewEditor;
};
