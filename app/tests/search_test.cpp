// The "Find and Replace" dialog on a real editor: each Find option, no wrap-around, Replace and
// Replace All, the buttons' enabling, F3, and the guard its edits hold.

#include "testsupport/testsupport.h"

#include "app/search.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QTextEdit>

class SearchTest final : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        edit = std::make_unique<QTextEdit>();
        search = std::make_unique<Search>(guards, [this] { return edit.get(); });
    }
    void cleanup() { QVERIFY2(guards.idle(), "a guard flag was left held"); }

    void find_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("caret");
        QTest::addColumn<QString>("options"); // c: match case, w: whole words, b: backward
        QTest::addColumn<int>("hitStart");    // -1: no hit, selection unchanged
        QTest::newRow("forward from the caret") << "cat Cat cat" << 1 << "" << 4;
        QTest::newRow("match case skips other case") << "cat Cat cat" << 1 << "c" << 8;
        QTest::newRow("whole words skip parts") << "concat cat" << 0 << "w" << 7;
        QTest::newRow("backward") << "cat Cat cat" << 8 << "b" << 4;
        QTest::newRow("no wrap-around at the end") << "cat dog" << 5 << "" << -1;
        QTest::newRow("no wrap-around backward") << "dog cat" << 2 << "b" << -1;
    }
    void find()
    {
        QFETCH(QString, text);
        QFETCH(int, caret);
        QFETCH(QString, options);
        QFETCH(int, hitStart);
        edit->setPlainText(text);
        QTextCursor cursor = edit->textCursor();
        cursor.setPosition(caret);
        edit->setTextCursor(cursor);
        search->findLE->setText(QStringLiteral("cat"));
        search->matchCaseCB->setChecked(options.contains(QLatin1Char('c')));
        search->wholeWordsCB->setChecked(options.contains(QLatin1Char('w')));
        (options.contains(QLatin1Char('b')) ? search->backwardRB : search->forwardRB)
            ->setChecked(true);
        search->findPB->click();
        if (hitStart < 0) {
            QVERIFY(!edit->textCursor().hasSelection());
            QCOMPARE(edit->textCursor().position(), caret);
        } else {
            QCOMPARE(edit->textCursor().selectionStart(), hitStart);
            QCOMPARE(edit->textCursor().selectedText().toLower(), QStringLiteral("cat"));
        }
    }

    void buttonsNeedASearchText()
    {
        QVERIFY(!search->findPB->isEnabled());
        QVERIFY(!search->replaceAllPB->isEnabled());
        search->replaceFindLE->setText(QStringLiteral("x"));
        QVERIFY(search->findNextPB->isEnabled() && search->replacePB->isEnabled() &&
                search->replaceAllPB->isEnabled());
        QVERIFY(!search->findPB->isEnabled());
    }

    void replaceAllDoesNotSearchItsOwnInsertions()
    {
        edit->setPlainText(QStringLiteral("a a"));
        search->replaceFindLE->setText(QStringLiteral("a"));
        search->replaceWithLE->setText(QStringLiteral("aa"));
        search->replaceAllPB->click();
        QCOMPARE(edit->toPlainText(), QStringLiteral("aa aa"));
        QCOMPARE(edit->textCursor().position(), 0);
        // One undo step puts the text back.
        edit->undo();
        QCOMPARE(edit->toPlainText(), QStringLiteral("a a"));
    }

    void replaceWritesOverTheHitAndMovesOn()
    {
        edit->setPlainText(QStringLiteral("one Two two"));
        search->replaceFindLE->setText(QStringLiteral("two"));
        search->replaceWithLE->setText(QStringLiteral("2"));
        search->replaceMatchCaseCB->setChecked(true);
        search->findNextPB->click();
        QCOMPARE(edit->textCursor().selectionStart(), 8);
        search->replacePB->click();
        QCOMPARE(edit->toPlainText(), QStringLiteral("one Two 2"));
        search->cancelPB->click();
        QVERIFY(!search->isVisible());
    }

    // F3 repeats the search of the tab on show: the Find tab's options, or Replace's Find Next.
    void findAgainFollowsTheShownTab_data()
    {
        QTest::addColumn<int>("tab");
        QTest::addColumn<int>("hitStart");
        QTest::newRow("Find tab: whole word, backward") << 0 << 0;
        QTest::newRow("Replace tab: forward, any case") << 1 << 13;
    }
    void findAgainFollowsTheShownTab()
    {
        QFETCH(int, tab);
        QFETCH(int, hitStart);
        edit->setPlainText(QStringLiteral("cat concat x CAT"));
        QTextCursor cursor = edit->textCursor();
        cursor.setPosition(11);
        edit->setTextCursor(cursor);
        search->findLE->setText(QStringLiteral("cat"));
        search->wholeWordsCB->setChecked(true);
        search->backwardRB->setChecked(true);
        search->replaceFindLE->setText(QStringLiteral("cat"));
        search->tabs->setCurrentIndex(tab);
        QVERIFY(search->findAgain());
        QCOMPARE(edit->textCursor().selectionStart(), hitStart);
    }

    // Text written by Replace and Replace All never reaches cursor tracking as a move of the
    // user's: every change of the document happens while allowChanges is held.
    void replacementsHoldTheTrackingGuard_data()
    {
        QTest::addColumn<bool>("all");
        QTest::addColumn<QString>("result");
        QTest::newRow("Replace") << false << "b b a";
        QTest::newRow("Replace All") << true << "b b b";
    }
    void replacementsHoldTheTrackingGuard()
    {
        QFETCH(bool, all);
        QFETCH(QString, result);
        edit->setPlainText(QStringLiteral("a b a"));
        search->replaceFindLE->setText(QStringLiteral("a"));
        search->replaceWithLE->setText(QStringLiteral("b"));
        search->findNextPB->click();
        QList<bool> allowedAtChange;
        connect(edit->document(), &QTextDocument::contentsChanged, this,
                [&] { allowedAtChange << guards.allowChanges(); });
        (all ? search->replaceAllPB : search->replacePB)->click();
        QCOMPARE(edit->toPlainText(), result);
        QVERIFY(!allowedAtChange.isEmpty());
        QCOMPARE(allowedAtChange, QList<bool>(allowedAtChange.size(), false));
        edit->document()->disconnect(this);
    }

private:
    GuardFlags guards;
    std::unique_ptr<QTextEdit> edit;
    std::unique_ptr<Search> search;
};

REWORDIX_TEST_MAIN(SearchTest)
#include "search_test.moc"
