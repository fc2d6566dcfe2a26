// The protected-terms, auto-select and favourites dialogs as real widgets on the offscreen
// platform, with their modal questions and messages answered as a user would.

#include "selection/widgets/qjsautoselect.h"
#include "selection/widgets/qjsprotectedterms.h"
#include "selection/widgets/qjsreplaceeveryonesfavorite.h"

#include "selection/identifyformat.h"

#include "synonyms/protectedterms.h"

#include "storage/localdatabase.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QInputDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QTimer>

#include <memory>

namespace {

// Answers the next modal dialog of type Dialog while the code under test waits in its exec().
// Polls until the dialog is there or 20 s have passed; the returned flag says whether it came.
template <typename Dialog> std::shared_ptr<bool> answerNext(std::function<void(Dialog *)> answer)
{
    auto answered = std::make_shared<bool>(false);
    auto *timer = new QTimer;
    const QDeadlineTimer deadline(20000);
    QObject::connect(timer, &QTimer::timeout, timer, [=] {
        if (auto *dialog = qobject_cast<Dialog *>(QApplication::activeModalWidget())) {
            *answered = true;
            timer->deleteLater();
            timer->stop();
            answer(dialog);
        } else if (deadline.hasExpired()) {
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start(10);
    return answered;
}

std::shared_ptr<bool> typeText(const QString &text)
{
    return answerNext<QInputDialog>([text](QInputDialog *d) {
        d->setTextValue(text);
        d->accept();
    });
}

// Catches the next message box: "title / text".
std::shared_ptr<QString> message()
{
    auto seen = std::make_shared<QString>();
    answerNext<QMessageBox>([seen](QMessageBox *box) {
        *seen = box->windowTitle() + " / " + box->text();
        box->accept();
    });
    return seen;
}

QPushButton *button(QWidget *dialog, const QString &text)
{
    for (QPushButton *b : dialog->findChildren<QPushButton *>())
        if (b->text() == text)
            return b;
    return nullptr;
}

selection::SynonymLists testLists()
{
    selection::SynonymLists lists;
    lists.allUserSyn = {{"new york", {"nyc", "big apple"}},
                        {"love", {"adore", "like"}},
                        {"quick", {"fast", "speedy"}}};
    lists.bestfav = {{"quick", {"rapid"}}};
    lists.goodfav = {{"love", {"cherish"}}};
    lists.maxPhraseWord = 2;
    return lists;
}

} // namespace

class SelectionDialogsTest final : public QObject
{
    Q_OBJECT

private slots:
    void everyControlHasAName()
    {
        ProtectedTerms terms;
        QJSProtectedTerms protectedDialog(terms);
        QJSAutoSelect autoDialog({});
        QJSReplaceEveryonesFavorite favouritesDialog({});
        for (QWidget *dialog : QList<QWidget *>{&protectedDialog, &autoDialog, &favouritesDialog}) {
            for (QWidget *w : dialog->findChildren<QWidget *>()) {
                if (qobject_cast<QAbstractButton *>(w) || qobject_cast<QComboBox *>(w) ||
                    qobject_cast<QLineEdit *>(w) || qobject_cast<QListWidget *>(w)) {
                    const auto *b = qobject_cast<QAbstractButton *>(w);
                    QVERIFY2(
                        !w->accessibleName().isEmpty() || (b && !b->text().isEmpty()) ||
                            qobject_cast<QComboBox *>(w->parent()),
                        qPrintable(dialog->windowTitle() + ": " + w->metaObject()->className()));
                }
            }
        }
    }

    void protectedTerms()
    {
        QTemporaryDir dir;
        LocalDatabase db;
        QVERIFY(db.connect(dir.path() + "/"));
        ProtectedTerms terms;
        QJSProtectedTerms dialog(terms);
        dialog.myInit(&db);
        dialog.show2();
        auto *cats = dialog.findChild<QComboBox *>();
        auto *list = dialog.findChild<QListWidget *>();
        QVERIFY(cats && list);
        QVERIFY(!cats->isEnabled());

        auto typed = typeText("Brands");
        button(&dialog, "Add Category")->click();
        QVERIFY(*typed);
        QCOMPARE(cats->currentText(), "Brands");
        QVERIFY(cats->isEnabled());
        QVERIFY(!list->isEnabled());

        typed = typeText("Brands");
        auto seen = message();
        button(&dialog, "Add Category")->click();
        QCOMPARE(*seen, "Add Category Error / Category already exists.");

        typed = typeText("ACME Widget");
        button(&dialog, "Add Term")->click();
        QVERIFY(*typed);
        QVERIFY(list->isEnabled());
        QCOMPARE(list->count(), 1);
        QVERIFY(terms.isProtected("acme widget"));

        typed = typeText("ACME Widget");
        seen = message();
        button(&dialog, "Add Term")->click();
        QCOMPARE(*seen, "Add Term Error / Item already exists.");
        QCOMPARE(list->count(), 1);

        list->clearSelection();
        list->setCurrentItem(nullptr);
        seen = message();
        button(&dialog, "Delete Term")->click();
        QCOMPARE(*seen, "Delete Term Error / No Selected Term");

        // A cancelled question changes nothing.
        auto cancelled = answerNext<QInputDialog>([](QInputDialog *d) { d->reject(); });
        button(&dialog, "Add Category")->click();
        QVERIFY(*cancelled);
        QCOMPARE(cats->count(), 1);

        // The same term in a second category.
        typeText("Tech");
        button(&dialog, "Add Category")->click();
        typeText("acme widget");
        button(&dialog, "Add Term")->click();
        QCOMPARE(cats->count(), 2);

        cats->setCurrentIndex(0);
        QCOMPARE(list->count(), 1);
        list->setCurrentRow(0);
        button(&dialog, "Delete Term")->click();
        QCOMPARE(list->count(), 0);
        QVERIFY(!list->isEnabled());
        QVERIFY(terms.isProtected("Acme Widget")); // still in Tech

        cats->setCurrentIndex(1);
        button(&dialog, "Delete Category")->click();
        QVERIFY(!terms.isProtected("acme widget"));
        QCOMPARE(cats->currentText(), "Brands");
        button(&dialog, "Delete Category")->click();
        QCOMPARE(cats->count(), 0);
        QVERIFY(!cats->isEnabled());

        typeText("Names");
        button(&dialog, "Add Category")->click();
        QVERIFY(cats->isEnabled());
        QVERIFY(!list->isEnabled());
        typeText("Rewordix");
        button(&dialog, "Add Term")->click();

        // The next start lists what is stored, before the dialog was ever shown.
        ProtectedTerms again;
        QJSProtectedTerms second(again);
        second.myInit(&db);
        QVERIFY(again.isProtected("rewordix"));
        QCOMPARE(second.findChild<QComboBox *>()->currentText(), "Names");
        QCOMPARE(second.findChild<QListWidget *>()->item(0)->text(), "Rewordix");
        button(&dialog, "Close")->click();
        QVERIFY(!dialog.isVisible());
    }

    void autoSelect_data()
    {
        QTest::addColumn<QString>("maximum");
        QTest::addColumn<int>("select");
        QTest::addColumn<int>("frequency");
        QTest::addColumn<QString>("expected");
        const QString text = "I love New York. I love New York.";
        QTest::newRow("words and phrases")
            << "1" << 0 << 0 << "I {love|cherish} {New York|Nyc}. I {love|cherish} {New York|Nyc}.";
        QTest::newRow("phrases only")
            << "2" << 1 << 0 << "I love {New York|Nyc|Big apple}. I love {New York|Nyc|Big apple}.";
        QTest::newRow("every other")
            << "1" << 0 << 1 << "I {love|cherish} New York. I {love|cherish} New York.";
        QTest::newRow("empty maximum: unchanged") << "" << 0 << 0 << text;
        QTest::newRow("not a number: unchanged") << "two" << 0 << 0 << text;
    }

    void autoSelect()
    {
        QFETCH(QString, maximum);
        QFETCH(int, select);
        QFETCH(int, frequency);
        QFETCH(QString, expected);
        QTextEdit editor;
        const QString original = "I love New York. I love New York.";
        editor.setPlainText(original);
        // Every edit of the run lands while the window's guards are held.
        bool held = false;
        QStringList editsOutsideGuard;
        connect(editor.document(), &QTextDocument::contentsChanged, this, [&] {
            if (!held)
                editsOutsideGuard << editor.toPlainText();
        });
        const selection::Guarded guarded = [&held](const std::function<void()> &apply) {
            held = true;
            apply();
            held = false;
        };
        QJSAutoSelect dialog({[&editor] { return &editor; }, testLists,
                              [] { return QSet<QString>{"york"}; }, guarded});
        dialog.show();
        const QList<QComboBox *> boxes = dialog.findChildren<QComboBox *>();
        QCOMPARE(boxes.size(), 2);
        boxes[0]->setCurrentIndex(select);
        boxes[1]->setCurrentIndex(frequency);
        dialog.findChild<QLineEdit *>()->setText(maximum);
        QSignalSpy done(&dialog, &QJSAutoSelect::autoSelected);
        button(&dialog, "Auto Select")->click();
        QVERIFY2(done.wait(20000), "the run did not finish");
        QCOMPARE(editor.toPlainText(), expected);
        QCOMPARE(editsOutsideGuard, QStringList());
        QVERIFY(dialog.isVisible()); // stays open for another run
        editor.undo();
        QCOMPARE(editor.toPlainText(), original); // one Undo step
    }

    void replaceEveryonesFavorites_data()
    {
        QTest::addColumn<int>("quality");
        QTest::addColumn<bool>("keep");
        QTest::addColumn<bool>("onlyFirst");
        QTest::addColumn<QString>("maximum");
        QTest::addColumn<QString>("expected");
        QTest::newRow("best") << 2 << true << false << "5"
                              << "{quick|rapid}, love";
        QTest::newRow("good") << 0 << true << false << "5"
                              << "{quick|rapid}, {love|cherish}";
        QTest::newRow("three passes") << 3 << true << false << "5"
                                      << "{quick|rapid}, {love|cherish}";
        QTest::newRow("keep off, non-numeric maximum counts as 1") << 0 << false << false << "x"
                                                                   << "rapid, cherish";
    }

    void replaceEveryonesFavorites()
    {
        QFETCH(int, quality);
        QFETCH(bool, keep);
        QFETCH(bool, onlyFirst);
        QFETCH(QString, maximum);
        QFETCH(QString, expected);
        QTextEdit editor;
        editor.setPlainText("quick, love");
        editor.moveCursor(QTextCursor::End);
        QJSReplaceEveryonesFavorite dialog({[&editor] { return &editor; }, testLists, {}, {}});
        dialog.show();
        dialog.findChild<QComboBox *>()->setCurrentIndex(quality);
        const QList<QCheckBox *> boxes = dialog.findChildren<QCheckBox *>();
        QCOMPARE(boxes.size(), 2);
        boxes[0]->setChecked(keep);
        boxes[1]->setChecked(onlyFirst);
        dialog.findChild<QLineEdit *>()->setText(maximum);
        QSignalSpy done(&dialog, &QJSReplaceEveryonesFavorite::replaced);
        button(&dialog, "Replace")->click();
        QVERIFY2(done.wait(20000), "the run did not finish");
        QCOMPARE(editor.toPlainText(), expected);
        QCOMPARE(editor.textCursor().position(), 0);
        button(&dialog, "Cancel")->click();
        QVERIFY(!dialog.isVisible());
    }

    // Identify underlines exactly the phrases found and clears old marks elsewhere, in one Undo
    // step, without marking the document modified.
    void identifyMarksTheDocument()
    {
        QTextDocument document;
        document.setPlainText("Old mark.\nI love New York.");
        QTextCursor old(&document);
        old.setPosition(0);
        old.setPosition(3, QTextCursor::KeepAnchor);
        QTextCharFormat underlined;
        underlined.setFontUnderline(true);
        old.setCharFormat(underlined);
        document.setModified(false);
        const auto marks = [&document] {
            QString text;
            for (QTextBlock b = document.begin(); b.isValid(); b = b.next()) {
                for (auto it = b.begin(); !it.atEnd(); ++it) {
                    const QTextFragment f = it.fragment();
                    text += f.charFormat().fontUnderline() ? '[' + f.text() + ']' : f.text();
                }
                text += '\n';
            }
            return text;
        };

        QVERIFY(selection::identifyDocument(document, testLists(),
                                            selection::IdentifyMode::WordsAndPhrases));
        QCOMPARE(marks(), "Old mark.\nI [love] [New York].\n");
        QVERIFY(!document.isModified());
        document.undo();
        QCOMPARE(marks(), "[Old] mark.\nI love New York.\n");

        document.setPlainText("a { b");
        QVERIFY(!selection::identifyDocument(document, testLists(),
                                             selection::IdentifyMode::WordsAndPhrases));
        QVERIFY(!document.isUndoAvailable());
    }

    void unbalancedArticleStaysUnchanged()
    {
        QTextEdit editor;
        editor.setPlainText("quick {love");
        QJSReplaceEveryonesFavorite dialog({[&editor] { return &editor; }, testLists, {}, {}});
        QSignalSpy done(&dialog, &QJSReplaceEveryonesFavorite::replaced);
        dialog.replace();
        QVERIFY2(done.wait(20000), "the run did not finish");
        QCOMPARE(done.first().first().toBool(), false);
        QCOMPARE(editor.toPlainText(), "quick {love");
        QVERIFY(!editor.document()->isUndoAvailable());
    }
};

QTEST_MAIN(SelectionDialogsTest)
#include "selectiondialogs_test.moc"
