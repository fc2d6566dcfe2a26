#pragma once

#include "gen2d.h"

#include <QDialog>

#include <memory>

class QLabel;
class QPushButton;
class QTableWidget;

namespace spintax {
class MergeData;
}

// "Data Preview" of a CSV file loaded for a data merge. "Merge Data With Article" opens the
// export dialog in merge mode: one copy per data row, its values in place of the
// placeholders "[column title]".
class MyMergeQD final : public QDialog
{
    Q_OBJECT
public:
    MyMergeQD(const QString &fileName, ExportContext context, QWidget *parent = nullptr);
    ~MyMergeQD() override;

    std::shared_ptr<const spintax::MergeData> data() const { return mergeData; }
    QString getMerged(const QString &text, int k) const;

    QLabel *previewQL = nullptr;
    QPushButton *mergePB = nullptr;
    QTableWidget *previewTW = nullptr;

public slots:
    // Creates and shows the export dialog in merge mode and hides this one.
    Gen2D *merge(bool checked = false);

private:
    ExportContext context;
    std::shared_ptr<const spintax::MergeData> mergeData;
};
