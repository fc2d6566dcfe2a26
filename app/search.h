#pragma once

#include "selection/guardflags.h"

#include <QDialog>
#include <QTextDocument>

#include <functional>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTextEdit;

// The "Find and Replace" dialog: a Find tab (case, whole words, direction) and a Replace tab
// (Find Next, Replace, Replace All, Cancel). Searches run on the main spin editor from its
// cursor with the document's own search and never wrap around; a hit is selected in the editor,
// no hit changes nothing. The dialog is made once and hidden, not destroyed.
//
// Its edits hold the window's allowChanges guard: cursor tracking does not reload the docks and
// the synonym panel for the text a replacement writes.
class Search final : public QDialog
{
    Q_OBJECT

public:
    Search(GuardFlags &guards, std::function<QTextEdit *()> editor, QWidget *parent = nullptr);
    Q_DISABLE_COPY_MOVE(Search)

    // Gives the first search field the focus before showing.
    void setVisible(bool visible) override;

    // Selects the next hit of `text` in `editor` from its cursor; false when there is none.
    static bool findIn(QTextEdit *editor, const QString &text, QTextDocument::FindFlags flags);
    // Replaces every hit of `text` from the document start, each search going on after the
    // inserted text (so a replacement holding the searched text is not searched again), as one
    // undo step; leaves the cursor at the document start. Returns the number of replacements.
    static int replaceAll(QTextEdit *editor, const QString &text, const QString &replacement,
                          QTextDocument::FindFlags flags);

    // The Find tab's search.
    bool find();
    // F3 in the editor: the next hit of the tab the dialog shows (Find, or Replace's Find Next).
    bool findAgain();
    // The Replace tab's buttons.
    bool findNext();
    void replace();
    int replaceAllHits();

    QTabWidget *tabs = nullptr;
    QLineEdit *findLE = nullptr;
    QPushButton *findPB = nullptr;
    QCheckBox *matchCaseCB = nullptr;
    QCheckBox *wholeWordsCB = nullptr;
    QRadioButton *backwardRB = nullptr;
    QRadioButton *forwardRB = nullptr;
    QLineEdit *replaceFindLE = nullptr;
    QLineEdit *replaceWithLE = nullptr;
    QPushButton *findNextPB = nullptr;
    QPushButton *replacePB = nullptr;
    QPushButton *replaceAllPB = nullptr;
    QPushButton *cancelPB = nullptr;
    QCheckBox *replaceMatchCaseCB = nullptr;

private:
    QTextDocument::FindFlags replaceFlags() const;

    GuardFlags &guards;
    std::function<QTextEdit *()> editor;
};
