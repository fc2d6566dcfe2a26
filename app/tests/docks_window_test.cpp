// The Sentence, Paragraph and Rapid Spin docks and cursor tracking on a started window: what
// the docks list for the caret, what ticking and adding rows write into the article, the arrow
// steps, the rapid columns and their debounce, the status bar labels, and the guard flags.

#include "testsupport/testsupport.h"
#include "windowparts.h"

#include "app/cursortracker.h"
#include "app/search.h"
#include "selection/widgets/docks/rapidspindock.h"
#include "selection/widgets/docks/unitspindock.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

#include <QTextCursor>

#include <memory>

namespace {

QStringList rows(const QListWidget *list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

QStringList ticked(const QListWidget *list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i) {
        if (list->item(i)->isSelected())
            texts << list->item(i)->text();
    }
    return texts;
}

} // namespace

class DocksWindowTest final : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        QSettings().clear();
        w = std::make_unique<Lexora3>(nullptr, 1.191, false);
        w->show();
        w->show2();
    }
    void cleanup()
    {
        QVERIFY2(w->guardFlags().idle(), "a guard flag was left held");
        w.reset();
    }

    void caretLoadsSentenceAndParagraph()
    {
        load(QStringLiteral("First one.\nThe cat {sat|lay} on the mat."), "mat");
        UnitSpinDock *sentence = w->sentenceSpinDock();
        UnitSpinDock *paragraph = w->paragraphSpinDock();
        QCOMPARE(rows(sentence->list), (QStringList{"(blank)", "on the mat."}));
        QCOMPARE(ticked(sentence->list), QStringList{"on the mat."});
        QCOMPARE(rows(paragraph->list), (QStringList{"(blank)", "The cat {sat|lay} on the mat."}));
        QCOMPARE(ticked(paragraph->list), QStringList{"The cat {sat|lay} on the mat."});
        QCOMPARE(sentence->origL->text(), QStringLiteral("on the mat."));
        // Loading ticks rows but never writes.
        QCOMPARE(text(), QStringLiteral("First one.\nThe cat {sat|lay} on the mat."));
        QCOMPARE(parts::child<QLabel>(*w, "curposQL")->text(), QStringLiteral("[00002,00025]"));
        QTRY_COMPARE_WITH_TIMEOUT(parts::child<QLabel>(*w, "sentencesQL")->text(),
                                  QStringLiteral("2 Sentence(s)"), 20000);
    }

    void tickingRowsRewritesTheGroup()
    {
        load(QStringLiteral("Intro. {A|B|C} End."), "B");
        QListWidget *list = w->sentenceSpinDock()->list;
        QCOMPARE(rows(list), (QStringList{"(blank)", "A", "B", "C"}));
        QCOMPARE(ticked(list), (QStringList{"A", "B", "C"}));
        list->item(3)->setSelected(false);
        QCOMPARE(text(), QStringLiteral("Intro. {A|B} End."));
        list->item(0)->setSelected(true);
        QCOMPARE(text(), QStringLiteral("Intro. {|A|B} End."));
        list->item(0)->setSelected(false);
        list->item(2)->setSelected(false);
        QCOMPARE(text(), QStringLiteral("Intro. A End."));
        // The dock keeps its unit while the caret stays in what it wrote.
        QCOMPARE(ticked(list), QStringList{"A"});
    }

    void blankGroupIsListedWithItsEmptyRow()
    {
        load(QStringLiteral("{|A|B}"), "A");
        QCOMPARE(rows(w->sentenceSpinDock()->list), (QStringList{"(blank)", "", "A", "B"}));
        QCOMPARE(ticked(w->sentenceSpinDock()->list), (QStringList{"(blank)", "", "A", "B"}));
    }

    void blankAloneKeepsTheSentence()
    {
        load(QStringLiteral("Old one."), "Old");
        QListWidget *list = w->sentenceSpinDock()->list;
        list->item(1)->setSelected(false);
        QCOMPARE(text(), QStringLiteral("Old one."));
        list->item(0)->setSelected(true);
        QCOMPARE(text(), QStringLiteral("{|Old one.}"));
        list->item(0)->setSelected(false);
        QCOMPARE(text(), QStringLiteral("Old one."));
    }

    void addingAlternatives()
    {
        load(QStringLiteral("Old one."), "Old");
        UnitSpinDock *sentence = w->sentenceSpinDock();
        sentence->addLE->setText(QStringLiteral("New one."));
        QTest::keyClick(sentence->addLE, Qt::Key_Return);
        QCOMPARE(text(), QStringLiteral("{Old one.|New one.}"));
        QVERIFY(sentence->addLE->text().isEmpty());
        for (const QString &dropped : {QStringLiteral("New one."), QStringLiteral("   ")}) {
            sentence->addLE->setText(dropped);
            sentence->addPB->click();
            QVERIFY(sentence->addLE->text().isEmpty());
            QCOMPARE(text(), QStringLiteral("{Old one.|New one.}"));
        }

        load(QStringLiteral("Some words here."), "words");
        UnitSpinDock *paragraph = w->paragraphSpinDock();
        paragraph->addPTE->setPlainText(QStringLiteral("Hello, world!\nBye."));
        paragraph->addPB->click();
        QCOMPARE(text(), QStringLiteral("{Some words here.|Hello world Bye}"));
        QVERIFY(paragraph->addPTE->toPlainText().isEmpty());
    }

    void arrowStepLoadsTheGroup()
    {
        load(QStringLiteral("Start here. {A|B|C} Tail."), "here");
        UnitSpinDock *sentence = w->sentenceSpinDock();
        sentence->nextPB->click();
        QCOMPARE(parts::textEdit(*w)->textCursor().selectedText(), QStringLiteral("{A|B|C}"));
        QCOMPARE(rows(sentence->list), (QStringList{"B", "C"}));
        QCOMPARE(ticked(sentence->list), (QStringList{"B", "C"}));
        QCOMPARE(sentence->origL->text(), QStringLiteral("A"));
        QCOMPARE(w->rapidSpinDock()->columns().size(), 1);
        sentence->list->item(1)->setSelected(false);
        QCOMPARE(text(), QStringLiteral("Start here. B Tail."));

        // Onto a plain sentence the list is empty; an added alternative replaces the sentence.
        load(QStringLiteral("One. Two."), "One");
        sentence->nextPB->click();
        const QString reached = parts::textEdit(*w)->textCursor().selectedText();
        QVERIFY(reached.contains(QLatin1String("Two.")));
        QCOMPARE(sentence->list->count(), 0);
        QCOMPARE(sentence->origL->text(), reached);
        sentence->addLE->setText(QStringLiteral("Zwei."));
        sentence->addPB->click();
        QCOMPARE(text(),
                 QString(QStringLiteral("One. Two.")).replace(reached, QStringLiteral("Zwei.")));
    }

    // After a sentence arrow step the first alternative is the label and the others the rows
    // (a blank one once, repeats of others kept), all ticked; the rapid label names a group by
    // its first alternative after a forward step, by its whole text after a backward one. The
    // dock is held to the window's width.
    void arrowStepLists_data()
    {
        QTest::addColumn<QString>("content");
        QTest::addColumn<QString>("at");
        QTest::addColumn<bool>("forward");
        QTest::addColumn<QString>("reached");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("rapidLabel");
        QTest::newRow("forward onto a group")
            << "Start here. {A|B|C} Tail."
            << "here" << true << "{A|B|C}" << QStringList{"B", "C"} << "A"
            << "A";
        QTest::newRow("backward onto a group")
            << "{A|B|C} Tail."
            << "Tail" << false << "{A|B|C}" << QStringList{"B", "C"} << "A"
            << "{A|B|C}";
        QTest::newRow("blank listed once, repeats kept")
            << "Go. {A|B||B|} x"
            << "Go" << true << "{A|B||B|}" << QStringList{"B", "", "B"} << "A"
            << "A";
        QTest::newRow("plain sentence") << "One. Two."
                                        << "One" << true << "Two." << QStringList{} << "Two."
                                        << "Two.";
    }
    void arrowStepLists()
    {
        QFETCH(QString, content);
        QFETCH(QString, at);
        QFETCH(bool, forward);
        QFETCH(QString, reached);
        QFETCH(QStringList, rows);
        QFETCH(QString, label);
        QFETCH(QString, rapidLabel);
        load(content, at.toUtf8().constData());
        UnitSpinDock *sentence = w->sentenceSpinDock();
        sentence->setMaximumWidth(40);
        (forward ? sentence->nextPB : sentence->previousPB)->click();
        QCOMPARE(parts::textEdit(*w)->textCursor().selectedText(), reached);
        QCOMPARE(::rows(sentence->list), rows);
        QCOMPARE(ticked(sentence->list), rows);
        QCOMPARE(sentence->entries(), rows);
        QCOMPARE(sentence->origL->text(), label);
        QCOMPARE(w->rapidSpinDock()->origRapidSentenceL->text(), rapidLabel);
        const QMargins margins = w->contentsMargins();
        QCOMPARE(sentence->maximumWidth(), w->width() - margins.left() - margins.right());
        QCOMPARE(text(), content);
    }

    void rapidColumnsLoadOnceAndWrite()
    {
        w->synonymStore()->userSyn.insert(QStringLiteral("big"), {"large", "huge"});
        load(QStringLiteral("One two. The big dog. A {b c|d} e."), "One");
        RapidSpinDock *rapid = w->rapidSpinDock();
        // Several moves within the debounce load only the last sentence.
        place("dog");
        place("A {");
        place("big");
        QVERIFY(w->cursorTracker()->t.isActive());
        QTRY_COMPARE_WITH_TIMEOUT(rapid->origRapidSentenceL->text(), QStringLiteral("The big dog."),
                                  20000);
        QCOMPARE(rapid->columns().size(), 3);
        QBottomList *big = rapid->columns().at(1);
        QCOMPARE(big->curSyns, (QStringList{"large", "huge"}));
        big->list->item(0)->setSelected(true);
        QCOMPARE(text(), QStringLiteral("One two. The {big|large} dog. A {b c|d} e."));

        place("e.");
        QTRY_COMPARE_WITH_TIMEOUT(rapid->origRapidSentenceL->text(), QStringLiteral("A {b c|d} e."),
                                  20000);
        QCOMPARE(rapid->columns().size(), 3);
        QCOMPARE(rapid->columns().at(1)->tickedSynonyms(), QStringList{"d"});
    }

    void rapidDoesNotOverwriteAnotherSelection()
    {
        w->synonymStore()->userSyn.insert(QStringLiteral("big"), {"large"});
        load(QStringLiteral("The big dog. Other text."), "big");
        RapidSpinDock *rapid = w->rapidSpinDock();
        QTRY_COMPARE_WITH_TIMEOUT(rapid->columns().size(), 3, 20000);
        // Select a word of the other sentence: the columns still belong to the first one.
        const int at = int(text().indexOf(QStringLiteral("Other")));
        QTextCursor cursor = parts::textEdit(*w)->textCursor();
        cursor.setPosition(at);
        cursor.setPosition(at + 5, QTextCursor::KeepAnchor);
        parts::textEdit(*w)->setTextCursor(cursor);
        rapid->columns().at(1)->list->item(0)->setSelected(true);
        QCOMPARE(text(), QStringLiteral("The big dog. Other text."));
    }

    void panelGetsTheGroupOrWord_data()
    {
        QTest::addColumn<int>("offset"); // caret position in "so {quick|fast} big house."
        QTest::addColumn<QString>("word");
        QTest::newRow("inside the group") << 6 << "{quick|fast}";
        QTest::newRow("just before the brace") << 3 << "{quick|fast}";
        QTest::newRow("just after the brace") << 15 << "{quick|fast}";
        QTest::newRow("on a word") << 22 << "house";
        QTest::newRow("before the full stop") << 25 << "house";
    }
    void panelGetsTheGroupOrWord()
    {
        QFETCH(int, offset);
        QFETCH(QString, word);
        parts::textEdit(*w)->setPlainText(QStringLiteral("so {quick|fast} big house."));
        QTextCursor cursor = parts::textEdit(*w)->textCursor();
        cursor.setPosition(offset);
        parts::textEdit(*w)->setTextCursor(cursor);
        QCOMPARE(w->quickSpinPanel()->currentWord(), word);
    }

    void programmaticEditsDoNotReload()
    {
        load(QStringLiteral("First sentence. Second one."), "First");
        GuardFlags &guards = const_cast<GuardFlags &>(w->guardFlags());
        {
            const auto hold = guards.hold({GuardFlags::AllowChanges});
            parts::textEdit(*w)->setPlainText(QStringLiteral("Replaced text."));
        }
        QCOMPARE(rows(w->sentenceSpinDock()->list), (QStringList{"(blank)", "First sentence."}));
        QCOMPARE(w->quickSpinPanel()->currentWord(), QStringLiteral("First"));
    }

    // A paragraph of one unbroken run of characters (or groups nested thousands deep) fills the
    // docks without widening the window; their labels and rows show its start.
    void unbrokenParagraphKeepsTheWindowWidth()
    {
        // 20,000 characters are over 100,000 pixels wide; the window needs about 1,000.
        constexpr int screenWidth = 4000;
        const QString run(20000, QLatin1Char('x'));
        load(QStringLiteral("{") + run + QStringLiteral("|y}"), "x");
        QTest::qWait(0);
        QVERIFY(w->minimumSizeHint().width() <= screenWidth);
        QVERIFY(w->width() <= screenWidth);
        UnitSpinDock *paragraph = w->paragraphSpinDock();
        QCOMPARE(paragraph->entries(), (QStringList{"(blank)", run, "y"}));
        QVERIFY(paragraph->list->item(1)->text().endsWith(QChar(0x2026)));
        QVERIFY(paragraph->list->item(1)->text().size() < 2000);
        QVERIFY(paragraph->origL->text().size() < 2000);
        QVERIFY(w->sentenceSpinDock()->origL->text().size() < 2000);
        QTRY_COMPARE_WITH_TIMEOUT(w->rapidSpinDock()->columns().size(), 1, 20000);
        QVERIFY(w->rapidSpinDock()->origRapidSentenceL->text().size() < 2000);
        QVERIFY(w->minimumSizeHint().width() <= screenWidth);
    }

    // Commands that rewrite the text leave the docks and the panel with their units until the
    // user moves the caret.
    void rewritesKeepTheDocks_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("result");
        QTest::newRow("Replace All") << "replace all"
                                     << "First {a|b} one. Third {c|d} two.";
        QTest::newRow("Replace") << "replace"
                                 << "Third {a|b} one. Second {c|d} two.";
        QTest::newRow("Remove Original Word") << "remove original"
                                              << "First b one. Second d two.";
    }
    void rewritesKeepTheDocks()
    {
        QFETCH(QString, command);
        QFETCH(QString, result);
        load(QStringLiteral("First {a|b} one. Second {c|d} two."), "one");
        const QString word = w->quickSpinPanel()->currentWord();
        const QStringList sentenceRows = rows(w->sentenceSpinDock()->list);
        const QStringList paragraphRows = rows(w->paragraphSpinDock()->list);
        Search *search = w->searchDialog();
        search->replaceFindLE->setText(command == QLatin1String("replace")
                                           ? QStringLiteral("First")
                                           : QStringLiteral("Second"));
        search->replaceWithLE->setText(QStringLiteral("Third"));
        if (command == QLatin1String("replace all")) {
            search->replaceAllPB->click();
        } else if (command == QLatin1String("replace")) {
            // The hit is selected as Find Next would: the docks follow that move.
            QTextCursor cursor = parts::textEdit(*w)->textCursor();
            cursor.setPosition(0);
            cursor.setPosition(5, QTextCursor::KeepAnchor);
            {
                GuardFlags &guards = const_cast<GuardFlags &>(w->guardFlags());
                const auto hold = guards.hold({GuardFlags::AllowChanges});
                parts::textEdit(*w)->setTextCursor(cursor);
            }
            search->replacePB->click();
        } else {
            parts::action(*w, AppActions::RemoveOriginalWord)->trigger();
        }
        QCOMPARE(text(), result);
        QCOMPARE(rows(w->sentenceSpinDock()->list), sentenceRows);
        QCOMPARE(rows(w->paragraphSpinDock()->list), paragraphRows);
        QCOMPARE(w->quickSpinPanel()->currentWord(), word);
    }

    // What the rapid dock wrote is its sentence: moving inside it does not rebuild the columns.
    void rapidWriteIsTheLoadedSentence()
    {
        w->synonymStore()->userSyn.insert(QStringLiteral("big"), {"large"});
        load(QStringLiteral("The big dog. Other."), "big");
        RapidSpinDock *rapid = w->rapidSpinDock();
        QTRY_COMPARE_WITH_TIMEOUT(rapid->columns().size(), 3, 20000);
        rapid->columns().at(1)->list->item(0)->setSelected(true);
        QCOMPARE(text(), QStringLiteral("The {big|large} dog. Other."));
        place("dog");
        QVERIFY(!w->cursorTracker()->t.isActive());
        QCOMPARE(rapid->columns().at(1)->tickedSynonyms(), QStringList{"large"});
    }

private:
    void load(const QString &content, const char *at)
    {
        parts::textEdit(*w)->setPlainText(content);
        place(at);
    }
    // Puts the caret at the start of the first occurrence of `at`.
    void place(const char *at)
    {
        const qsizetype pos = text().indexOf(QString::fromUtf8(at));
        QVERIFY2(pos >= 0, at);
        QTextCursor cursor = parts::textEdit(*w)->textCursor();
        cursor.setPosition(int(pos));
        parts::textEdit(*w)->setTextCursor(cursor);
    }
    QString text() const { return parts::textEdit(*w)->toPlainText(); }

    std::unique_ptr<Lexora3> w;
};

REWORDIX_TEST_MAIN(DocksWindowTest)
#include "docks_window_test.moc"
