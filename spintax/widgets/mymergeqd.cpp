#include "mymergeqd.h"

#include "spintax/mergedata.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

MyMergeQD::MyMergeQD(const QString &fileName, ExportContext context, QWidget *parent)
    : QDialog(parent), context(std::move(context)),
      mergeData(std::make_shared<const spintax::MergeData>(spintax::MergeData::fromFile(fileName)))
{
    setWindowTitle(QStringLiteral("Data Merge"));
    previewQL = new QLabel(QStringLiteral("Data Preview"), this);
    mergePB = new QPushButton(QStringLiteral("Merge Data With Article"), this);
    mergePB->setObjectName(QStringLiteral("mergePB"));
    previewTW = new QTableWidget(this);
    previewTW->setObjectName(QStringLiteral("previewTW"));
    previewTW->setEditTriggers(QAbstractItemView::NoEditTriggers);

    const QList<QStringList> &records = mergeData->allRecords();
    qsizetype columns = 0;
    for (const QStringList &record : records)
        columns = qMax(columns, record.size());
    previewTW->setColumnCount(int(columns));
    previewTW->setRowCount(mergeData->rowCount());
    previewTW->setHorizontalHeaderLabels(mergeData->titles());
    for (int row = 0; row < mergeData->rowCount(); ++row) {
        const QStringList values = mergeData->row(row);
        for (int column = 0; column < values.size(); ++column)
            previewTW->setItem(row, column, new QTableWidgetItem(values.at(column)));
    }

    auto *topHBL = new QHBoxLayout;
    topHBL->addWidget(previewQL);
    topHBL->addStretch(1);
    topHBL->addWidget(mergePB);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(topHBL);
    layout->addWidget(previewTW, 1);
    resize(500, 300);

    connect(mergePB, &QPushButton::clicked, this, &MyMergeQD::merge);
}

MyMergeQD::~MyMergeQD() = default;

QString MyMergeQD::getMerged(const QString &text, int k) const
{
    return mergeData->getMerged(text, k);
}

Gen2D *MyMergeQD::merge(bool)
{
    auto *dialog = new Gen2D(context, mergeData, parentWidget());
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->show();
    hide();
    return dialog;
}
