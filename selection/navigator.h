#pragma once

#include "guardflags.h"

#include <QTextCursor>

#include <functional>
#include <optional>

class QString;

// How the navigator reaches the main spin editor without knowing the widget:
// the window binds these to textEdit->textCursor() / setTextCursor().
struct EditorPort
{
    std::function<QTextCursor()> textCursor;
    std::function<void(const QTextCursor &)> setTextCursor;
};

enum class StepDirection
{
    Forward,
    Backward
};

// Sentence, paragraph and word units of a spin text and the steps between
// them.
//
// Units never leave their paragraph (one block of the document); positions
// inside a paragraph are QString (UTF-16) indices into the block's text.
// A sentence unit is a plain sentence, ended by ".", "?" or "!" or cut off
// before a "{", or a whole spin group. A rapid sentence ignores braces.
//
// The static members are the rules: they take a cursor on a document and
// return the unit as a new cursor (anchor at the unit's start, caret at its
// end), or nothing when there is no such unit. The instance members are the
// operations behind the editor's keys and the arrow buttons: they read and
// set the editor through the EditorPort and clear the window's allowChanges
// guard while their own selections land in the editor.
// All scans are linear and iterative, so megabyte paragraphs and groups
// nested to any depth are safe.
class Navigator final
{
public:
    Navigator(GuardFlags &guards, EditorPort editor);
    Q_DISABLE_COPY_MOVE(Navigator)

    // Hook for the Sentence Spin and Rapid Spin docks: called after a
    // successful sentence arrow step with the newly selected text, while
    // allowChanges is still cleared (so cursor tracking does not reload the
    // docks a second time for the same selection).
    std::function<void(const QString &unit, StepDirection direction)> loadStepDocks;
    // Hook for cursor tracking, run once after a word step has set the
    // editor's selection and the guard is back.
    std::function<void()> trackCursor;

    // Boundary searches; -1 when there is none. Positions beyond the text
    // are clamped to it.
    static int leftPunc(const QString &text, int pos);   // last of . ? ! } at or before pos
    static int rightPunc(const QString &text, int pos);  // first of . ? ! { at or after pos
    static int leftPunc2(const QString &text, int pos);  // last of . ? ! at or before pos
    static int rightPunc2(const QString &text, int pos); // first of . ? ! at or after pos
    // Partner of the opener at pos: "(" pairs with ")", "[" with "]", any
    // other opener with "}". Only that pair's nesting is counted.
    static int rightPair(QChar opener, const QString &text, int pos);
    // Partner of the closer at pos: ")" pairs with "(", "]" with "[", any
    // other closer with "{".
    static int leftPair(QChar closer, const QString &text, int pos);

    // The unit at the cursor's caret: the innermost spin group around it or
    // the plain sentence (curS); the sentence between terminators (curRS).
    // The result may be an empty selection when the caret stands in blank
    // space between units.
    static QTextCursor curS(const QTextCursor &cursor);
    static QTextCursor curRS(const QTextCursor &cursor);

    // Sentence steps from the cursor's selection (the unit reached by the
    // previous step) or caret. They cross into the next / previous paragraph
    // that holds a word when the current one is exhausted.
    static std::optional<QTextCursor> nextSentence(const QTextCursor &from);
    static std::optional<QTextCursor> previousSentence(const QTextCursor &from);
    // Paragraph steps, skipping empty and blank paragraphs; with highlight
    // the reached paragraph is selected, else the caret is put at its start
    // (its first word's start for the forward step).
    static std::optional<QTextCursor> nextParagraph(const QTextCursor &from, bool highlight = true);
    static std::optional<QTextCursor> previousParagraph(const QTextCursor &from,
                                                        bool highlight = true);
    // Word steps: words of the text layout, a spin group or a bracketed
    // phrase as one step; a lone "." is stepped over.
    static std::optional<QTextCursor> nextWord(const QTextCursor &from);
    static std::optional<QTextCursor> previousWord(const QTextCursor &from);

    // Editor operations. Each returns whether a unit was reached; when not,
    // the editor keeps its selection.
    QTextCursor curS() const;
    QTextCursor curRS() const;
    bool nextS();
    bool prevS();
    // Sentence arrows: the step with allowChanges cleared, then the dock
    // hook. The forward arrow first selects the current unit when the
    // editor has no selection (that unit stays selected if no step follows).
    bool nextS(bool checked);
    bool prevS(bool checked);
    // Paragraph arrows; the selection is then handled by cursor tracking.
    bool nextP(bool checked, bool highlight = true);
    bool prevP(bool checked, bool highlight = true);
    // Word arrows, Tab and Shift+Tab, the "<" / ">" buttons.
    bool nextClicked(bool checked);
    void nextClicked(bool checked, bool); // the synonym panel's variant: result dropped
    void previousClicked(bool checked);

private:
    bool applyStep(const std::optional<QTextCursor> &unit);

    GuardFlags &guards;
    EditorPort editor;
};
