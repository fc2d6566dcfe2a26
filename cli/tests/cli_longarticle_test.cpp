// An article longer than the part the command-line tool works on at a time gives the same
// spin, count and export results as the editor's functions on the whole text: faults at the
// cuts between parts show here.

#include "testsupport/testsupport.h"
#include "spintax/bulkexporter.h"
#include "spintax/combinationcount.h"
#include "spintax/generator.h"
#include "spintax/generatorcopysource.h"
#include "spintax/spintree.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <gmpxx.h>

namespace {

using Run = testsupport::ProgramRun;

Run runCli(const QStringList &args)
{
    return testsupport::runProgram(QStringLiteral(REWORDIX_CLI_PATH), args);
}

// About 3 million characters: groups, nested groups, CR LF and lone line feeds, letters beyond
// the BMP (so a cut may fall inside a surrogate pair) and long stretches without a group.
QString longArticle()
{
    QRandomGenerator random(42);
    const QStringList words = {QStringLiteral("fox"), QStringLiteral("caf\u00E9"),
                               QStringLiteral("\U0001F600"), QStringLiteral("run."),
                               QStringLiteral("a\U0001D400b")};
    QString text;
    while (text.size() < 3'000'000) {
        switch (random.bounded(12)) {
        case 0:
            text += QStringLiteral("{a|b|c} ");
            break;
        case 1:
            text += QStringLiteral("{x {y|z}|w|\U0001F600} ");
            break;
        case 2:
            text += QStringLiteral("\r\n");
            break;
        case 3:
            text += u'\n';
            break;
        case 4:
            text += QString(int(random.bounded(400)), u'w') + u' ';
            break;
        default:
            text += words[random.bounded(int(words.size()))] + u' ';
        }
    }
    return QStringLiteral("{Title|Heading} ") + text + QStringLiteral(" {end|stop}");
}

} // namespace

class CliLongArticleTest final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        article = longArticle();
        QFile file(dir.filePath(QStringLiteral("article.txt")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        const QByteArray bytes = article.toUtf8();
        QCOMPARE(file.write(bytes), bytes.size());
        path = file.fileName();
        tree = spintax::SpinTree::parse(article);
        QVERIFY(tree);
    }

    void spin()
    {
        const Run r = runCli({"spin", "--copies", "3", "--seed", "5", path});
        QCOMPARE(r.status, 0);
        spintax::Generator generator;
        generator.setSeed(5);
        generator.resetBatch(article);
        QString expected;
        for (int k = 0; k < 3; ++k)
            expected += generator.anySpin(*tree, false).text + u'\n';
        QVERIFY(r.out == expected.toUtf8()); // megabytes: QCOMPARE would print them
    }

    void count()
    {
        const Run r = runCli({"count", path});
        QCOMPARE(r.status, 0);
        const mpz_class expected =
            spintax::countCombinations<mpz_class>(*tree, spintax::CountRule::Formula);
        QCOMPARE(r.out, QByteArray::fromStdString(expected.get_str(10)) + '\n');
    }

    void exportFiles()
    {
        QTemporaryDir out;
        const Run r = runCli({"export", "--out", out.path(), "--plain", "3", "--html", "2",
                              "--html-single", "==", "--seed", "9", path});
        QCOMPARE(r.status, 0);
        const QString cliFolder = QString::fromLocal8Bit(r.out.trimmed());

        // The editor's export: the article as one part.
        spintax::Generator generator;
        generator.setSeed(9);
        spintax::GeneratorCopySource source(generator, article, article.size() + 1);
        spintax::BulkExporter exporter(source);
        spintax::ExportOptions options;
        options.target = out.filePath(QStringLiteral("whole"));
        options.plain = spintax::BulkExporter::typeOptions(true, "3", false, {}, {});
        options.html = spintax::BulkExporter::typeOptions(true, "2", true, "==", {});
        const spintax::ExportResult whole = exporter.gen(options);
        QVERIFY2(whole.ok(), qPrintable(whole.error));

        const QStringList names = QDir(whole.path).entryList(QDir::Files, QDir::Name);
        QCOMPARE(QDir(cliFolder).entryList(QDir::Files, QDir::Name), names);
        for (const QString &name : names) {
            QFile a(cliFolder + u'/' + name);
            QFile b(whole.path + u'/' + name);
            QVERIFY(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
            QVERIFY2(a.readAll() == b.readAll(), qPrintable(name));
        }
    }

private:
    QTemporaryDir dir;
    QString article;
    QString path;
    std::optional<spintax::SpinTree> tree;
};

REWORDIX_TEST_GUILESS_MAIN(CliLongArticleTest)
#include "cli_longarticle_test.moc"
