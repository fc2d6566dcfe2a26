#pragma once

#include <QDialog>

#include <functional>
#include <memory>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;
class QTableWidgetItem;
class QTextEdit;

namespace spintax {
class CopySource;
class MergeData;
struct ExportResult;
} // namespace spintax

// What the export dialogs need from the main window.
struct ExportContext
{
    // The main editor's plain text, exported when no other editor is given.
    std::function<QString()> mainArticle;
    // The copy source for one article: the main window's generator.
    std::function<std::unique_ptr<spintax::CopySource>(const QString &article)> sourceFor;
};

// The bulk export dialog "Export": writes many spun copies of an article as plain-text and
// HTML files, one per copy or one per type, into a new time-stamped folder or a ZIP archive.
// Its fields are restored from the settings when it is created and saved after every export.
// In merge mode both copy counts are the number of data rows and cannot be edited; copy k of
// each type gets the values of data row k.
class Gen2D final : public QDialog
{
    Q_OBJECT
public:
    enum Row
    {
        PlainRow = 0,
        HtmlRow = 1
    };
    enum Column
    {
        TypeColumn = 0,
        NameColumn = 1,
        SingleColumn = 2,
        SeparatorColumn = 3,
        PrefixColumn = 4,
        CountColumn = 5
    };

    explicit Gen2D(ExportContext context, std::shared_ptr<const spintax::MergeData> merge = {},
                   QWidget *parent = nullptr);
    ~Gen2D() override;

    // Writes the copies and returns what happened; the result is also shown in a message.
    spintax::ExportResult gen(bool zip, const QString &target, bool singlePlain, int plainCount,
                              const QString &plainSeparator, const QString &plainName,
                              bool singleHtml, int htmlCount, const QString &htmlSeparator,
                              const QString &htmlName);

    QLineEdit *pathLE = nullptr;
    QPushButton *browsePB = nullptr;
    QCheckBox *zipCB = nullptr;
    QTableWidget *typeTW = nullptr;
    QLabel *copiesQL = nullptr; // how many distinct copies the article allows
    QPushButton *exportPB = nullptr;
    QPushButton *cancelPB = nullptr;

    // "9", or "more than 10^18" for counts too large to be worth spelling out.
    static QString copyCountText(quint64 count);
    // The warning shown before an export that asks for more copies than exist; empty when
    // `requested` copies can all be distinct.
    static QString repeatWarning(quint64 reachable, qint64 requested);

public slots:
    void export_(bool checked = false);
    // Exports the given editor's article, or the main editor's when none is given.
    void export2(QTextEdit *editor = nullptr);
    void browse(bool checked = false);

private:
    void restoreSettings();
    void saveSettings() const;
    void updateSeparatorCells();
    void showResult(const spintax::ExportResult &result);
    void showCopyCount(const QString &text);
    QTableWidgetItem *cell(int row, int column) const;

    ExportContext context;
    std::shared_ptr<const spintax::MergeData> merge;
    QString article;
};
