#include "testsupport/testsupport.h"
#include "selection/guardflags.h"
#include "markedtext.h"
#include "selection/navigator.h"

#include <QTest>
#include <QTextEdit>

// The editor operations on a real editor widget: what the arrows, Tab and
// Shift+Tab leave selected, the guard discipline around the programmatic
// selections, and the hooks for the docks and for cursor tracking.
class NavigatorTest final : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void sentenceArrows_data();
    void sentenceArrows();
    void wordArrows_data();
    void wordArrows();
    void arrowsWorkAfterFailedSteps();
    void guardKeptByAnOuterOperation();
    void paragraphArrows();
    void plainStepsAndCurrentUnits();

private:
    void load(const QString &marked);
    QString shown() const { return renderMarked(edit->textCursor()); }

    QTextEdit *edit = nullptr;
    std::unique_ptr<GuardFlags> guards;
    Navigator *navigator = nullptr;
    QList<bool> guardAtCursorSignal; // allowChanges seen by each cursorPositionChanged
    QStringList hookCalls;           // "docks forward: …", "track: …"
};

void NavigatorTest::init()
{
    guards = std::make_unique<GuardFlags>();
    edit = new QTextEdit;
    navigator = new Navigator(
        *guards, EditorPort{[this] { return edit->textCursor(); },
                            [this](const QTextCursor &cursor) { edit->setTextCursor(cursor); }});
    navigator->loadStepDocks = [this](const QString &unit, StepDirection direction) {
        hookCalls << QStringLiteral("docks %1 %2: %3")
                         .arg(direction == StepDirection::Forward ? "forward" : "backward",
                              guards->allowChanges() ? "open" : "guarded", unit);
    };
    navigator->trackCursor = [this] {
        hookCalls << QStringLiteral("track %1: %2")
                         .arg(guards->allowChanges() ? "open" : "guarded",
                              edit->textCursor().selectedText());
    };
    connect(edit, &QTextEdit::cursorPositionChanged, this,
            [this] { guardAtCursorSignal << guards->allowChanges(); });
}

void NavigatorTest::cleanup()
{
    delete navigator;
    delete edit;
    navigator = nullptr;
    edit = nullptr;
    guardAtCursorSignal.clear();
    hookCalls.clear();
}

void NavigatorTest::load(const QString &marked)
{
    const MarkedText text = parseMarked(marked);
    edit->setPlainText(text.document->toPlainText());
    QTextCursor cursor = edit->textCursor();
    cursor.setPosition(text.cursor.anchor());
    cursor.setPosition(text.cursor.position(), QTextCursor::KeepAnchor);
    edit->setTextCursor(cursor);
    guardAtCursorSignal.clear();
}

void NavigatorTest::sentenceArrows_data()
{
    QTest::addColumn<bool>("forward");
    QTest::addColumn<QString>("input");
    QTest::addColumn<bool>("moved");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QStringList>("hooks");

    QTest::newRow("forward from a bare caret: current unit, then the next")
        << true << "The c^at {sat|lay} on the mat." << true << "The cat «{sat|lay}» on the mat."
        << QStringList{"docks forward guarded: {sat|lay}"};
    QTest::newRow("forward from a selected unit")
        << true << "The cat «{sat|lay}» on the mat." << true << "The cat {sat|lay} «on the mat.»"
        << QStringList{"docks forward guarded: on the mat."};
    QTest::newRow("forward at the document end keeps the unit it selected")
        << true << "Hello. Wor^ld" << false << "Hello. «World»" << QStringList{};
    QTest::newRow("forward at the end of a selected last unit") << true << "Hello. «World»\n\n"
                                                                << false << "Hello. «World»\n\n"
                                                                << QStringList{};
    QTest::newRow("forward in an empty document") << true << "^" << false << "^" << QStringList{};
    QTest::newRow("backward from a bare caret: the unit ending before it")
        << false << "Hello. Wor^ld." << true << "«Hello.» World."
        << QStringList{"docks backward guarded: Hello."};
    QTest::newRow("backward into the previous paragraph")
        << false << "Go {a|b}\n«Next.»" << true << "Go «{a|b}»\nNext."
        << QStringList{"docks backward guarded: {a|b}"};
    QTest::newRow("backward at the document start changes nothing")
        << false << "Hel^lo. World." << false << "Hel^lo. World." << QStringList{};
}

void NavigatorTest::sentenceArrows()
{
    QFETCH(bool, forward);
    QFETCH(QString, input);
    QFETCH(bool, moved);
    QFETCH(QString, expected);
    QFETCH(QStringList, hooks);
    load(input);

    QCOMPARE(forward ? navigator->nextS(false) : navigator->prevS(false), moved);
    QCOMPARE(shown(), expected);
    QCOMPARE(hookCalls, hooks);
    // Cursor tracking must not see the programmatic selections as user moves,
    // and the guard is back on every path.
    QVERIFY(!guardAtCursorSignal.contains(true));
    QVERIFY(guards->allowChanges());
}

void NavigatorTest::wordArrows_data()
{
    QTest::addColumn<bool>("forward");
    QTest::addColumn<QString>("input");
    QTest::addColumn<bool>("moved");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QStringList>("hooks");

    QTest::newRow("forward to a bracketed phrase")
        << true << "«foo» (bar baz) qux" << true << "foo «(bar baz)» qux"
        << QStringList{"track open: (bar baz)"};
    QTest::newRow("forward at the last word")
        << true << "foo «bar» " << false << "foo «bar» " << QStringList{};
    QTest::newRow("backward to a group")
        << false << "foo {a|b} «c»" << true << "foo «{a|b}» c" << QStringList{"track open: {a|b}"};
    QTest::newRow("backward at the first word")
        << false << "«foo» bar" << false << "«foo» bar" << QStringList{};
}

void NavigatorTest::wordArrows()
{
    QFETCH(bool, forward);
    QFETCH(QString, input);
    QFETCH(bool, moved);
    QFETCH(QString, expected);
    QFETCH(QStringList, hooks);
    load(input);

    if (forward) {
        QCOMPARE(navigator->nextClicked(false), moved);
        QVERIFY(!guardAtCursorSignal.contains(true));
    } else {
        navigator->previousClicked(false);
        // The backward step leaves the guard alone: tracking follows the move.
        QVERIFY(!guardAtCursorSignal.contains(false));
    }
    QCOMPARE(shown(), expected);
    QCOMPARE(hookCalls, hooks);
    QVERIFY(guards->allowChanges());
}

// At the document ends the steps change nothing, and the arrows keep working
// afterwards in the other direction.
void NavigatorTest::arrowsWorkAfterFailedSteps()
{
    load("One. «Two»");
    QVERIFY(!navigator->nextClicked(false));
    QVERIFY(!navigator->nextS(false));
    QCOMPARE(shown(), QStringLiteral("One. «Two»"));
    navigator->previousClicked(false);
    QCOMPARE(shown(), QStringLiteral("«One». Two"));
    QVERIFY(!navigator->prevS(false));
    navigator->previousClicked(false);
    QCOMPARE(shown(), QStringLiteral("«One». Two"));
    QVERIFY(navigator->nextS(false));
    QCOMPARE(shown(), QStringLiteral("One. «Two»"));
    QCOMPARE(hookCalls, (QStringList{"track open: One", "docks forward guarded: Two"}));
    QVERIFY(guards->allowChanges());
}

// The synonym panel clears allowChanges around its own edits and calls the
// word step in between; the step must not hand the flag back early.
void NavigatorTest::guardKeptByAnOuterOperation()
{
    load("«one» two");
    {
        const auto panelEdit = guards->hold({GuardFlags::AllowChanges});
        navigator->nextClicked(false, true);
        QVERIFY(!guards->allowChanges());
        navigator->nextS(false);
        QVERIFY(!guards->allowChanges());
    }
    QVERIFY(guards->allowChanges());
    QCOMPARE(hookCalls, (QStringList{"track guarded: two"}));
}

void NavigatorTest::paragraphArrows()
{
    load("Fi^rst\n\n  Second para\nThird");
    QVERIFY(navigator->nextP(false));
    QCOMPARE(shown(), QStringLiteral("First\n\n  «Second para»\nThird"));
    QVERIFY(navigator->nextP(false, false));
    QCOMPARE(shown(), QStringLiteral("First\n\n  Second para\n^Third"));
    QVERIFY(!navigator->nextP(false));
    QCOMPARE(shown(), QStringLiteral("First\n\n  Second para\n^Third"));
    QVERIFY(navigator->prevP(false));
    QCOMPARE(shown(), QStringLiteral("First\n\n«  Second para»\nThird"));
    QVERIFY(navigator->prevP(false));
    QCOMPARE(shown(), QStringLiteral("«First»\n\n  Second para\nThird"));
    QVERIFY(!navigator->prevP(false));
    // Paragraph arrows leave the selection to ordinary cursor tracking.
    QVERIFY(!guardAtCursorSignal.contains(false));
    QVERIFY(hookCalls.isEmpty());
}

void NavigatorTest::plainStepsAndCurrentUnits()
{
    load("The c^at {sat|lay} on the mat. Next.");
    QCOMPARE(navigator->curS().selectedText(), QStringLiteral("The cat"));
    QCOMPARE(navigator->curRS().selectedText(), QStringLiteral("The cat {sat|lay} on the mat."));
    // curS only reports the unit; selecting it is the caller's choice.
    QCOMPARE(shown(), QStringLiteral("The c^at {sat|lay} on the mat. Next."));

    QVERIFY(navigator->nextS());
    QCOMPARE(shown(), QStringLiteral("The cat «{sat|lay}» on the mat. Next."));
    QVERIFY(navigator->nextS());
    QVERIFY(navigator->nextS());
    QCOMPARE(shown(), QStringLiteral("The cat {sat|lay} on the mat. «Next.»"));
    QVERIFY(!navigator->nextS());
    QCOMPARE(shown(), QStringLiteral("The cat {sat|lay} on the mat. «Next.»"));
    QVERIFY(navigator->prevS());
    QCOMPARE(shown(), QStringLiteral("The cat {sat|lay} «on the mat.» Next."));
    QVERIFY(hookCalls.isEmpty());
}

REWORDIX_TEST_MAIN(NavigatorTest)
#include "navigator_test.moc"
