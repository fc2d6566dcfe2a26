#pragma once

#include <QList>
#include <QMetaObject>
#include <QObject>
#include <QTimer>

#include <functional>

class QLabel;
class QTextEdit;

// Keeps the status bar figures (spun and total words, sentences, paragraphs, uniqueness,
// quality) in step with the editor of the current view, and says in the status bar which brace
// of the document has no partner. The figures depend on the text alone: only edits (and a
// change of view or document) schedule an update, so caret moves cost nothing here. A
// zero-delay single-shot timer collects everything one event-loop pass changes, so a paste is
// counted once, not once per character.
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
    Q_DISABLE_COPY_MOVE(FiguresUpdater)

public slots:
    // Follows the two editors again and schedules an update.
    void watchCurrentView();
    void schedule();
    // Recomputes now. Text with a `{` that has no partner leaves the figures as they are.
    void update();

private:
    Labels labels;
    std::function<QTextEdit *()> figuresEditor;
    std::function<QTextEdit *()> documentEditor;
    QTimer timer;
    QList<QMetaObject::Connection> watched;
};
