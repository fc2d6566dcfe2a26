#include "figuresupdater.h"

#include "selection/sentencecount.h"

#include <QLabel>
#include <QTextDocument>
#include <QTextEdit>
#include <QtConcurrent/QtConcurrentRun>

FiguresUpdater::FiguresUpdater(const Labels &labels, std::function<QTextEdit *()> figuresEditor,
                               std::function<QTextEdit *()> documentEditor, QObject *parent)
    : QObject(parent), labels(labels), figuresEditor(std::move(figuresEditor)),
      documentEditor(std::move(documentEditor))
{
    timer.setSingleShot(true);
    timer.setInterval(0);
    connect(&timer, &QTimer::timeout, this, &FiguresUpdater::startComputation);
    connect(&watcher, &QFutureWatcherBase::finished, this, &FiguresUpdater::computationFinished);
    watchCurrentView();
}

FiguresUpdater::~FiguresUpdater()
{
    watcher.waitForFinished();
}

void FiguresUpdater::watchCurrentView()
{
    for (const QMetaObject::Connection &c : std::as_const(watched))
        disconnect(c);
    watched.clear();
    QList<QTextEdit *> editors{figuresEditor()};
    if (documentEditor() != editors.first())
        editors.append(documentEditor());
    for (QTextEdit *editor : std::as_const(editors)) {
        if (!editor)
            continue;
        watched.append(connect(editor->document(), &QTextDocument::contentsChanged, this,
                               &FiguresUpdater::schedule));
    }
    // Another editor: whatever is being counted belongs to the old one.
    ++generation;
    counted.reset();
    schedule();
}

void FiguresUpdater::schedule()
{
    timer.start();
}

FiguresUpdater::Texts FiguresUpdater::snapshot() const
{
    Texts texts;
    QTextEdit *document = documentEditor();
    QTextEdit *figures = figuresEditor();
    if (document)
        texts.document = document->toPlainText();
    if (figures)
        texts.figures = figures == document ? texts.document : figures->toPlainText();
    return texts;
}

FiguresUpdater::Result FiguresUpdater::compute(const Texts &texts)
{
    Result result;
    if (texts.document) {
        result.checkedBraces = true;
        result.brace = spintax::firstUnpairedBrace(*texts.document);
    }
    if (texts.figures) {
        if (const std::optional<QString> flat = spintax::anySpin2(*texts.figures))
            result.sentences = sentenceCount(*flat);
        result.figures = spintax::calcUniqueness(*texts.figures);
    }
    return result;
}

void FiguresUpdater::apply(const Result &result)
{
    if (result.checkedBraces) {
        if (result.brace) {
            labels.balanceQL->setText(spintax::unpairedBraceMessage(*result.brace));
            labels.balanceQL->show();
        } else {
            labels.balanceQL->hide();
            labels.balanceQL->clear();
        }
    }
    if (labels.sentencesQL && result.sentences)
        labels.sentencesQL->setText(QStringLiteral("%1 Sentence(s)").arg(*result.sentences));
    if (!result.figures)
        return;
    labels.spunWordsQL->setText(result.figures->spunWords);
    labels.totalWordsQL->setText(result.figures->totalWords);
    labels.paragraphsQL->setText(result.figures->paragraphs);
    labels.uniqueQL->setText(result.figures->unique);
    labels.qualityQL->setText(result.figures->quality);
}

void FiguresUpdater::startComputation()
{
    if (watcher.isRunning()) {
        again = true;
        return;
    }
    Texts texts = snapshot();
    if (counted == texts)
        return;
    counted = texts;
    running = generation;
    watcher.setFuture(QtConcurrent::run(&FiguresUpdater::compute, std::move(texts)));
}

void FiguresUpdater::computationFinished()
{
    if (running == generation && watcher.future().resultCount() > 0)
        apply(watcher.result());
    if (again) {
        again = false;
        startComputation();
    }
}

void FiguresUpdater::update()
{
    timer.stop();
    ++generation;
    const Texts texts = snapshot();
    counted = texts;
    apply(compute(texts));
}
