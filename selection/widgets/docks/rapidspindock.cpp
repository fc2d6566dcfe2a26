#include "rapidspindock.h"

#include "selection/navigator.h"

#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScrollArea>
#include <QTextEdit>
#include <QVBoxLayout>

QBottomList::QBottomList(const spindocks::RapidColumn &column, const QStringList &synonyms,
                         QWidget *parent)
    : QFrame(parent), wordStr(column.word), column(column)
{
    auto *layout = new QVBoxLayout(this);
    layout->setSpacing(0);
    layout->setContentsMargins(0, 0, 0, 0);
    word = new QLabel(spindocks::shownText(wordStr), this);
    word->setContentsMargins(7, 0, 0, 3);
    word->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    list = new QListWidget(this);
    list->setAccessibleName(QStringLiteral("Synonyms of ") + wordStr);
    list->setSelectionMode(QAbstractItemView::MultiSelection);
    QPalette palette = list->palette();
    for (QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText})
        palette.setColor(QPalette::Inactive, role, palette.color(QPalette::Active, role));
    list->setPalette(palette);
    layout->addWidget(word);
    layout->addWidget(list);
    setFixedSize(130, 130);

    allowChanges = false;
    curSyns = synonyms;
    for (const QString &synonym : std::as_const(curSyns))
        list->addItem(spindocks::shownText(synonym));
    for (qsizetype i = 1; i < column.alternatives.size(); ++i) {
        const QString &alternative = column.alternatives[i];
        qsizetype row = curSyns.indexOf(alternative);
        if (row < 0) {
            curSyns.append(alternative);
            list->addItem(spindocks::shownText(alternative));
            row = curSyns.size() - 1;
        }
        list->item(int(row))->setSelected(true);
    }
    allowChanges = true;
    connect(list, &QListWidget::itemSelectionChanged, this, [this] {
        if (allowChanges)
            emit selChanged();
    });
}

QStringList QBottomList::tickedSynonyms() const
{
    QStringList ticked;
    const QModelIndexList selected = list->selectionModel()->selectedIndexes();
    for (const QModelIndex &index : selected)
        ticked.append(curSyns.value(index.row()));
    return ticked;
}

QString QBottomList::piece() const
{
    return spindocks::rapidPiece(column, tickedSynonyms());
}

RapidSpinDock::RapidSpinDock(GuardFlags &guards, QWidget *parent) : QWidget(parent), guards(guards)
{
    auto *layout = new QVBoxLayout(this);
    auto *top = new QHBoxLayout;
    origRapidSentenceL = new QLabel(this);
    origRapidSentenceL->setObjectName(QStringLiteral("origRapidSentenceL"));
    origRapidSentenceL->setAccessibleName(QStringLiteral("Current rapid sentence"));
    origRapidSentenceL->setWordWrap(true);
    origRapidSentenceL->setFixedHeight(13);
    // The sentence must never widen the dock (see UnitSpinDock).
    origRapidSentenceL->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    const auto arrow = [this](const QString &icon, const QString &name) {
        auto *button = new QPushButton(QIcon(icon), QString(), this);
        button->setFixedSize(25, 22);
        button->setAccessibleName(name);
        button->setToolTip(name);
        return button;
    };
    previousPB = arrow(QStringLiteral(":/img/arrow_left.png"), QStringLiteral("Previous sentence"));
    nextPB = arrow(QStringLiteral(":/img/arrow_right.png"), QStringLiteral("Next sentence"));
    top->addWidget(origRapidSentenceL, 1);
    top->addWidget(previousPB);
    top->addWidget(nextPB);
    layout->addLayout(top);
    qsa = new QScrollArea(this);
    qsa->setObjectName(QStringLiteral("qsa"));
    qsa->setAccessibleName(QStringLiteral("Word columns"));
    layout->addWidget(qsa, 1);
    connect(previousPB, &QPushButton::clicked, this, &RapidSpinDock::previousRequested);
    connect(nextPB, &QPushButton::clicked, this, &RapidSpinDock::nextRequested);
    loadRapidSentence(QString());
}

void RapidSpinDock::loadRapidSentence(const QString &text)
{
    setLabel(text);
    current = text;
    bottomLists.clear();
    auto *row = new QWidget;
    rapidQSAHBL = new QHBoxLayout(row);
    const QMargins margins = rapidQSAHBL->contentsMargins();
    const int m = margins.left() + margins.right();
    int width = 0;
    const QList<spindocks::RapidColumn> columns = spindocks::rapidColumns(text);
    for (const spindocks::RapidColumn &column : columns) {
        auto *bottomList =
            new QBottomList(column, synonymsFor ? synonymsFor(column.word) : QStringList(), row);
        connect(bottomList, &QBottomList::selChanged, this, &RapidSpinDock::rewrite);
        rapidQSAHBL->addWidget(bottomList);
        bottomLists.append(bottomList);
        width += 120 + m;
    }
    row->setGeometry(0, 0, width, 130 + margins.top() + margins.bottom());
    qsa->setWidget(row); // deletes the previous row and its columns
}

void RapidSpinDock::setLabel(const QString &text)
{
    origRapidSentenceL->setText(spindocks::shownText(text));
}

void RapidSpinDock::rewrite()
{
    QTextEdit *edit = editor ? editor() : nullptr;
    if (!edit || !guards.allowChanges())
        return;
    const auto hold = guards.hold({GuardFlags::AllowChanges});
    // The target must still hold the sentence the columns were made for: a selection or caret
    // elsewhere would otherwise be overwritten with this sentence.
    QTextCursor cursor = edit->textCursor();
    if (!cursor.hasSelection() || cursor.selectedText() != current)
        cursor = Navigator::curRS(cursor);
    if (!cursor.hasSelection() || cursor.selectedText() != current)
        return;
    QStringList pieces;
    for (const QBottomList *column : std::as_const(bottomLists))
        pieces.append(column->piece());
    const QString text = pieces.join(QLatin1Char(' '));
    const int start = cursor.selectionStart();
    cursor.beginEditBlock();
    cursor.insertText(text);
    cursor.endEditBlock();
    cursor.setPosition(start);
    cursor.setPosition(start + int(text.size()), QTextCursor::KeepAnchor);
    edit->setTextCursor(cursor);
    current = text;
    emit sentenceWritten(text);
}
