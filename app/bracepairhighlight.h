#pragma once

#include <QObject>
#include <QTextCharFormat>
#include <QTextEdit>

class QTextCursor;

// The brace-pair highlight of a spin editor: the brace beside the caret and its
// partner in the same paragraph, white on light blue when both are there,
// white on red for a brace without a partner. It owns the editor's extra
// selections: each update replaces them with its own entries (at most one for
// the opening and one for the closing brace) or clears them.
class BracePairHighlight final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(BracePairHighlight)

public:
    // Follows `editor`'s caret and text from now on; the editor owns the
    // highlight.
    explicit BracePairHighlight(QTextEdit *editor);

    // Marks the braces for the caret of `cursor`. The cursor is only read, so
    // the caller goes on using it as it was. A cursor on another document
    // than the editor's clears the highlight.
    void apply(const QTextCursor &cursor);

private:
    QTextEdit *editor;
    QTextEdit::ExtraSelection opening;
    QTextEdit::ExtraSelection closing;
    QTextCharFormat matched;
    QTextCharFormat unmatched;
};
