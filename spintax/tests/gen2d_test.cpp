#include "testsupport/testsupport.h"
#include "spintax/widgets/gen2d.h"
#include "spintax/generator.h"
#include "spintax/generatorcopysource.h"
#include "spintax/widgets/mymergeqd.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QStandardPaths>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

Qt::ItemFlags flagsOf(const Gen2D &dialog, int row, int column)
{
    return dialog.typeTW->item(row, column)->flags();
}

bool editable(const Gen2D &dialog, int row, int column)
{
    const Qt::ItemFlags f = flagsOf(dialog, row, column);
    return f.testFlag(Qt::ItemIsEnabled) && f.testFlag(Qt::ItemIsEditable);
}

QString cellText(const Gen2D &dialog, int row, int column)
{
    return dialog.typeTW->item(row, column)->text();
}

bool ticked(const Gen2D &dialog, int row, int column)
{
    return dialog.typeTW->item(row, column)->checkState() == Qt::Checked;
}

// The message a finished export leaves behind, closed after reading.
QString takeResultMessage()
{
    QString text;
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (auto *box = qobject_cast<QMessageBox *>(w); box && box->isVisible()) {
            text = box->text();
            box->close();
        }
    }
    return text;
}

} // namespace

class Gen2DTest final : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void defaults();
    void restoresSettings();
    void separatorFollowsSingleFile();
    void exportWritesFilesAndSettings();
    void failedExportKeepsSettings();
    void emptyPathAsksForFolder();
    void mergeMode();
    void headersAreReadable();
    void copyCount_data();
    void copyCount();
    void moreCopiesThanExistAreAnnounced();
    void flatCounterFollowsTheMainArticleAfterAnExport();

private:
    ExportContext context(const QString &article);

    spintax::Generator generator;
    QString articleText;
};

void Gen2DTest::initTestCase()
{
    generator.setSeed(3);
}

void Gen2DTest::init()
{
    QSettings().clear();
}

ExportContext Gen2DTest::context(const QString &article)
{
    articleText = article;
    return {[this] { return articleText; },
            [this](const QString &text) {
                return std::make_unique<spintax::GeneratorCopySource>(generator, text);
            }};
}

void Gen2DTest::defaults()
{
    Gen2D dialog(context({}));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Export"));
    QVERIFY(dialog.isModal());
    QCOMPARE(dialog.height(), 200);
    QVERIFY(dialog.width() >= 715);
    QCOMPARE(dialog.pathLE->text(), QString());
    QCOMPARE(dialog.pathLE->placeholderText(), QStringLiteral("Browse for folder"));
    QCOMPARE(dialog.zipCB->text(), QStringLiteral("Store all files in a single Zip file"));
    QVERIFY(!dialog.zipCB->isChecked());
    QVERIFY(dialog.typeTW->verticalHeader()->isHidden());
    QStringList headers;
    for (int c = 0; c < dialog.typeTW->columnCount(); ++c)
        headers << dialog.typeTW->horizontalHeaderItem(c)->text();
    QCOMPARE(headers, QStringList({"", "Document Type", "Type of copy",
                                   "Article Separator( for single file )", "Article Name",
                                   "Number of Copies"}));
    QCOMPARE(QStringList({cellText(dialog, 0, 1), cellText(dialog, 1, 1), cellText(dialog, 0, 2)}),
             QStringList({"Plain Text", "HTML (.html)", "Single File"}));
    QVERIFY(!editable(dialog, 0, 1));
    QCOMPARE(QList<bool>({ticked(dialog, 0, 0), ticked(dialog, 1, 0), ticked(dialog, 0, 2),
                          ticked(dialog, 1, 2)}),
             QList<bool>({true, true, false, false}));
    QCOMPARE(QList<bool>({editable(dialog, 0, 3), editable(dialog, 1, 3), editable(dialog, 0, 5)}),
             QList<bool>({false, false, true}));
}

void Gen2DTest::restoresSettings()
{
    {
        QSettings s;
        s.setValue("path", "/some/where");
        s.setValue("zip", "TRUE");
        s.setValue("plainChecked", "false");
        s.setValue("htmlhtmlChecked", "yes"); // only "true" counts as true
        s.setValue("singlePlainChecked", "false");
        s.setValue("singleHtmlhtmlChecked", "True");
        s.setValue("plainSeparator", "--");
        s.setValue("htmlhtmlSeparator", "<hr>");
        s.setValue("plainPrefix", "post");
        s.setValue("htmlhtmlPrefix", "page");
        s.setValue("plainCount", "12");
        s.setValue("htmlhtmlCount", "x");
    }
    Gen2D dialog(context({}));
    QCOMPARE(dialog.pathLE->text(), QStringLiteral("/some/where"));
    QVERIFY(dialog.zipCB->isChecked());
    QCOMPARE(QList<bool>({ticked(dialog, 0, 0), ticked(dialog, 1, 0), ticked(dialog, 0, 2),
                          ticked(dialog, 1, 2)}),
             QList<bool>({false, false, false, true}));
    QCOMPARE(QStringList({cellText(dialog, 0, 3), cellText(dialog, 1, 3), cellText(dialog, 0, 4),
                          cellText(dialog, 1, 4), cellText(dialog, 0, 5), cellText(dialog, 1, 5)}),
             QStringList({"--", "<hr>", "post", "page", "12", "x"}));
    QCOMPARE(QList<bool>({editable(dialog, 0, 3), editable(dialog, 1, 3)}),
             QList<bool>({false, true}));
}

void Gen2DTest::separatorFollowsSingleFile()
{
    Gen2D dialog(context({}));
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTableWidget *table = dialog.typeTW;
    // A click on the box of the "Single File" cell ticks it.
    const QRect box = table->visualItemRect(table->item(0, 2));
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {},
                      box.topLeft() + QPoint(8, box.height() / 2));
    QVERIFY(ticked(dialog, 0, 2));
    QCOMPARE(QList<bool>({editable(dialog, 0, 3), editable(dialog, 1, 3)}),
             QList<bool>({true, false}));
    table->item(1, 2)->setCheckState(Qt::Checked);
    table->item(0, 2)->setCheckState(Qt::Unchecked);
    QCOMPARE(QList<bool>({editable(dialog, 0, 3), editable(dialog, 1, 3)}),
             QList<bool>({false, true}));
}

void Gen2DTest::exportWritesFilesAndSettings()
{
    QTemporaryDir out;
    Gen2D dialog(context(QStringLiteral("  {a|b} {c|d}\n")));
    dialog.show();
    dialog.pathLE->setText(out.path());
    dialog.typeTW->item(0, 4)->setText(QStringLiteral("post"));
    dialog.typeTW->item(0, 5)->setText(QStringLiteral("3"));
    dialog.typeTW->item(1, 2)->setCheckState(Qt::Checked);
    dialog.typeTW->item(1, 3)->setText(QStringLiteral("<hr>"));
    dialog.typeTW->item(1, 5)->setText(QStringLiteral("2"));
    QTest::mouseClick(dialog.exportPB, Qt::LeftButton);

    QVERIFY(dialog.isHidden());
    const QStringList folders = QDir(out.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    QCOMPARE(folders.size(), 1);
    QVERIFY2(QRegularExpression("^\\d{8}_\\d{9}$").match(folders.first()).hasMatch(),
             qPrintable(folders.first()));
    const QString folder = out.path() + u'/' + folders.first();
    QCOMPARE(QDir(folder).entryList(QDir::Files, QDir::Name),
             QStringList({"article.html", "post1.txt", "post2.txt", "post3.txt"}));
    QFile first(folder + "/post1.txt");
    QVERIFY(first.open(QIODevice::ReadOnly));
    QCOMPARE(first.readAll(), QByteArray("\xEF\xBB\xBF"
                                         "a c"));
    QVERIFY(takeResultMessage().contains(QDir::toNativeSeparators(folder)));

    QSettings s;
    QCOMPARE(QStringList(
                 {s.value("path").toString(), s.value("zip").toString(),
                  s.value("plainChecked").toString(), s.value("singleHtmlhtmlChecked").toString(),
                  s.value("htmlhtmlSeparator").toString(), s.value("plainPrefix").toString(),
                  s.value("plainCount").toString(), s.value("htmlhtmlCount").toString()}),
             QStringList({out.path(), "false", "true", "true", "<hr>", "post", "3", "2"}));
}

void Gen2DTest::failedExportKeepsSettings()
{
    QTemporaryDir out;
    const QString blocker = out.filePath(QStringLiteral("file"));
    QFile f(blocker);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.close();
    Gen2D dialog(context(QStringLiteral("{a|b}")));
    dialog.pathLE->setText(blocker);
    dialog.typeTW->item(0, 5)->setText(QStringLiteral("2"));
    dialog.typeTW->item(1, 5)->setText(QStringLiteral("7"));
    QString warning;
    testsupport::answerLater<QMessageBox>([&warning](QMessageBox *box) {
        warning = box->text();
        box->button(QMessageBox::Ok)->click();
    });
    dialog.export2();
    QCOMPARE(warning, QStringLiteral("Only 2 distinct copies are possible; 5 copies will repeat."));
    const QString message = takeResultMessage();
    QVERIFY2(message.contains(QDir::toNativeSeparators(blocker)), qPrintable(message));
    QSettings s;
    QCOMPARE(QStringList({s.value("path").toString(), s.value("htmlhtmlCount").toString()}),
             QStringList({blocker, "7"}));
}

void Gen2DTest::emptyPathAsksForFolder()
{
    Gen2D dialog(context(QStringLiteral("{a|b}")));
    dialog.show();
    dialog.typeTW->item(0, 5)->setText(QStringLiteral("2"));
    QString chooserTitle;
    QTimer::singleShot(0, this, [&chooserTitle] {
        if (auto *chooser = qobject_cast<QFileDialog *>(QApplication::activeModalWidget())) {
            chooserTitle = chooser->windowTitle();
            chooser->reject();
        }
    });
    dialog.export2();
    QCOMPARE(chooserTitle, QStringLiteral("Select Export Path"));
    // Nothing was exported and nothing saved: the dialog waits for a folder.
    QVERIFY(dialog.isVisible());
    QVERIFY(!QSettings().contains("plainCount"));
}

void Gen2DTest::mergeMode()
{
    QTemporaryDir dir;
    const QString csv = dir.filePath(QStringLiteral("people.csv"));
    QFile file(csv);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("name,city\nAnn,Rome\nBob,\"Oslo, Norway\"\nCy,Lima\n");
    file.close();
    QSettings().setValue("plainCount", "99");

    MyMergeQD mergeDialog(csv, context(QStringLiteral("{Hi|Hello} [name] of [city]")));
    mergeDialog.show();
    QCOMPARE(mergeDialog.size(), QSize(500, 300));
    QCOMPARE(mergeDialog.previewQL->text(), QStringLiteral("Data Preview"));
    QCOMPARE(mergeDialog.mergePB->text(), QStringLiteral("Merge Data With Article"));
    QTableWidget *preview = mergeDialog.previewTW;
    QCOMPARE(preview->editTriggers(), QAbstractItemView::NoEditTriggers);
    QCOMPARE(QStringList({preview->horizontalHeaderItem(0)->text(),
                          preview->horizontalHeaderItem(1)->text()}),
             QStringList({"name", "city"}));
    QCOMPARE(preview->rowCount(), 3);
    QCOMPARE(preview->item(1, 1)->text(), QStringLiteral("Oslo, Norway"));
    QCOMPARE(mergeDialog.getMerged(QStringLiteral("[name] in [city]"), 2),
             QStringLiteral("Cy in Lima"));

    QPointer<Gen2D> exportDialog = mergeDialog.merge();
    QVERIFY(exportDialog);
    QVERIFY(exportDialog->isVisible());
    QVERIFY(mergeDialog.isHidden());
    QCOMPARE(QStringList({cellText(*exportDialog, 0, 5), cellText(*exportDialog, 1, 5)}),
             QStringList({"3", "3"}));
    QCOMPARE(QList<bool>({editable(*exportDialog, 0, 5), editable(*exportDialog, 1, 5)}),
             QList<bool>({false, false}));

    QTemporaryDir out;
    exportDialog->pathLE->setText(out.path());
    exportDialog->typeTW->item(1, 0)->setCheckState(Qt::Unchecked);
    exportDialog->export2();
    takeResultMessage();
    QTRY_VERIFY(exportDialog.isNull()); // deleted once closed
    const QString folder =
        out.path() + u'/' + QDir(out.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot).value(0);
    QStringList copies;
    for (const QString &name : QDir(folder).entryList(QDir::Files, QDir::Name)) {
        QFile copy(folder + u'/' + name);
        QVERIFY(copy.open(QIODevice::ReadOnly));
        copies << QString::fromUtf8(copy.readAll().mid(3));
    }
    QCOMPARE(copies, QStringList({"Hi Ann of Rome", "Hello Bob of Oslo, Norway", copies.value(2)}));
    QVERIFY(copies.value(2).endsWith(QStringLiteral(" Cy of Lima")));
}

void Gen2DTest::headersAreReadable()
{
    Gen2D dialog(context(QStringLiteral("{a|b}")));
    dialog.show();
    QHeaderView *header = dialog.typeTW->horizontalHeader();
    const QFontMetrics metrics(header->font());
    for (int c = 1; c < dialog.typeTW->columnCount(); ++c) {
        const QString text = dialog.typeTW->horizontalHeaderItem(c)->text();
        QVERIFY2(header->sectionSize(c) >= metrics.horizontalAdvance(text), qPrintable(text));
    }
    QVERIFY2(header->length() <= dialog.typeTW->viewport()->width(),
             "the columns do not fit the dialog");
}

void Gen2DTest::copyCount_data()
{
    QTest::addColumn<QString>("article");
    QTest::addColumn<QString>("shown");
    QTest::newRow("no groups: one copy") << "plain text"
                                         << "Distinct copies possible: 1";
    QTest::newRow("groups multiply") << "{a|b|c} and {x|y|z}"
                                     << "Distinct copies possible: 9";
    // 2^64 and more saturate: shown as a bound, never as a wrong exact number.
    QTest::newRow("huge") << QString("{a|b} ").repeated(70)
                          << "Distinct copies possible: more than 10^18";
}

void Gen2DTest::copyCount()
{
    QFETCH(QString, article);
    QFETCH(QString, shown);
    Gen2D dialog(context(article));
    QCOMPARE(dialog.copiesQL->text(), shown);
}

void Gen2DTest::moreCopiesThanExistAreAnnounced()
{
    QCOMPARE(Gen2D::repeatWarning(9, 10),
             QStringLiteral("Only 9 distinct copies are possible; 1 copy will repeat."));
    QCOMPARE(Gen2D::repeatWarning(1, 3),
             QStringLiteral("Only 1 distinct copy is possible; 2 copies will repeat."));
    QVERIFY(Gen2D::repeatWarning(9, 9).isEmpty());

    // Cancelling the warning exports nothing.
    QTemporaryDir out;
    Gen2D dialog(context(QStringLiteral("{a|b|c} and {x|y|z}")));
    dialog.show();
    dialog.pathLE->setText(out.path());
    dialog.typeTW->item(0, 5)->setText(QStringLiteral("10"));
    dialog.typeTW->item(1, 0)->setCheckState(Qt::Unchecked);
    QString warning;
    testsupport::answerLater<QMessageBox>([&warning](QMessageBox *box) {
        warning = box->text();
        box->button(QMessageBox::Cancel)->click();
    });
    dialog.export2();
    QCOMPARE(warning, QStringLiteral("Only 9 distinct copies are possible; 1 copy will repeat."));
    QVERIFY(QDir(out.path()).isEmpty());
    QVERIFY(dialog.isVisible());
}

// The export borrows the generator: afterwards its sequential counter follows the editor's
// text again, not the exported article.
void Gen2DTest::flatCounterFollowsTheMainArticleAfterAnExport()
{
    QTemporaryDir out;
    {
        Gen2D dialog(context(QStringLiteral("{a|b}")));
        dialog.pathLE->setText(out.path());
        dialog.typeTW->item(0, 5)->setText(QStringLiteral("2"));
        dialog.typeTW->item(1, 0)->setCheckState(Qt::Unchecked);
        dialog.export2();
        takeResultMessage();
    }
    generator.spinSingle(QStringLiteral("{x|y|z} and {p|q|r}"), false);
    QCOMPARE(generator.countSmall(), 3);
}

REWORDIX_TEST_MAIN(Gen2DTest)
#include "gen2d_test.moc"
