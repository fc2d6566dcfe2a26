#include "qjssaveonclose.h"

#include "documentmanager.h"
#include "mytabitem.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

QJSSaveOnClose::QJSSaveOnClose(DocumentManager &documents, QWidget *parent)
    : QDialog(parent), documents(documents)
{
    setWindowTitle(QStringLiteral("Save"));
    setModal(true);
    resize(350, 200);

    table = new QTableWidget(0, 2, this);
    table->setShowGrid(false);
    table->horizontalHeader()->hide();
    table->verticalHeader()->hide();
    table->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    table->setColumnHidden(1, true);
    table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->verticalHeader()->setDefaultSectionSize(17);
    // Keep the selection visible while a button has the focus.
    QPalette pal = table->palette();
    pal.setColor(QPalette::Inactive, QPalette::Highlight,
                 pal.color(QPalette::Active, QPalette::Highlight));
    pal.setColor(QPalette::Inactive, QPalette::HighlightedText,
                 pal.color(QPalette::Active, QPalette::HighlightedText));
    table->setPalette(pal);

    auto *savePB = new QPushButton(QStringLiteral("Save"), this);
    auto *saveAllPB = new QPushButton(QStringLiteral("Save All"), this);
    auto *discardAllPB = new QPushButton(QStringLiteral("Discard All"), this);
    auto *cancelPB = new QPushButton(QStringLiteral("Cancel"), this);
    savePB->setObjectName(QStringLiteral("save"));
    saveAllPB->setObjectName(QStringLiteral("saveAll"));
    discardAllPB->setObjectName(QStringLiteral("discardAll"));
    cancelPB->setObjectName(QStringLiteral("cancel"));
    connect(savePB, &QPushButton::clicked, this, &QJSSaveOnClose::save);
    connect(saveAllPB, &QPushButton::clicked, this, &QJSSaveOnClose::saveAll);
    connect(discardAllPB, &QPushButton::clicked, this, &QJSSaveOnClose::discardAll);
    connect(cancelPB, &QPushButton::clicked, this, &QJSSaveOnClose::cancel);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(savePB);
    buttons->addWidget(saveAllPB);
    buttons->addWidget(discardAllPB);
    buttons->addWidget(cancelPB);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(table);
    layout->addLayout(buttons);
}

int QJSSaveOnClose::collect()
{
    done = false;
    discard = false;
    table->setRowCount(0);
    for (int i = 0; i < documents.count(); ++i) {
        MyTabItem *tab = documents.documentAt(i);
        if (!tab || tab->isSaved())
            continue;
        const QString name =
            tab->getFileName().trimmed().isEmpty() ? tab->getCurrentFile() : tab->getFileName();
        const int row = table->rowCount();
        table->insertRow(row);
        table->setItem(row, 0, new QTableWidgetItem(name));
        table->setItem(row, 1, new QTableWidgetItem(QString::number(i)));
    }
    if (table->rowCount() == 0)
        done = true;
    else
        table->selectRow(0);
    return table->rowCount();
}

void QJSSaveOnClose::save()
{
    QList<int> rows;
    for (const QModelIndex &index : table->selectionModel()->selectedRows())
        rows << index.row();
    std::sort(rows.begin(), rows.end());
    saveRows(rows);
}

void QJSSaveOnClose::saveAll()
{
    QList<int> rows;
    for (int row = 0; row < table->rowCount(); ++row)
        rows << row;
    saveRows(rows);
}

void QJSSaveOnClose::saveRows(const QList<int> &rows)
{
    for (int row : rows) {
        if (table->isRowHidden(row))
            continue;
        const int index = table->item(row, 1)->text().toInt();
        MyTabItem *tab = documents.documentAt(index);
        if (tab && documents.fileSave(tab->getCurrentFile(), tab, index))
            table->setRowHidden(row, true);
    }
    for (int row = 0; row < table->rowCount(); ++row) {
        if (!table->isRowHidden(row)) {
            table->clearSelection();
            table->selectRow(row);
            return;
        }
    }
    done = true;
    accept();
}

void QJSSaveOnClose::discardAll()
{
    discard = true;
    accept();
}

void QJSSaveOnClose::cancel()
{
    accept();
}
