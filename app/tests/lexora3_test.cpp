// The main window on the offscreen platform: what a start shows, the preferences it restores
// and stores, the language box, "Remove Underline" and the close sequence.

#include "testsupport/testsupport.h"

#include "app/documentmanager.h"
#include "app/lexora3.h"
#include "app/mytabitem.h"
#include "app/qjssaveonclose.h"
#include "app/qmyaction.h"
#include "app/qmytextedit.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDockWidget>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QSettings>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <QToolBar>

#include <memory>

namespace {

std::unique_ptr<Lexora3> startWindow()
{
    auto w = std::make_unique<Lexora3>(nullptr, 1.191, false);
    w->show();
    w->show2();
    return w;
}

QStringList actionTexts(const QList<QAction *> &actions)
{
    QStringList texts;
    for (QAction *a : actions)
        texts << (a->isSeparator() ? QStringLiteral("--") : a->text());
    return texts;
}

QStringList checkedLanguageUpdates(const Lexora3 &w)
{
    QStringList checked;
    for (QAction *a : w.languageUpdateQAs) {
        if (a->isChecked())
            checked << a->text();
    }
    return checked;
}

const QStringList allLanguages = {"English", "Hebrew",  "Arabic", "Romanian",
                                  "German",  "Spanish", "Swedish", "Italian",
                                  "French",  "Dutch",   "Portuguese", "Bulgarian"};

} // namespace

class Lexora3Test final : public QObject
{
    Q_OBJECT

private slots:
    void init() { QSettings().clear(); }

    void startShowsTheWholeWindow()
    {
        auto w = startWindow();
        QCOMPARE(w->windowTitle(), QStringLiteral("Untitled 1 - Rewordix v1.191"));
        QVERIFY(w->windowState() & Qt::WindowMaximized);

        QCOMPARE(actionTexts(w->menuBar()->actions()),
                 QStringList({"&File", "F&ormat", "T&oolbars", "Data Merge", "Language Update"}));
        QMenu *file = w->menuBar()->actions().at(0)->menu();
        QCOMPARE(actionTexts(file->actions()),
                 QStringList({"&Export", "--", "Save As", "--", "", "", "", "", "", "--", "E&xit"}));
        QCOMPARE(w->exportQA->shortcut(), QKeySequence(QStringLiteral("Ctrl+E")));
        QCOMPARE(w->saveAsQA->shortcut(), QKeySequence(Qt::Key_F12));
        QCOMPARE(w->exitQA->statusTip(), QStringLiteral("Exit applications"));
        for (QMyAction *recent : w->recentFileQAs)
            QVERIFY(!recent->isVisible());

        QStringList toolbars;
        for (QToolBar *tb : w->findChildren<QToolBar *>()) {
            QVERIFY(tb->isVisible());
            toolbars << tb->windowTitle();
        }
        QCOMPARE(toolbars, QStringList({"Edit", "HTML", "Miscellaneous"}));
        QCOMPARE(actionTexts(w->editTB->actions()),
                 QStringList({"Open", "New", "Save", "--", "Cut", "Copy", "Paste", "Delete", "--",
                              "Undo", "Redo", "--", "Font", "--", "Find", "--",
                              "Replace everyone's favorites", "Replace my favorites"}));
        QVERIFY(!w->undoQA->isEnabled());
        QVERIFY(!w->redoQA->isEnabled());
        QCOMPARE(w->removeOriginalWordQA->shortcut(), QKeySequence(QStringLiteral("Ctrl+R")));
        QCOMPARE(w->webViewQA->shortcut(), QKeySequence(QStringLiteral("Ctrl+4")));
        QVERIFY(w->editViewQA->font().bold());
        QVERIFY(!w->flatViewQA->font().bold());
        QVERIFY(!w->editViewQA->icon().isNull());
        QVERIFY(!w->removeOriginalWordQA->icon().isNull()); // a resource name with spaces

        QCOMPARE(w->quickSpinDW->windowTitle(), QStringLiteral("Quick Spin"));
        QCOMPARE(w->dockWidgetArea(w->quickSpinDW), Qt::LeftDockWidgetArea);
        for (QDockWidget *dock : {w->sentenceDW, w->paragraphDW, w->rapidDW})
            QCOMPARE(w->dockWidgetArea(dock), Qt::BottomDockWidgetArea);
        QCOMPARE(w->sentenceDW->windowTitle(), QStringLiteral("Sentence Spin"));
        QCOMPARE(w->paragraphDW->windowTitle(), QStringLiteral("Paragraph Spin"));
        QCOMPARE(w->rapidDW->windowTitle(), QStringLiteral("Rapid Spin"));
        const QList<QDockWidget *> tabbed = w->tabifiedDockWidgets(w->rapidDW);
        QVERIFY(tabbed.contains(w->sentenceDW));
        QVERIFY(tabbed.contains(w->paragraphDW));
        QCOMPARE(w->quickSpinFrame->maximumWidth(), 600);

        QStringList labels;
        for (QLabel *label : w->statusBar()->findChildren<QLabel *>()) {
            if (label->isVisibleTo(w.get()))
                labels << label->text();
        }
        QCOMPARE(labels, QStringList({"[00000,00000]", "Spun Words: 0", "Total Words: 0",
                                      "0 Sentence(s)", "0 Paragraph(s)", "0% Unique",
                                      "Quality: 0.00"}));
        QVERIFY(!w->downloadRow->isVisibleTo(w.get()));

        QCOMPARE(w->mainTab->count(), 1);
        QCOMPARE(w->mainTab->tabText(0), QStringLiteral("Untitled 1"));
        QCOMPARE(w->flatTab->tabText(0), QStringLiteral("Untitled 1-flat"));
        QCOMPARE(w->spunTab->tabText(0), QStringLiteral("Untitled 1-spun"));
        QCOMPARE(w->webTab->tabText(0), QStringLiteral("Untitled 1-html"));
        QVERIFY(w->item->isSaved());
        QVERIFY(w->con.isOpen());
    }

    void firstRunWritesAndShowsDefaults()
    {
        auto w = startWindow();
        for (QToolBar *tb : {w->editTB, w->htmlTB, w->miscTB})
            QVERIFY(tb->isVisible());
        for (QAction *a : {w->editToolbarQA, w->htmlToolbarQA, w->miscToolbarQA})
            QVERIFY(a->isChecked());
        QCOMPARE(checkedLanguageUpdates(*w), allLanguages);
        QVERIFY(!w->identifyOnLoad->isChecked());
        QVERIFY(!w->identifyOnPaste->isChecked());
        QCOMPARE(w->langBox->currentText(), QStringLiteral("English"));
        QCOMPARE(w->curLang, QStringLiteral("eng"));
        QVERIFY(w->ltrRB->isChecked());
        QCOMPARE(QSettings().value("languageSettings").toMap(),
                 QVariantMap({{"lang", "eng"}, {"dir", "ltr"}}));
    }

    void storedPreferencesAreRestored()
    {
        {
            QSettings s;
            s.setValue("editToolbarB", "false");
            s.setValue("htmlToolbarB", "TRUE");
            s.setValue("miscToolbarB", "yes"); // only "true" in any case counts as true
            s.setValue("hebUpdate", false);
            s.setValue("bulUpdate", "False");
            s.setValue("engUpdate", "True");
            s.setValue("identifyOnLoad", "true");
            s.setValue("identifyOnPaste", true);
        }
        auto w = startWindow();
        QVERIFY(!w->editTB->isVisible());
        QVERIFY(w->htmlTB->isVisible());
        QVERIFY(!w->miscTB->isVisible());
        QVERIFY(!w->editToolbarQA->isChecked());
        QStringList expected = allLanguages;
        expected.removeAll("Hebrew");
        expected.removeAll("Bulgarian");
        QCOMPARE(checkedLanguageUpdates(*w), expected);
        QVERIFY(w->identifyOnLoad->isChecked());
        QVERIFY(w->identifyOnPaste->isChecked());
    }

    void togglesAreStored()
    {
        auto w = startWindow();
        w->miscToolbarQA->setChecked(false);
        QVERIFY(!w->miscTB->isVisible());
        w->languageUpdateQAs.at(2)->setChecked(false); // Arabic
        w->identifyOnPaste->setChecked(true);
        QSettings s;
        QCOMPARE(s.value("miscToolbarB").toString(), QStringLiteral("false"));
        QCOMPARE(s.value("araUpdate").toBool(), false);
        QCOMPARE(s.value("identifyOnPaste").toBool(), true);
        w.reset();

        auto again = startWindow();
        QVERIFY(!again->miscTB->isVisible());
        QVERIFY(!again->languageUpdateQAs.at(2)->isChecked());
        QVERIFY(again->identifyOnPaste->isChecked());
    }

    void storedLanguageAndDirection_data()
    {
        QTest::addColumn<QString>("lang");
        QTest::addColumn<QString>("dir");
        QTest::addColumn<QString>("boxText");
        QTest::addColumn<QString>("curLang");
        QTest::addColumn<bool>("rightToLeft");
        QTest::newRow("German, left to right") << "ger" << "ltr" << "German" << "ger" << false;
        QTest::newRow("code in capitals") << "HEB" << "rtl" << "Hebrew" << "heb" << true;
        QTest::newRow("unknown code falls back to English")
            << "xyz" << "ltr" << "English" << "eng" << false;
    }

    void storedLanguageAndDirection()
    {
        QFETCH(QString, lang);
        QFETCH(QString, dir);
        QSettings().setValue("languageSettings", QVariantMap({{"lang", lang}, {"dir", dir}}));
        auto w = startWindow();
        QFETCH(QString, boxText);
        QCOMPARE(w->langBox->currentText(), boxText);
        QFETCH(QString, curLang);
        QCOMPARE(w->curLang, curLang);
        QFETCH(bool, rightToLeft);
        QCOMPARE(w->rtlRB->isChecked(), rightToLeft);
        QCOMPARE(w->textEdit->document()->firstBlock().blockFormat().layoutDirection(),
                 rightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
        QVERIFY(w->item->isSaved()); // direction is not an edit of the text
        QGuiApplication::setLayoutDirection(Qt::LeftToRight);
    }

    void languageChangeIsStored()
    {
        auto w = startWindow();
        w->addSynLE->setText(QStringLiteral("fast"));
        w->langBox->setCurrentIndex(w->langBox->findText(QStringLiteral("Arabic")));
        QCOMPARE(w->curLang, QStringLiteral("ara"));
        QCOMPARE(w->addSynLE->text(), QString());
        QCOMPARE(QSettings().value("languageSettings").toMap(),
                 QVariantMap({{"lang", "ara"}, {"dir", "ltr"}}));
    }

    void addSynonymValidator_data()
    {
        QTest::addColumn<QString>("lang");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("Latin with accents and punctuation")
            << "eng" << QStringLiteral("Café-au-lait, (x) 12!") << true;
        QTest::newRow("Latin box refuses Hebrew") << "ger" << QStringLiteral("שלום") << false;
        QTest::newRow("Hebrew") << "heb" << QStringLiteral("שלום עולם") << true;
        QTest::newRow("Hebrew box refuses Latin letters") << "heb" << QStringLiteral("abc") << false;
        QTest::newRow("Arabic, code in capitals") << "ARA" << QStringLiteral("مرحبا") << true;
        QTest::newRow("Arabic box refuses Hebrew") << "ara" << QStringLiteral("שלום") << false;
    }

    void addSynonymValidator()
    {
        QFETCH(QString, lang);
        QFETCH(QString, text);
        auto w = startWindow();
        w->setValidator(lang);
        int pos = 0;
        const QValidator::State state = w->addSynLE->validator()->validate(text, pos);
        QFETCH(bool, accepted);
        QCOMPARE(state == QValidator::Acceptable, accepted);
    }

    void removeUnderlineClearsFormats()
    {
        auto w = startWindow();
        QTextCursor cursor(w->textEdit->document());
        QTextCharFormat underlined;
        underlined.setFontUnderline(true);
        cursor.insertText(QStringLiteral("quick "), underlined);
        QTextCharFormat bold;
        bold.setFontWeight(QFont::Bold);
        cursor.insertText(QStringLiteral("brown\nfox"), bold);
        w->synonymsBox->setCurrentIndex(2);

        QStringList marked;
        for (QTextBlock b = w->textEdit->document()->begin(); b.isValid(); b = b.next()) {
            for (auto it = b.begin(); !it.atEnd(); ++it) {
                const QTextCharFormat f = it.fragment().charFormat();
                if (f.fontUnderline() || f.fontWeight() == QFont::Bold)
                    marked << it.fragment().text();
            }
        }
        QCOMPARE(marked, QStringList());
        QCOMPARE(w->textEdit->toPlainText(), QStringLiteral("quick brown\nfox"));
    }

    void editorKeys()
    {
        auto w = startWindow();
        QGuiApplication::clipboard()->setText(QStringLiteral("pasted"));
        QTest::keyClick(w->textEdit, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(w->textEdit->toPlainText(), QStringLiteral("pasted"));
        // Tab and Shift+Tab are word steps: they never type a tab or move the focus away.
        w->allowChanges = false;
        QTest::keyClick(w->textEdit, Qt::Key_Tab);
        QTest::keyClick(w->textEdit, Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(w->textEdit->toPlainText(), QStringLiteral("pasted"));
        QVERIFY(w->allowChanges); // any key release sets it again
    }

    void undoEntryFollowsCurrentDocument()
    {
        auto w = startWindow();
        QTest::keyClicks(w->textEdit, QStringLiteral("abc"));
        QVERIFY(w->undoQA->isEnabled());
        w->documents->fileNew();
        QVERIFY(!w->undoQA->isEnabled());
        w->mainTab->setCurrentIndex(0);
        QVERIFY(w->undoQA->isEnabled());
        w->undoQA->trigger();
        QCOMPARE(w->textEdit->toPlainText(), QString());
        QVERIFY(w->redoQA->isEnabled());
        w->redoQA->trigger();
        QCOMPARE(w->textEdit->toPlainText(), QStringLiteral("abc"));
    }

    void closeWithoutUnsavedDocumentClosesAtOnce()
    {
        auto w = startWindow();
        w->documents->fileNew();
        QVERIFY(w->close());
        QVERIFY(!w->con.isOpen());
    }

    void closeCancelKeepsWindow()
    {
        auto w = startWindow();
        w->textEdit->insertPlainText(QStringLiteral("draft"));
        QStringList rows;
        testsupport::answerLater<QJSSaveOnClose>([&](QJSSaveOnClose *d) {
            for (int r = 0; r < d->list()->rowCount(); ++r)
                rows << d->list()->item(r, 0)->text();
            d->findChild<QPushButton *>(QStringLiteral("cancel"))->click();
        });
        QVERIFY(!w->close());
        QCOMPARE(rows, QStringList({"Untitled 1"}));
        QVERIFY(w->isVisible());
        QVERIFY(w->con.isOpen());
        QVERIFY(!w->item->isSaved());
    }

    void closeDiscardAllCloses()
    {
        auto w = startWindow();
        w->textEdit->insertPlainText(QStringLiteral("draft"));
        testsupport::answerLater<QJSSaveOnClose>([](QJSSaveOnClose *d) {
            d->findChild<QPushButton *>(QStringLiteral("discardAll"))->click();
        });
        QVERIFY(w->close());
        QVERIFY(!w->con.isOpen());
    }

    void closeWithFailingSaveKeepsRow()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("missing/folder/a.txt"));
        auto w = startWindow();
        w->documents->fileNew();
        w->textEdit->insertPlainText(QStringLiteral("keep me"));
        w->item->setCurrentFile(path);
        const int row = 0;
        bool rowHiddenAfterSave = true;
        QString message;
        testsupport::answerLater<QJSSaveOnClose>([&](QJSSaveOnClose *d) {
            testsupport::answerLater<QMessageBox>([&](QMessageBox *box) {
                message = box->text();
                box->button(QMessageBox::Ok)->click();
            });
            d->findChild<QPushButton *>(QStringLiteral("saveAll"))->click();
            rowHiddenAfterSave = d->list()->isRowHidden(row);
            d->findChild<QPushButton *>(QStringLiteral("cancel"))->click();
        });
        QVERIFY(!w->close());
        QVERIFY(!rowHiddenAfterSave);
        QVERIFY2(message.contains(path), qPrintable(message));
        QVERIFY(!w->item->isSaved());
        QVERIFY(!QFile::exists(path));
    }

    void closeSaveAllWritesAndCloses()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("a.txt"));
        auto w = startWindow();
        w->textEdit->insertPlainText(QStringLiteral("saved text"));
        w->item->setCurrentFile(path);
        testsupport::answerLater<QJSSaveOnClose>([](QJSSaveOnClose *d) {
            d->findChild<QPushButton *>(QStringLiteral("saveAll"))->click();
        });
        QVERIFY(w->close());
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("\xEF\xBB\xBFsaved text"));
    }
};

REWORDIX_TEST_MAIN(Lexora3Test)
#include "lexora3_test.moc"
