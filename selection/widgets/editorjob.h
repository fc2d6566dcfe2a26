#pragma once

#include "selection/autoselect.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <optional>

class QProgressDialog;
class QTextEdit;
class QWidget;
template <typename T> class QFutureWatcher;

namespace selection {

// Runs `apply` with the window's re-entry guards held, so cursor tracking does not answer the
// programmatic edit.
using Guarded = std::function<void(const std::function<void()> &apply)>;

// Where the auto-select dialogs find their input at the moment of a run: the main editor (it
// changes with the current document tab), the current language's lists and the protected terms;
// and how the result goes in (without `guarded` it is put in directly).
struct AutoSelectSource
{
    std::function<QTextEdit *()> editor;
    std::function<SynonymLists()> lists;
    std::function<QSet<QString>()> protectedTerms;
    Guarded guarded;
};

// Replaces the editor's whole text with `text` as plain text in one cursor insertion, so one
// Undo brings the old text back. With `cursorToStart` the caret then goes to the beginning.
void replaceEditorText(QTextEdit &editor, const QString &text, bool cursorToStart);

// Runs a rewrite of an editor's text on a worker thread, with a progress dialog when it takes a
// while, and puts the result into the editor in one step. The progress dialog is window-modal, so
// the editor cannot change under the run; should it change anyway (a programmatic edit), the
// result is dropped rather than overwriting the newer text.
class EditorJob final : public QObject
{
    Q_OBJECT

public:
    using Rewrite = std::function<std::optional<QString>(const QString &text, const Progress &)>;

    explicit EditorJob(QWidget *owner);
    ~EditorJob() override;
    Q_DISABLE_COPY_MOVE(EditorJob)

    // False (and nothing starts) while a run is going on or without an editor.
    bool start(QTextEdit *editor, Rewrite rewrite, bool cursorToStart, Guarded guarded = {});
    bool isRunning() const;

signals:
    // After every run: whether the editor received a new text.
    void finished(bool replaced);

private:
    void done();

    QWidget *owner;
    QPointer<QTextEdit> editor;
    QFutureWatcher<std::optional<QString>> *watcher;
    QPointer<QProgressDialog> progress;
    QString original;
    bool cursorToStart = false;
    Guarded guarded;
};

} // namespace selection
