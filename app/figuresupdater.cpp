#include "figuresupdater.h"

#include "lexora3.h"
#include "qmytextedit.h"

#include "generator.h"
#include "unpairedbrace.h"

#include <QLabel>
#include <QStatusBar>
#include <QTabWidget>
#include <QTextDocument>

FiguresUpdater::FiguresUpdater(Lexora3 *window) : QObject(window), w(window)
{
    timer.setSingleShot(true);
    timer.setInterval(0);
    connect(&timer, &QTimer::timeout, this, &FiguresUpdater::update);

    balanceQL = new QLabel;
    balanceQL->setObjectName(QStringLiteral("balanceQL"));
    balanceQL->setStyleSheet(QStringLiteral("color: #c00000;"));
    balanceQL->hide();
    w->statusBar()->addWidget(balanceQL);

    // A document tab change in any page may change the editors; the window's own handlers
    // are connected first and have taken the new tab by the time this runs.
    for (QTabWidget *tabs : {w->mainTab, w->flatTab, w->spunTab, w->webTab})
        connect(tabs, &QTabWidget::currentChanged, this, &FiguresUpdater::watchCurrentView);
    watchCurrentView();
}

QTextEdit *FiguresUpdater::figuresEditor() const
{
    switch (w->view) {
    case 2:
        return w->flatTextEdit;
    case 3:
        return w->spunTextEdit;
    default:
        return w->textEdit;
    }
}

void FiguresUpdater::watchCurrentView()
{
    for (const QMetaObject::Connection &c : std::as_const(watched))
        disconnect(c);
    watched.clear();
    QList<QTextEdit *> editors{figuresEditor()};
    if (w->textEdit != editors.first())
        editors.append(w->textEdit);
    for (QTextEdit *editor : std::as_const(editors)) {
        if (!editor)
            continue;
        watched.append(connect(editor->document(), &QTextDocument::contentsChanged, this,
                               &FiguresUpdater::schedule));
        watched.append(connect(editor, &QTextEdit::cursorPositionChanged, this,
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
    if (w->textEdit) {
        const std::optional<spintax::UnpairedBrace> brace =
            spintax::firstUnpairedBrace(w->textEdit->toPlainText());
        if (brace) {
            balanceQL->setText(spintax::unpairedBraceMessage(*brace));
            balanceQL->show();
        } else {
            balanceQL->hide();
            balanceQL->clear();
        }
    }
    QTextEdit *editor = figuresEditor();
    if (!editor)
        return;
    const std::optional<spintax::StatusFigures> figures =
        spintax::calcUniqueness(editor->toPlainText());
    if (!figures)
        return;
    w->spunWordsQL->setText(figures->spunWords);
    w->totalWordsQL->setText(figures->totalWords);
    w->paragraphsQL->setText(figures->paragraphs);
    w->uniqueQL->setText(figures->unique);
    w->qualityQL->setText(figures->quality);
}
