#include "testsupport/testsupport.h"
#include "services/copyscapeapi.h"

#include <QtTest>

// The Copyscape requests byte for byte and the reading of its answers.
class CopyscapeApiTest : public QObject
{
    Q_OBJECT

private:
    static QByteArray result(const QByteArray &inner) { return "<result>" + inner + "</result>"; }
    static QByteArray answer(const QByteArray &results, const QByteArray &count = "2")
    {
        return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<response><querywords>52</querywords>"
               "<count>" +
               count + "</count>" + results + "</response>";
    }

private slots:
    void balanceUrl_data()
    {
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected");
        QTest::newRow("empty account") << ""
                                       << ""
                                       << "https://api.example/api/?u=&k=&o=balance&f=html";
        QTest::newRow("plain") << "jo"
                               << "abc123"
                               << "https://api.example/api/?u=jo&k=abc123&o=balance&f=html";
        QTest::newRow("reserved characters encoded")
            << "a b&c=d"
            << "k+/?#"
            << "https://api.example/api/?u=a%20b%26c%3Dd&k=k%2B%2F%3F%23&o=balance&f=html";
        QTest::newRow("non-ASCII as UTF-8")
            << "José"
            << "k"
            << "https://api.example/api/?u=Jos%C3%A9&k=k&o=balance&f=html";
    }
    void balanceUrl()
    {
        QFETCH(QString, user);
        QFETCH(QString, key);
        QFETCH(QString, expected);
        const QUrl url =
            CopyscapeApi::balanceUrl(QStringLiteral("https://api.example/api/"), user, key);
        QCOMPARE(url.toString(QUrl::FullyEncoded), expected);
    }

    void searchBody_data()
    {
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("plain") << "jo"
                               << "abc"
                               << "hello"
                               << QByteArray("u=jo&k=abc&o=csearch&e=UTF-8&t=hello&=3&f=xml");
        QTest::newRow("form encoding")
            << "a b"
            << "x+y"
            << "It's 50% *new*, ~ok~ & <fine>!\n"
            << QByteArray("u=a+b&k=x%2By&o=csearch&e=UTF-8&t=It%27s+50%25+*new*%2C+%7Eok%7E+%26+"
                          "%3Cfine%3E%21%0A&=3&f=xml");
        QTest::newRow("UTF-8 and the paragraph separator")
            << "u"
            << "k" << QString::fromUtf8("Café\u2029Ω")
            << QByteArray("u=u&k=k&o=csearch&e=UTF-8&t=Caf%C3%A9%E2%80%A9%CE%A9&=3&f=xml");
        QTest::newRow("safe characters stay")
            << "a-b_c.d"
            << ""
            << "x" << QByteArray("u=a-b_c.d&k=&o=csearch&e=UTF-8&t=x&=3&f=xml");
    }
    void searchBody()
    {
        QFETCH(QString, user);
        QFETCH(QString, key);
        QFETCH(QString, text);
        QFETCH(QByteArray, expected);
        QCOMPARE(CopyscapeApi::searchBody(user, key, text), expected);
    }

    void balanceHtml_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("expected");
        QTest::newRow("blank piece keeps its separator") << "a, b,,c"
                                                         << "a<br />b<br /><br />c";
        QTest::newRow("no comma") << " 12.50 "
                                  << "12.50";
        QTest::newRow("trailing empty pieces dropped") << "a,b,,"
                                                       << "a<br />b";
        QTest::newRow("trailing blank piece kept as nothing") << "a, "
                                                              << "a<br />";
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("only commas") << ",,,"
                                     << "";
    }
    void balanceHtml()
    {
        QFETCH(QString, answer);
        QFETCH(QString, expected);
        QCOMPARE(CopyscapeApi::balanceHtml(answer), expected);
    }

    void rejectsAccount_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("rejected");
        QTest::newRow("exact") << "Username or API key not correct" << true;
        QTest::newRow("other case, padded") << "  USERNAME OR API KEY NOT CORRECT \n" << true;
        QTest::newRow("within a sentence") << "Error: username or API key not correct." << true;
        QTest::newRow("a balance") << "Balance: $12.50\n440 searches" << false;
        QTest::newRow("empty") << "" << false;
    }
    void rejectsAccount()
    {
        QFETCH(QString, text);
        QFETCH(bool, rejected);
        QCOMPARE(CopyscapeApi::rejectsAccount(text), rejected);
    }

    void resultsPage_data()
    {
        QTest::addColumn<QByteArray>("xml");
        QTest::addColumn<QString>("page");
        const QString head = "<html>\n<body>\n     <b>Query Words: 52</b><br />\n"
                             "     <b>Results: 2</b><br /><br />\n\n";
        const QString tail = "</body>\n</html>";
        QTest::newRow("two results, snippets present and absent")
            << answer(result("<index>1</index><url>http%3A%2F%2Fa.example%2Fp%3Fx%3D1%26y%3D2</url>"
                             "<title>First page</title><textsnippet>some text</textsnippet>"
                             "<htmlsnippet>&lt;b&gt;some&lt;/b&gt; text</htmlsnippet>") +
                      result("<url>https://b.example/caf%C3%A9</url><title>Second</title>"))
            << head +
                   "     1. <a href=\"http://a.example/p?x=1&y=2\">First page</a><br />\n"
                   "<b>Text Snippet:</b> some text<br /><b>HTML Snippet:</b> <b>some</b> text"
                   "<br />\n<br />"
                   "     2. <a href=\"https://b.example/café\">Second</a><br />\n\n<br />" +
                   tail;
        QTest::newRow("no results") << answer("", "0")
                                    << "<html>\n<body>\n     <b>Query Words: 52</b><br />\n"
                                       "     <b>Results: 0</b><br /><br />\n\n" +
                                           tail;
        QTest::newRow("absent url and title, empty snippet")
            << answer(result("<textsnippet/>"), "1")
            << "<html>\n<body>\n     <b>Query Words: 52</b><br />\n"
               "     <b>Results: 1</b><br /><br />\n\n"
               "     1. <a href=\"\"></a><br />\n<b>Text Snippet:</b> <br />\n<br />" +
                   tail;
        QTest::newRow("undecodable url is empty")
            << answer(result("<url>http://x/%zz</url><title>T</title>"), "1")
            << "<html>\n<body>\n     <b>Query Words: 52</b><br />\n"
               "     <b>Results: 1</b><br /><br />\n\n"
               "     1. <a href=\"\">T</a><br />\n\n<br />" +
                   tail;
        QTest::newRow("outside text cannot add markup")
            << answer(result("<url>http://x/%22onclick=%22a</url><title>&lt;script&gt;x&lt;/script"
                             "&gt;</title><textsnippet>a &lt;i&gt;b</textsnippet>"),
                      "1")
            << "<html>\n<body>\n     <b>Query Words: 52</b><br />\n"
               "     <b>Results: 1</b><br /><br />\n\n"
               "     1. <a href=\"http://x/%22onclick=%22a\">&lt;script&gt;x&lt;/script&gt;</a>"
               "<br />\n<b>Text Snippet:</b> a &lt;i&gt;b<br />\n<br />" +
                   tail;
    }
    void resultsPage()
    {
        QFETCH(QByteArray, xml);
        QFETCH(QString, page);
        const std::optional<QString> built = CopyscapeApi::resultsPage(xml);
        QVERIFY(built);
        QCOMPARE(*built, page);
    }

    void notAResultList_data()
    {
        QTest::addColumn<QByteArray>("xml");
        QTest::addColumn<QString>("shown");
        QTest::newRow("error document")
            << QByteArray("<response><error>Insufficient credit</error></response>")
            << "Copyscape did not check the text: Insufficient credit";
        QTest::newRow("not XML") << QByteArray("Service unavailable")
                                 << "Copyscape's answer is not a list of results:\n\n"
                                    "Service unavailable";
        QTest::newRow("empty") << QByteArray() << "Copyscape sent an empty answer.";
    }
    void notAResultList()
    {
        QFETCH(QByteArray, xml);
        QFETCH(QString, shown);
        QCOMPARE(CopyscapeApi::resultsPage(xml), std::nullopt);
        QCOMPARE(CopyscapeApi::failureText(xml), shown);
    }

    void linkTarget_data()
    {
        QTest::addColumn<QString>("link");
        QTest::addColumn<QString>("target"); // empty: not opened
        QTest::newRow("no scheme") << "www.example.org/p"
                                   << "http://www.example.org/p";
        QTest::newRow("http unchanged") << "http://a.example/x?y=1"
                                        << "http://a.example/x?y=1";
        QTest::newRow("https unchanged") << "https://a.example/"
                                         << "https://a.example/";
        QTest::newRow("host and port") << "localhost:8080/p"
                                       << "http://localhost:8080/p";
        QTest::newRow("file refused") << "file:///etc/passwd"
                                      << "";
        QTest::newRow("javascript refused") << "javascript:alert(1)"
                                            << "";
        QTest::newRow("empty") << ""
                               << "";
    }
    void linkTarget()
    {
        QFETCH(QString, link);
        QFETCH(QString, target);
        const std::optional<QUrl> url = CopyscapeApi::linkTarget(link);
        QCOMPARE(url ? url->toString() : QString(), target);
    }
};

REWORDIX_TEST_GUILESS_MAIN(CopyscapeApiTest)
#include "copyscapeapi_test.moc"
