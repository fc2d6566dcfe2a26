// Line breaking of an editor as its text gains and loses very long runs without white space.

#include "testsupport/testsupport.h"

#include "app/unbrokenrunwrap.h"

#include <QTextCursor>
#include <QTextEdit>

class UnbrokenRunWrapTest final : public QObject
{
    Q_OBJECT

private slots:
    void modeFollowsTheText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("anywhere");
        const qsizetype n = UnbrokenRunWrap::longRun;
        QTest::newRow("ordinary words") << QStringLiteral("word ").repeated(3 * n) << false;
        QTest::newRow("run one short of the limit") << QString(n - 1, QLatin1Char('x')) << false;
        QTest::newRow("run at the limit, after a line")
            << "first line\n" + QString(n, u'x') << true;
        QTest::newRow("nested braces")
            << QString(n / 2, QLatin1Char('{')) + "a" + QString(n / 2, QLatin1Char('}')) << true;
    }
    void modeFollowsTheText()
    {
        QFETCH(QString, text);
        QFETCH(bool, anywhere);
        QTextEdit edit;
        new UnbrokenRunWrap(&edit);
        const QTextOption::WrapMode normal = edit.wordWrapMode();
        edit.setPlainText(text);
        QCOMPARE(edit.wordWrapMode(), anywhere ? QTextOption::WrapAnywhere : normal);
        edit.setPlainText(QStringLiteral("short again"));
        QCOMPARE(edit.wordWrapMode(), normal);
    }

    // Typing that makes a run long switches over; deleting one character of it switches back.
    void typingCrossesTheLimit()
    {
        QTextEdit edit;
        new UnbrokenRunWrap(&edit);
        const QTextOption::WrapMode normal = edit.wordWrapMode();
        edit.setPlainText("a b\n" + QString(UnbrokenRunWrap::longRun - 1, QLatin1Char('x')));
        QTextCursor cursor(edit.document());
        cursor.movePosition(QTextCursor::End);
        cursor.insertText(QStringLiteral("y"));
        QCOMPARE(edit.wordWrapMode(), QTextOption::WrapAnywhere);
        cursor.deletePreviousChar();
        QCOMPARE(edit.wordWrapMode(), normal);
    }
};

REWORDIX_TEST_MAIN(UnbrokenRunWrapTest)
#include "unbrokenrunwrap_test.moc"
