// The main window on the offscreen platform: what a start shows, the preferences it restores
// and stores, the language box, "Remove Underline" and the close sequence.

#include "testsupport/testsupport.h"
#include "windowparts.h"

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
#include <QToolButton>

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
    for (QAction *a : w.appActions()->languageUpdateEntries()) {
        if (a->isChecked())
            checked << a->text();
    }
    return checked;
}

const QStringList allLanguages = {"English", "Hebrew",  "Arabic",     "Romanian",
                                  "German",  "Spanish", "Swedish",    "Italian",
                                  "French",  "Dutch",   "Portuguese", "Bulgarian"};

} // namespace

class Lexora3Test final : public QObject
{
    Q_OBJECT

private slots:
    void init() { QSettings().clear(); }

    // A 1024 x 768 screen holds the whole window: toolbars, docks, bottom bar and status bar
    // all allow that width. The window has its own icon.
    void fitsA1024Screen()
    {
        auto w = startWindow();
        const QSize minimum = w->minimumSizeHint().expandedTo(w->minimumSize());
        QString parts;
        for (QWidget *part : w->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
            if (part->isVisible())
                parts += QStringLiteral(" %1 %2:%3")
                             .arg(part->metaObject()->className(), part->objectName(),
                                  QString::number(part->minimumSizeHint().width()));
        QVERIFY2(minimum.width() <= 1024, qPrintable(QString::number(minimum.width()) + parts));
        QVERIFY2(minimum.height() <= 768, qPrintable(QString::number(minimum.height())));
        w->setWindowState(Qt::WindowNoState);
        w->resize(1024, 700);
        QTRY_COMPARE(w->width(), 1024);
        QVERIFY(!w->windowIcon().isNull());
    }

    void startShowsTheWholeWindow()
    {
        auto w = startWindow();
        QCOMPARE(w->windowTitle(), QStringLiteral("Untitled 1 - Rewordix v1.191"));
        QVERIFY(w->windowState() & Qt::WindowMaximized);

        QCOMPARE(actionTexts(w->menuBar()->actions()),
                 QStringList({"&File", "F&ormat", "T&oolbars", "Data Merge", "Language Update"}));
        QMenu *file = w->menuBar()->actions().at(0)->menu();
        QCOMPARE(actionTexts(file->actions()), QStringList({"&Export", "--", "Save As", "--", "",
                                                            "", "", "", "", "--", "E&xit"}));
        QCOMPARE(parts::action(*w, AppActions::Export)->shortcut(),
                 QKeySequence(QStringLiteral("Ctrl+E")));
        QCOMPARE(parts::action(*w, AppActions::SaveAs)->shortcut(), QKeySequence(Qt::Key_F12));
        QCOMPARE(parts::action(*w, AppActions::Exit)->statusTip(),
                 QStringLiteral("Exit applications"));
        for (QMyAction *recent : parts::recentFileQAs(*w))
            QVERIFY(!recent->isVisible());

        QStringList toolbars;
        for (QToolBar *tb : w->findChildren<QToolBar *>()) {
            QVERIFY(tb->isVisible());
            toolbars << tb->windowTitle();
        }
        QCOMPARE(toolbars, QStringList({"Edit", "HTML", "Miscellaneous"}));
        // Toolbar contents and order are checked against the actions table (actionsTable).
        QVERIFY(!parts::action(*w, AppActions::Undo)->isEnabled());
        QVERIFY(!parts::action(*w, AppActions::Redo)->isEnabled());
        QCOMPARE(parts::action(*w, AppActions::RemoveOriginalWord)->shortcut(),
                 QKeySequence(QStringLiteral("Ctrl+R")));
        QCOMPARE(parts::action(*w, AppActions::WebView)->shortcut(),
                 QKeySequence(QStringLiteral("Ctrl+4")));
        QVERIFY(parts::action(*w, AppActions::EditView)->font().bold());
        QVERIFY(!parts::action(*w, AppActions::FlatView)->font().bold());
        QVERIFY(!parts::action(*w, AppActions::EditView)->icon().isNull());
        QVERIFY(!parts::action(*w, AppActions::RemoveOriginalWord)
                     ->icon()
                     .isNull()); // a resource name with spaces

        QCOMPARE(parts::dock(*w, "quickSpinDW")->windowTitle(), QStringLiteral("Quick Spin"));
        QCOMPARE(w->dockWidgetArea(parts::dock(*w, "quickSpinDW")), Qt::LeftDockWidgetArea);
        for (QDockWidget *dock : {parts::dock(*w, "sentenceDW"), parts::dock(*w, "paragraphDW"),
                                  parts::dock(*w, "rapidDW")})
            QCOMPARE(w->dockWidgetArea(dock), Qt::BottomDockWidgetArea);
        QCOMPARE(parts::dock(*w, "sentenceDW")->windowTitle(), QStringLiteral("Sentence Spin"));
        QCOMPARE(parts::dock(*w, "paragraphDW")->windowTitle(), QStringLiteral("Paragraph Spin"));
        QCOMPARE(parts::dock(*w, "rapidDW")->windowTitle(), QStringLiteral("Rapid Spin"));
        const QList<QDockWidget *> tabbed = w->tabifiedDockWidgets(parts::dock(*w, "rapidDW"));
        QVERIFY(tabbed.contains(parts::dock(*w, "sentenceDW")));
        QVERIFY(tabbed.contains(parts::dock(*w, "paragraphDW")));
        QCOMPARE(w->quickSpinPanel()->maximumWidth(), 600);

        QStringList labels;
        for (QLabel *label : w->statusBar()->findChildren<QLabel *>()) {
            if (label->isVisibleTo(w.get()))
                labels << label->text();
        }
        QCOMPARE(labels,
                 QStringList({"[00001,00000]", "Spun Words: 0", "Total Words: 0", "0 Sentence(s)",
                              "0 Paragraph(s)", "0% Unique", "Quality: 0.00"}));
        QVERIFY(!parts::child<QWidget>(*w, "downloadRow")->isVisibleTo(w.get()));

        QCOMPARE(parts::mainTab(*w)->count(), 1);
        QCOMPARE(parts::mainTab(*w)->tabText(0), QStringLiteral("Untitled 1"));
        QCOMPARE(parts::flatTab(*w)->tabText(0), QStringLiteral("Untitled 1-flat"));
        QCOMPARE(parts::spunTab(*w)->tabText(0), QStringLiteral("Untitled 1-spun"));
        QCOMPARE(parts::webTab(*w)->tabText(0), QStringLiteral("Untitled 1-html"));
        QVERIFY(parts::item(*w)->isSaved());
        QVERIFY(w->database().isOpen());
    }

    // Every row of the actions table is an action of the window with the row's text, tip,
    // shortcut and place, and enabled exactly when its feature is built.
    void actionsTable()
    {
        auto w = startWindow();
        QMap<QToolBar *, QStringList> expectedBars;
        for (const AppActions::Row &row : AppActions::table()) {
            const QString name = QString::fromLatin1(row.name);
            QAction *action = w->findChild<QAction *>(name);
            QVERIFY2(action, row.name);
            QCOMPARE(action, w->appActions()->action(row.id));
            QCOMPARE(action->text(), QString::fromUtf8(row.text));
            if (row.tip[0])
                QCOMPARE(action->toolTip(), QString::fromUtf8(row.tip));
            QCOMPARE(action->shortcut(), QKeySequence(QString::fromLatin1(row.shortcut)));
            QCOMPARE(action->isCheckable(), row.checkable);
            const bool history = row.id == AppActions::Undo || row.id == AppActions::Redo;
            if (!history)
                QCOMPARE(action->isEnabled(), row.built);
            if (row.icon[0])
                QVERIFY2(!action->icon().isNull(), row.icon);
            if (row.toolbar == AppActions::Toolbar::List) {
                auto *list = w->findChild<QToolButton *>("listTB");
                QVERIFY(list->menu()->actions().contains(action));
            } else if (QToolBar *bar = w->appActions()->toolbar(row.toolbar)) {
                expectedBars[bar] << name;
            }
            if (row.menu != AppActions::Menu::None) {
                bool inMenu = false;
                for (QAction *top : w->menuBar()->actions())
                    inMenu = inMenu || (top->menu() && top->menu()->actions().contains(action));
                QVERIFY2(inMenu, row.name);
            }
        }
        // The toolbars hold the table's actions in table order, nothing else but separators
        // and the list button.
        for (auto it = expectedBars.cbegin(); it != expectedBars.cend(); ++it) {
            QStringList shown;
            for (QAction *a : it.key()->actions()) {
                if (!a->isSeparator() && !a->objectName().isEmpty())
                    shown << a->objectName();
            }
            QCOMPARE(shown, it.value());
        }
        // Every command is built now: none is left disabled.
        for (const AppActions::Row &row : AppActions::table())
            QVERIFY2(row.built, row.name);
    }

    void firstRunWritesAndShowsDefaults()
    {
        auto w = startWindow();
        for (QToolBar *tb : {parts::toolbar(*w, "editTB"), parts::toolbar(*w, "htmlTB"),
                             parts::toolbar(*w, "miscTB")})
            QVERIFY(tb->isVisible());
        for (QAction *a : {parts::action(*w, AppActions::EditToolbar),
                           parts::action(*w, AppActions::HtmlToolbar),
                           parts::action(*w, AppActions::MiscToolbar)})
            QVERIFY(a->isChecked());
        QCOMPARE(checkedLanguageUpdates(*w), allLanguages);
        QVERIFY(!parts::child<QCheckBox>(*w, "identifyOnLoad")->isChecked());
        QVERIFY(!parts::child<QCheckBox>(*w, "identifyOnPaste")->isChecked());
        QCOMPARE(parts::child<QComboBox>(*w, "langBox")->currentText(), QStringLiteral("English"));
        QCOMPARE(w->synonymStore()->curLang, QStringLiteral("eng"));
        QVERIFY(parts::child<QRadioButton>(*w, "ltrRB")->isChecked());
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
        QVERIFY(!parts::toolbar(*w, "editTB")->isVisible());
        QVERIFY(parts::toolbar(*w, "htmlTB")->isVisible());
        QVERIFY(!parts::toolbar(*w, "miscTB")->isVisible());
        QVERIFY(!parts::action(*w, AppActions::EditToolbar)->isChecked());
        QStringList expected = allLanguages;
        expected.removeAll("Hebrew");
        expected.removeAll("Bulgarian");
        QCOMPARE(checkedLanguageUpdates(*w), expected);
        QVERIFY(parts::child<QCheckBox>(*w, "identifyOnLoad")->isChecked());
        QVERIFY(parts::child<QCheckBox>(*w, "identifyOnPaste")->isChecked());
    }

    void togglesAreStored()
    {
        auto w = startWindow();
        parts::action(*w, AppActions::MiscToolbar)->setChecked(false);
        QVERIFY(!parts::toolbar(*w, "miscTB")->isVisible());
        w->appActions()->languageUpdateEntries().at(2)->setChecked(false); // Arabic
        parts::child<QCheckBox>(*w, "identifyOnPaste")->setChecked(true);
        QSettings s;
        QCOMPARE(s.value("miscToolbarB").toString(), QStringLiteral("false"));
        QCOMPARE(s.value("araUpdate").toBool(), false);
        QCOMPARE(s.value("identifyOnPaste").toBool(), true);
        w.reset();

        auto again = startWindow();
        QVERIFY(!parts::toolbar(*again, "miscTB")->isVisible());
        QVERIFY(!again->appActions()->languageUpdateEntries().at(2)->isChecked());
        QVERIFY(parts::child<QCheckBox>(*again, "identifyOnPaste")->isChecked());
    }

    void storedLanguageAndDirection_data()
    {
        QTest::addColumn<QString>("lang");
        QTest::addColumn<QString>("dir");
        QTest::addColumn<QString>("boxText");
        QTest::addColumn<QString>("curLang");
        QTest::addColumn<bool>("rightToLeft");
        QTest::newRow("German, left to right") << "ger"
                                               << "ltr"
                                               << "German"
                                               << "ger" << false;
        QTest::newRow("code in capitals") << "HEB"
                                          << "rtl"
                                          << "Hebrew"
                                          << "heb" << true;
        QTest::newRow("unknown code falls back to English") << "xyz"
                                                            << "ltr"
                                                            << "English"
                                                            << "eng" << false;
    }

    void storedLanguageAndDirection()
    {
        QFETCH(QString, lang);
        QFETCH(QString, dir);
        QSettings().setValue("languageSettings", QVariantMap({{"lang", lang}, {"dir", dir}}));
        auto w = startWindow();
        QFETCH(QString, boxText);
        QCOMPARE(parts::child<QComboBox>(*w, "langBox")->currentText(), boxText);
        QFETCH(QString, curLang);
        QCOMPARE(w->synonymStore()->curLang, curLang);
        QFETCH(bool, rightToLeft);
        QCOMPARE(parts::child<QRadioButton>(*w, "rtlRB")->isChecked(), rightToLeft);
        QCOMPARE(parts::textEdit(*w)->document()->firstBlock().blockFormat().layoutDirection(),
                 rightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
        QVERIFY(parts::item(*w)->isSaved()); // direction is not an edit of the text
        QGuiApplication::setLayoutDirection(Qt::LeftToRight);
    }

    void languageChangeIsStored()
    {
        auto w = startWindow();
        w->quickSpinPanel()->addSynLE->setText(QStringLiteral("fast"));
        parts::child<QComboBox>(*w, "langBox")
            ->setCurrentIndex(
                parts::child<QComboBox>(*w, "langBox")->findText(QStringLiteral("Arabic")));
        QCOMPARE(w->synonymStore()->curLang, QStringLiteral("ara"));
        QCOMPARE(w->quickSpinPanel()->addSynLE->text(), QString());
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
        QTest::newRow("Hebrew box refuses Latin letters")
            << "heb" << QStringLiteral("abc") << false;
        QTest::newRow("Arabic, code in capitals") << "ARA" << QStringLiteral("مرحبا") << true;
        QTest::newRow("Arabic box refuses Hebrew") << "ara" << QStringLiteral("שלום") << false;
    }

    void addSynonymValidator()
    {
        QFETCH(QString, lang);
        QFETCH(QString, text);
        auto w = startWindow();
        w->quickSpinPanel()->setValidator(lang);
        int pos = 0;
        const QValidator::State state =
            w->quickSpinPanel()->addSynLE->validator()->validate(text, pos);
        QFETCH(bool, accepted);
        QCOMPARE(state == QValidator::Acceptable, accepted);
    }

    void removeUnderlineClearsFormats()
    {
        auto w = startWindow();
        QTextCursor cursor(parts::textEdit(*w)->document());
        QTextCharFormat underlined;
        underlined.setFontUnderline(true);
        cursor.insertText(QStringLiteral("quick "), underlined);
        QTextCharFormat bold;
        bold.setFontWeight(QFont::Bold);
        cursor.insertText(QStringLiteral("brown\nfox"), bold);
        parts::child<QComboBox>(*w, "synonymsBox")->setCurrentIndex(2);

        QStringList marked;
        for (QTextBlock b = parts::textEdit(*w)->document()->begin(); b.isValid(); b = b.next()) {
            for (auto it = b.begin(); !it.atEnd(); ++it) {
                const QTextCharFormat f = it.fragment().charFormat();
                if (f.fontUnderline() || f.fontWeight() == QFont::Bold)
                    marked << it.fragment().text();
            }
        }
        QCOMPARE(marked, QStringList());
        QCOMPARE(parts::textEdit(*w)->toPlainText(), QStringLiteral("quick brown\nfox"));
    }

    void editorKeys()
    {
        auto w = startWindow();
        QGuiApplication::clipboard()->setText(QStringLiteral("pasted"));
        QTest::keyClick(parts::textEdit(*w), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(parts::textEdit(*w)->toPlainText(), QStringLiteral("pasted"));
        // Tab and Shift+Tab are word steps: they never type a tab or move the focus away.
        QTest::keyClick(parts::textEdit(*w), Qt::Key_Tab);
        QTest::keyClick(parts::textEdit(*w), Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(parts::textEdit(*w)->toPlainText(), QStringLiteral("pasted"));
        // The steps held the guards only while their selections landed.
        QVERIFY(w->guardFlags().idle());
    }

    void undoEntryFollowsCurrentDocument()
    {
        auto w = startWindow();
        QTest::keyClicks(parts::textEdit(*w), QStringLiteral("abc"));
        QVERIFY(parts::action(*w, AppActions::Undo)->isEnabled());
        parts::documents(*w)->fileNew();
        QVERIFY(!parts::action(*w, AppActions::Undo)->isEnabled());
        parts::mainTab(*w)->setCurrentIndex(0);
        QVERIFY(parts::action(*w, AppActions::Undo)->isEnabled());
        parts::action(*w, AppActions::Undo)->trigger();
        QCOMPARE(parts::textEdit(*w)->toPlainText(), QString());
        QVERIFY(parts::action(*w, AppActions::Redo)->isEnabled());
        parts::action(*w, AppActions::Redo)->trigger();
        QCOMPARE(parts::textEdit(*w)->toPlainText(), QStringLiteral("abc"));
    }

    void closeWithoutUnsavedDocumentClosesAtOnce()
    {
        auto w = startWindow();
        parts::documents(*w)->fileNew();
        QVERIFY(w->close());
        QVERIFY(!w->database().isOpen());
    }

    void closeCancelKeepsWindow()
    {
        auto w = startWindow();
        parts::textEdit(*w)->insertPlainText(QStringLiteral("draft"));
        QStringList rows;
        testsupport::answerLater<QJSSaveOnClose>([&](QJSSaveOnClose *d) {
            for (int r = 0; r < d->list()->rowCount(); ++r)
                rows << d->list()->item(r, 0)->text();
            d->findChild<QPushButton *>(QStringLiteral("cancel"))->click();
        });
        QVERIFY(!w->close());
        QCOMPARE(rows, QStringList({"Untitled 1"}));
        QVERIFY(w->isVisible());
        QVERIFY(w->database().isOpen());
        QVERIFY(!parts::item(*w)->isSaved());
    }

    void closeDiscardAllCloses()
    {
        auto w = startWindow();
        parts::textEdit(*w)->insertPlainText(QStringLiteral("draft"));
        testsupport::answerLater<QJSSaveOnClose>([](QJSSaveOnClose *d) {
            d->findChild<QPushButton *>(QStringLiteral("discardAll"))->click();
        });
        QVERIFY(w->close());
        QVERIFY(!w->database().isOpen());
    }

    void closeWithFailingSaveKeepsRow()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("missing/folder/a.txt"));
        auto w = startWindow();
        parts::documents(*w)->fileNew();
        parts::textEdit(*w)->insertPlainText(QStringLiteral("keep me"));
        parts::item(*w)->setCurrentFile(path);
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
        QVERIFY(!parts::item(*w)->isSaved());
        QVERIFY(!QFile::exists(path));
    }

    void closeSaveAllWritesAndCloses()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("a.txt"));
        auto w = startWindow();
        parts::textEdit(*w)->insertPlainText(QStringLiteral("saved text"));
        parts::item(*w)->setCurrentFile(path);
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
