#include "testsupport/testsupport.h"
#include "spintax/bulkexporter.h"
#include "spintax/generator.h"
#include "spintax/generatorcopysource.h"
#include "spintax/mergedata.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

using spintax::BulkExporter;
using spintax::ExportOptions;
using spintax::ExportResult;
using spintax::ExportTypeOptions;

namespace {

const QByteArray bom("\xEF\xBB\xBF");

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// Contents of every file of a folder, in name order ("a1.html" before "a1.txt"), BOM and
// CR LF removed.
QStringList copiesIn(const QString &folder)
{
    QStringList out;
    const QStringList names = QDir(folder).entryList(QDir::Files, QDir::Name);
    for (const QString &name : names) {
        QByteArray bytes = readAll(folder + u'/' + name);
        if (bytes.startsWith(bom))
            bytes.remove(0, bom.size());
        out << QString::fromUtf8(bytes.replace("\r\n", "\n"));
    }
    return out;
}

ExportTypeOptions type(int count, const QString &name = QStringLiteral("article"),
                       bool single = false, const QString &separator = {})
{
    return {count, single, separator, name};
}

struct Export
{
    ExportResult result;
    QString target;
};

Export run(const QTemporaryDir &dir, const QString &article, ExportTypeOptions plain,
           ExportTypeOptions html, bool zip = false, const spintax::MergeData *merge = nullptr,
           BulkExporter::Progress progress = {},
           qsizetype partSize = spintax::GeneratorCopySource::defaultPartSize)
{
    spintax::Generator generator;
    generator.setSeed(7);
    spintax::GeneratorCopySource source(generator, article, partSize);
    BulkExporter exporter(source, merge);
    exporter.setProgress(std::move(progress));
    ExportOptions options;
    options.zip = zip;
    options.target = BulkExporter::exportTarget(dir.path(), QDateTime::currentDateTimeUtc());
    options.plain = std::move(plain);
    options.html = std::move(html);
    return {exporter.gen(options), options.target};
}

// Entries of an archive as an independent reader (Python's zipfile) sees them, in archive
// order: "name compress_type content-in-hex", then "ok" when every entry's CRC checks out.
QStringList zipEntries(const QString &archive)
{
    const char *script =
        "import sys, zipfile\n"
        "z = zipfile.ZipFile(sys.argv[1])\n"
        "for i in z.infolist(): print(i.filename, i.compress_type, z.read(i).hex())\n"
        "print('ok' if z.testzip() is None else 'bad')\n";
    QProcess python;
    python.start(QStringLiteral("python3"),
                 {QStringLiteral("-c"), QString::fromLatin1(script), archive});
    if (!python.waitForFinished(60000) || python.exitCode() != 0)
        return {QStringLiteral("python failed: ") +
                QString::fromUtf8(python.readAllStandardError())};
    return QString::fromUtf8(python.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
}

// Name and bytes of every file of a folder, in name order.
QList<std::pair<QString, QByteArray>> filesIn(const QString &folder)
{
    QList<std::pair<QString, QByteArray>> out;
    const QStringList names = QDir(folder).entryList(QDir::Files, QDir::Name);
    for (const QString &name : names)
        out.append({name, readAll(folder + u'/' + name)});
    return out;
}

QString deflated(const QString &name, const QByteArray &content)
{
    return name + QStringLiteral(" 8 ") + QString::fromLatin1(content.toHex());
}

} // namespace

class BulkExporterTest final : public QObject
{
    Q_OBJECT
private slots:
    void fileNames_data();
    void fileNames();
    void encoding();
    void singleFile_data();
    void singleFile();
    void distinctCopies_data();
    void distinctCopies();
    void zipArchive();
    void emptyExport();
    void writeErrors_data();
    void writeErrors();
    void fileErrorKeepsWrittenFiles();
    void unbalancedArticle();
    void merge();
    void partByPart_data();
    void partByPart();
    void cancel();
    void staleTemporariesRemoved();
    void fullDisk_data();
    void fullDisk();
    void typeOptions_data();
    void typeOptions();
    void exportTarget();
};

void BulkExporterTest::fileNames_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("count 5: one digit")
        << 5 << QStringList{"post1.txt", "post2.txt", "post3.txt", "post4.txt", "post5.txt"};
    QStringList twelve;
    for (int i = 1; i <= 12; ++i)
        twelve << QStringLiteral("post%1.txt").arg(i, 2, 10, QLatin1Char('0'));
    QTest::newRow("count 12: two digits") << 12 << twelve;
    QStringList hundred;
    for (int i = 1; i <= 100; ++i)
        hundred << QStringLiteral("post%1.txt").arg(i, 3, 10, QLatin1Char('0'));
    QTest::newRow("count 100: three digits") << 100 << hundred;
}

void BulkExporterTest::fileNames()
{
    QFETCH(int, count);
    QFETCH(QStringList, expected);
    QTemporaryDir dir;
    const Export e = run(dir, QStringLiteral("{a|b|c}"), type(count, QStringLiteral("post")),
                         type(2, QStringLiteral("page")));
    QVERIFY2(e.result.ok(), qPrintable(e.result.error));
    QCOMPARE(e.result.path, e.target);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot),
             QStringList{QFileInfo(e.target).fileName()});
    expected << QStringLiteral("page1.html") << QStringLiteral("page2.html");
    QCOMPARE(e.result.files, expected);
    QStringList onDisk = QDir(e.target).entryList(QDir::Files, QDir::Name);
    expected.sort();
    QCOMPARE(onDisk, expected);
}

void BulkExporterTest::encoding()
{
    QTemporaryDir dir;
    // Every combination reads the same, so the HTML copy (a new combination) matches too.
    const QString article = QStringLiteral(
        "  Caf\u00e9 {\u00fcber|\u00fcber}\nline two\r\n{\U0001F600|\U0001F600}\n\n");
    const Export e = run(dir, article.trimmed(), type(1), type(1));
    QVERIFY2(e.result.ok(), qPrintable(e.result.error));
    const QByteArray expected = bom + QByteArray("Caf\xC3\xA9 \xC3\xBC"
                                                 "ber\r\nline two\r\n\xF0\x9F\x98\x80");
    QCOMPARE(readAll(e.target + "/article1.txt"), expected);
    QCOMPARE(readAll(e.target + "/article1.html"), expected);
}

void BulkExporterTest::singleFile_data()
{
    QTest::addColumn<bool>("html");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("plain") << false << "----" << bom + "a x\r\n----\r\nb y\r\n----\r\n";
    QTest::newRow("plain, separator of two lines")
        << false << "==\n==" << bom + "a x\r\n==\r\n==\r\nb y\r\n==\r\n==\r\n";
    QTest::newRow("plain, empty separator") << false << "" << bom + "a x\r\n\r\nb y\r\n\r\n";
    QTest::newRow("html") << true << "<hr>"
                          << bom + "a x\r\n<br><hr><br>\r\nb y\r\n<br><hr><br>\r\n";
}

void BulkExporterTest::singleFile()
{
    QFETCH(bool, html);
    QFETCH(QString, separator);
    QFETCH(QByteArray, expected);
    QTemporaryDir dir;
    const ExportTypeOptions single = type(2, QStringLiteral("all"), true, separator);
    const Export e = html ? run(dir, QStringLiteral("{a|b} {x|y}"), type(0), single)
                          : run(dir, QStringLiteral("{a|b} {x|y}"), single, type(0));
    QVERIFY2(e.result.ok(), qPrintable(e.result.error));
    const QString name = html ? QStringLiteral("all.html") : QStringLiteral("all.txt");
    QCOMPARE(QDir(e.target).entryList(QDir::Files), QStringList{name});
    QCOMPARE(readAll(e.target + u'/' + name), expected);
}

void BulkExporterTest::distinctCopies_data()
{
    QTest::addColumn<QString>("article");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("distinct");
    QTest::addColumn<QStringList>("first");

    QTest::newRow("first copies sequential, then every combination once")
        << "{a|b|c} {x|y}" << 6 << 6 << QStringList{"a x", "b y"};
    QTest::newRow("more copies than combinations") << "{a|b}" << 5 << 2 << QStringList{"a", "b"};
    QTest::newRow("counted but unreachable alternative does not stall")
        << "{a|b|}" << 4 << 2 << QStringList{"a", "b"};
    // The rarest combination of this text comes up once in 625 random draws.
    QTest::newRow("rare nested combination is still found")
        << "{a|b|c|d|{e|f|g|h|{i|j|k|l|{m|n|o|p|q}}}}" << 17 << 17
        << QStringList{"a", "b", "c", "d"};
    QTest::newRow("article without groups")
        << "just text" << 3 << 1 << QStringList{"just text", "just text", "just text"};
}

void BulkExporterTest::distinctCopies()
{
    QFETCH(QString, article);
    QFETCH(int, count);
    QFETCH(int, distinct);
    QFETCH(QStringList, first);
    QTemporaryDir dir;
    const Export e = run(dir, article, type(count), type(0));
    QVERIFY2(e.result.ok(), qPrintable(e.result.error));
    const QStringList copies = copiesIn(e.target);
    QCOMPARE(copies.size(), count);
    QCOMPARE(copies.mid(0, first.size()), first);
    // While combinations remain every copy is new.
    QCOMPARE(QSet<QString>(copies.begin(), copies.begin() + distinct).size(), distinct);
    QCOMPARE(QSet<QString>(copies.begin(), copies.end()).size(), distinct);
}

void BulkExporterTest::zipArchive()
{
    QTemporaryDir dir;
    const Export e = run(dir, QStringLiteral("{one|two|three}\nend"), type(3, QStringLiteral("p")),
                         type(2, QStringLiteral("h"), true, QStringLiteral("--")), true);
    QVERIFY2(e.result.ok(), qPrintable(e.result.error));
    QCOMPARE(e.result.path, e.target + ".zip");
    // Only the archive: no folder, no intermediate files.
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList{QFileInfo(e.target).fileName() + ".zip"});
    QCOMPARE(
        zipEntries(e.result.path),
        QStringList({deflated("p1.txt", bom + "one\r\nend"), deflated("p2.txt", bom + "two\r\nend"),
                     deflated("p3.txt", bom + "three\r\nend"),
                     deflated("h.html", bom + "one\r\nend\r\n<br>--<br>\r\n"
                                              "two\r\nend\r\n<br>--<br>\r\n"),
                     "ok"}));
    // A second independent reader: Info-ZIP's own test of every entry.
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-tq"), e.result.path});
    QVERIFY(unzip.waitForFinished(20000));
    QCOMPARE(unzip.exitCode(), 0);
}

void BulkExporterTest::emptyExport()
{
    QTemporaryDir dir;
    const Export folder = run(dir, QStringLiteral("{a|b}"), type(0), type(0));
    QVERIFY(folder.result.ok());
    QVERIFY(QFileInfo(folder.target).isDir());
    QCOMPARE(QDir(folder.target).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());

    QTest::qWait(2); // a new time stamp
    const Export zip = run(dir, QStringLiteral("{a|b}"), type(0), type(0), true);
    QVERIFY2(zip.result.ok(), qPrintable(zip.result.error));
    QCOMPARE(zipEntries(zip.target + ".zip"), QStringList{"ok"});
}

void BulkExporterTest::writeErrors_data()
{
    QTest::addColumn<bool>("zip");
    QTest::newRow("folder") << false;
    QTest::newRow("zip") << true;
}

void BulkExporterTest::writeErrors()
{
    QFETCH(bool, zip);
    // A path below a regular file cannot be created, even by root.
    QTemporaryDir dir;
    const QString blocker = dir.filePath(QStringLiteral("not-a-folder"));
    QFile file(blocker);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();

    spintax::Generator generator;
    spintax::GeneratorCopySource source(generator, QStringLiteral("{a|b}"));
    BulkExporter exporter(source);
    ExportOptions options;
    options.zip = zip;
    options.target = blocker + QStringLiteral("/20260101_000000000");
    options.plain = type(3);
    const ExportResult result = exporter.gen(options);
    QCOMPARE(result.status, ExportResult::Status::Failed);
    QVERIFY2(result.error.contains(QDir::toNativeSeparators(blocker)), qPrintable(result.error));
    QCOMPARE(result.files, QStringList());
}

void BulkExporterTest::fileErrorKeepsWrittenFiles()
{
    // A name longer than a file system allows fails the HTML files after the plain ones.
    QTemporaryDir dir;
    const Export e = run(dir, QStringLiteral("{a|b}"), type(2), type(2, QString(300, u'x')));
    QCOMPARE(e.result.status, ExportResult::Status::Failed);
    QVERIFY2(e.result.error.contains(QString(300, u'x') + "1.html"), qPrintable(e.result.error));
    QCOMPARE(e.result.files, QStringList({"article1.txt", "article2.txt"}));
    QVERIFY(!QFileInfo::exists(e.target));
    QCOMPARE(copiesIn(e.target + ".partial"), QStringList({"a", "b"}));
}

void BulkExporterTest::unbalancedArticle()
{
    QTemporaryDir dir;
    const Export e = run(dir, QStringLiteral("{a|b"), type(2), type(0));
    QCOMPARE(e.result.status, ExportResult::Status::Failed);
    QVERIFY(!e.result.error.isEmpty());
    QVERIFY(!QFileInfo::exists(e.target));
}

void BulkExporterTest::merge()
{
    const spintax::MergeData data({{"name", "city"}, {"Ann", "Rome"}, {"Bob", "Oslo [x]"}});
    QTemporaryDir dir;
    const Export e =
        run(dir, QStringLiteral("{Hello|Hi} [name] from [city]"), type(2), type(2), false, &data);
    QVERIFY2(e.result.ok(), qPrintable(e.result.error));
    QCOMPARE(copiesIn(e.target), QStringList({"Hello Ann from Rome", "Hello Ann from Rome",
                                              "Hi Bob from Oslo [x]", "Hi Bob from Oslo [x]"}));
}

void BulkExporterTest::partByPart_data()
{
    QTest::addColumn<QString>("article");
    QTest::addColumn<bool>("single");
    QTest::addColumn<bool>("merged");

    QTest::newRow("CR LF and lone line feeds at the cuts")
        << QStringLiteral("{a|b}\r\n{c\r|d}\n\r{e|f}\r\n\r\n{g|h}\r") << false << false;
    QTest::newRow("surrogate pairs cut between parts")
        << QStringLiteral("x\U0001F600\U0001F600 {\U0001F600|\u00E9} \U0001F600\n{a|b}\U0001F600")
        << true << false;
    QTest::newRow("few combinations: distinct until they run out")
        << QStringLiteral("{a|b} and {c|d}") << false << false;
    QTest::newRow("nested groups, single file")
        << QStringLiteral("{The|A} {quick|{very|rather} fast} fox.\n{|{Then|And} it ran.|} end")
        << true << false;
    QTest::newRow("merge placeholders cut between parts")
        << QStringLiteral("{Hello|Hi} [name] from [city]. {a|b}") << false << true;
}

// An article cut into parts gives the same files as the article in one part.
void BulkExporterTest::partByPart()
{
    QFETCH(QString, article);
    QFETCH(bool, single);
    QFETCH(bool, merged);
    const spintax::MergeData data({{"name", "city"}, {"Ann", "Rome"}, {"Bob", "Oslo"}});
    const spintax::MergeData *merge = merged ? &data : nullptr;
    const int count = merged ? 2 : 6;
    QTemporaryDir dir;
    const Export whole = run(dir, article, type(count, "p", single, "--"),
                             type(count, "h", single, "=="), false, merge);
    QVERIFY2(whole.result.ok(), qPrintable(whole.result.error));
    const auto expected = filesIn(whole.target);
    QVERIFY(!expected.isEmpty());
    for (const qsizetype partSize : {1, 2, 5}) {
        QTest::qWait(2); // a new time-stamped folder
        const Export parts = run(dir, article, type(count, "p", single, "--"),
                                 type(count, "h", single, "=="), false, merge, {}, partSize);
        QVERIFY2(parts.result.ok(), qPrintable(parts.result.error));
        QCOMPARE(filesIn(parts.target), expected);
    }
}

void BulkExporterTest::cancel()
{
    auto stopAfterTwo = [](qint64 done, qint64) { return done < 2; };
    QTemporaryDir dir;
    const Export folder =
        run(dir, QStringLiteral("{a|b|c|d}"), type(5), type(5), false, nullptr, stopAfterTwo);
    QCOMPARE(folder.result.status, ExportResult::Status::Cancelled);
    // The copies written stay, under a name that does not pass for a finished export.
    QVERIFY(!QFileInfo::exists(folder.target));
    QCOMPARE(folder.result.path, folder.target + ".partial");
    QCOMPARE(QDir(folder.result.path).entryList(QDir::Files, QDir::Name),
             QStringList({"article1.txt", "article2.txt"}));

    QTest::qWait(2);
    const Export zip =
        run(dir, QStringLiteral("{a|b|c|d}"), type(5), type(5), true, nullptr, stopAfterTwo);
    QCOMPARE(zip.result.status, ExportResult::Status::Cancelled);
    QCOMPARE(zip.result.path, QString());
    QVERIFY(!QFileInfo::exists(zip.target + ".zip"));
    QVERIFY(!QFileInfo::exists(zip.target + ".zip.partial"));
}

void BulkExporterTest::staleTemporariesRemoved()
{
    // What a killed export leaves, beside things of the user's with similar names.
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkpath("20200101_101010101.partial/sub"));
    QFile(dir.filePath("20200101_101010101.partial/sub/article1.txt")).open(QIODevice::WriteOnly);
    QFile(dir.filePath("20200101_101010102.zip.partial")).open(QIODevice::WriteOnly);
    QFile(dir.filePath("notes.partial")).open(QIODevice::WriteOnly);
    QFile(dir.filePath("20200101_101010103.zip")).open(QIODevice::WriteOnly);
    QVERIFY(QDir(dir.path()).mkdir("20200101_101010104"));
    const QString outside = dir.filePath("20200101_101010104/keep.txt");
    QFile(outside).open(QIODevice::WriteOnly);
    QVERIFY(QFile::link(dir.filePath("20200101_101010104"),
                        dir.filePath("20200101_101010105.partial")));

    const Export e = run(dir, QStringLiteral("{a|b}"), type(1), type(0), true);
    QVERIFY2(e.result.ok(), qPrintable(e.result.error));
    QStringList expected{"20200101_101010103.zip", "20200101_101010104", "notes.partial",
                         QFileInfo(e.target).fileName() + ".zip"};
    expected.sort();
    QCOMPARE(QDir(dir.path())
                 .entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot, QDir::Name),
             expected);
    QVERIFY(QFileInfo::exists(outside)); // a link is removed, not followed
}

void BulkExporterTest::fullDisk_data()
{
    QTest::addColumn<bool>("zip");
    QTest::newRow("folder") << false;
    QTest::newRow("zip") << true;
}

void BulkExporterTest::fullDisk()
{
    QFETCH(bool, zip);
    if (::geteuid() != 0)
        QSKIP("mounting a small file system needs root");
    QTemporaryDir dir;
    QProcess mount;
    mount.start("mount", {"-t", "tmpfs", "-o", "size=64k", "tmpfs", dir.path()});
    if (!mount.waitForFinished(20000) || mount.exitCode() != 0)
        QSKIP("no tmpfs can be mounted here");
    auto unmount = qScopeGuard([&dir] { QProcess::execute("umount", {dir.path()}); });

    // Copies that do not compress: about 20 KiB each, more than the 64 KiB hold.
    QString article;
    for (int i = 0; i < 4000; ++i)
        article += QStringLiteral("{%1|%2} ").arg(i * 7919 % 10007).arg(i * 104729 % 100003);
    const Export e = run(dir, article, type(10), type(0), zip);
    QCOMPARE(e.result.status, ExportResult::Status::Failed);
    QVERIFY2(e.result.error.contains("No space left on device"), qPrintable(e.result.error));
    QVERIFY(!QFileInfo::exists(e.target + (zip ? ".zip" : "")));
    if (zip)
        QVERIFY(!QFileInfo::exists(e.target + ".zip.partial"));
}

void BulkExporterTest::typeOptions_data()
{
    QTest::addColumn<bool>("ticked");
    QTest::addColumn<QString>("count");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("expectedCount");
    QTest::addColumn<QString>("expectedName");

    QTest::newRow("whole number") << true << "12"
                                  << "post" << 12 << "post";
    QTest::newRow("box clear") << false << "12"
                               << "post" << 0 << "article";
    QTest::newRow("not a number") << true << "ten"
                                  << "post" << 0 << "post";
    QTest::newRow("fraction") << true << "2.5"
                              << "post" << 0 << "post";
    QTest::newRow("negative") << true << "-3"
                              << "post" << 0 << "post";
    QTest::newRow("empty count") << true << ""
                                 << "post" << 0 << "post";
    QTest::newRow("blank name") << true << "1"
                                << "   " << 1 << "article";
    QTest::newRow("name with folders stays in the export") << true << "1"
                                                           << "../a/b" << 1 << ".._a_b";
    QTest::newRow("control characters replaced (a NUL would cut a ZIP name)")
        << true << "1" << QString::fromLatin1("a\0b\tc\x7f", 6) << 1 << "a_b_c_";
}

void BulkExporterTest::typeOptions()
{
    QFETCH(bool, ticked);
    QFETCH(QString, count);
    QFETCH(QString, name);
    QFETCH(int, expectedCount);
    QFETCH(QString, expectedName);
    const ExportTypeOptions t = BulkExporter::typeOptions(ticked, count, true, "sep", name);
    QCOMPARE(t.count, expectedCount);
    QCOMPARE(t.name, expectedName);
}

void BulkExporterTest::exportTarget()
{
    const QDateTime when(QDate(2026, 12, 7), QTime(0, 15, 33, 42), Qt::UTC);
    QCOMPARE(BulkExporter::exportTarget("/home/u/out", when), "/home/u/out/20261207_001533042");
    QCOMPARE(BulkExporter::exportTarget("/home/u/out/", when), "/home/u/out/20261207_001533042");
    QCOMPARE(BulkExporter::exportTarget("/", when), "/20261207_001533042");
    // The stamp is UTC whatever the time zone of the clock.
    QCOMPARE(BulkExporter::exportTarget("/x", when.toOffsetFromUtc(3600)), "/x/20261207_001533042");
}

REWORDIX_TEST_GUILESS_MAIN(BulkExporterTest)
#include "bulkexporter_test.moc"
