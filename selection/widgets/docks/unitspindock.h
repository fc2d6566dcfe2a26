#pragma once

#include "selection/guardflags.h"

#include <QStringList>
#include <QTextCursor>
#include <QWidget>

#include <functional>

class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QTextEdit;

// The content of the "Sentence Spin" and "Paragraph Spin" docks: the unit's original text with
// the two step arrows, the list of its alternatives (a click ticks or unticks a row) and the box
// to add one. Ticking rows rewrites the unit in the editor as a spin group of the ticked entries.
//
// Cursor tracking fills the dock (loadEntries / loadText) while it holds the dock's updating
// flag; the dock's own edits hold its allow flag, so tracking does not reload it for them.
class UnitSpinDock final : public QWidget
{
    Q_OBJECT

public:
    enum class Unit
    {
        Sentence,
        Paragraph
    };
    UnitSpinDock(Unit unit, GuardFlags &guards, QWidget *parent = nullptr);
    Q_DISABLE_COPY_MOVE(UnitSpinDock)

    // The main spin editor the dock writes into.
    std::function<QTextEdit *()> editor;

    Unit unit() const { return kind; }
    GuardFlags::Flag allowFlag() const;
    GuardFlags::Flag updatingFlag() const;

    // A spin group's alternatives: "(blank)" and each alternative once, all ticked but "(blank)"
    // unless selectBlank. The label shows the first alternative.
    void loadEntries(const QStringList &alternatives, bool selectBlank);
    // A plain unit: "(blank)" and the text, the text ticked.
    void loadText(const QString &text);
    // After a sentence arrow step onto `unit`: a group lists its further alternatives (ticked)
    // under its first one; a plain sentence lists nothing.
    void loadStep(const QString &unit);

    // Adds the typed alternative and ticks it, which rewrites the unit at once. A blank or
    // already listed text is dropped; the box is emptied either way.
    void addEntry();

    QStringList entries() const { return rows; }
    QStringList tickedEntries() const;
    QString originalText() const { return original; }

    QLabel *origL = nullptr;
    QPushButton *previousPB = nullptr;
    QPushButton *nextPB = nullptr;
    QListWidget *list = nullptr;
    QLineEdit *addLE = nullptr;       // sentence dock
    QPlainTextEdit *addPTE = nullptr; // paragraph dock
    QPushButton *addPB = nullptr;

signals:
    void previousRequested();
    void nextRequested();
    // The dock rewrote its unit with `text` (now selected in the editor).
    void unitWritten(const QString &text);

private:
    void fill(const QStringList &entries, const QString &label);
    void selectionChanged();
    QTextCursor target(const QTextCursor &cursor) const;

    Unit kind;
    GuardFlags &guards;
    QStringList rows; // entry of each row
    QString original; // the unit's text as loaded; what an empty tick set writes back
};
