// The four views, the formatting tools and the colour settings on a real main window
// (offscreen platform, private settings and working folder).

#include "testsupport/testsupport.h"
#include "windowparts.h"

#include "app/colorqd.h"
#include "app/documentmanager.h"
#include "app/figuresupdater.h"
#include "app/insertlinkqd.h"
#include "app/lexora3.h"
#include "app/mytabitem.h"
#include "app/qmytextedit.h"
#include "app/viewmanager.h"

#include "spintax/gui/levelcolors.h"
#include "spintax/gui/myhighlighter.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>

#include <memory>

namespace {

std::unique_ptr<Lexora3> startWindow()
{
    auto w = std::make_unique<Lexora3>(nullptr, 1.191, false);
    w->show();
    w->show2();
    return w;
}

void type(Lexora3 &w, const QString &text)
{
    parts::textEdit(w)->setPlainText(text);
}

QList<int> pageIndexes(const Lexora3 &w)
{
    return {parts::mainTab(w)->currentIndex(), parts::flatTab(w)->currentIndex(),
            parts::spunTab(w)->currentIndex(), parts::webTab(w)->currentIndex()};
}

QStringList figures(const Lexora3 &w)
{
    return {parts::label(w, "spunWordsQL")->text(), parts::label(w, "totalWordsQL")->text(),
            parts::label(w, "paragraphsQL")->text(), parts::label(w, "uniqueQL")->text(),
            parts::label(w, "qualityQL")->text()};
}

// Centre of the character at `position` of `editor`, in viewport coordinates.
QPoint pointOf(QTextEdit *editor, int position)
{
    QTextCursor cursor(editor->document());
    cursor.setPosition(position);
    const QRect left = editor->cursorRect(cursor);
    cursor.setPosition(position + 1);
    const QRect right = editor->cursorRect(cursor);
    return QPoint((left.x() + right.x()) / 2, left.center().y());
}

} // namespace

class ViewsTest final : public QObject
{
    Q_OBJECT

private slots:
    void init() { QSettings().clear(); }

    // Whichever page the user changes tabs in, all four follow, and the window's current
    // tabs are the ones at that index.
    void pagesStayInStep_data()
    {
        QTest::addColumn<int>("view");
        QTest::newRow("edit view") << 1;
        QTest::newRow("flat view") << 2;
        QTest::newRow("spun view") << 3;
        QTest::newRow("HTML view") << 4;
    }

    void pagesStayInStep()
    {
        QFETCH(int, view);
        auto w = startWindow();
        type(*w, "{a|b} one");
        parts::documents(*w)->fileNew();
        type(*w, "{c|d} two");
        parts::documents(*w)->fileNew();
        type(*w, "{e|f} three");
        QCOMPARE(pageIndexes(*w), QList<int>({2, 2, 2, 2}));

        QAction *entries[] = {
            parts::action(*w, AppActions::EditView), parts::action(*w, AppActions::FlatView),
            parts::action(*w, AppActions::SpunView), parts::action(*w, AppActions::WebView)};
        entries[view - 1]->trigger();
        QCOMPARE(int(w->viewManager()->current()), view);
        QCOMPARE(w->viewManager()->pages()->currentIndex(), view - 1);
        for (int v = 1; v <= 4; ++v)
            QCOMPARE(entries[v - 1]->font().bold(), v == view);

        QTabWidget *pages[] = {parts::mainTab(*w), parts::flatTab(*w), parts::spunTab(*w),
                               parts::webTab(*w)};
        pages[view - 1]->setCurrentIndex(0);
        QCOMPARE(pageIndexes(*w), QList<int>({0, 0, 0, 0}));
        QCOMPARE(parts::textEdit(*w)->toPlainText(), QStringLiteral("{a|b} one"));
        QCOMPARE(parts::item(*w), parts::mainTab(*w)->widget(0));
        const QString names[] = {"Untitled 1", "Untitled 1-flat", "Untitled 1-spun",
                                 "Untitled 1-html"};
        QCOMPARE(w->windowTitle(), names[view - 1] + QStringLiteral(" - Rewordix v1.191"));

        // Closing a tab before the current one leaves every page on the same document.
        pages[view - 1]->setCurrentIndex(2);
        QCOMPARE(pageIndexes(*w), QList<int>({2, 2, 2, 2}));
        qobject_cast<MyTabItem *>(parts::mainTab(*w)->widget(1))->setSaved();
        parts::documents(*w)->tabCloseRequested(1);
        QTRY_COMPARE(pageIndexes(*w), QList<int>({1, 1, 1, 1}));
        QCOMPARE(parts::textEdit(*w)->toPlainText(), QStringLiteral("{e|f} three"));
        if (view == 3)
            QTRY_VERIFY(parts::spunTextEdit(*w)->toPlainText().endsWith(QLatin1String(" three")));
        pages[view - 1]->setCurrentIndex(0);

        // Back in the edit view the document at that index is the current one.
        parts::action(*w, AppActions::EditView)->trigger();
        QCOMPARE(pageIndexes(*w), QList<int>({0, 0, 0, 0}));
        QCOMPARE(parts::textEdit(*w), parts::item(*w)->getTextEdit());
        QCOMPARE(parts::textEdit(*w)->toPlainText(), QStringLiteral("{a|b} one"));
    }

    void flatAndSpunViewsAreFilledFromTheDocument()
    {
        auto w = startWindow();
        type(*w, "x {a {b|b}|a {b|b}} y {c|c}");
        parts::action(*w, AppActions::FlatView)->trigger();
        QCOMPARE(parts::flatTextEdit(*w)->toPlainText(), QStringLiteral("x {a b|a b} y {c|c}"));
        QCOMPARE(parts::flatTextEdit(*w)->textCursor().position(), 0);

        parts::action(*w, AppActions::SpunView)->trigger();
        QCOMPARE(parts::spunTextEdit(*w)->toPlainText(), QStringLiteral("x a b y c"));
        QCOMPARE(parts::spunTextEdit(*w)->textCursor().position(), 0);
        // One insertion: a single undo step leads back to the previous spun text (empty).
        parts::spunTextEdit(*w)->document()->undo();
        QCOMPARE(parts::spunTextEdit(*w)->toPlainText(), QString());
        QVERIFY(!parts::spunTextEdit(*w)->document()->isUndoAvailable());
        QCOMPARE(w->viewManager()->links().size(), 3);
    }

    void htmlViewShowsTheSpunText()
    {
        auto w = startWindow();
        QString article;
        for (int i = 0; i < 20; ++i)
            article += QStringLiteral("<p>{one|two|three} {red|green|blue} {a|b|c|d}</p>\n");
        type(*w, article);
        parts::action(*w, AppActions::SpunView)->trigger();
        const QString spun = parts::spunTextEdit(*w)->toPlainText();
        parts::action(*w, AppActions::WebView)->trigger();
        QCOMPARE(parts::webItem(*w)->textForSave(), spun);
        QTextDocument rendered;
        rendered.setHtml(spun);
        QCOMPARE(parts::webTextEdit(*w)->toPlainText(), rendered.toPlainText());
        QCOMPARE(w->windowTitle(), QStringLiteral("Untitled 1-html - Rewordix v1.191"));
    }

    void htmlViewSpinsWhenTheSpunTextIsBlank()
    {
        auto w = startWindow();
        type(*w, "<b>{same|same}</b> text");
        parts::action(*w, AppActions::WebView)->trigger();
        QCOMPARE(parts::webItem(*w)->textForSave(), QStringLiteral("<b>same</b> text"));
        QCOMPARE(parts::webTextEdit(*w)->toPlainText(), QStringLiteral("same text"));
    }

    void unbalancedTextIsShownUnchanged()
    {
        auto w = startWindow();
        const QString text = QStringLiteral("{a|b} first\nsecond {c|d\nthird");
        type(*w, text);
        parts::calcUniqueness(*w);
        QCOMPARE(
            parts::label(*w, "balanceQL")->text(),
            QStringLiteral("Unbalanced braces: \"{\" at line 2, column 8 has no matching \"}\""));
        QVERIFY(parts::label(*w, "balanceQL")->isVisibleTo(w.get()));
        // The figures keep their texts.
        QCOMPARE(figures(*w), QStringList({"Spun Words: 0", "Total Words: 0", "0 Paragraph(s)",
                                           "0% Unique", "Quality: 0.00"}));

        parts::action(*w, AppActions::FlatView)->trigger();
        QCOMPARE(parts::flatTextEdit(*w)->toPlainText(), text);
        parts::action(*w, AppActions::SpunView)->trigger();
        QCOMPARE(parts::spunTextEdit(*w)->toPlainText(), text);
        QVERIFY(w->viewManager()->links().isEmpty());
        parts::spunTextEdit(*w)->clear();
        parts::action(*w, AppActions::WebView)->trigger();
        QCOMPARE(parts::webItem(*w)->textForSave(), text);

        // Mended, the message goes.
        parts::action(*w, AppActions::EditView)->trigger();
        parts::textEdit(*w)->moveCursor(QTextCursor::End);
        parts::textEdit(*w)->textCursor().insertText("}");
        QTRY_VERIFY(!parts::label(*w, "balanceQL")->isVisibleTo(w.get()));
    }

    void figuresFollowTheEditorOfTheView()
    {
        auto w = startWindow();
        type(*w, "one two {three|four five}");
        QTRY_COMPARE(figures(*w), QStringList({"Spun Words: 3", "Total Words: 5", "1 Paragraph(s)",
                                               "33% Unique", "Quality: 1.67"}));
        parts::action(*w, AppActions::SpunView)->trigger();
        QTRY_COMPARE(parts::label(*w, "uniqueQL")->text(),
                     QStringLiteral("0% Unique")); // a copy has no groups
        parts::action(*w, AppActions::EditView)->trigger();
        parts::textEdit(*w)->clear();
        QTRY_COMPARE(figures(*w), QStringList({"Spun Words: 0", "Total Words: 0", "0 Paragraph(s)",
                                               "0% Unique", "Quality: 0.00"}));
    }

    void removeOriginalWordIsOneUndoStep()
    {
        auto w = startWindow();
        type(*w, "{a|b|c} and {x|{y|z} w}");
        parts::textEdit(*w)->document()->clearUndoRedoStacks();
        parts::action(*w, AppActions::RemoveOriginalWord)->trigger();
        QCOMPARE(parts::textEdit(*w)->toPlainText(), QStringLiteral("{b|c} and z w"));
        parts::textEdit(*w)->undo();
        QCOMPARE(parts::textEdit(*w)->toPlainText(), QStringLiteral("{a|b|c} and {x|{y|z} w}"));
        QVERIFY(!parts::textEdit(*w)->document()->isUndoAvailable());
    }

    void tagToolsWrapTheSelection()
    {
        auto w = startWindow();
        type(*w, "spin {fast|quick} text");
        QTextCursor cursor = parts::textEdit(*w)->textCursor();
        cursor.setPosition(5);
        cursor.setPosition(17, QTextCursor::KeepAnchor);
        parts::textEdit(*w)->setTextCursor(cursor);
        parts::action(*w, AppActions::BoldTag)->trigger();
        QCOMPARE(parts::textEdit(*w)->toPlainText(),
                 QStringLiteral("spin <b>{fast|quick}</b> text"));
        QCOMPARE(parts::textEdit(*w)->textCursor().position(), 24); // after «</b>»

        cursor.setPosition(2); // inside «spin», nothing selected
        parts::textEdit(*w)->setTextCursor(cursor);
        parts::action(*w, AppActions::UlTag)->trigger();
        QCOMPARE(parts::textEdit(*w)->toPlainText(),
                 QStringLiteral("<ul>\n     <li>spin</li>\n</ul> <b>{fast|quick}</b> text"));
        parts::action(*w, AppActions::BrTag)->trigger();
        QCOMPARE(parts::textEdit(*w)->toPlainText(),
                 QStringLiteral("<ul>\n     <li>spin</li>\n</ul><br> <b>{fast|quick}</b> text"));
    }

    // The flat, spun and HTML views show generated text that the next view switch writes anew:
    // the tools and the editing commands write into the document there too, so nothing is lost.
    void toolsWriteIntoTheDocumentInEveryView_data()
    {
        QTest::addColumn<int>("view");
        QTest::newRow("flat view") << int(AppActions::FlatView);
        QTest::newRow("spun view") << int(AppActions::SpunView);
        QTest::newRow("HTML view") << int(AppActions::WebView);
    }

    void toolsWriteIntoTheDocumentInEveryView()
    {
        QFETCH(int, view);
        auto w = startWindow();
        type(*w, "say {hi|hello} now");
        QTextCursor cursor = parts::textEdit(*w)->textCursor();
        cursor.setPosition(1); // inside «say»
        parts::textEdit(*w)->setTextCursor(cursor);
        parts::action(*w, AppActions::Id(view))->trigger();
        QCOMPARE(parts::textEdit(*w)->toPlainText(), QStringLiteral("say {hi|hello} now"));

        parts::action(*w, AppActions::ITag)->trigger();
        parts::action(*w, AppActions::BrTag)->trigger();
        QGuiApplication::clipboard()->setText(QStringLiteral("!"));
        parts::action(*w, AppActions::Paste)->trigger();
        const QString expected = QStringLiteral("<i>say</i><br>! {hi|hello} now");
        QCOMPARE(parts::textEdit(*w)->toPlainText(), expected);
        if (view != int(AppActions::WebView)) {
            QTextEdit *shown = w->viewManager()->currentViewEditor();
            QVERIFY(!shown->toPlainText().contains(QStringLiteral("<i>")));
        }
        parts::action(*w, AppActions::EditView)->trigger();
        QCOMPARE(parts::textEdit(*w)->toPlainText(), expected);
    }

    void linkDialogRoundTripsSingleQuotes()
    {
        auto w = startWindow();
        const QString link =
            "<a target='_blank' class='ext' title='Our shop' href='http://shop.example/'>"
            "{buy|order} now</a>";
        type(*w, "Visit " + link + " today");
        QTextCursor cursor = parts::textEdit(*w)->textCursor();
        cursor.setPosition(6);
        cursor.setPosition(6 + int(link.size()), QTextCursor::KeepAnchor);
        parts::textEdit(*w)->setTextCursor(cursor);

        testsupport::answerLater<InsertLinkQD>([](InsertLinkQD *dialog) {
            QCOMPARE(dialog->urlLE->text(), QStringLiteral("http://shop.example/"));
            QCOMPARE(dialog->titleLE->text(), QStringLiteral("Our shop"));
            QCOMPARE(dialog->classLE->text(), QStringLiteral("ext"));
            QCOMPARE(dialog->targetCB->currentText(), QStringLiteral("Open in a new window"));
            dialog->titleLE->setText("Our new shop");
            dialog->insertPB->click();
        });
        parts::action(*w, AppActions::Hyperlink)->trigger();
        QCOMPARE(parts::textEdit(*w)->toPlainText(),
                 QStringLiteral("Visit <a target=\"_blank\" class=\"ext\" title=\"Our new shop\" "
                                "href=\"http://shop.example/\">{buy|order} now</a> today"));
        QCOMPARE(parts::child<InsertLinkQD>(*w, "insertLinkQD")->windowTitle(),
                 QStringLiteral("Insert Link"));
        QCOMPARE(parts::child<InsertLinkQD>(*w, "insertLinkQD")->size(), QSize(270, 150));
    }

    void colourSettings()
    {
        auto w = startWindow();
        ColorQD *dialog = parts::child<ColorQD>(*w, "colorSettingsQD");
        QCOMPARE(QSettings().value("applicationColors").toMap(),
                 storage::defaultApplicationColors());
        QCOMPARE(dialog->rowCount(), 8);
        QCOMPARE(parts::getColor(*w, 3), QColor(255, 0, 0));
        QCOMPARE(parts::getColor(*w, 7), QColor(0, 0, 255)); // above 5: the level 1 colour
        QCOMPARE(parts::getColor(*w, 0), QColor(Qt::black));

        // Cancel drops a change.
        parts::action(*w, AppActions::ColorSettings)->trigger();
        dialog->setRowColor(0, QColor(1, 2, 3));
        dialog->cancelPB->click();
        QVERIFY(!dialog->isVisible());
        QCOMPARE(dialog->rowColor(0), QColor(0, 0, 255));

        // Ok stores it and recolours the editors without touching their documents.
        type(*w, "{level one}");
        parts::item(*w)->setSaved();
        dialog->setRowColor(0, QColor(1, 2, 3));
        dialog->okPB->click();
        QCOMPARE(QSettings().value("applicationColors").toMap().value("level 1").toString(),
                 storage::argbText(QColor(1, 2, 3).rgba()));
        QCOMPARE(parts::getColor(*w, 1), QColor(1, 2, 3));
        auto *highlighter = parts::textEdit(*w)->document()->findChild<MyHighlighter *>();
        QVERIFY(highlighter);
        QCOMPARE(highlighter->colors().color(1), QColor(1, 2, 3));
        QVERIFY(parts::item(*w)->isSaved());

        // Reset restores the defaults of the settings store, rows and editors included.
        dialog->resetPB->click();
        QCOMPARE(QSettings().value("applicationColors").toMap(),
                 storage::defaultApplicationColors());
        QCOMPARE(dialog->rowColor(0), QColor(0, 0, 255));
        QCOMPARE(highlighter->colors(), spintax::LevelColors::defaults());
    }

    void spunPhrasesLinkToTheirSource()
    {
        auto w = startWindow();
        const QString source = QStringLiteral("The {quick|fast} fox {jumps over|leaps over} it.");
        type(*w, source);
        parts::action(*w, AppActions::SpunView)->trigger();
        QMyTextEdit *spun = parts::spunTextEdit(*w);
        spun->resize(600, 200);
        const QString text = spun->toPlainText();
        const int verb = int(text.indexOf(QLatin1String("fox ")) + 4);

        QTest::mouseMove(spun->viewport(), pointOf(spun, verb + 1));
        QTRY_COMPARE(spun->extraSelections().size(), 1);
        const QTextCursor mark = spun->extraSelections().first().cursor;
        QCOMPARE(mark.selectedText(), text.mid(verb, text.indexOf(QLatin1String(" it")) - verb));
        QCOMPARE(spun->extraSelections().first().format.background().color(), QColor(Qt::yellow));

        QTest::mouseClick(spun->viewport(), Qt::LeftButton, {}, pointOf(spun, verb + 1));
        QCOMPARE(parts::textEdit(*w)->textCursor().selectedText(),
                 QStringLiteral("{jumps over|leaps over}"));

        // Fixed text has no source phrase: the mark goes.
        QTest::mouseMove(spun->viewport(), pointOf(spun, 1));
        QTRY_VERIFY(spun->extraSelections().isEmpty());

        // Once the document is edited the recorded ranges are stale and nothing is linked.
        parts::textEdit(*w)->textCursor().insertText("x");
        QTest::mouseMove(spun->viewport(), pointOf(spun, verb + 1));
        QTest::qWait(20);
        QVERIFY(spun->extraSelections().isEmpty());
    }

    void directionIsStored()
    {
        auto w = startWindow();
        parts::child<QRadioButton>(*w, "rtlRB")->click();
        QCOMPARE(QSettings().value("languageSettings").toMap(),
                 QVariantMap({{"lang", "eng"}, {"dir", "rtl"}}));
        QCOMPARE(parts::textEdit(*w)->document()->firstBlock().blockFormat().layoutDirection(),
                 Qt::RightToLeft);
        parts::child<QRadioButton>(*w, "ltrRB")->click();
        QCOMPARE(QSettings().value("languageSettings").toMap(),
                 QVariantMap({{"lang", "eng"}, {"dir", "ltr"}}));
        QCOMPARE(parts::spunTextEdit(*w)->document()->firstBlock().blockFormat().layoutDirection(),
                 Qt::LeftToRight);
    }
};

REWORDIX_TEST_MAIN(ViewsTest)
#include "views_test.moc"
