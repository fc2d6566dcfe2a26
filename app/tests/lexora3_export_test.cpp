// "&Export" and "Load Data From File" of the main window on the offscreen platform: the
// dialogs they open, the article and generator they export with, the guard flags.

#include "testsupport/testsupport.h"
#include "windowparts.h"

#include "spintax/widgets/gen2d.h"
#include "app/lexora3.h"
#include "spintax/widgets/mymergeqd.h"
#include "app/qmytextedit.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QSettings>
#include <QTableWidget>

#include <memory>

namespace {

std::unique_ptr<Lexora3> startWindow()
{
    auto w = std::make_unique<Lexora3>(nullptr, 1.191, false);
    w->show();
    w->show2();
    return w;
}

QList<Gen2D *> exportDialogs(const Lexora3 &w)
{
    return w.findChildren<Gen2D *>();
}

void closeMessages()
{
    for (QWidget *top : QApplication::topLevelWidgets())
        if (auto *box = qobject_cast<QMessageBox *>(top); box && box->isVisible())
            box->close();
}

// File contents of the one export folder under `root`, BOM dropped, in name order.
QStringList exported(const QString &root)
{
    const QString folder =
        root + u'/' + QDir(root).entryList(QDir::Dirs | QDir::NoDotAndDotDot).value(0);
    QStringList out;
    for (const QString &name : QDir(folder).entryList(QDir::Files, QDir::Name)) {
        QFile file(folder + u'/' + name);
        file.open(QIODevice::ReadOnly);
        out << name + QStringLiteral(": ") + QString::fromUtf8(file.readAll().mid(3));
    }
    return out;
}

} // namespace

class Lexora3ExportTest final : public QObject
{
    Q_OBJECT

private slots:
    void init() { QSettings().clear(); }

    void exportActionOpensTheDialogOnTheMainArticle()
    {
        auto w = startWindow();
        parts::textEdit(*w)->setPlainText(QStringLiteral("{red|blue} sky\n"));
        QSettings().setValue("plainCount", "2");
        QSettings().setValue("htmlhtmlChecked", "false");

        parts::action(*w, AppActions::Export)->trigger();
        const QList<Gen2D *> dialogs = exportDialogs(*w);
        QCOMPARE(dialogs.size(), 1);
        QPointer<Gen2D> dialog = dialogs.first();
        QVERIFY(dialog->isVisible());
        QVERIFY(dialog->isModal());
        QCOMPARE(dialog->typeTW->item(0, 5)->text(), QStringLiteral("2"));
        QCOMPARE(QList<bool>({w->guardFlags().value(GuardFlags::AllowChanges),
                              w->guardFlags().value(GuardFlags::AllowRapidChanges),
                              w->guardFlags().value(GuardFlags::AllowSenChanges)}),
                 QList<bool>({true, true, true}));

        QTemporaryDir out;
        dialog->pathLE->setText(out.path());
        dialog->export2();
        closeMessages();
        QTRY_VERIFY(dialog.isNull());
        QCOMPARE(exported(out.path()),
                 QStringList({"article1.txt: red sky", "article2.txt: blue sky"}));
        // The generator is left for a fresh batch.
        QCOMPARE(w->spinGenerator().idx(), 0);
        QVERIFY(!w->spinGenerator().hasRandom());
    }

    void loadDataOpensTheMergeDialog()
    {
        QTemporaryDir dir;
        const QString csv = dir.filePath(QStringLiteral("people.csv"));
        QFile file(csv);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("who\nAnn\nBob\n");
        file.close();

        auto w = startWindow();
        parts::textEdit(*w)->setPlainText(QStringLiteral("Hi [who]"));
        QString chooserTitle;
        testsupport::answerLater<QFileDialog>([&](QFileDialog *chooser) {
            chooserTitle = chooser->windowTitle();
            chooser->selectFile(csv);
            static_cast<QDialog *>(chooser)->accept();
        });
        parts::action(*w, AppActions::LoadData)->trigger();
        QCOMPARE(chooserTitle, QStringLiteral("Open File"));
        QPointer<MyMergeQD> first = w->mergeDialog();
        QVERIFY(first);
        QVERIFY(first->isVisible());
        QCOMPARE(first->previewTW->rowCount(), 2);

        // A new load replaces the merge source.
        w->openMergeData(csv);
        QVERIFY(first.isNull());
        QVERIFY(w->mergeDialog()->isVisible());

        QPointer<Gen2D> dialog = w->mergeDialog()->merge();
        QCOMPARE(dialog->typeTW->item(0, 5)->text(), QStringLiteral("2"));
        QTemporaryDir out;
        dialog->pathLE->setText(out.path());
        dialog->typeTW->item(1, 0)->setCheckState(Qt::Unchecked);
        dialog->export2();
        closeMessages();
        QCOMPARE(exported(out.path()),
                 QStringList({"article1.txt: Hi Ann", "article2.txt: Hi Bob"}));
    }
};

REWORDIX_TEST_MAIN(Lexora3ExportTest)
#include "lexora3_export_test.moc"
