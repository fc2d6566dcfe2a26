#pragma once

#include "spintax/generator.h"
#include "spintax/unpairedbrace.h"

#include <QFutureWatcher>
#include <QList>
#include <QMetaObject>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>
#include <optional>

class QLabel;
class QTextEdit;

// Keeps the status bar figures (spun and total words, sentences, paragraphs, uniqueness,
// quality) in step with the editor of the current view, and says in the status bar which brace
// of the document has no partner. The figures depend on the text alone: only edits (and a
// change of view or document) schedule an update, so caret moves cost nothing here.
//
// An edit costs the GUI thread one copy of the text: the figures of a long article take tens
// of milliseconds, so they are computed on a worker thread and shown when ready. A zero-delay
// single-shot timer collects everything one event-loop pass changes (a paste is counted once),
// edits made while a computation runs are collected into one more run after it, and a text
// equal to the one last counted (a change of formats only) is not counted again.
class FiguresUpdater final : public QObject
{
    Q_OBJECT

public:
    struct Labels
    {
        QLabel *spunWordsQL = nullptr;
        QLabel *totalWordsQL = nullptr;
        QLabel *paragraphsQL = nullptr;
        QLabel *sentencesQL = nullptr; // "%d Sentence(s)" of the first-alternative reading
        QLabel *uniqueQL = nullptr;
        QLabel *qualityQL = nullptr;
        QLabel *balanceQL = nullptr; // the message about a brace without partner
    };
    // figuresEditor: the editor the figures are taken from (flat editor in the flat view, spun
    // editor in the spun view, the document editor otherwise); documentEditor: the document,
    // whose braces are checked.
    FiguresUpdater(const Labels &labels, std::function<QTextEdit *()> figuresEditor,
                   std::function<QTextEdit *()> documentEditor, QObject *parent = nullptr);
    ~FiguresUpdater() override;
    Q_DISABLE_COPY_MOVE(FiguresUpdater)

public slots:
    // Follows the two editors again and schedules an update.
    void watchCurrentView();
    void schedule();
    // Recomputes now, on the calling thread; a computation still running is dropped. Text with
    // a `{` that has no partner leaves the figures as they are.
    void update();

private:
    // The texts one computation counts; a missing editor gives no text.
    struct Texts
    {
        std::optional<QString> document;
        std::optional<QString> figures;
        bool operator==(const Texts &) const = default;
    };
    struct Result
    {
        bool checkedBraces = false;
        std::optional<spintax::UnpairedBrace> brace;
        std::optional<int> sentences;
        std::optional<spintax::StatusFigures> figures;
    };
    Texts snapshot() const;
    static Result compute(const Texts &texts);
    void apply(const Result &result);
    void startComputation();
    void computationFinished();

    Labels labels;
    std::function<QTextEdit *()> figuresEditor;
    std::function<QTextEdit *()> documentEditor;
    QTimer timer;
    QList<QMetaObject::Connection> watched;
    QFutureWatcher<Result> watcher;
    std::optional<Texts> counted; // the texts of the last computation started or made
    bool again = false;           // the text changed while a computation was running
    quint64 generation = 0;       // a computation started in an older generation is dropped
    quint64 running = 0;
};
