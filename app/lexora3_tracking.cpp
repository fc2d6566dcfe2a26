// Cursor tracking, the docks' arrows and word steps.

#include "lexora3.h"

#include "cursortracker.h"
#include "documentmanager.h"
#include "appactions.h"
#include "qmytextedit.h"
#include "search.h"
#include "viewmanager.h"

#include "selection/widgets/docks/rapidspindock.h"
#include "selection/widgets/docks/unitspindock.h"
#include "synonyms/rapidsynonyms.h"
#include "synonyms/synonymstore.h"

EditorPort Lexora3::mainEditorPort()
{
    return {[this] { return documents->editor()->textCursor(); },
            [this](const QTextCursor &cursor) { documents->editor()->setTextCursor(cursor); }};
}

void Lexora3::createTracking()
{
    const auto mainEditor = [this]() -> QTextEdit * { return documents->editor(); };
    CursorTracker::Parts parts;
    parts.curposQL = curposQL;
    parts.sentenceDock = sentenceDock;
    parts.paragraphDock = paragraphDock;
    parts.rapidDock = rapidDock;
    parts.quickSpin = quickSpin;
    tracker = new CursorTracker(
        guards, parts, mainEditor, [this]() -> QTextEdit * { return views->currentViewEditor(); },
        this);

    sentenceDock->editor = mainEditor;
    paragraphDock->editor = mainEditor;
    rapidDock->editor = mainEditor;
    rapidDock->synonymsFor = [this](const QString &word) { return rapidSynonyms(*synStore, word); };
    // A dock's own rewrite is its unit now: moving inside it keeps the ticks.
    connect(sentenceDock, &UnitSpinDock::unitWritten, tracker,
            [this](const QString &text) { tracker->curSen = text; });
    connect(paragraphDock, &UnitSpinDock::unitWritten, tracker,
            [this](const QString &text) { tracker->curParagraph = text; });
    connect(rapidDock, &RapidSpinDock::sentenceWritten, tracker,
            [this](const QString &text) { tracker->curRapid = text; });

    navigator.loadStepDocks = [this](const QString &unit, StepDirection direction) {
        // A long sentence in the dock's label must not widen the dock beyond the window.
        limitSentenceDockWidth();
        tracker->loadStepDocks(unit, direction);
    };
    const auto sentenceArrows = [this](auto *dock) {
        connect(dock, &std::remove_pointer_t<decltype(dock)>::previousRequested, this,
                [this] { navigator.prevS(true); });
        connect(dock, &std::remove_pointer_t<decltype(dock)>::nextRequested, this,
                [this] { navigator.nextS(true); });
    };
    sentenceArrows(sentenceDock);
    sentenceArrows(rapidDock);
    connect(paragraphDock, &UnitSpinDock::previousRequested, this,
            [this] { navigator.prevP(true); });
    connect(paragraphDock, &UnitSpinDock::nextRequested, this, [this] { navigator.nextP(true); });

    // The link action works on the selected text.
    QAction *hyperlinkAction = actions->action(AppActions::Hyperlink);
    connect(documents, &DocumentManager::editorSelectionChanged, hyperlinkAction,
            [this, hyperlinkAction] {
                hyperlinkAction->setEnabled(documents->editor()->textCursor().hasSelection());
            });

    search = new Search(guards, mainEditor, this);
    search->setObjectName(QStringLiteral("search"));
    connect(actions->action(AppActions::Find), &QAction::triggered, search, &Search::show);
    connect(documents, &DocumentManager::findNextRequested, search, &Search::findAgain);
}

void Lexora3::cursorChanged(int view2)
{
    tracker->dispatch(view2);
}

// Word steps: Tab / Shift+Tab in the editor and the "<" / ">" buttons.
void Lexora3::previousClicked()
{
    navigator.previousClicked(false);
}

void Lexora3::nextClicked()
{
    // The step set its selection with allowChanges cleared; track the new selection once.
    if (navigator.nextClicked(false))
        cursorChanged(-1);
}
