// Runs the real rewordix-cli binary against a real XML-RPC server (Python's xmlrpc.server on
// 127.0.0.1) and checks what the blog receives, what is printed and the exit status.

#include "testsupport/testsupport.h"
#include "../../services/tests/localserver.h"

#include <QJsonArray>
#include <QTemporaryDir>
#include <QTest>

class CliPostTest final : public QObject
{
    Q_OBJECT

private:
    using Run = testsupport::ProgramRun;

    QTemporaryDir dir;
    LocalServer blog;

    QString path(const QString &name) const { return dir.filePath(name); }
    QString record() const { return path(QStringLiteral("calls.jsonl")); }

    void write(const QString &name, const QByteArray &content)
    {
        QFile f(path(name));
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QCOMPARE(f.write(content), content.size());
    }

    Run run(const QStringList &args)
    {
        testsupport::ProgramOptions options;
        options.environment = {"REWORDIX_HOME=" + dir.path(), "XDG_CONFIG_HOME=" + path("config")};
        return testsupport::runProgram(REWORDIX_CLI_PATH, QStringList{"post"} + args, options);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        const QString problem = blog.start(QStringLiteral("blog_xmlrpc.py"), record());
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        write("My Article.txt", "\xEF\xBB\xBF{Hello|Hi} {world|there}, café 🙂\n");
        write("pw", "s3cret pass\nsecond line ignored\n");
        write("wrong", "wrong\r\n");
        write("broken.txt", "{a|b");
    }

    void postsTheFirstCopy()
    {
        const Run r = run({"--url", blog.base() + "/", "--user", "editor", "--password-file",
                           path("pw"), "--categories", "News, Tips", "--keywords", "k1,k2",
                           "--seed", "4", path("My Article.txt")});
        QCOMPARE(r.err, QByteArray());
        QCOMPARE(r.status, 0);
        QVERIFY2(QRegularExpression("^\\d+\\n$").match(QString::fromUtf8(r.out)).hasMatch(), r.out);

        const QJsonObject call = LocalServer::records(record()).constLast();
        QCOMPARE(call.value("path").toString(), QStringLiteral("/xmlrpc.php"));
        QCOMPARE(call.value("user").toString(), QStringLiteral("editor"));
        QCOMPARE(call.value("password").toString(), QStringLiteral("s3cret pass"));
        const QJsonObject post = call.value("post").toObject();
        QCOMPARE(post.value("title").toString(), QStringLiteral("My Article"));
        QCOMPARE(post.value("description").toString(), QStringLiteral("Hello world, café 🙂"));
        QCOMPARE(post.value("categories").toArray(), (QJsonArray{"News", "Tips"}));
        QCOMPARE(post.value("mt_keywords").toString(), QStringLiteral("k1,k2"));
    }

    void spunTitleWithoutCategories()
    {
        const Run r = run({"--url", blog.base(), "--user", "int-ids", "--password-file", path("pw"),
                           "--title", "{A|B} title", path("My Article.txt")});
        QCOMPARE(r.status, 0);
        const QJsonObject post =
            LocalServer::records(record()).constLast().value("post").toObject();
        QCOMPARE(post.value("title").toString(), QStringLiteral("A title"));
        QStringList members = post.keys();
        members.sort();
        QCOMPARE(members, (QStringList{"description", "title"}));
    }

    void failures_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("err"); // a pattern
        QTest::newRow("fault: the Error box's text")
            << QStringList{"--url",           "BLOG",  "--user",        "editor",
                           "--password-file", "wrong", "My Article.txt"}
            << 5 << "^Incorrect username or password\\.\\n$";
        QTest::newRow("no server")
            << QStringList{"--url", "http://127.0.0.1:1", "--user", "editor", "--password-file",
                           "pw",    "My Article.txt"}
            << 5 << ".+";
        QTest::newRow("no url") << QStringList{"--user", "u", "--password-file", "pw",
                                               "My Article.txt"}
                                << 2 << "--url is required";
        QTest::newRow("no password file")
            << QStringList{"--url",           "BLOG",    "--user",        "u",
                           "--password-file", "missing", "My Article.txt"}
            << 2 << "cannot read the password file";
        QTest::newRow("password on the command line is no option")
            << QStringList{"--url", "BLOG", "--user", "u", "--password", "x", "My Article.txt"} << 2
            << "Unknown option 'password'";
        QTest::newRow("unbalanced article")
            << QStringList{"--url", "BLOG", "--user", "u", "--password-file", "pw", "broken.txt"}
            << 1 << "unbalanced";
    }
    void failures()
    {
        QFETCH(QStringList, args);
        QFETCH(int, status);
        QFETCH(QString, err);
        const qsizetype before = LocalServer::records(record()).size();
        for (QString &a : args) {
            if (a == QLatin1String("BLOG"))
                a = blog.base();
            else if (QFile::exists(path(a)) || a == QLatin1String("missing"))
                a = path(a);
        }
        const Run r = run(args);
        QCOMPARE(r.status, status);
        QVERIFY2(QRegularExpression(err).match(QString::fromUtf8(r.err)).hasMatch(), r.err);
        QCOMPARE(r.out, QByteArray());
        QVERIFY(!r.err.contains("s3cret"));
        if (status != 5)
            QCOMPARE(LocalServer::records(record()).size(), before);
    }
};

REWORDIX_TEST_GUILESS_MAIN(CliPostTest)
#include "cli_post_test.moc"
