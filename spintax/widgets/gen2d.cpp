#include "gen2d.h"

#include "spintax/generator.h"

#include "spintax/bulkexporter.h"
#include "spintax/copysource.h"
#include "spintax/mergedata.h"
#include "storage/settingsstore.h"

#include <QCheckBox>
#include <QDateTime>
#include <QDesktopServices>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QTableWidget>
#include <QTextEdit>
#include <QUrl>
#include <QVBoxLayout>

namespace {

// Settings keys of the two rows.
struct RowKeys
{
    QLatin1StringView checked, single, separator, prefix, count;
};
constexpr RowKeys rowKeys[2] = {
    {storage::keys::plainChecked, storage::keys::singlePlainChecked, storage::keys::plainSeparator,
     storage::keys::plainPrefix, storage::keys::plainCount},
    {storage::keys::htmlhtmlChecked, storage::keys::singleHtmlhtmlChecked,
     storage::keys::htmlhtmlSeparator, storage::keys::htmlhtmlPrefix, storage::keys::htmlhtmlCount},
};

} // namespace

Gen2D::Gen2D(ExportContext context, std::shared_ptr<const spintax::MergeData> merge,
             QWidget *parent)
    : QDialog(parent), context(std::move(context)), merge(std::move(merge))
{
    setModal(true);
    setWindowTitle(QStringLiteral("Export"));

    auto *pathHBL = new QHBoxLayout;
    pathHBL->addWidget(new QLabel(QStringLiteral("Export Path: "), this));
    pathLE = new QLineEdit(this);
    pathLE->setObjectName(QStringLiteral("pathLE"));
    pathLE->setPlaceholderText(QStringLiteral("Browse for folder"));
    pathHBL->addWidget(pathLE, 1);
    browsePB = new QPushButton(QStringLiteral("Browse..."), this);
    browsePB->setObjectName(QStringLiteral("browsePB"));
    pathHBL->addWidget(browsePB);

    zipCB = new QCheckBox(QStringLiteral("Store all files in a single Zip file"), this);
    zipCB->setObjectName(QStringLiteral("zipCB"));

    typeTW = new QTableWidget(2, 6, this);
    typeTW->setObjectName(QStringLiteral("typeTW"));
    typeTW->verticalHeader()->hide();
    typeTW->setHorizontalHeaderLabels(
        {QString(), QStringLiteral("Document Type"), QStringLiteral("Type of copy"),
         QStringLiteral("Article Separator( for single file )"), QStringLiteral("Article Name"),
         QStringLiteral("Number of Copies")});
    typeTW->setColumnWidth(TypeColumn, 20);
    // Every header is shown in full: the columns take their texts' width.
    typeTW->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    typeTW->horizontalHeader()->setSectionResizeMode(TypeColumn, QHeaderView::Fixed);
    const QString typeNames[2] = {QStringLiteral("Plain Text"), QStringLiteral("HTML (.html)")};
    for (int row = 0; row < 2; ++row) {
        auto *box = new QTableWidgetItem;
        box->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        typeTW->setItem(row, TypeColumn, box);
        auto *name = new QTableWidgetItem(typeNames[row]);
        name->setFlags(Qt::ItemIsEnabled);
        typeTW->setItem(row, NameColumn, name);
        auto *single = new QTableWidgetItem(QStringLiteral("Single File"));
        single->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        typeTW->setItem(row, SingleColumn, single);
        for (int column : {SeparatorColumn, PrefixColumn, CountColumn})
            typeTW->setItem(row, column, new QTableWidgetItem);
    }

    exportPB = new QPushButton(QStringLiteral("Export"), this);
    exportPB->setObjectName(QStringLiteral("exportPB"));
    exportPB->setDefault(true);
    cancelPB = new QPushButton(QStringLiteral("Cancel"), this);
    cancelPB->setObjectName(QStringLiteral("cancelPB"));
    auto *bottomHBL = new QHBoxLayout;
    bottomHBL->addStretch(1);
    bottomHBL->addWidget(exportPB);
    bottomHBL->addWidget(cancelPB);

    copiesQL = new QLabel(this);
    copiesQL->setObjectName(QStringLiteral("copiesQL"));

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(pathHBL);
    layout->addWidget(zipCB);
    layout->addWidget(typeTW, 1);
    layout->addWidget(copiesQL);
    layout->addLayout(bottomHBL);
    // Wide enough for the whole table, headers included, without a horizontal scroll bar.
    const int tableWidth = typeTW->horizontalHeader()->length() + 2 * typeTW->frameWidth() +
                           layout->contentsMargins().left() + layout->contentsMargins().right();
    resize(qMax(715, tableWidth), 200);
    showCopyCount(this->context.mainArticle ? this->context.mainArticle() : QString());

    restoreSettings();
    if (this->merge) {
        const QString rows = QString::number(this->merge->rowCount());
        for (int row = 0; row < 2; ++row) {
            cell(row, CountColumn)->setText(rows);
            cell(row, CountColumn)->setFlags(Qt::ItemIsEnabled);
        }
    }
    updateSeparatorCells();

    // Any change of a "Single File" box, by mouse or keyboard, updates its separator cell.
    connect(typeTW, &QTableWidget::itemChanged, this, [this](QTableWidgetItem *item) {
        if (item->column() == SingleColumn)
            updateSeparatorCells();
    });
    connect(browsePB, &QPushButton::clicked, this, &Gen2D::browse);
    connect(exportPB, &QPushButton::clicked, this, &Gen2D::export_);
    connect(cancelPB, &QPushButton::clicked, this, &QDialog::reject);
}

Gen2D::~Gen2D() = default;

QTableWidgetItem *Gen2D::cell(int row, int column) const
{
    return typeTW->item(row, column);
}

QString Gen2D::copyCountText(quint64 count)
{
    constexpr quint64 huge = 1'000'000'000'000'000'000ULL;
    return count >= huge ? QStringLiteral("more than 10^18") : QString::number(count);
}

QString Gen2D::repeatWarning(quint64 reachable, qint64 requested)
{
    if (requested <= 0 || quint64(requested) <= reachable)
        return {};
    const qint64 repeats = requested - qint64(reachable);
    const QString possible =
        reachable == 1
            ? QStringLiteral("Only 1 distinct copy is possible")
            : QStringLiteral("Only %1 distinct copies are possible").arg(copyCountText(reachable));
    const QString repeat = repeats == 1 ? QStringLiteral("1 copy will repeat.")
                                        : QStringLiteral("%1 copies will repeat.").arg(repeats);
    return possible + QStringLiteral("; ") + repeat;
}

void Gen2D::showCopyCount(const QString &text)
{
    copiesQL->setText(QStringLiteral("Distinct copies possible: ") +
                      copyCountText(spintax::reachableCombinations(text.trimmed())));
}

void Gen2D::restoreSettings()
{
    pathLE->setText(storage::value(storage::keys::path).toString());
    zipCB->setChecked(storage::flag(storage::keys::zip));
    for (int row = 0; row < 2; ++row) {
        const RowKeys &keys = rowKeys[row];
        cell(row, TypeColumn)
            ->setCheckState(storage::flag(keys.checked) ? Qt::Checked : Qt::Unchecked);
        cell(row, SingleColumn)
            ->setCheckState(storage::flag(keys.single) ? Qt::Checked : Qt::Unchecked);
        cell(row, SeparatorColumn)->setText(storage::value(keys.separator).toString());
        cell(row, PrefixColumn)->setText(storage::value(keys.prefix).toString());
        cell(row, CountColumn)->setText(storage::value(keys.count).toString());
    }
}

void Gen2D::saveSettings() const
{
    storage::setValue(storage::keys::path, pathLE->text());
    storage::setFlag(storage::keys::zip, zipCB->isChecked());
    for (int row = 0; row < 2; ++row) {
        const RowKeys &keys = rowKeys[row];
        storage::setFlag(keys.checked, cell(row, TypeColumn)->checkState() == Qt::Checked);
        storage::setFlag(keys.single, cell(row, SingleColumn)->checkState() == Qt::Checked);
        storage::setValue(keys.separator, cell(row, SeparatorColumn)->text());
        storage::setValue(keys.prefix, cell(row, PrefixColumn)->text());
        storage::setValue(keys.count, cell(row, CountColumn)->text());
    }
}

void Gen2D::updateSeparatorCells()
{
    for (int row = 0; row < 2; ++row) {
        const bool single = cell(row, SingleColumn)->checkState() == Qt::Checked;
        cell(row, SeparatorColumn)
            ->setFlags(single ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable
                              : Qt::NoItemFlags);
    }
}

void Gen2D::browse(bool)
{
    const QString folder = QFileDialog::getExistingDirectory(
        this, QStringLiteral("Select Export Path"), pathLE->text());
    if (!folder.isEmpty())
        pathLE->setText(QDir::toNativeSeparators(folder));
}

void Gen2D::export_(bool)
{
    export2(nullptr);
}

void Gen2D::export2(QTextEdit *editor)
{
    // An empty path would put the export at the root of the drive: ask for a folder first.
    if (pathLE->text().trimmed().isEmpty()) {
        browse();
        if (pathLE->text().trimmed().isEmpty())
            return;
    }
    article = editor ? editor->toPlainText() : context.mainArticle();

    spintax::ExportTypeOptions rows[2];
    for (int row = 0; row < 2; ++row)
        rows[row] = spintax::BulkExporter::typeOptions(
            cell(row, TypeColumn)->checkState() == Qt::Checked, cell(row, CountColumn)->text(),
            cell(row, SingleColumn)->checkState() == Qt::Checked,
            cell(row, SeparatorColumn)->text(), cell(row, PrefixColumn)->text());
    // Asking for more copies than the article has is allowed, but said first. In merge mode
    // each copy gets its own data row, so repeats of the text are expected.
    if (!merge) {
        qint64 requested = 0;
        for (const spintax::ExportTypeOptions &row : rows)
            requested = qMax<qint64>(requested, row.count);
        const QString warning =
            repeatWarning(spintax::reachableCombinations(article.trimmed()), requested);
        if (!warning.isEmpty() && QMessageBox::warning(this, QStringLiteral("Export"), warning,
                                                       QMessageBox::Ok | QMessageBox::Cancel,
                                                       QMessageBox::Ok) != QMessageBox::Ok)
            return;
    }
    const QString target = spintax::BulkExporter::exportTarget(
        QDir::fromNativeSeparators(pathLE->text().trimmed()), QDateTime::currentDateTimeUtc());
    gen(zipCB->isChecked(), target, rows[PlainRow].single, rows[PlainRow].count,
        rows[PlainRow].separator, rows[PlainRow].name, rows[HtmlRow].single, rows[HtmlRow].count,
        rows[HtmlRow].separator, rows[HtmlRow].name);
}

spintax::ExportResult Gen2D::gen(bool zip, const QString &target, bool singlePlain, int plainCount,
                                 const QString &plainSeparator, const QString &plainName,
                                 bool singleHtml, int htmlCount, const QString &htmlSeparator,
                                 const QString &htmlName)
{
    spintax::ExportOptions options;
    options.zip = zip;
    options.target = target;
    options.plain = {plainCount, singlePlain, plainSeparator, plainName};
    options.html = {htmlCount, singleHtml, htmlSeparator, htmlName};

    std::unique_ptr<spintax::CopySource> source = context.sourceFor(article.trimmed());
    spintax::BulkExporter exporter(*source, merge.get());

    QProgressDialog progressDialog(QStringLiteral("Exporting copies..."), QStringLiteral("Cancel"),
                                   0, 1000, this);
    progressDialog.setWindowTitle(QStringLiteral("Export"));
    progressDialog.setWindowModality(Qt::WindowModal);
    progressDialog.setMinimumDuration(500);
    progressDialog.setAutoClose(false);
    progressDialog.setAutoReset(false);
    QElapsedTimer sinceUpdate;
    sinceUpdate.start();
    exporter.setProgress([&](qint64 done, qint64 total) {
        // Redrawing for every copy would cost more than the copies; a few times a second is
        // enough for the bar and for Cancel to be noticed.
        if (sinceUpdate.elapsed() >= 50) {
            sinceUpdate.restart();
            progressDialog.setValue(int(done * 1000 / qMax<qint64>(1, total)));
        }
        return !progressDialog.wasCanceled();
    });
    spintax::ExportResult result = exporter.gen(options);
    progressDialog.close();

    // The settings are kept whatever happened to the files.
    saveSettings();
    // The next use of the generator starts a fresh batch.
    source->reset();
    showResult(result);
    done(QDialog::Accepted);
    return result;
}

void Gen2D::showResult(const spintax::ExportResult &result)
{
    // Shown without waiting: the dialog is gone by the time the user reads it.
    auto *box = new QMessageBox(parentWidget());
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowTitle(QStringLiteral("Rewordix"));
    const QString where = QDir::toNativeSeparators(result.path);
    switch (result.status) {
    case spintax::ExportResult::Status::Done:
        box->setIcon(QMessageBox::Information);
        box->setText(QStringLiteral("Export finished:\n%1").arg(where));
        break;
    case spintax::ExportResult::Status::Cancelled:
        box->setIcon(QMessageBox::Information);
        box->setText(result.path.isEmpty()
                         ? QStringLiteral("Export cancelled: no archive was written.")
                         : QStringLiteral("Export cancelled. The files written so far are in:\n%1")
                               .arg(where));
        break;
    case spintax::ExportResult::Status::Failed:
        box->setIcon(QMessageBox::Warning);
        box->setText(QStringLiteral("Export stopped.\n%1").arg(result.error));
        break;
    }
    box->setEscapeButton(box->addButton(QMessageBox::Ok));
    if (!result.path.isEmpty() && QFileInfo::exists(result.path)) {
        // An archive is shown in the folder that holds it.
        const QFileInfo info(result.path);
        const QString folder = info.isDir() ? info.absoluteFilePath() : info.absolutePath();
        QPushButton *openPB =
            box->addButton(QStringLiteral("Open Folder"), QMessageBox::ActionRole);
        connect(openPB, &QPushButton::clicked, box,
                [folder] { QDesktopServices::openUrl(QUrl::fromLocalFile(folder)); });
    }
    box->setObjectName(QStringLiteral("exportResultBox"));
    box->open();
}
