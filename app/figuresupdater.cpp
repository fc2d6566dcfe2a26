#include "figuresupdater.h"

#include "selection/sentencecount.h"
#include "spintax/generator.h"
#include "spintax/unpairedbrace.h"

#include <QLabel>
#include <QTextDocument>
#include <QTextEdit>

FiguresUpdater::FiguresUpdater(const Labels &labels, std::function<QTextEdit *()> figuresEditor,
                               std::function<QTextEdit *()> documentEditor, QObject *parent)
    : QObject(parent), labels(labels), figuresEditor(std::move(figuresEditor)),
      documentEditor(std::move(documentEditor))
{
    timer.setSingleShot(true);
    timer.setInterval(0);
    connect(&timer, &QTimer::timeout, this, &FiguresUpdater::update);
    watchCurrentView();
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
    schedule();
}

void FiguresUpdater::schedule()
{
    timer.start();
}

void FiguresUpdater::update()
{
    timer.stop();
    if (QTextEdit *document = documentEditor()) {
        const std::optional<spintax::UnpairedBrace> brace =
            spintax::firstUnpairedBrace(document->toPlainText());
        if (brace) {
            labels.balanceQL->setText(spintax::unpairedBraceMessage(*brace));
            labels.balanceQL->show();
        } else {
            labels.balanceQL->hide();
            labels.balanceQL->clear();
        }
    }
    QTextEdit *editor = figuresEditor();
    if (!editor)
        return;
    const QString text = editor->toPlainText();
    if (labels.sentencesQL) {
        if (const std::optional<QString> flat = spintax::anySpin2(text))
            labels.sentencesQL->setText(QStringLiteral("%1 Sentence(s)").arg(sentenceCount(*flat)));
    }
    const std::optional<spintax::StatusFigures> figures = spintax::calcUniqueness(text);
    if (!figures)
        return;
    labels.spunWordsQL->setText(figures->spunWords);
    labels.totalWordsQL->setText(figures->totalWords);
    labels.paragraphsQL->setText(figures->paragraphs);
    labels.uniqueQL->setText(figures->unique);
    labels.qualityQL->setText(figures->quality);
}
