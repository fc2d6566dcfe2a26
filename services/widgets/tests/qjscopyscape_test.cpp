#include "testsupport/testsupport.h"
#include "../../tests/localserver.h"

#include "services/widgets/qjscopyscape.h"

#include "services/copyscapeapi.h"
#include "spintax/generator.h"
#include "storage/localdatabase.h"
#include "storage/settingsstore.h"

#include <QApplication>
#include <QDesktopServices>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTextEdit>
#include <QtTest>

#include <memory>

// Receives the links the dialog hands to the desktop instead of a web browser.
class LinkRecorder : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl &url) { opened.append(url); }
};

// The Copyscape dialog under the offscreen platform against a local stand-in for the API
// (Python's http.server on 127.0.0.1 answering prepared files), over a real SQLite database.
class QJSCopyScapeTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;
    LocalServer api;
    std::unique_ptr<LocalDatabase> db;
    std::unique_ptr<spintax::Generator> generator;
    std::unique_ptr<QJSCopyScape> dialog;
    QString article = QStringLiteral("{a|b} c");

    QString file(const QString &name) const { return dir.filePath(name); }
    void answer(const QString &name, const QByteArray &body)
    {
        QFile f(file(name));
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(body);
    }
    QList<QJsonObject> requests() const
    {
        return LocalServer::records(file(QStringLiteral("requests.jsonl")));
    }
    QStringList account() const
    {
        QSqlQuery q(db->database());
        q.exec("select * from copyScape");
        QStringList rows;
        while (q.next())
            rows.append(q.value(1).toString() + u'/' + q.value(2).toString());
        return rows;
    }
    void waitForBalance() { QTRY_VERIFY_WITH_TIMEOUT(dialog->balanceQPB->isEnabled(), 20000); }
    static QByteArray twoResults()
    {
        return "<?xml version=\"1.0\" encoding=\"UTF-8\"?><response><querywords>3</querywords>"
               "<count>2</count><result><url>http%3A%2F%2Fone.example%2F</url><title>One</title>"
               "<textsnippet>a c</textsnippet></result><result><url>two.example/p</url>"
               "<title>Two</title></result></response>";
    }

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        const QString problem = api.start(QStringLiteral("copyscape_api.py"), dir.path());
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        qputenv(storage::copyscapeEndpointEnv, (api.base() + "/api/").toUtf8());
    }

    void init()
    {
        QFile::remove(file("requests.jsonl"));
        QFile::remove(file("db.sqlite"));
        answer("balance.txt", "a, b,,c");
        answer("csearch.xml", twoResults());
        db = std::make_unique<LocalDatabase>();
        QVERIFY(db->connect(dir.path() + "/"));
        QSqlQuery(db->database()).exec("insert into copyScape values(null,'jo','key 1')");
        generator = std::make_unique<spintax::Generator>();
        generator->setSeed(5);
        CopyscapeContext context;
        context.mainText = [this] { return article; };
        context.generator = generator.get();
        context.database = db.get();
        context.timeoutMs = 20000;
        dialog = std::make_unique<QJSCopyScape>(context);
    }
    void cleanup()
    {
        dialog.reset();
        db.reset();
    }

    void openingLoadsAccountBalanceAndCopy()
    {
        dialog->show2();
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Copyscape"));
        QCOMPARE(dialog->usernameQLE->text(), QStringLiteral("jo"));
        QCOMPARE(dialog->apiKeyQLE->text(), QStringLiteral("key 1"));
        QVERIFY(!dialog->searchQPB->isEnabled());
        QCOMPARE(dialog->browser->toPlainText(), QStringLiteral("a c"));
        waitForBalance();
        QVERIFY(dialog->searchQPB->isEnabled());
        QCOMPARE(dialog->balanceQTE->toPlainText(), QStringLiteral("a\nb\n\nc"));
        const QList<QJsonObject> sent = requests();
        QCOMPARE(sent.size(), 1);
        QCOMPARE(sent[0].value("method").toString(), QStringLiteral("GET"));
        QCOMPARE(sent[0].value("path").toString(), QStringLiteral("/api/"));
        QCOMPARE(sent[0].value("query").toString(),
                 QStringLiteral("u=jo&k=key%201&o=balance&f=html"));

        dialog->spinQPB->click();
        QCOMPARE(dialog->browser->toPlainText(), QStringLiteral("b c"));
        QCOMPARE(dialog->currentText, QStringLiteral("b c"));
    }

    void rejectedAccountDisablesCheck()
    {
        answer("balance.txt", "Username or API key not correct");
        dialog->show2();
        waitForBalance();
        QVERIFY(!dialog->searchQPB->isEnabled());
        answer("balance.txt", "10 searches left");
        dialog->balanceQPB->click();
        waitForBalance();
        QVERIFY(dialog->searchQPB->isEnabled());
    }

    void checkSendsTheFormAndShowsResults()
    {
        dialog->show2();
        waitForBalance();
        QSignalSpy shown(dialog.get(), &QJSCopyScape::checkShown);
        dialog->searchQPB->click();
        QVERIFY(!dialog->balanceQPB->isEnabled());
        QVERIFY(shown.wait(20000));
        const QString page = *CopyscapeApi::resultsPage(twoResults());
        QCOMPARE(dialog->searchResult, page);
        QVERIFY(dialog->browser->toHtml().contains("href=\"http://one.example/\""));
        QVERIFY(dialog->browser->toPlainText().contains("2. Two"));
        waitForBalance(); // the balance is asked for again after a check

        const QList<QJsonObject> sent = requests();
        QCOMPARE(sent.size(), 3);
        QCOMPARE(sent[1].value("method").toString(), QStringLiteral("POST"));
        QCOMPARE(sent[1].value("content_type").toString(),
                 QStringLiteral("application/x-www-form-urlencoded"));
        QCOMPARE(sent[1].value("body").toString(),
                 QStringLiteral("u=jo&k=key+1&o=csearch&e=UTF-8&t=a+c&=3&f=xml"));
        QCOMPARE(sent[2].value("method").toString(), QStringLiteral("GET"));
    }

    // An error document: the browser says what happened, both buttons work again, and the raw
    // answer is what "Save to File..." would write.
    void errorAnswerReenablesTheButtons()
    {
        const QByteArray error = "<response><error>Insufficient credit</error></response>";
        answer("csearch.xml", error);
        dialog->show2();
        waitForBalance();
        QSignalSpy shown(dialog.get(), &QJSCopyScape::checkShown);
        dialog->searchQPB->click();
        QVERIFY(shown.wait(20000));
        QCOMPARE(dialog->browser->toPlainText(),
                 QStringLiteral("Copyscape did not check the text: Insufficient credit"));
        QVERIFY(dialog->searchQPB->isEnabled());
        QVERIFY(dialog->balanceQPB->isEnabled());
        QCOMPARE(dialog->searchResult, QString::fromUtf8(error));
    }

    void networkFailureIsShownWithoutTheKey()
    {
        LocalServer closed;
        QVERIFY(closed.start(QStringLiteral("copyscape_api.py"), dir.path()).isEmpty());
        const QByteArray endpoint = (closed.base() + "/api/").toUtf8();
        closed.stop();
        qputenv(storage::copyscapeEndpointEnv, endpoint);
        dialog->apiKeyQLE->setText("sekrit-key");
        dialog->usernameQLE->setText("jo");
        QSignalSpy balance(dialog.get(), &QJSCopyScape::balanceShown);
        dialog->balanceQPB->click();
        QVERIFY(balance.wait(20000));
        QVERIFY(dialog->balanceQTE->toPlainText().startsWith("Copyscape could not be reached"));
        QVERIFY(!dialog->balanceQTE->toPlainText().contains("sekrit"));
        QVERIFY(dialog->searchQPB->isEnabled());
        QSignalSpy check(dialog.get(), &QJSCopyScape::checkShown);
        dialog->searchQPB->click();
        QVERIFY(check.wait(20000));
        QVERIFY(dialog->browser->toPlainText().startsWith("Copyscape could not be reached"));
        QVERIFY(dialog->searchQPB->isEnabled() && dialog->balanceQPB->isEnabled());
        qputenv(storage::copyscapeEndpointEnv, (api.base() + "/api/").toUtf8());
    }

    void emptyAccountSendsNoCheck()
    {
        dialog->usernameQLE->setText("  ");
        dialog->apiKeyQLE->setText("");
        dialog->balanceQPB->click();
        waitForBalance();
        QCOMPARE(requests().constLast().value("query").toString(),
                 QStringLiteral("u=&k=&o=balance&f=html"));
        dialog->searchQPB->click();
        QCOMPARE(dialog->balanceQPB->isEnabled(), true);
        QTest::qWait(200);
        QCOMPARE(requests().size(), 1);
        dialog->closeQPB->click();
        QCOMPARE(account(), QStringList{"/"});
    }

    void saveBeforeAnyCheckWritesOnlyTheMark()
    {
        const QString path = file("report.html");
        QVERIFY(dialog->writeResult(path));
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("\xEF\xBB\xBF"));

        dialog->searchResult = QStringLiteral("<html>Ω</html>");
        QVERIFY(dialog->writeResult(path));
        f.close();
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("\xEF\xBB\xBF<html>\xCE\xA9</html>"));
    }

    void linksOpenInTheDesktopBrowser()
    {
        LinkRecorder recorder;
        for (const char *scheme : {"http", "https", "file"})
            QDesktopServices::setUrlHandler(scheme, &recorder, "open");
        dialog->anchorClicked(QUrl("two.example/p"));
        dialog->anchorClicked(QUrl("https://one.example/x"));
        dialog->anchorClicked(QUrl("file:///etc/passwd"));
        for (const char *scheme : {"http", "https", "file"})
            QDesktopServices::unsetUrlHandler(scheme);
        QCOMPARE(recorder.opened,
                 (QList<QUrl>{QUrl("http://two.example/p"), QUrl("https://one.example/x")}));
    }
};

REWORDIX_TEST_MAIN(QJSCopyScapeTest)
#include "qjscopyscape_test.moc"
