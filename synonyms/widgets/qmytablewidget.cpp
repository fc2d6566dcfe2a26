#include "qmytablewidget.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QMenu>
#include <QMouseEvent>

QMyTableWidget::QMyTableWidget(QWidget *parent) : QTableWidget(0, 5, parent)
{
    horizontalHeader()->hide();
    verticalHeader()->hide();
    setShowGrid(false);
    setFocusPolicy(Qt::NoFocus);
    setSelectionMode(QAbstractItemView::MultiSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(17);
    verticalHeader()->setMinimumSectionSize(17);

    horizontalHeader()->setMinimumSectionSize(1);
    horizontalHeader()->setSectionResizeMode(CategoryColumn, QHeaderView::Fixed);
    setColumnWidth(CategoryColumn, 18);
    horizontalHeader()->setSectionResizeMode(StarColumn, QHeaderView::ResizeToContents);
    horizontalHeader()->setSectionResizeMode(TextColumn, QHeaderView::Stretch);
    horizontalHeader()->setSectionResizeMode(TypeColumn, QHeaderView::Fixed);
    horizontalHeader()->setSectionResizeMode(GradeColumn, QHeaderView::Fixed);
    setColumnWidth(TypeColumn, 1);
    setColumnWidth(GradeColumn, 1);
    setColumnHidden(TypeColumn, true);
    setColumnHidden(GradeColumn, true);

    // Without the focus the table would draw its selection in the inactive colours; the
    // ticked synonyms are the state of the text, so they keep the active look.
    QPalette p = palette();
    for (QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText})
        p.setColor(QPalette::Inactive, role, p.color(QPalette::Active, role));
    setPalette(p);
}

QString QMyTableWidget::typeCode(int row) const
{
    const QTableWidgetItem *code = item(row, TypeColumn);
    return code ? code->text() : QString();
}

bool QMyTableWidget::remember(int row)
{
    const QString type = typeCode(row);
    if (row < 2 || type.isEmpty())
        return false;
    menuRow = row;
    menuType = type;
    const QTableWidgetItem *text = item(row, TextColumn);
    menuText = text ? text->text() : QString();
    return true;
}

QMenu *QMyTableWidget::contextMenuFor(int row)
{
    if (!remember(row))
        return nullptr;
    auto *menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    const bool favourite = menuType == u"1" || menuType == u"3" || menuType == u"5";
    menu->addAction(favourite ? QStringLiteral("Unfavorite") : QStringLiteral("Favorite"), this,
                    &QMyTableWidget::favorite);
    QAction *learnQA = menu->addAction(QStringLiteral("Learn"), this, &QMyTableWidget::learn);
    learnQA->setEnabled(menuType == u"5" || menuType == u"6");
    menu->addAction(QStringLiteral("Remove \"") + menuText + QStringLiteral("\" From Synonyms"),
                    this, &QMyTableWidget::deleteSynonym);
    return menu;
}

void QMyTableWidget::favorite()
{
    if (menuRow >= 0)
        emit favoriteRequested(menuRow);
}

void QMyTableWidget::learn()
{
    if (menuRow >= 0)
        emit learnRequested(menuRow);
}

void QMyTableWidget::deleteSynonym()
{
    if (menuRow >= 0)
        emit deleteRequested(menuRow);
}

void QMyTableWidget::contextMenuEvent(QContextMenuEvent *event)
{
    if (QMenu *menu = contextMenuFor(rowAt(event->pos().y())))
        menu->popup(event->globalPos());
    event->accept();
}

void QMyTableWidget::mousePressEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    const int row = rowAt(pos.y());
    const int column = columnAt(pos.x());
    if (event->button() == Qt::LeftButton && column == StarColumn && remember(row)) {
        favorite();
        event->accept();
        return;
    }
    // The icon columns are not selectable; a click there must not move the current row that
    // the Spin log reads either. A right click only opens the menu: it must not tick the row.
    if (column == CategoryColumn || column == StarColumn || event->button() != Qt::LeftButton) {
        event->accept();
        return;
    }
    QTableWidget::mousePressEvent(event);
}
