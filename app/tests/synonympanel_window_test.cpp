// The synonym panel in a started window: the loading chain (window disabled while it reads, the
// thesaurus import shown in the status bar), the panel following the caret, a language switch,
// and Replace mode stepping with the window's navigator.

#include "testsupport/testsupport.h"
#include "windowparts.h"

#include "app/lexora3.h"
#include "synonyms/widgets/qmytablewidget.h"
#include "app/qmytextedit.h"
#include "synonyms/widgets/quickspinpanel.h"
#include "synonyms/synonymstore.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QToolButton>
#include <QTextCursor>

#include <memory>

class SynonymPanelWindowTest final : public QObject
{
    Q_OBJECT

private:
    QString workFolder() const { return qEnvironmentVariable("REWORDIX_HOME") + "/"; }

    void writeFile(const QString &path, const QByteArray &content)
    {
        QDir().mkpath(QFileInfo(path).path());
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content);
    }

    static std::unique_ptr<Lexora3> startWindow()
    {
        auto w = std::make_unique<Lexora3>(nullptr, 1.191, false);
        w->show();
        w->show2();
        return w;
    }

    static void putCaret(Lexora3 &w, int position)
    {
        QTextCursor c = parts::textEdit(w)->textCursor();
        c.setPosition(position);
        parts::textEdit(w)->setTextCursor(c);
    }

    static QStringList rowTexts(const Lexora3 &w)
    {
        QStringList out;
        for (int r = 0; r < w.quickSpinPanel()->synTW->rowCount(); ++r)
            out.append(w.quickSpinPanel()->synTW->item(r, QMyTableWidget::TextColumn)->text());
        return out;
    }

    // Mouse clicks as a user makes them: on a character of the document, on a row's text.
    static void clickText(Lexora3 &w, int position)
    {
        QTextEdit *edit = parts::textEdit(w);
        QTextCursor c(edit->document());
        c.setPosition(position);
        const QRect left = edit->cursorRect(c);
        c.setPosition(position + 1);
        const QRect right = edit->cursorRect(c);
        QTest::mouseClick(edit->viewport(), Qt::LeftButton, {},
                          QPoint((left.x() + right.x()) / 2, left.center().y()));
    }

    static void clickRow(Lexora3 &w, const QString &text)
    {
        QMyTableWidget *table = w.quickSpinPanel()->synTW;
        const int row = int(rowTexts(w).indexOf(text));
        QVERIFY2(row >= 0, qPrintable("no row \"" + text + "\" in " + rowTexts(w).join(", ")));
        QTableWidgetItem *item = table->item(row, QMyTableWidget::TextColumn);
        table->scrollToItem(item);
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {},
                          table->visualItemRect(item).center());
    }

    static std::unique_ptr<Lexora3> startActiveWindow()
    {
        auto w = startWindow();
        w->activateWindow();
        if (!QTest::qWaitForWindowActive(w.get()))
            qWarning("the window did not become active");
        return w;
    }

private slots:
    void init()
    {
        QSettings().clear();
        QDir work(workFolder());
        work.removeRecursively();
        qputenv("REWORDIX_THESAURUS_DIR", QByteArray("/nonexistent/"));
        writeFile(workFolder() + "eng_syn.dat", "synonym version 1\n"
                                                "fast|quick|rapid\n"
                                                "car|auto|automobile\n");
    }

    void startLoadsTheListAndFollowsTheCaret()
    {
        auto w = startWindow();
        QVERIFY(w->isEnabled());
        QVERIFY(!QGuiApplication::overrideCursor());
        QCOMPARE(w->synonymStore()->allUserSyn.value("fast"), (QStringList{"quick", "rapid"}));

        parts::textEdit(*w)->setPlainText("The fast car {fast|speedy}.");
        putCaret(*w, 6);
        QCOMPARE(w->quickSpinPanel()->curSynQL->text(), QStringLiteral("fast"));
        QCOMPARE(rowTexts(*w), (QStringList{"(blank)", "fast", "quick", "rapid"}));
        putCaret(*w, 10);
        QCOMPARE(rowTexts(*w), (QStringList{"(blank)", "car", "auto", "automobile"}));
        putCaret(*w, 16); // in the group: its alternatives, the unlisted one as a manual row
        QCOMPARE(rowTexts(*w), (QStringList{"(blank)", "fast", "speedy", "quick", "rapid"}));
        QCOMPARE(w->quickSpinPanel()->tickedRows(), (QList<int>{1, 2}));

        // Ticking a row spins the word under the caret; the panel is not refilled by the edit.
        putCaret(*w, 6);
        const int quick = int(rowTexts(*w).indexOf("quick"));
        w->quickSpinPanel()->synTW->item(quick, QMyTableWidget::TextColumn)->setSelected(true);
        QCOMPARE(parts::textEdit(*w)->toPlainText(),
                 QStringLiteral("The {fast|quick} car {fast|speedy}."));
        QCOMPARE(w->quickSpinPanel()->tickedRows(), (QList<int>{1, quick}));
        QVERIFY(w->guardFlags().value(GuardFlags::AllowChanges));
    }

    void replaceModeStepsOn()
    {
        auto w = startWindow();
        parts::textEdit(*w)->setPlainText("fast car");
        putCaret(*w, 1);
        w->quickSpinPanel()->replacePB->click();
        const int rapid = int(rowTexts(*w).indexOf("rapid"));
        w->quickSpinPanel()->synTW->item(rapid, QMyTableWidget::TextColumn)->setSelected(true);
        QCOMPARE(parts::textEdit(*w)->toPlainText(), QStringLiteral("rapid car"));
        QCOMPARE(parts::textEdit(*w)->textCursor().selectedText(), QStringLiteral("car"));
        QCOMPARE(w->quickSpinPanel()->curSynQL->text(), QStringLiteral("car"));
        // The panel's own arrows are the word steps too.
        w->quickSpinPanel()->previousTB->click();
        QCOMPARE(parts::textEdit(*w)->textCursor().selectedText(), QStringLiteral("rapid"));
        QCOMPARE(w->quickSpinPanel()->curSynQL->text(), QStringLiteral("rapid"));
    }

    // Replace steps on to the next word and fills the panel for it; a click elsewhere must
    // then refill it for the word clicked, not keep the stepped-to word's rows.
    void replaceStepThenClickElsewhere()
    {
        writeFile(workFolder() + "eng_syn.dat", "synonym version 1\n"
                                                "good|great|fine\n"
                                                "plan|program|scheme\n");
        auto w = startActiveWindow();
        QuickSpinPanel *panel = w->quickSpinPanel();
        const QString text = "A good plan is a good start and good work.";
        parts::textEdit(*w)->setFocus();
        QTest::keyClicks(parts::textEdit(*w), text);
        QTest::keyClick(parts::textEdit(*w), Qt::Key_Home);
        QTest::keyClick(parts::textEdit(*w), Qt::Key_Tab);
        QCOMPARE(parts::textEdit(*w)->textCursor().selectedText(), QStringLiteral("good"));
        QTest::mouseClick(panel->replacePB, Qt::LeftButton);
        clickRow(*w, "great");
        QCOMPARE(parts::textEdit(*w)->toPlainText(),
                 QStringLiteral("A great plan is a good start and good work."));
        QCOMPARE(panel->curSynQL->text(), QStringLiteral("plan"));

        clickText(*w, int(text.indexOf("good start")) + 2);
        QCOMPARE(panel->currentWord(), QStringLiteral("good"));
        QCOMPARE(panel->curSynQL->text(), QStringLiteral("good"));
        QVERIFY(!rowTexts(*w).contains("program"));
        clickRow(*w, "fine");
        QCOMPARE(parts::textEdit(*w)->toPlainText(),
                 QStringLiteral("A great plan is a fine start and good work."));

        // The keyboard is back with the text: Tab and Shift+Tab step through the words.
        QCOMPARE(QApplication::focusWidget(), parts::textEdit(*w));
        QCOMPARE(parts::textEdit(*w)->textCursor().selectedText(), QStringLiteral("start"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(parts::textEdit(*w)->textCursor().selectedText(), QStringLiteral("and"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ShiftModifier);
        QCOMPARE(parts::textEdit(*w)->textCursor().selectedText(), QStringLiteral("start"));
    }

    // After spinning one occurrence, a click into another occurrence of the same word starts
    // afresh there: no ticks carried over, no earlier group written over it.
    void spinThenClickTheSameWordElsewhere()
    {
        writeFile(workFolder() + "eng_syn.dat", "synonym version 1\nquick|fast|speedy\n");
        auto w = startActiveWindow();
        QuickSpinPanel *panel = w->quickSpinPanel();
        parts::textEdit(*w)->setPlainText("The quick fox and the quick dog");
        clickText(*w, 6);
        clickRow(*w, "fast");
        QCOMPARE(parts::textEdit(*w)->toPlainText(),
                 QStringLiteral("The {quick|fast} fox and the quick dog"));
        QCOMPARE(QApplication::focusWidget(), parts::textEdit(*w));

        clickText(*w, int(QStringLiteral("The {quick|fast} fox and the q").size()));
        QCOMPARE(panel->currentWord(), QStringLiteral("quick"));
        QCOMPARE(panel->tickedRows(), QList<int>{1});
        clickRow(*w, "speedy");
        QCOMPARE(parts::textEdit(*w)->toPlainText(),
                 QStringLiteral("The {quick|fast} fox and the {quick|speedy} dog"));
    }

    void languageSwitchReloads()
    {
        writeFile(workFolder() + "ger_syn.dat", "synonym version 1\nschnell|rasch|flink\n");
        auto w = startWindow();
        parts::textEdit(*w)->setPlainText("ein schnell Auto");
        putCaret(*w, 6);
        QCOMPARE(rowTexts(*w), (QStringList{"(blank)", "schnell"}));
        parts::child<QComboBox>(*w, "langBox")
            ->setCurrentIndex(parts::child<QComboBox>(*w, "langBox")->findText("German"));
        QCOMPARE(w->synonymStore()->curLang, QStringLiteral("ger"));
        QVERIFY(w->isEnabled());
        QCOMPARE(rowTexts(*w), (QStringList{"(blank)", "schnell", "rasch", "flink"}));
        // Back to English: German words have no English synonyms.
        parts::child<QComboBox>(*w, "langBox")
            ->setCurrentIndex(parts::child<QComboBox>(*w, "langBox")->findText("English"));
        QCOMPARE(rowTexts(*w), (QStringList{"(blank)", "schnell"}));
    }

    // Without a list the installed thesaurus is converted once; the window stays disabled while
    // it reads and the status bar tells how far the import got.
    void thesaurusImportShowsProgress()
    {
        QFile::remove(workFolder() + "eng_syn.dat");
        QTemporaryDir thesauri;
        QByteArray dat = "UTF-8\n";
        for (int i = 0; i < 20000; ++i)
            dat += "word" + QByteArray::number(i) + "|1\n(adj)|alpha" + QByteArray::number(i) +
                   "|beta|gamma (antonym)\n";
        dat += "fast|1\n(adj)|quick|speedy (similar term)|slow (antonym)\n";
        writeFile(thesauri.filePath("th_en_US_v2.dat"), dat);
        qputenv("REWORDIX_THESAURUS_DIR", thesauri.path().toUtf8() + "/");

        auto w = std::make_unique<Lexora3>(nullptr, 1.191, false);
        w->show();
        QStringList messages;
        QList<bool> enabled;
        connect(w->statusBar(), &QStatusBar::messageChanged, this, [&](const QString &m) {
            messages.append(m);
            enabled.append(w->isEnabled());
        });
        w->show2();
        QVERIFY(messages.size() >= 3);
        QCOMPARE(messages.first(), QStringLiteral("Importing the English thesaurus..."));
        QVERIFY(messages.contains(QStringLiteral("Importing the English thesaurus... 100%")));
        QCOMPARE(messages.last(), QString());
        QVERIFY(!enabled.contains(true));
        QVERIFY(w->isEnabled());
        QVERIFY(QFile::exists(workFolder() + "eng_syn.dat"));

        parts::textEdit(*w)->setPlainText("fast");
        putCaret(*w, 2);
        QCOMPARE(rowTexts(*w), (QStringList{"(blank)", "fast", "quick", "speedy"}));
    }
};

REWORDIX_TEST_MAIN(SynonymPanelWindowTest)
#include "synonympanel_window_test.moc"
