// The word steps reached from the window: Tab and Shift+Tab in the spin editor, and the "<" and
// ">" buttons of the bottom bar, on a started window.

#include "testsupport/testsupport.h"
#include "windowparts.h"

#include "app/lexora3.h"
#include "app/qmytextedit.h"

#include <QPushButton>
#include <QTextCursor>

#include <memory>

class WordStepsWindowTest final : public QObject
{
    Q_OBJECT

private slots:
    void init() { QSettings().clear(); }

    void tabAndButtonsStepThroughWords()
    {
        auto w = std::make_unique<Lexora3>(nullptr, 1.191, false);
        w->show();
        w->show2();
        parts::textEdit(*w)->setPlainText(QStringLiteral("foo (bar baz) {a|b} qux"));
        QTextCursor cursor = parts::textEdit(*w)->textCursor();
        cursor.setPosition(0);
        cursor.setPosition(3, QTextCursor::KeepAnchor);
        parts::textEdit(*w)->setTextCursor(cursor);

        QStringList reached;
        const auto selected = [&] { reached << parts::textEdit(*w)->textCursor().selectedText(); };
        QTest::keyClick(parts::textEdit(*w), Qt::Key_Tab);
        selected();
        QTest::keyClick(parts::textEdit(*w), Qt::Key_Tab);
        selected();
        parts::child<QPushButton>(*w, "nextPB")->click();
        selected();
        parts::child<QPushButton>(*w, "nextPB")->click(); // last word: nothing changes
        selected();
        QTest::keyClick(parts::textEdit(*w), Qt::Key_Backtab);
        selected();
        parts::child<QPushButton>(*w, "previousPB")->click();
        selected();
        QTest::keyClick(parts::textEdit(*w), Qt::Key_Tab, Qt::ShiftModifier);
        selected();
        QCOMPARE(reached,
                 (QStringList{"(bar baz)", "{a|b}", "qux", "qux", "{a|b}", "(bar baz)", "foo"}));
        // Tab steps, it does not type a tab character.
        QCOMPARE(parts::textEdit(*w)->toPlainText(), QStringLiteral("foo (bar baz) {a|b} qux"));
        QVERIFY(w->guardFlags().value(GuardFlags::AllowChanges));
    }
};

REWORDIX_TEST_MAIN(WordStepsWindowTest)
#include "wordsteps_window_test.moc"
