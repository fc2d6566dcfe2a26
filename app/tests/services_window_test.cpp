// The publishing commands in a real window on the offscreen platform: the stored sites reach
// the site editor and the posting dialog at start-up, a post goes to a real XML-RPC server
// (Python's xmlrpc.server on 127.0.0.1), and the Copyscape dialog opens on a copy of the article.

#include "testsupport/testsupport.h"
#include "windowparts.h"

#include "../../services/tests/localserver.h"

#include "app/servicedialogs.h"

#include "services/widgets/addwebsiteqd.h"
#include "services/widgets/posttowordpress.h"
#include "services/widgets/qjscopyscape.h"
#include "storage/localdatabase.h"
#include "storage/workingfolder.h"

#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSqlQuery>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTextBrowser>

#include <memory>

class ServicesWindowTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;
    LocalServer blog;
    QString record() const { return dir.filePath(QStringLiteral("calls.jsonl")); }

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        const QString problem = blog.start(QStringLiteral("blog_xmlrpc.py"), record());
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        // Nothing answers here: the balance request fails at once and never leaves the machine.
        qputenv(storage::copyscapeEndpointEnv, "http://127.0.0.1:1/api/");

        LocalDatabase db;
        QVERIFY(db.connect(storage::workingFolder()));
        QSqlQuery q(db.database());
        q.prepare("insert into website values(null,?,?,?)");
        q.addBindValue(blog.base());
        q.addBindValue(QStringLiteral("editor"));
        q.addBindValue(QStringLiteral("pw"));
        QVERIFY(q.exec());
        QVERIFY(q.exec("insert into website values(null,'  ','','')"));
        db.shutdown();
    }

    void publishingFromTheWindow()
    {
        auto w = std::make_unique<Lexora3>(nullptr, 1.191, false);
        w->show();
        w->show2();
        for (const AppActions::Id id :
             {AppActions::PostToWP, AppActions::AddWebsite, AppActions::CopyScape})
            QVERIFY(parts::action(*w, id)->isEnabled());
        parts::textEdit(*w)->setPlainText(QStringLiteral("{Sunny|Rainy} day"));

        parts::action(*w, AppActions::AddWebsite)->trigger();
        AddWebsiteQD *editor = w->serviceDialogs()->siteEditor();
        QVERIFY(editor && editor->isVisible());
        QCOMPARE(editor->websiteTW->rowCount(), 2);
        QCOMPARE(editor->websiteTW->item(0, 0)->text(), blog.base());
        editor->cancelPB->click();

        parts::action(*w, AppActions::PostToWP)->trigger();
        PostToWordpress *post = w->serviceDialogs()->postDialog();
        QVERIFY(post && post->isVisible());
        QCOMPARE(post->websiteQTW->rowCount(), 1);
        post->websiteQTW->item(0, 0)->setCheckState(Qt::Checked);
        post->titleQLE->setText(QStringLiteral("Weather"));
        post->postPB->click();
        QMessageBox *box = nullptr;
        QVERIFY(QTest::qWaitFor(
            [&] {
                for (QMessageBox *b : post->findChildren<QMessageBox *>())
                    if (b->isVisible())
                        box = b;
                return box != nullptr;
            },
            20000));
        QCOMPARE(box->windowTitle(), QStringLiteral("Rewordix"));
        QVERIFY(
            box->text().startsWith(QStringLiteral("Successfully posted to Wordpress.\nPost ID: ")));
        box->button(QMessageBox::Ok)->click();
        QTRY_VERIFY_WITH_TIMEOUT(!post->isPosting(), 20000);
        const QJsonObject sent =
            LocalServer::records(record()).constLast().value("post").toObject();
        QCOMPARE(sent.value("title").toString(), QStringLiteral("Weather"));
        QCOMPARE(sent.value("description").toString(), QStringLiteral("Sunny day"));
        post->closePB->click();

        parts::action(*w, AppActions::CopyScape)->trigger();
        QJSCopyScape *copyscape = w->serviceDialogs()->copyscapeDialog();
        QVERIFY(copyscape && copyscape->isVisible());
        QVERIFY(copyscape->currentText == QStringLiteral("Sunny day") ||
                copyscape->currentText == QStringLiteral("Rainy day"));
        QTRY_VERIFY_WITH_TIMEOUT(copyscape->balanceQPB->isEnabled(), 20000);
        copyscape->closeQPB->click();
        QVERIFY(!copyscape->isVisible());
    }
};

REWORDIX_TEST_MAIN(ServicesWindowTest)
#include "services_window_test.moc"
