#include "testsupport/testsupport.h"
#include "localserver.h"

#include "services/xmlrpcposter.h"

#include <QJsonArray>
#include <QTemporaryDir>
#include <QtTest>

// One post against a real XML-RPC server (Python's xmlrpc.server on 127.0.0.1) that records
// every call: the address rule, the call's members and parameters, and how answers, faults and
// transport failures end.
class XmlRpcPosterTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;
    LocalServer blog;
    QString record() const { return dir.filePath(QStringLiteral("calls.jsonl")); }

    PostRequest request(const QString &user = QStringLiteral("editor"),
                        const QString &password = QStringLiteral("secret")) const
    {
        PostRequest r;
        r.url = blog.base();
        r.username = user;
        r.password = password;
        r.title = QStringLiteral("Title");
        r.content = QStringLiteral("Body");
        r.timeoutMs = 20000;
        return r;
    }

    QJsonObject lastCall() const
    {
        const QList<QJsonObject> calls = LocalServer::records(record());
        return calls.isEmpty() ? QJsonObject() : calls.constLast();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        const QString problem = blog.start(QStringLiteral("blog_xmlrpc.py"), record());
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
    }

    void endpoint_data()
    {
        QTest::addColumn<QString>("url");
        QTest::addColumn<QString>("expected");
        QTest::newRow("bare host") << "blog.example"
                                   << "http://blog.example/xmlrpc.php";
        QTest::newRow("bare host, trailing slash") << "blog.example/"
                                                   << "http://blog.example/xmlrpc.php";
        QTest::newRow("http") << "http://blog.example"
                              << "http://blog.example/xmlrpc.php";
        QTest::newRow("http, trailing slash") << "http://blog.example/"
                                              << "http://blog.example/xmlrpc.php";
        QTest::newRow("https kept") << "https://blog.example/"
                                    << "https://blog.example/xmlrpc.php";
        QTest::newRow("scheme in capitals kept") << "HTTPS://Blog.example"
                                                 << "HTTPS://Blog.example/xmlrpc.php";
        QTest::newRow("blog in a folder") << "example.org/blog/"
                                          << "http://example.org/blog/xmlrpc.php";
        QTest::newRow("only one slash removed") << "example.org//"
                                                << "http://example.org//xmlrpc.php";
        QTest::newRow("spaces around") << "  blog.example  "
                                       << "http://blog.example/xmlrpc.php";
        QTest::newRow("full address not doubled") << "https://blog.example/xmlrpc.php"
                                                  << "https://blog.example/xmlrpc.php";
        QTest::newRow("host with port") << "localhost:8080"
                                        << "http://localhost:8080/xmlrpc.php";
    }
    void endpoint()
    {
        QFETCH(QString, url);
        QFETCH(QString, expected);
        QCOMPARE(XmlRpcPoster::endpoint(url), expected);
    }

    // The five parameters and the struct members as the server receives them.
    void callMembers_data()
    {
        QTest::addColumn<QString>("keywords");
        QTest::addColumn<QStringList>("categories");
        QTest::addColumn<bool>("noCategories");
        QTest::addColumn<QStringList>("expectedMembers");
        const QStringList base{"description", "title"};
        QTest::newRow("no category, no keyword") << "" << QStringList() << true << base;
        QTest::newRow("empty category list is no member") << "" << QStringList() << false << base;
        QTest::newRow("a lone comma is no keyword") << "," << QStringList() << true << base;
        QTest::newRow("keywords and categories")
            << "alpha,beta," << QStringList{"News", "Tips"} << false
            << QStringList{"categories", "description", "mt_keywords", "title"};
    }
    void callMembers()
    {
        QFETCH(QString, keywords);
        QFETCH(QStringList, categories);
        QFETCH(bool, noCategories);
        QFETCH(QStringList, expectedMembers);
        PostRequest r = request();
        r.keywords = keywords;
        if (!noCategories)
            r.categories = categories;
        const XmlRpcPoster poster(r);
        QVERIFY2(poster.outcome().success, qPrintable(poster.outcome().text));

        const QJsonObject call = lastCall();
        QCOMPARE(call.value("path").toString(), QStringLiteral("/xmlrpc.php"));
        QCOMPARE(call.value("blog_id").toInt(), 1);
        QCOMPARE(call.value("user").toString(), QStringLiteral("editor"));
        QCOMPARE(call.value("password").toString(), QStringLiteral("secret"));
        QCOMPARE(call.value("publish").toBool(), true);
        const QJsonObject post = call.value("post").toObject();
        QStringList members = post.keys();
        members.sort();
        QCOMPARE(members, expectedMembers);
        QCOMPARE(post.value("title").toString(), QStringLiteral("Title"));
        QCOMPARE(post.value("description").toString(), QStringLiteral("Body"));
        if (expectedMembers.contains("mt_keywords"))
            QCOMPARE(post.value("mt_keywords").toString(), keywords);
        if (expectedMembers.contains("categories")) {
            QStringList sent;
            for (const QJsonValue &v : post.value("categories").toArray())
                sent.append(v.toString());
            QCOMPARE(sent, categories);
        }
    }

    void nonAsciiTextArrivesIntact()
    {
        PostRequest r = request();
        r.title = QStringLiteral("Café – naïve “quotes” 日本語 <b>&amp;</b>");
        // Emoji lie outside the Basic Multilingual Plane; U+FDD0/U+FDD1 are what the poster
        // uses to carry them past xmlrpc-c, so they must survive as themselves.
        r.content = QStringLiteral("Line one\nΑλφα & <p>β</p>\n🙂 \uFDD0"
                                   "0\uFDD1 𝄞");
        r.categories = QStringList{QStringLiteral("Ünïcode 🎉")};
        r.keywords = QStringLiteral("a\x01"
                                    "b,");
        const XmlRpcPoster poster(r);
        QVERIFY2(poster.outcome().success, qPrintable(poster.outcome().text));
        const QJsonObject post = lastCall().value("post").toObject();
        QCOMPARE(post.value("title").toString(), r.title);
        QCOMPARE(post.value("description").toString(), r.content);
        QCOMPARE(post.value("categories").toArray().first().toString(),
                 QStringLiteral("Ünïcode 🎉"));
        // A control character XML cannot hold is left out instead of spoiling the call.
        QCOMPARE(post.value("mt_keywords").toString(), QStringLiteral("ab,"));
    }

    void outcomes_data()
    {
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("password");
        QTest::addColumn<bool>("success");
        QTest::addColumn<QString>("pattern");
        QTest::newRow("id as string") << "editor"
                                      << "secret" << true << "^\\d+$";
        QTest::newRow("id as int") << "int-ids"
                                   << "secret" << true << "^\\d+$";
        QTest::newRow("fault: the server's own text")
            << "editor"
            << "wrong" << false << "^Incorrect username or password\\.$";
    }
    void outcomes()
    {
        QFETCH(QString, user);
        QFETCH(QString, password);
        QFETCH(bool, success);
        QFETCH(QString, pattern);
        const XmlRpcPoster poster(request(user, password));
        QCOMPARE(poster.outcome().success, success);
        QVERIFY2(QRegularExpression(pattern).match(poster.outcome().text).hasMatch(),
                 qPrintable(poster.outcome().text));
    }

    // Nothing listens on the port of a closed server; and a server that never answers ends
    // with the client's timeout. Neither text carries the password.
    void transportFailures()
    {
        LocalServer closed;
        QVERIFY(closed.start(QStringLiteral("blog_xmlrpc.py"), record()).isEmpty());
        PostRequest refused = request(QStringLiteral("editor"), QStringLiteral("pw-refused"));
        refused.url = closed.base();
        closed.stop();
        const XmlRpcPoster a(refused);
        QVERIFY(!a.outcome().success);
        QVERIFY(!a.outcome().text.isEmpty());
        QVERIFY(!a.outcome().text.contains(QStringLiteral("pw-refused")));

        PostRequest slow = request(QStringLiteral("slow"), QStringLiteral("pw-slow"));
        slow.timeoutMs = 1000;
        const XmlRpcPoster b(slow);
        QVERIFY(!b.outcome().success);
        QVERIFY2(b.outcome().text.contains(QStringLiteral("imeout")) ||
                     b.outcome().text.contains(QStringLiteral("timed out")),
                 qPrintable(b.outcome().text));
        QVERIFY(!b.outcome().text.contains(QStringLiteral("pw-slow")));
    }

    void addressReachesTheBlogFolder()
    {
        PostRequest r = request();
        r.url = blog.base() + QStringLiteral("/blog/");
        const XmlRpcPoster poster(r);
        QVERIFY2(poster.outcome().success, qPrintable(poster.outcome().text));
        QCOMPARE(lastCall().value("path").toString(), QStringLiteral("/blog/xmlrpc.php"));
    }

    void readAnswer_data()
    {
        QTest::addColumn<QByteArray>("xml");
        QTest::addColumn<bool>("success");
        QTest::addColumn<QString>("text");
        const QByteArray head = "<?xml version=\"1.0\"?><methodResponse>";
        QTest::newRow("string id") << head + "<params><param><value><string>42</string></value>"
                                             "</param></params></methodResponse>"
                                   << true << "42";
        QTest::newRow("untyped string id")
            << head + "<params><param><value>17</value></param></params></methodResponse>" << true
            << "17";
        QTest::newRow("int id") << head +
                                       "<params><param><value><int>7</int></value></param></params>"
                                       "</methodResponse>"
                                << true << "7";
        QTest::newRow("fault") << head + "<fault><value><struct><member><name>faultCode</name>"
                                         "<value><int>403</int></value></member><member><name>"
                                         "faultString</name><value><string>Nope</string></value>"
                                         "</member></struct></value></fault></methodResponse>"
                               << false << "Nope";
    }
    void readAnswer()
    {
        QFETCH(QByteArray, xml);
        QFETCH(bool, success);
        QFETCH(QString, text);
        QCOMPARE(XmlRpcPoster::readAnswer(xml.toStdString()), (PostOutcome{success, text}));
    }

    void malformedAnswersAreFailures_data()
    {
        QTest::addColumn<QByteArray>("xml");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("html error page") << QByteArray("<html><body>502 Bad Gateway</body></html>");
        QTest::newRow("truncated") << QByteArray("<?xml version=\"1.0\"?><methodResponse><params>");
        QTest::newRow("binary") << QByteArray("\x00\xff\xfe<", 4);
    }
    void malformedAnswersAreFailures()
    {
        QFETCH(QByteArray, xml);
        const PostOutcome outcome = XmlRpcPoster::readAnswer(xml.toStdString());
        QVERIFY(!outcome.success);
        QVERIFY(outcome.text.startsWith(QStringLiteral("The blog's answer could not be read")));
    }

    void successText()
    {
        QCOMPARE(XmlRpcPoster::successText(QStringLiteral("12")),
                 QStringLiteral("Successfully posted to Wordpress.\nPost ID: 12"));
    }
};

REWORDIX_TEST_GUILESS_MAIN(XmlRpcPosterTest)
#include "xmlrpcposter_test.moc"
