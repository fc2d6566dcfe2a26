#include "cursortracker.h"

#include "selection/navigator.h"
#include "selection/widgets/docks/rapidspindock.h"
#include "selection/widgets/docks/unitspindock.h"
#include "spintax/spinstructure.h"
#include "synonyms/widgets/caretword.h"
#include "synonyms/widgets/quickspinpanel.h"

#include <QLabel>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextLayout>

CursorTracker::CursorTracker(GuardFlags &guards, const Parts &parts,
                             std::function<QTextEdit *()> mainEditor,
                             std::function<QTextEdit *()> viewEditor, QObject *parent)
    : QObject(parent), guards(guards), parts(parts), mainEditor(std::move(mainEditor)),
      viewEditor(std::move(viewEditor))
{
    t.setSingleShot(true);
    t.setInterval(150);
    connect(&t, &QTimer::timeout, this, &CursorTracker::timershot);
}

QString CursorTracker::positionText(const QTextCursor &cursor)
{
    const QTextBlock block = cursor.block();
    // Counting the display lines of every paragraph above would cost a walk through the
    // document on each move; the paragraph number plus the caret's line in its own paragraph
    // (from 1) is exact for unwrapped text and cheap.
    int row = block.blockNumber() + 1;
    int column = cursor.positionInBlock();
    if (const QTextLayout *layout = block.layout(); layout && layout->lineCount() > 0) {
        const QTextLine line = layout->lineForTextPosition(column);
        if (line.isValid()) {
            row += line.lineNumber();
            column -= line.textStart();
        }
    }
    return QStringLiteral("[%1,%2]")
        .arg(row, 5, 10, QLatin1Char('0'))
        .arg(column, 5, 10, QLatin1Char('0'));
}

void CursorTracker::dispatch(int view2)
{
    if (!guards.allowCursorChange())
        return;
    QTextEdit *editor = view2 == 1 ? mainEditor() : viewEditor();
    if (!editor)
        editor = mainEditor();
    if (!editor)
        return;
    const QTextCursor cursor = editor->textCursor();
    if (parts.curposQL)
        parts.curposQL->setText(positionText(cursor));
    // The brace-pair highlight follows the editor's caret by itself (BracePairHighlight), and
    // the status figures follow its text (FiguresUpdater).
    if (!guards.allowChanges())
        return;
    const auto hold = guards.hold({GuardFlags::AllowChanges});

    QString word;
    QString sentence;
    QString rapid;
    if (cursor.hasSelection()) {
        word = cursor.selectedText();
        sentence = word;
    } else {
        const CaretWord current = caretWord(cursor);
        word = current.text;
        // The units are taken where the word was looked for: one to the left at the paragraph
        // end and before a "." or "," that ends a word, at the caret inside a group.
        QTextCursor at(cursor);
        at.clearSelection();
        if (!current.group) {
            const QString paragraph = cursor.block().text();
            int q = cursor.positionInBlock();
            if (q == paragraph.size() ||
                ((paragraph[q] == QLatin1Char('.') || paragraph[q] == QLatin1Char(',')) && q > 0 &&
                 !paragraph[q - 1].isSpace()))
                --q;
            at.setPosition(qMax(0, cursor.block().position() + q));
        }
        sentence = Navigator::curS(at).selectedText();
        rapid = Navigator::curRS(at).selectedText();
    }

    // The docks write into the main editor, so only its units load them.
    const bool docks = editor == mainEditor();
    if (parts.paragraphDock && docks) {
        const QString paragraph =
            cursor.hasSelection() ? cursor.selectedText() : cursor.block().text();
        refreshUnit(parts.paragraphDock, curParagraph, paragraph);
    }
    if (parts.sentenceDock && docks)
        refreshUnit(parts.sentenceDock, curSen, sentence);

    // The panel knows what its rows belong to (its own edits and steps move that on).
    if (parts.quickSpin && word != parts.quickSpin->currentWord()) {
        const auto listHold = guards.hold({GuardFlags::UpdatingList});
        parts.quickSpin->showWord(word);
    }

    if (docks && rapid != curRapid && guards.value(GuardFlags::AllowRapidChanges) &&
        !rapid.isEmpty()) {
        curRapid = rapid;
        t.start();
    }
}

void CursorTracker::refreshUnit(UnitSpinDock *dock, QString &last, const QString &text)
{
    if (text == last || text.isEmpty() || !guards.value(dock->allowFlag()))
        return;
    const auto hold = guards.hold({dock->updatingFlag()});
    if (text.startsWith(QLatin1Char('{')) && text.endsWith(QLatin1Char('}'))) {
        if (spintax::bracketsMatch(text))
            dock->loadEntries(spintax::dissect(text), text.startsWith(QStringLiteral("{|")));
        else
            dock->loadText(QString());
    } else {
        dock->loadText(text);
    }
    last = text;
}

void CursorTracker::timershot()
{
    if (parts.rapidDock)
        parts.rapidDock->loadRapidSentence(curRapid);
}

void CursorTracker::loadStepDocks(const QString &unit, StepDirection direction)
{
    if (parts.sentenceDock)
        parts.sentenceDock->loadStep(unit);
    if (parts.rapidDock) {
        t.stop();
        parts.rapidDock->loadRapidSentence(unit);
        const bool group = unit.startsWith(QLatin1Char('{')) && unit.endsWith(QLatin1Char('}'));
        if (group && direction == StepDirection::Forward)
            parts.rapidDock->setLabel(spintax::dissect(unit).value(0));
    }
}
