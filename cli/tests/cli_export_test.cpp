// Runs the real rewordix-cli binary's export and checks the files it leaves.

#include "testsupport/testsupport.h"
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Byte-order marks show as "<BOM>" in the listings below.
const QString bom = QStringLiteral("<BOM>");

using Run = testsupport::ProgramRun;

Run runCli(const QStringList &args)
{
    return testsupport::runProgram(QStringLiteral(REWORDIX_CLI_PATH), args);
}

QString writeFile(const QTemporaryDir &dir, const QString &name, const QByteArray &bytes)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
    return path;
}

// "name: content" of every file of a folder, in name order.
QStringList folderFiles(const QString &folder)
{
    QStringList out;
    for (const QString &name : QDir(folder).entryList(QDir::Files, QDir::Name)) {
        QFile file(folder + u'/' + name);
        file.open(QIODevice::ReadOnly);
        QByteArray bytes = file.readAll();
        const bool marked = bytes.startsWith("\xEF\xBB\xBF");
        out << name + QStringLiteral(": ") + (marked ? bom : QString()) +
                   QString::fromUtf8(bytes.mid(marked ? 3 : 0));
    }
    return out;
}

} // namespace

class CliExportTest final : public QObject
{
    Q_OBJECT
private slots:
    void folder();
    void zip();
    void merge();
    void failures_data();
    void failures();
};

void CliExportTest::folder()
{
    QTemporaryDir dir;
    const QString article = writeFile(dir, "a.txt", "\xEF\xBB\xBF {one|two|three} {x|y|z}\n");
    const QString out = dir.filePath("out");
    const Run r = runCli({"export", "--out", out, "--plain", "3", "--plain-name", "post",
                          "--html=2", "--html-single", "<hr>", "--seed", "5", article});
    QCOMPARE(r.err, QByteArray());
    QCOMPARE(r.status, 0);
    const QString folder = QString::fromLocal8Bit(r.out).trimmed();
    QVERIFY2(QRegularExpression("^" + QRegularExpression::escape(out) + "/\\d{8}_\\d{9}$")
                 .match(folder)
                 .hasMatch(),
             r.out.constData());
    // The first three copies read the first, second and third alternatives; the HTML copies
    // are then new combinations, whatever the seed draws.
    const QStringList files = folderFiles(folder);
    QCOMPARE(files.mid(1),
             QStringList({"post1.txt: " + bom + "one x", "post2.txt: " + bom + "two y",
                          "post3.txt: " + bom + "three z"}));
    const QRegularExpression single("^article\\.html: <BOM>(\\w+ \\w)\r\n<br><hr><br>\r\n"
                                    "(\\w+ \\w)\r\n<br><hr><br>\r\n$");
    const QRegularExpressionMatch m = single.match(files.value(0));
    QVERIFY2(m.hasMatch(), qPrintable(files.value(0)));
    const QStringList html{m.captured(1), m.captured(2)};
    QCOMPARE(QSet<QString>(html.begin(), html.end()).size(), 2);
    for (const char *used : {"one x", "two y", "three z"})
        QVERIFY2(!html.contains(QLatin1String(used)), used);

    // The same seed writes the same bytes again.
    const Run again = runCli({"export", "--out", out, "--plain", "3", "--plain-name", "post",
                              "--html=2", "--html-single", "<hr>", "--seed", "5", article});
    QCOMPARE(again.status, 0);
    QVERIFY(again.out != r.out);
    QCOMPARE(folderFiles(QString::fromLocal8Bit(again.out).trimmed()), files);
}

void CliExportTest::zip()
{
    QTemporaryDir dir;
    const QString article = writeFile(dir, "a.txt", "{a|b}");
    const Run r = runCli({"export", "--out", dir.path(), "--zip", "--plain", "2", article});
    QCOMPARE(r.status, 0);
    const QString archive = QString::fromLocal8Bit(r.out).trimmed();
    QVERIFY2(archive.endsWith(".zip"), r.out.constData());
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name),
             QStringList({QFileInfo(archive).fileName(), "a.txt"}));
    QProcess python;
    python.start("python3", {"-c",
                             "import sys, zipfile; z = zipfile.ZipFile(sys.argv[1]); "
                             "print([(i.filename, i.compress_type, z.read(i).decode('utf-8-sig')) "
                             "for i in z.infolist()])",
                             archive});
    QVERIFY(python.waitForFinished(60000));
    QCOMPARE(python.readAllStandardOutput().trimmed(),
             QByteArray("[('article1.txt', 8, 'a'), ('article2.txt', 8, 'b')]"));
}

void CliExportTest::merge()
{
    QTemporaryDir dir;
    const QString article = writeFile(dir, "a.txt", "Dear [name] of [city]");
    const QString csv = writeFile(dir, "d.csv", "name,city\nAnn,Rome\nBob,\"Oslo, Norway\"\n");
    const Run r =
        runCli({"export", "--out", dir.path(), "--merge", csv, "--html-name", "page", article});
    QCOMPARE(r.err, QByteArray());
    QCOMPARE(r.status, 0);
    QCOMPARE(folderFiles(QString::fromLocal8Bit(r.out).trimmed()),
             QStringList({"article1.txt: " + bom + "Dear Ann of Rome",
                          "article2.txt: " + bom + "Dear Bob of Oslo, Norway",
                          "page1.html: " + bom + "Dear Ann of Rome",
                          "page2.html: " + bom + "Dear Bob of Oslo, Norway"}));
}

void CliExportTest::failures_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QByteArray>("article");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("message");

    // "OUT" is a temporary folder, "BLOCKED" a path below a regular file.
    QTest::newRow("folder cannot be created")
        << QStringList{"--out", "BLOCKED", "--plain", "1"} << QByteArray("{a|b}") << 3 << "BLOCKED";
    QTest::newRow("archive cannot be created")
        << QStringList{"--out", "BLOCKED", "--zip", "--plain", "1"} << QByteArray("{a|b}") << 3
        << "BLOCKED";
    QTest::newRow("unbalanced article")
        << QStringList{"--out", "OUT", "--plain", "1"} << QByteArray("{a|b") << 1 << "unbalanced";
    QTest::newRow("no --out") << QStringList{"--plain", "1"} << QByteArray("x") << 2 << "usage";
    QTest::newRow("count not a number")
        << QStringList{"--out", "OUT", "--plain", "ten"} << QByteArray("x") << 2 << "ten";
    QTest::newRow("count too large for a number of files")
        << QStringList{"--out", "OUT", "--plain", "3000000000"} << QByteArray("x") << 2
        << "3000000000";
    QTest::newRow("unknown option") << QStringList{"--out", "OUT", "--plain", "1", "--bogus"}
                                    << QByteArray("x") << 2 << "bogus";
    QTest::newRow("--out=DIR form, two files")
        << QStringList{"--out=OUT", "--plain=1", "OUT/extra.txt"} << QByteArray("x") << 2
        << "one FILE";
    QTest::newRow("--out last takes FILE as its value")
        << QStringList{"--plain", "1", "--out"} << QByteArray("x") << 2 << "usage";
    QTest::newRow("missing CSV") << QStringList{"--out", "OUT", "--merge", "OUT/none.csv"}
                                 << QByteArray("x") << 2 << "none.csv";
}

void CliExportTest::failures()
{
    QFETCH(QStringList, args);
    QFETCH(QByteArray, article);
    QFETCH(int, status);
    QFETCH(QString, message);
    QTemporaryDir dir;
    const QString blocked = writeFile(dir, "file", "x") + "/below";
    const QString out = dir.filePath("out");
    for (QString &a : args)
        a.replace("BLOCKED", blocked).replace("OUT", out);
    message.replace("BLOCKED", blocked);
    const Run r =
        runCli(QStringList{"export"} + args + QStringList{writeFile(dir, "a.txt", article)});
    QCOMPARE(r.status, status);
    QCOMPARE(r.out, QByteArray());
    QVERIFY2(QString::fromLocal8Bit(r.err).contains(message), r.err.constData());
    QVERIFY(!QFileInfo::exists(out) || QDir(out).isEmpty());
}

REWORDIX_TEST_GUILESS_MAIN(CliExportTest)
#include "cli_export_test.moc"
