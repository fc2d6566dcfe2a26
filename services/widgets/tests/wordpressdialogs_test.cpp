#include "testsupport/testsupport.h"
#include "../../tests/localserver.h"
#include "../../tests/tablerows.h"

#include "services/widgets/addwebsiteqd.h"
#include "services/widgets/posttowordpress.h"

#include "services/wordpresssites.h"
#include "spintax/generator.h"
#include "storage/localdatabase.h"

#include <QApplication>
#include <QJsonArray>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

// The site editor and the posting dialog under the offscreen platform, over a real SQLite
// database, posting to a real XML-RPC server (Python's xmlrpc.server on 127.0.0.1).
class WordpressDialogsTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;
    LocalServer blog;
    std::unique_ptr<LocalDatabase> db;
    std::unique_ptr<WordpressSites> sites;
    std::unique_ptr<spintax::Generator> generator;
    QString article;

    QString record() const { return dir.filePath(QStringLiteral("calls.jsonl")); }
    QList<QJsonObject> calls() const { return LocalServer::records(record()); }

    QList<QStringList> rows(const QString &table) const { return tableRows(db->database(), table); }

    std::unique_ptr<PostToWordpress> postingDialog()
    {
        PostingContext context;
        context.sites = sites.get();
        context.generator = generator.get();
        context.mainArticle = [this] { return article; };
        context.timeoutMs = 20000;
        return std::make_unique<PostToWordpress>(context);
    }

    // The message box the dialog shows next: its title and text, then it is closed with OK.
    // `waitGone`: wait until the box is destroyed (boxes that are not run by a blocking call).
    static QStringList answerBox(QWidget *parent, bool waitGone = true)
    {
        QMessageBox *box = nullptr;
        auto visibleBox = [&] {
            for (QMessageBox *b : parent->findChildren<QMessageBox *>())
                if (b->isVisible())
                    box = b;
            return box != nullptr;
        };
        if (!QTest::qWaitFor(visibleBox, 20000))
            return {QStringLiteral("(no message box within 20 s)")};
        const QStringList seen{box->windowTitle(), box->text()};
        QPointer<QMessageBox> gone(box);
        box->button(QMessageBox::Ok)->click();
        if (waitGone && !QTest::qWaitFor([&] { return gone.isNull(); }, 20000))
            return {QStringLiteral("(the message box did not close)")};
        return seen;
    }

    static void setText(QTableWidget *table, int row, const QString &text)
    {
        table->item(row, 0)->setText(text);
    }
    static void tick(QTableWidget *table, int row)
    {
        table->item(row, 0)->setCheckState(Qt::Checked);
    }
    static QStringList column(const QTableWidget *table, int column = 0)
    {
        QStringList list;
        for (int row = 0; row < table->rowCount(); ++row)
            list.append(table->item(row, column) ? table->item(row, column)->text() : "(none)");
        return list;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        const QString problem = blog.start(QStringLiteral("blog_xmlrpc.py"), record());
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
    }

    void init()
    {
        QFile::remove(record());
        QFile::remove(dir.filePath("db.sqlite"));
        db = std::make_unique<LocalDatabase>();
        QVERIFY(db->connect(dir.path() + "/"));
        sites = std::make_unique<WordpressSites>();
        sites->setDatabase(db.get());
        generator = std::make_unique<spintax::Generator>();
        generator->setSeed(11);
        article = QStringLiteral("{a|b}");
    }
    void cleanup()
    {
        sites.reset();
        db.reset();
    }

    void siteEditorRemovesDuplicatesAndSavesNonBlankRows()
    {
        sites->setWebsiteALAL({{"a.example", "ann", "pw"}});
        AddWebsiteQD editor(*sites);
        QCOMPARE(editor.windowTitle(), QStringLiteral("Add Wordpress Site"));
        QCOMPARE(column(editor.websiteTW), (QStringList{"a.example", ""}));
        QTableWidget *t = editor.websiteTW;
        auto fill = [t](int row, const QString &url, const QString &user, const QString &pw) {
            if (row >= t->rowCount())
                t->insertRow(row);
            t->setItem(row, 0, new QTableWidgetItem(url));
            t->setItem(row, 1, new QTableWidgetItem(user));
            t->setItem(row, 2, new QTableWidgetItem(pw));
        };
        fill(1, "A.example", "ANN", "PW"); // duplicate ignoring case, right after the first
        fill(2, "b.example", "bob", "x");
        fill(3, "a.example", "ann", "pw");
        fill(4, "", "", "");
        fill(5, "", "", "");
        fill(6, "c.example", "", "");

        editor.applyPB->click();
        QCOMPARE(column(editor.websiteTW),
                 (QStringList{"a.example", "b.example", "", "c.example", ""}));
        QCOMPARE(sites->websiteALAL().size(), 4); // the blank row is in the list, ignored later
        QCOMPARE(rows("website"), QList<QStringList>()); // apply alone saves nothing

        editor.show();
        editor.okPB->click();
        QVERIFY(!editor.isVisible());
        QCOMPARE(rows("website"), (QList<QStringList>{{"a.example", "ann", "pw"},
                                                      {"b.example", "bob", "x"},
                                                      {"c.example", "", ""}}));
    }

    void siteEditorCancelKeepsEditsUnsaved()
    {
        AddWebsiteQD editor(*sites);
        editor.show();
        editor.websiteTW->item(0, 0)->setText("new.example");
        editor.cancelPB->click();
        QVERIFY(!editor.isVisible());
        QCOMPARE(rows("website"), QList<QStringList>());
        QCOMPARE(editor.websiteTW->item(0, 0)->text(), QStringLiteral("new.example"));
        QVERIFY(sites->websiteALAL().isEmpty());
    }

    // Two ticked sites and «{a|b}»: each site gets its own copy, both the same title, with the
    // ticked categories and the keyword string; every site's result in its own box.
    void postsOneCopyPerTickedSite()
    {
        sites->setWebsiteALAL({{blog.base(), "editor", "pw1"},
                               {" ", "", ""},
                               {blog.base() + "/", "int-ids", "pw2"},
                               {blog.base(), "unticked", "pw3"}});
        QVERIFY(sites->updateCat({"News", "Tips"}));
        QVERIFY(sites->updateKeyword({"alpha", "beta", "gamma"}));
        auto dialog = postingDialog();
        dialog->show2();
        QCOMPARE(column(dialog->websiteQTW),
                 (QStringList{blog.base(), blog.base() + "/", blog.base()}));
        QVERIFY(dialog->websiteQTW->isColumnHidden(1) && dialog->websiteQTW->isColumnHidden(2));
        QCOMPARE(column(dialog->catQTW), (QStringList{"News", "Tips", ""}));
        tick(dialog->websiteQTW, 0);
        tick(dialog->websiteQTW, 1);
        tick(dialog->catQTW, 1);
        tick(dialog->keywordQTW, 0);
        tick(dialog->keywordQTW, 1);
        dialog->titleQLE->setText("{Hello|Hi} world");

        QSignalSpy finished(dialog.get(), &PostToWordpress::postingFinished);
        dialog->postPB->click();
        QVERIFY(dialog->isPosting());
        QCOMPARE(answerBox(dialog.get()),
                 (QStringList{"Rewordix", "Successfully posted to Wordpress.\nPost ID: 101"}));
        QCOMPARE(answerBox(dialog.get()),
                 (QStringList{"Rewordix", "Successfully posted to Wordpress.\nPost ID: 102"}));
        QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, 20000);
        QVERIFY(!dialog->isPosting());
        QVERIFY(dialog->isVisible());

        const QList<QJsonObject> sent = calls();
        QCOMPARE(sent.size(), 2);
        QStringList copies;
        for (const QJsonObject &call : sent) {
            const QJsonObject post = call.value("post").toObject();
            copies.append(post.value("description").toString());
            QCOMPARE(post.value("title").toString(), QStringLiteral("Hello world"));
            QCOMPARE(post.value("categories").toArray(), QJsonArray{"Tips"});
            QCOMPARE(post.value("mt_keywords").toString(), QStringLiteral("alpha,beta,"));
            QCOMPARE(call.value("path").toString(), QStringLiteral("/xmlrpc.php"));
        }
        QCOMPARE(sent[0].value("password").toString(), QStringLiteral("pw1"));
        QCOMPARE(sent[1].value("password").toString(), QStringLiteral("pw2"));
        copies.sort();
        QCOMPARE(copies, (QStringList{"a", "b"}));
    }

    void faultShowsErrorAndTheNextSiteIsPosted()
    {
        sites->setWebsiteALAL({{blog.base(), "editor", "wrong"}, {blog.base(), "editor", "right"}});
        auto dialog = postingDialog();
        dialog->show2();
        tick(dialog->websiteQTW, 0);
        tick(dialog->websiteQTW, 1);
        dialog->postPB->click();
        QCOMPARE(answerBox(dialog.get()),
                 (QStringList{"Error", "Incorrect username or password."}));
        const QStringList second = answerBox(dialog.get());
        QCOMPARE(second.value(0), QStringLiteral("Rewordix"));
        QCOMPARE(calls().size(), 2);
        // No category or keyword ticked: neither member is sent.
        QStringList members = calls().constLast().value("post").toObject().keys();
        members.sort();
        QCOMPARE(members, (QStringList{"description", "title"}));
    }

    void cancelStopsBeforeTheNextSite()
    {
        sites->setWebsiteALAL({{blog.base(), "editor", "1"},
                               {blog.base(), "editor", "2"},
                               {blog.base(), "editor", "3"}});
        auto dialog = postingDialog();
        dialog->show2();
        for (int row = 0; row < 3; ++row)
            tick(dialog->websiteQTW, row);
        dialog->postPB->click();
        QProgressDialog *progress = dialog->findChild<QProgressDialog *>();
        QVERIFY(progress);
        QCOMPARE(progress->labelText(), QStringLiteral("Posting to site 1 of 3…"));
        QPushButton *cancel = progress->findChild<QPushButton *>();
        QVERIFY(cancel);
        QCOMPARE(cancel->text(), QStringLiteral("Cancel"));
        cancel->click();
        QCOMPARE(answerBox(dialog.get()).value(0), QStringLiteral("Rewordix"));
        QTRY_VERIFY_WITH_TIMEOUT(!dialog->isPosting(), 20000);
        QCOMPARE(calls().size(), 1);
    }

    void unbalancedArticlePostsNothing()
    {
        sites->setWebsiteALAL({{blog.base(), "editor", "pw"}});
        article = QStringLiteral("{a|b");
        auto dialog = postingDialog();
        dialog->show2();
        tick(dialog->websiteQTW, 0);
        QTimer::singleShot(0, [&] {
            const QStringList seen = answerBox(dialog.get(), false);
            QCOMPARE(seen.value(0), QStringLiteral("Rewordix"));
            QVERIFY2(seen.value(1).contains("has no matching"), qPrintable(seen.value(1)));
        });
        dialog->postPB->click();
        QVERIFY(!dialog->isPosting());
        QCOMPARE(calls().size(), 0);
    }

    // A category typed into the empty last row adds a further empty row; after "Close" and a
    // new opening it is listed, unticked, and it is in the database.
    void typedCategoryIsRemembered()
    {
        auto dialog = postingDialog();
        dialog->show2();
        QCOMPARE(column(dialog->catQTW), QStringList{""});
        setText(dialog->catQTW, 0, "Fresh");
        tick(dialog->catQTW, 0);
        QCOMPARE(column(dialog->catQTW), (QStringList{"Fresh", ""}));
        setText(dialog->keywordQTW, 0, "  ");
        QCOMPARE(dialog->keywordQTW->rowCount(), 1);
        dialog->closePB->click();
        QVERIFY(!dialog->isVisible());
        QCOMPARE(dialog->catAL2, QStringList{"Fresh"});
        QCOMPARE(rows("cat"), QList<QStringList>{{"Fresh"}});

        dialog->show2();
        QCOMPARE(column(dialog->catQTW), (QStringList{"Fresh", ""}));
        QCOMPARE(dialog->catQTW->item(0, 0)->checkState(), Qt::Unchecked);
    }
};

REWORDIX_TEST_MAIN(WordpressDialogsTest)
#include "wordpressdialogs_test.moc"
