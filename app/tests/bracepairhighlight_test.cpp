#include "testsupport/testsupport.h"

#include "selection/guardflags.h"
#include "app/bracepairhighlight.h"
#include "app/qmytextedit.h"

#include <QTest>
#include <QTextCursor>
#include <QTextEdit>

namespace {

// The editor's extra selections as "start-end:kind" with kind m (matched) or
// u (unmatched), in the editor's order.
QStringList marks(const QTextEdit &editor)
{
    QStringList out;
    for (const QTextEdit::ExtraSelection &entry : editor.extraSelections()) {
        const QColor background = entry.format.background().color();
        const QString kind = background == QColor(12, 199, 255) ? QStringLiteral("m")
                             : background == QColor(Qt::red)    ? QStringLiteral("u")
                                                                : QStringLiteral("?");
        QString mark = QStringLiteral("%1-%2:%3")
                           .arg(entry.cursor.selectionStart())
                           .arg(entry.cursor.selectionEnd())
                           .arg(kind);
        if (entry.format.foreground().color() != QColor(Qt::white))
            mark += QStringLiteral("!");
        out.append(mark);
    }
    return out;
}

void moveCaret(QTextEdit &editor, int position)
{
    QTextCursor cursor = editor.textCursor();
    cursor.setPosition(position);
    editor.setTextCursor(cursor);
}

} // namespace

class BracePairHighlightTest final : public QObject
{
    Q_OBJECT

private slots:
    void followsCaret_data();
    void followsCaret();
    void typingUpdatesHighlight();
    void keepsOtherEditorsAndCallersCursor();
    void spinEditorsOnly();
};

void BracePairHighlightTest::followsCaret_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("caret");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("matched pair") << "a {b|c} d" << 2 << QStringList{"2-3:m", "6-7:m"};
    QTest::newRow("brace before the caret wins") << "{a}{b}" << 3 << QStringList{"0-1:m", "2-3:m"};
    QTest::newRow("opening brace without partner: red, no closing mark")
        << "x {a|b" << 3 << QStringList{"2-3:u"};
    QTest::newRow("closing brace without partner") << "a} b" << 2 << QStringList{"1-2:u"};
    QTest::newRow("partner in another paragraph is not looked for")
        << "a {b\nc} d" << 2 << QStringList{"2-3:u"};
    QTest::newRow("second paragraph in document positions")
        << "x\n{y}" << 5 << QStringList{"2-3:m", "4-5:m"};
    QTest::newRow("no brace beside the caret clears") << "{a|b}" << 2 << QStringList{};
}

void BracePairHighlightTest::followsCaret()
{
    QFETCH(QString, text);
    QFETCH(int, caret);
    QFETCH(QStringList, expected);

    QTextEdit editor;
    new BracePairHighlight(&editor);
    editor.setPlainText(text);
    moveCaret(editor, 0);
    moveCaret(editor, caret);
    QCOMPARE(marks(editor), expected);
}

void BracePairHighlightTest::typingUpdatesHighlight()
{
    QTextEdit editor;
    new BracePairHighlight(&editor);
    editor.setPlainText(QStringLiteral("{a|b"));
    moveCaret(editor, 1);
    QCOMPARE(marks(editor), QStringList{"0-1:u"});

    // Closing the group through another cursor finds the partner.
    QTextCursor other(editor.document());
    other.movePosition(QTextCursor::End);
    other.insertText(QStringLiteral("}"));
    QCOMPARE(marks(editor), (QStringList{"0-1:m", "4-5:m"}));

    // Typing a letter at the caret moves it off the brace.
    editor.textCursor().insertText(QStringLiteral("x"));
    QCOMPARE(marks(editor), QStringList{});
}

void BracePairHighlightTest::keepsOtherEditorsAndCallersCursor()
{
    QTextEdit editor;
    auto *highlight = new BracePairHighlight(&editor);
    editor.setPlainText(QStringLiteral("{a}"));

    QTextEdit elsewhere;
    elsewhere.setPlainText(QStringLiteral("{b}"));
    moveCaret(editor, 1);
    QCOMPARE(marks(editor), (QStringList{"0-1:m", "2-3:m"}));

    QTextCursor foreign(elsewhere.document());
    foreign.setPosition(1);
    highlight->apply(foreign);
    QCOMPARE(marks(editor), QStringList{});

    QTextCursor selecting(editor.document());
    selecting.setPosition(0);
    selecting.setPosition(3, QTextCursor::KeepAnchor);
    highlight->apply(selecting);
    QCOMPARE(marks(editor), (QStringList{"0-1:m", "2-3:m"}));
    QCOMPARE(selecting.anchor(), 0);
    QCOMPARE(selecting.position(), 3);
}

// Document editors carry the highlight; spun companions keep their extra
// selections for the hover mark of the spun word.
void BracePairHighlightTest::spinEditorsOnly()
{
    GuardFlags guards;
    QMyTextEdit documentEditor(guards, false);
    documentEditor.setPlainText(QStringLiteral("{a}"));
    moveCaret(documentEditor, 3);
    QCOMPARE(marks(documentEditor), (QStringList{"0-1:m", "2-3:m"}));

    QMyTextEdit spunEditor(guards, true);
    spunEditor.setPlainText(QStringLiteral("{a}"));
    moveCaret(spunEditor, 3);
    QCOMPARE(marks(spunEditor), QStringList{});
}

REWORDIX_TEST_MAIN(BracePairHighlightTest)
#include "bracepairhighlight_test.moc"
