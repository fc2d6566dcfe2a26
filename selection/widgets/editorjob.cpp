#include "editorjob.h"

#include <QFutureWatcher>
#include <QProgressDialog>
#include <QPromise>
#include <QTextCursor>
#include <QTextEdit>
#include <QtConcurrent/QtConcurrentRun>

namespace selection {

void replaceEditorText(QTextEdit &editor, const QString &text, bool cursorToStart)
{
    QTextCursor cursor = editor.textCursor();
    cursor.select(QTextCursor::Document);
    cursor.insertText(text); // plain text: the document's formats are not carried over
    if (cursorToStart)
        cursor.movePosition(QTextCursor::Start);
    editor.setTextCursor(cursor);
}

EditorJob::EditorJob(QWidget *owner)
    : QObject(owner), owner(owner), watcher(new QFutureWatcher<std::optional<QString>>(this))
{
    connect(watcher, &QFutureWatcherBase::finished, this, &EditorJob::done);
}

EditorJob::~EditorJob()
{
    watcher->waitForFinished();
}

bool EditorJob::isRunning() const
{
    return watcher->isRunning();
}

bool EditorJob::start(QTextEdit *target, Rewrite rewrite, bool toStart, Guarded guard)
{
    if (!target || isRunning())
        return false;
    editor = target;
    cursorToStart = toStart;
    guarded = std::move(guard);
    original = target->toPlainText();

    constexpr int steps = 1000;
    progress = new QProgressDialog(tr("Processing the article..."), QString(), 0, steps, owner);
    progress->setWindowModality(Qt::WindowModal);
    progress->setMinimumDuration(400);
    progress->setAccessibleName(tr("Progress"));
    progress->setAutoClose(false);
    progress->setAutoReset(false);
    connect(watcher, &QFutureWatcherBase::progressValueChanged, progress,
            &QProgressDialog::setValue, Qt::UniqueConnection);

    watcher->setFuture(QtConcurrent::run(
        [rewrite = std::move(rewrite), text = original](QPromise<std::optional<QString>> &promise) {
            promise.setProgressRange(0, steps);
            const Progress report = [&promise](qsizetype done, qsizetype total) {
                if (total > 0)
                    promise.setProgressValue(int(done * steps / total));
            };
            promise.addResult(rewrite(text, report));
        }));
    return true;
}

void EditorJob::done()
{
    if (progress)
        progress->deleteLater();
    const std::optional<QString> result =
        watcher->future().resultCount() > 0 ? watcher->result() : std::nullopt;
    const bool replace = result && editor && editor->toPlainText() == original;
    if (replace) {
        const auto apply = [&] { replaceEditorText(*editor, *result, cursorToStart); };
        if (guarded)
            guarded(apply);
        else
            apply();
    }
    original.clear();
    emit finished(replace);
}

} // namespace selection
