#include "testsupport/testsupport.h"
#include "synonyms/widgets/caretword.h"
#include "synonyms/widgets/qmytablewidget.h"
#include "synonyms/widgets/quickspinpanel.h"

#include "selection/navigator.h"
#include "synonyms/synonymstore.h"

#include "storage/localdatabase.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextEdit>
#include <QTimer>
#include <QtTest>

#include <memory>

using RowKind = QuickSpinModel::RowKind;

// The panel as the user meets it: a real table under the offscreen platform clicked with the
// mouse, a real text editor, the word step of the navigator, and a store over a real SQLite
// database and list file in a temporary working folder.
class QuickSpinPanelTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> home;
    std::unique_ptr<QTemporaryDir> thesauri;
    std::unique_ptr<LocalDatabase> db;
    std::unique_ptr<SynonymStore> store;
    std::unique_ptr<QTextEdit> edit;
    std::unique_ptr<QuickSpinPanel> panel;
    std::unique_ptr<Navigator> navigator;
    std::unique_ptr<GuardFlags> guards = std::make_unique<GuardFlags>();

    QString folder() const { return home->path() + "/"; }

    void writeList(const QString &code, const QByteArray &body)
    {
        QFile f(folder() + code + "_syn.dat");
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("synonym version 1\n" + body);
    }

    QByteArray readLog(const QString &name) const
    {
        QFile f(folder() + name);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(none)");
    }

    // The stored list of one column for a word, "(no row)" when the word has none.
    QString stored(const QString &statement, const QString &word) const
    {
        QSqlQuery q(db->database());
        q.prepare(statement);
        q.addBindValue(word);
        if (!q.exec() || !q.next())
            return QStringLiteral("(no row)");
        return q.value(0).toString();
    }
    QString storedFav(const QString &word, int type, const QString &code = "eng") const
    {
        return stored("select syn from " + code +
                          "_fav where word=? and syn_type=" + QString::number(type),
                      word);
    }
    QString storedUserSyn(const QString &word, const QString &code = "eng") const
    {
        return stored("select usersyn from " + code + "_usersyn where word=?", word);
    }
    QString storedDeleted(const QString &word) const
    {
        return stored("select deletedsyn from eng_usersyn where word=?", word);
    }

    // The text with the editor's selection marked «like this».
    QString marked() const
    {
        const QTextCursor c = edit->textCursor();
        QString text = edit->toPlainText();
        if (!c.hasSelection())
            return text.insert(c.position(), u'^');
        text.insert(c.selectionEnd(), QStringLiteral("»"));
        return text.insert(c.selectionStart(), QStringLiteral("«"));
    }

    // Text and caret as cursor tracking leaves them: "^" marks the caret, and the panel is
    // filled for the word or group under it.
    void setText(const QString &withCaret)
    {
        const qsizetype caret = withCaret.indexOf(u'^');
        QString text = withCaret;
        text.remove(caret, 1);
        {
            const auto hold = guards->hold({GuardFlags::AllowChanges});
            edit->setPlainText(text);
            QTextCursor c = edit->textCursor();
            c.setPosition(int(caret));
            edit->setTextCursor(c);
        }
        track();
    }
    void track()
    {
        const QTextCursor c = edit->textCursor();
        const auto updating = guards->hold({GuardFlags::UpdatingList});
        panel->showWord(c.hasSelection() ? c.selectedText() : ::caretWord(c).text);
    }

    QStringList rowTexts() const
    {
        QStringList out;
        for (int r = 0; r < panel->synTW->rowCount(); ++r) {
            const QTableWidgetItem *item = panel->synTW->item(r, QMyTableWidget::TextColumn);
            out.append(item ? item->text() : QString());
        }
        return out;
    }
    // "text:type:grade" of the candidate rows as the table holds them.
    QStringList rowCodes() const
    {
        QStringList out;
        for (int r = 2; r < panel->synTW->rowCount(); ++r)
            out.append(panel->synTW->item(r, QMyTableWidget::TextColumn)->text() + ":" +
                       panel->synTW->item(r, QMyTableWidget::TypeColumn)->text() + ":" +
                       panel->synTW->item(r, QMyTableWidget::GradeColumn)->text());
        return out;
    }
    int rowOf(const QString &text) const { return int(rowTexts().indexOf(text)); }

    void click(const QString &text, int column = QMyTableWidget::TextColumn)
    {
        const int row = rowOf(text);
        QVERIFY2(row >= 0, qPrintable(text + " is not listed"));
        const QRect rect = panel->synTW->visualRect(panel->synTW->model()->index(row, column));
        QTest::mouseClick(panel->synTW->viewport(), Qt::LeftButton, {}, rect.center());
    }
    void clickAll(const QStringList &texts)
    {
        for (const QString &t : texts)
            click(t);
    }

    // Runs `action` while the removal question is answered with `answer`.
    void answerQuestion(QMessageBox::StandardButton answer, const std::function<void()> &action)
    {
        bool asked = false;
        QTimer::singleShot(0, this, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            QVERIFY(box);
            asked = true;
            QCOMPARE(box->windowTitle(), QStringLiteral("Remove Synonym"));
            box->button(answer)->click();
        });
        action();
        QVERIFY(asked);
    }

    void makePanel()
    {
        panel = std::make_unique<QuickSpinPanel>(*store, *guards);
        panel->editor = [this] { return edit.get(); };
        panel->nextWordStep = [this] { navigator->nextClicked(true, false); };
        panel->resize(240, 700);
        panel->show();
    }

private slots:
    void init()
    {
        home = std::make_unique<QTemporaryDir>();
        thesauri = std::make_unique<QTemporaryDir>();
        writeList("eng", "fast|quick|rapid|swift\n"
                         "car|auto|automobile\n");
        writeList("bul", "бърз|скор|пъргав\n");
        db = std::make_unique<LocalDatabase>();
        QVERIFY(db->connect(folder()));
        store = std::make_unique<SynonymStore>();
        store->setTempDir(folder());
        store->setDatabase(db.get());
        store->setThesaurusFolder(thesauri->path() + "/");
        store->loadSynonyms();

        edit = std::make_unique<QTextEdit>();
        navigator = std::make_unique<Navigator>(
            *guards, EditorPort{[this] { return edit->textCursor(); },
                                [this](const QTextCursor &c) { edit->setTextCursor(c); }});
        QVERIFY(guards->idle());
        makePanel();
    }

    void cleanup()
    {
        panel.reset();
        navigator.reset();
        edit.reset();
        store.reset();
        db.reset();
    }

    void fillShowsTheCandidates()
    {
        setText("The fa^st car.");
        QCOMPARE(rowTexts(), (QStringList{"(blank)", "fast", "quick", "rapid", "swift"}));
        QCOMPARE(rowCodes(), (QStringList{"quick:4:0", "rapid:4:0", "swift:4:0"}));
        QCOMPARE(panel->curSynQL->text(), QStringLiteral("fast"));
        QCOMPARE(panel->tickedRows(), QList<int>{1});
        QCOMPARE(marked(), QStringLiteral("The fa^st car.")); // filling changes no text
        const QTableWidgetItem *star = panel->synTW->item(2, QMyTableWidget::StarColumn);
        QCOMPARE(star->data(Qt::UserRole).toString(),
                 QStringLiteral(":/img/award_star_silver_3.png"));
        QCOMPARE(star->flags(), Qt::ItemIsEnabled);
        QCOMPARE(panel->synTW->item(2, QMyTableWidget::TextColumn)->flags(),
                 Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        QVERIFY(!panel->synTW->item(0, QMyTableWidget::StarColumn));
    }

    void spin_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("clicks");
        QTest::addColumn<QString>("result");
        QTest::addColumn<QString>("label");

        QTest::newRow("ticking writes the group in click order")
            << "The fa^st car." << QStringList{"quick", "rapid"} << "The «{fast|quick|rapid}» car."
            << "fast";
        QTest::newRow("unticking everything puts the word back")
            << "The fa^st car." << QStringList{"quick", "rapid", "rapid", "quick", "fast"}
            << "The «fast» car."
            << "fast";
        QTest::newRow("the blank gives an empty first alternative")
            << "The fa^st car." << QStringList{"quick", "(blank)"} << "The «{|fast|quick}» car."
            << "";
        QTest::newRow("blank alone, then unticked: the word is whole again")
            << "The fa^st car." << QStringList{"fast", "(blank)", "(blank)"} << "The «fast» car."
            << "fast";
        QTest::newRow("a capitalised word gets capitalised alternatives")
            << "Fa^st cars." << QStringList{"Quick", "(blank)", "Swift"}
            << "«{|Fast|Quick|Swift}» cars."
            << "";
        QTest::newRow("another synonym alone replaces the word")
            << "The fa^st car." << QStringList{"fast", "swift"} << "The «swift» car."
            << "swift";
        QTest::newRow("caret at the word's start")
            << "The ^fast car." << QStringList{"quick"} << "The «{fast|quick}» car."
            << "fast";
        QTest::newRow("an existing group is rewritten")
            << "The {fast|qu^ick} car." << QStringList{"rapid"} << "The «{fast|quick|rapid}» car."
            << "fast";
        QTest::newRow("unticking an alternative of an existing group")
            << "The {fast|qu^ick} car." << QStringList{"quick"} << "The «fast» car."
            << "fast";
    }
    void spin()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, clicks);
        QFETCH(QString, result);
        QFETCH(QString, label);
        setText(text);
        clickAll(clicks);
        QCOMPARE(marked(), result);
        QCOMPARE(panel->curSynQL->text(), label);
        QVERIFY(guards->idle());
    }

    // Spin All rewrites every whole-word occurrence, and the next tick rewrites those groups.
    void spinAll()
    {
        setText("fast cars go fa^st. breakfast is fast");
        panel->spinAllPB->click();
        QCOMPARE(panel->mode(), QuickSpinPanel::Mode::SpinAll);
        click("quick");
        QCOMPARE(marked(),
                 QStringLiteral("{fast|quick} cars go «{fast|quick}». breakfast is {fast|quick}"));
        click("rapid");
        QCOMPARE(marked(), QStringLiteral("{fast|quick|rapid} cars go «{fast|quick|rapid}». "
                                          "breakfast is {fast|quick|rapid}"));
        click("quick");
        click("rapid");
        QCOMPARE(marked(), QStringLiteral("fast cars go «fast». breakfast is fast"));
    }

    void replace()
    {
        setText("fa^st car fast");
        panel->replacePB->click();
        QCOMPARE(panel->synTW->selectionMode(), QAbstractItemView::SingleSelection);
        QVERIFY(!panel->spinPB->isChecked());
        click("rapid");
        QCOMPARE(marked(), QStringLiteral("rapid «car» fast"));
        QCOMPARE(panel->curSynQL->text(), QStringLiteral("car"));
        QCOMPARE(rowTexts(), (QStringList{"(blank)", "car", "auto", "automobile"}));
        // One row at a time.
        click("auto");
        QCOMPARE(marked(), QStringLiteral("rapid auto «fast»"));
        QCOMPARE(panel->tickedRows(), QList<int>{1});
        click("(blank)");
        QCOMPARE(marked(), QStringLiteral("rapid auto ^"));
    }

    void replaceAll_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("result");
        QTest::addColumn<QString>("label");

        QTest::newRow("occurrences forward and backward")
            << "fast car, fa^st and fast. breakfast"
            << "swift car, swift «and» swift. breakfast"
            << "and";
        // The step lands on the next "fast", which Replace All then rewrites: the panel lists
        // what is selected now, not the word that is gone.
        QTest::newRow("the next word is the same word") << "fa^st fast car fast"
                                                        << "swift «swift» car swift"
                                                        << "swift";
        QTest::newRow("the replacement contains the word") << "a fa^st b fast"
                                                           << "a very fast «b» very fast"
                                                           << "b";
    }
    void replaceAll()
    {
        QFETCH(QString, text);
        QFETCH(QString, result);
        QFETCH(QString, label);
        setText(text);
        panel->replaceAllPB->click();
        if (QTest::currentDataTag() == QByteArray("the replacement contains the word")) {
            panel->addSynLE->setText("very fast");
            // Added in Replace All mode, the new synonym is applied at once.
            panel->addSynonym();
        } else {
            click("swift");
        }
        QCOMPARE(marked(), result);
        QCOMPARE(panel->curSynQL->text(), label);
        QVERIFY(guards->idle());
    }

    void modeButtons()
    {
        panel->replaceAllPB->click();
        QCOMPARE(panel->mode(), QuickSpinPanel::Mode::ReplaceAll);
        QCOMPARE((QList<bool>{panel->spinPB->isChecked(), panel->spinAllPB->isChecked(),
                              panel->replacePB->isChecked(), panel->replaceAllPB->isChecked()}),
                 (QList<bool>{false, false, false, true}));
        panel->spinAllPB->click();
        QCOMPARE(panel->mode(), QuickSpinPanel::Mode::SpinAll);
        QCOMPARE(panel->synTW->selectionMode(), QAbstractItemView::MultiSelection);
        QVERIFY(!panel->replaceAllPB->isChecked());
        panel->spinAllPB->click(); // unchecked: back to Spin
        QCOMPARE(panel->mode(), QuickSpinPanel::Mode::Spin);
        QVERIFY(panel->spinPB->isChecked());
        panel->spinPB->click(); // Spin stays checked
        QVERIFY(panel->spinPB->isChecked());
        panel->replacePB->click();
        panel->replacePB->click();
        QCOMPARE(panel->mode(), QuickSpinPanel::Mode::Spin);
        QCOMPARE(panel->synTW->selectionMode(), QAbstractItemView::MultiSelection);
    }

    // Starring a server synonym makes it the first good favourite, stored and logged; unstarring
    // it stores the shortened list, even when empty.
    void favouriteServerSynonym()
    {
        setText("The Fa^st car.");
        click("Quick");
        click("Rapid", QMyTableWidget::StarColumn);
        QCOMPARE(rowCodes(), (QStringList{"Rapid:3:0", "Quick:4:0", "Swift:4:0"}));
        QCOMPARE(storedFav("fast", 0), QStringLiteral("rapid"));
        QCOMPARE(store->goodfav.value("fast"), QStringList{"rapid"});
        QCOMPARE(readLog("eng_fav_log.log"), QByteArray("\xEF\xBB\xBF") + "Fast|Rapid");
        // The ticked row keeps its tick after Quick moves.
        QMenu *menu = panel->synTW->contextMenuFor(rowOf("Swift"));
        QCOMPARE(menu->actions().at(0)->text(), QStringLiteral("Favorite"));
        menu->actions().at(0)->trigger();
        QCOMPARE(rowCodes(), (QStringList{"Swift:3:0", "Rapid:3:0", "Quick:4:0"}));
        QCOMPARE(storedFav("fast", 0), QStringLiteral("swift|rapid"));

        click("Rapid", QMyTableWidget::StarColumn);
        click("Swift", QMyTableWidget::StarColumn);
        QCOMPARE(rowCodes(), (QStringList{"Swift:4:0", "Rapid:4:0", "Quick:4:0"}));
        QCOMPARE(storedFav("fast", 0), QStringLiteral(""));
        QCOMPARE(readLog("eng_unfav_log.log"),
                 QByteArray("\xEF\xBB\xBF") + "Fast|Rapid\nFast|Swift");
        QCOMPARE(panel->tickedRows(), (QList<int>{1, rowOf("Quick")}));
        QCOMPARE(marked(), QStringLiteral("The «{Fast|Quick}» car."));
    }

    // Added synonyms: stored, logged, listed at the top of the user synonyms; starring and
    // unstarring them keeps them the user's.
    void addAndFavouriteUserSynonym()
    {
        setText("The fa^st car.");
        panel->addSynLE->setText("quick");
        panel->addSynonym();
        QCOMPARE(rowTexts().size(), 5); // already listed: only logged
        panel->addSynLE->setText("zippy");
        panel->addSynonym();
        panel->addSynLE->setText("Nippy");
        panel->addSynonym();
        QVERIFY(panel->addSynLE->text().isEmpty());
        QCOMPARE(rowCodes(),
                 (QStringList{"Nippy:2:2", "zippy:2:2", "quick:4:0", "rapid:4:0", "swift:4:0"}));
        QCOMPARE(storedUserSyn("fast"), QStringLiteral("Nippy|zippy"));
        QCOMPARE(readLog("eng_log.log"),
                 QByteArray("\xEF\xBB\xBF") + "fast|quick\nfast|zippy\nfast|Nippy");
        // Added synonyms are ticked like a click; the group is written lower-cased.
        QCOMPARE(marked(), QStringLiteral("The «{fast|zippy|nippy}» car."));

        click("zippy", QMyTableWidget::StarColumn);
        QCOMPARE(rowCodes(),
                 (QStringList{"zippy:1:3", "Nippy:2:2", "quick:4:0", "rapid:4:0", "swift:4:0"}));
        QCOMPARE(storedFav("fast", 3), QStringLiteral("zippy"));
        click("zippy", QMyTableWidget::StarColumn);
        QCOMPARE(storedFav("fast", 3), QStringLiteral(""));
        QCOMPARE(storedUserSyn("fast"), QStringLiteral("zippy|Nippy"));

        // After a restart the user's synonyms are still there.
        store->loadSynonyms();
        setText("The fast ^car.");
        setText("The fa^st car.");
        QCOMPARE(rowCodes(),
                 (QStringList{"zippy:2:0", "nippy:2:0", "quick:4:0", "rapid:4:0", "swift:4:0"}));
    }

    // A group's alternatives that no list holds are manual rows; starring them stays in the
    // panel, learning them stores them as the user's.
    void manualRowsAndLearn()
    {
        setText("The {fast|Zoom|quick|whizzy}^ car.");
        QCOMPARE(rowCodes(),
                 (QStringList{"Zoom:6:", "whizzy:6:", "quick:4:0", "rapid:4:0", "swift:4:0"}));
        QCOMPARE(panel->tickedRows(), (QList<int>{1, 2, 4, 3}));
        QCOMPARE(panel->rows().manualAL(), (QStringList{"Zoom", "whizzy"}));

        click("whizzy", QMyTableWidget::StarColumn);
        QCOMPARE(rowCodes(),
                 (QStringList{"whizzy:5:", "Zoom:6:", "quick:4:0", "rapid:4:0", "swift:4:0"}));
        QMenu *menu = panel->synTW->contextMenuFor(rowOf("whizzy"));
        QCOMPARE(menu->actions().at(0)->text(), QStringLiteral("Unfavorite"));
        QVERIFY(menu->actions().at(1)->isEnabled());
        menu->actions().at(1)->trigger(); // Learn
        QMenu *zoomMenu = panel->synTW->contextMenuFor(rowOf("Zoom"));
        zoomMenu->actions().at(1)->trigger();
        QCOMPARE(rowCodes(),
                 (QStringList{"whizzy:1:3", "Zoom:2:0", "quick:4:0", "rapid:4:0", "swift:4:0"}));
        QCOMPARE(storedFav("fast", 3), QStringLiteral("whizzy"));
        QCOMPARE(storedUserSyn("fast"), QStringLiteral("Zoom"));
        QVERIFY(!panel->synTW->contextMenuFor(rowOf("quick"))->actions().at(1)->isEnabled());
        QVERIFY(!panel->synTW->contextMenuFor(1));
        QCOMPARE(readLog("eng_fav_log.log"), QByteArray("(none)"));
        // The text was not touched by any of it.
        QCOMPARE(edit->toPlainText(), QStringLiteral("The {fast|Zoom|quick|whizzy} car."));
        // The order of the ticks is the group's order: unticking Zoom rewrites it without it.
        click("Zoom");
        QCOMPARE(marked(), QStringLiteral("The «{fast|quick|whizzy}» car."));
    }

    void removal_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("deleted");

        QTest::newRow("yes") << int(QMessageBox::Yes) << QStringList{"Quick", "Swift"}
                             << "«{Fast|Quick}» car."
                             << "rapid";
        QTest::newRow("no") << int(QMessageBox::No) << QStringList{"Quick", "Rapid", "Swift"}
                            << "«{Fast|Quick|Rapid}» car."
                            << "(no row)";
        QTest::newRow("cancel") << int(QMessageBox::Cancel)
                                << QStringList{"Quick", "Rapid", "Swift"}
                                << "«{Fast|Quick|Rapid}» car."
                                << "(no row)";
    }
    void removal()
    {
        QFETCH(int, answer);
        QFETCH(QStringList, rows);
        QFETCH(QString, text);
        QFETCH(QString, deleted);
        setText("Fa^st car.");
        clickAll({"Quick", "Rapid"});
        QMenu *menu = panel->synTW->contextMenuFor(rowOf("Rapid"));
        QCOMPARE(menu->actions().at(2)->text(), QStringLiteral("Remove \"Rapid\" From Synonyms"));
        answerQuestion(QMessageBox::StandardButton(answer),
                       [&] { menu->actions().at(2)->trigger(); });
        QCOMPARE(rowTexts().mid(2), rows);
        QCOMPARE(marked(), text);
        QCOMPARE(storedDeleted("fast"), deleted);
        const bool yes = answer == QMessageBox::Yes;
        QCOMPARE(readLog("eng_delete_log.log"),
                 yes ? QByteArray("\xEF\xBB\xBF") + "Fast|Rapid" : QByteArray("(none)"));

        // The panel keeps reacting to selections.
        click("Swift");
        QVERIFY(marked().contains("Swift}"));

        // A removed server synonym stays hidden at every later load; the list file is as it was.
        store->loadSynonyms();
        setText("The sl^ow fast.");
        setText("The slow fa^st.");
        QCOMPARE(rowTexts().contains("rapid"), !yes);
        QFile list(folder() + "eng_syn.dat");
        QVERIFY(list.open(QIODevice::ReadOnly));
        QVERIFY(list.readAll().contains("fast|quick|rapid|swift"));
    }

    void removeUserSynonym()
    {
        setText("The fa^st car.");
        panel->addSynLE->setText("zippy");
        panel->addSynonym();
        answerQuestion(QMessageBox::Yes, [&] { panel->deleteSynonym(rowOf("zippy")); });
        QCOMPARE(rowTexts(), (QStringList{"(blank)", "fast", "quick", "rapid", "swift"}));
        QCOMPARE(storedUserSyn("fast"), QStringLiteral(""));
        QCOMPARE(storedDeleted("fast"), QStringLiteral("zippy"));
        QCOMPARE(marked(), QStringLiteral("The «fast» car."));
    }

    // A write that fails is reported; the panel and the maps keep the edit.
    void databaseErrorKeepsTheEdit()
    {
        setText("The fa^st car.");
        QSqlQuery(db->database()).exec("drop table eng_usersyn");
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("Synonym table .* failed"));
        panel->addSynLE->setText("zippy");
        panel->addSynonym();
        QCOMPARE(rowCodes().first(), QStringLiteral("zippy:2:2"));
        QCOMPARE(store->userSyn.value("fast"), QStringList{"zippy"});
        QCOMPARE(marked(), QStringLiteral("The «{fast|zippy}» car."));
    }

    // The five logs go to the files of the language in use.
    // What ticking "(blank)" first writes is read back with "(blank)" ticked, so the blank can
    // be unticked again.
    void groupStartingWithTheBlank()
    {
        setText("The {|fast|quick}^ car.");
        QCOMPARE(panel->curSynQL->text(), QStringLiteral("fast"));
        QCOMPARE(rowTexts(), (QStringList{"(blank)", "fast", "quick", "rapid", "swift"}));
        QCOMPARE(panel->tickedRows(), (QList<int>{0, 1, 2}));
        {
            // Selected as tracking leaves a group the panel wrote.
            QTextCursor c = edit->textCursor();
            c.setPosition(4);
            c.setPosition(17, QTextCursor::KeepAnchor);
            const auto hold = guards->hold({GuardFlags::AllowChanges});
            edit->setTextCursor(c);
        }
        click("(blank)");
        QCOMPARE(marked(), QStringLiteral("The «{fast|quick}» car."));
        QCOMPARE(panel->currentWord(), QStringLiteral("{fast|quick}"));
    }

    // A Replace step that lands on a group lists the group's alternatives, ticked.
    void replaceStepLandsOnAGroup()
    {
        setText("fa^st {car|auto} now");
        panel->replacePB->click();
        click("rapid");
        QCOMPARE(marked(), QStringLiteral("rapid «{car|auto}» now"));
        QCOMPARE(panel->currentWord(), QStringLiteral("{car|auto}"));
        QCOMPARE(rowTexts(), (QStringList{"(blank)", "car", "auto", "automobile"}));
        QCOMPARE(panel->tickedRows(), (QList<int>{1, 2}));
    }

    void addedSynonymOfACapitalisedWord()
    {
        setText("Fa^st cars.");
        panel->addSynLE->setText("zippy");
        panel->addSynonym();
        QVERIFY(rowTexts().contains("Zippy"));
        QCOMPARE(marked(), QStringLiteral("«{Fast|Zippy}» cars."));
        QCOMPARE(storedUserSyn("fast"), QStringLiteral("zippy"));
    }

    void languageWithoutAList()
    {
        setText("The fa^st car.");
        QVERIFY(panel->noListQL->isHidden());
        store->curLang = "dut";
        store->loadSynonyms();
        panel->clearWord();
        QVERIFY(!panel->noListQL->isHidden());
        QCOMPARE(panel->noListQL->text(), QStringLiteral("No synonym list for Dutch yet."));
        setText("De sne^lle auto.");
        QVERIFY(!panel->noListQL->isHidden());
        store->curLang = "eng";
        store->loadSynonyms();
        setText("The fa^st car.");
        QVERIFY(panel->noListQL->isHidden());
    }

    void logsFollowTheLanguage()
    {
        store->curLang = "bul";
        store->loadSynonyms();
        panel->setValidator("bul");
        setText("Много бъ^рз.");
        QCOMPARE(rowTexts(), (QStringList{"(blank)", "бърз", "скор", "пъргав"}));
        click("скор");
        click("пъргав");
        panel->addSynLE->setText("чевръст");
        QVERIFY(panel->addSynLE->hasAcceptableInput());
        panel->addSynonym();
        click("пъргав", QMyTableWidget::StarColumn);
        answerQuestion(QMessageBox::Yes, [&] { panel->deleteSynonym(rowOf("скор")); });
        QCOMPARE(readLog("bul_qlog.log"),
                 QByteArray("\xEF\xBB\xBF") + "бърз|скор|1\nбърз|пъргав|1\nбърз|чевръст|1");
        QCOMPARE(readLog("bul_log.log"), QByteArray("\xEF\xBB\xBF") + "бърз|чевръст");
        QCOMPARE(readLog("bul_fav_log.log"), QByteArray("\xEF\xBB\xBF") + "бърз|пъргав");
        QCOMPARE(readLog("bul_delete_log.log"), QByteArray("\xEF\xBB\xBF") + "бърз|скор");
        QCOMPARE(storedUserSyn("бърз", "bul"), QStringLiteral("чевръст"));
        for (const char *name :
             {"eng_qlog.log", "eng_log.log", "eng_fav_log.log", "eng_delete_log.log"})
            QCOMPARE(readLog(name), QByteArray("(none)"));
    }

    void caretWord_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("word");

        QTest::newRow("in a group") << "a {quick|f^ast} b"
                                    << "{quick|fast}";
        QTest::newRow("before a group") << "a ^{quick|fast} b"
                                        << "{quick|fast}";
        QTest::newRow("after a group") << "a {quick|fast}^ b"
                                       << "{quick|fast}";
        QTest::newRow("outer level of a nested group") << "{^a {b|c} d|e}"
                                                       << "a";
        QTest::newRow("before the full stop") << "big house^."
                                              << "house";
        QTest::newRow("empty paragraph: the previous paragraph's last word") << "big house\n^\nnext"
                                                                             << "house";
        QTest::newRow("empty first paragraph") << "^\nnext"
                                               << "";
    }
    void caretWord()
    {
        QFETCH(QString, text);
        QFETCH(QString, word);
        QTextDocument doc;
        const qsizetype caret = text.indexOf(u'^');
        doc.setPlainText(text.remove(caret, 1));
        QTextCursor c(&doc);
        c.setPosition(int(caret));
        const CaretWord found = ::caretWord(c);
        QCOMPARE(found.text, word);
        QCOMPARE(doc.toPlainText().mid(found.start, found.end - found.start), word);
    }
};

REWORDIX_TEST_MAIN(QuickSpinPanelTest)
#include "quickspinpanel_test.moc"
