// Runs the real rewordix-cli binary and checks what it prints and returns.

#include "testsupport/testsupport.h"
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

namespace {

using Run = testsupport::ProgramRun;

// 2^exponent in decimal, by repeated doubling of a digit string.
QByteArray powerOfTwo(int exponent)
{
    QByteArray digits = "1";
    for (int e = 0; e < exponent; ++e) {
        int carry = 0;
        for (qsizetype i = digits.size(); i-- > 0;) {
            const int d = (digits[i] - '0') * 2 + carry;
            digits[i] = char('0' + d % 10);
            carry = d / 10;
        }
        if (carry)
            digits.prepend(char('0' + carry));
    }
    return digits;
}

QByteArray decimalSum(QByteArray a, QByteArray b)
{
    if (a.size() < b.size())
        std::swap(a, b);
    b.prepend(QByteArray(a.size() - b.size(), '0'));
    int carry = 0;
    for (qsizetype i = a.size(); i-- > 0;) {
        const int d = (a[i] - '0') + (b[i] - '0') + carry;
        a[i] = char('0' + d % 10);
        carry = d / 10;
    }
    return carry ? '1' + a : a;
}

} // namespace

class CliTest final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void commands_data();
    void commands();
    void sequentialThenRandom();
    void seededRandomCopies();
    void distinctCopies();
    void exactCountBeyond64Bits();
    void usageErrors_data();
    void usageErrors();
    void help();
    void subcommandHelp_data();
    void subcommandHelp();
    void endOfOptions_data();
    void endOfOptions();
    void inputEncodings_data();
    void inputEncodings();

private:
    // Runs the binary; "FILE" in `args` stands for a file holding `input`,
    // "-" reads `input` from stdin.
    Run run(QStringList args, const QByteArray &input = {}, const QString &workingDirectory = {});

    QTemporaryDir dir;
    int files = 0;
};

void CliTest::initTestCase()
{
    QVERIFY(dir.isValid());
}

Run CliTest::run(QStringList args, const QByteArray &input, const QString &workingDirectory)
{
    const qsizetype at = args.indexOf("FILE");
    if (at >= 0) {
        const QString path = dir.filePath(QString("input%1.txt").arg(files++));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(input) != input.size())
            return {};
        args[at] = path;
    }
    testsupport::ProgramOptions options;
    options.workingDirectory = workingDirectory;
    if (args.contains("-"))
        options.input = input;
    return testsupport::runProgram(REWORDIX_CLI_PATH, args, options);
}

void CliTest::commands_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QByteArray>("out");
    QTest::addColumn<int>("status");

    QTest::newRow("spin: first copy reads first alternatives")
        << QStringList{"spin", "FILE"} << QByteArray("{a|b} {c|{d|e}} x\n") << QByteArray("a c x\n")
        << 0;
    QTest::newRow("spin: NUL separators")
        << QStringList{"spin", "--copies", "2", "-0", "FILE"} << QByteArray("{a|b}{c|d}")
        << QByteArray("ac\0bd\0", 6) << 0;
    QTest::newRow("spin: zero copies")
        << QStringList{"spin", "--copies=0", "FILE"} << QByteArray("{a|b}") << QByteArray() << 0;
    QTest::newRow("spin: from stdin, byte-order mark dropped")
        << QStringList{"spin", "-"} << QByteArray("\xEF\xBB\xBF{caf\xC3\xA9|x} \xE2\x82\xAC")
        << QByteArray("caf\xC3\xA9 \xE2\x82\xAC\n") << 0;
    QTest::newRow("spin: unbalanced")
        << QStringList{"spin", "FILE"} << QByteArray("{a|b} {c") << QByteArray() << 1;
    QTest::newRow("count") << QStringList{"count", "FILE"} << QByteArray("{a|b} {c|{d|e}}")
                           << QByteArray("6\n") << 0;
    QTest::newRow("count: trailing empty alternative counts")
        << QStringList{"count", "-"} << QByteArray("{a|b|}") << QByteArray("3\n") << 0;
    QTest::newRow("count: unbalanced")
        << QStringList{"count", "FILE"} << QByteArray("x {") << QByteArray() << 1;
    QTest::newRow("flat") << QStringList{"flat", "FILE"} << QByteArray("x {a {b|c}|d} y\n")
                          << QByteArray("x {a b|d} y\n") << 0;
    QTest::newRow("flat: unbalanced")
        << QStringList{"flat", "FILE"} << QByteArray("{a {b|c}") << QByteArray() << 1;
    QTest::newRow("first") << QStringList{"first", "FILE"} << QByteArray("{a|b}  {c|{d|e}}")
                           << QByteArray("a c") << 0;
    QTest::newRow("first: unbalanced")
        << QStringList{"first", "FILE"} << QByteArray("{") << QByteArray() << 1;
    QTest::newRow("strip-first") << QStringList{"strip-first", "FILE"}
                                 << QByteArray("{a|b|c} and {x|y}") << QByteArray("{b|c} and y")
                                 << 0;
    QTest::newRow("strip-first: unmatched brace kept")
        << QStringList{"strip-first", "FILE"} << QByteArray("{a {b|c}") << QByteArray("{a c") << 0;
    QTest::newRow("stats") << QStringList{"stats", "FILE"}
                           << QByteArray("one two {three|four five}")
                           << QByteArray(
                                  "Spun Words: 3\nTotal Words: 5\n33% Unique\nQuality: 1.67\n"
                                  "1 Paragraph(s)\n")
                           << 0;
    QTest::newRow("spin: options after FILE, the last value counts")
        << QStringList{"spin", "FILE", "--copies", "5", "--copies=2"} << QByteArray("{a|b}{c|d}")
        << QByteArray("ac\nbd\n") << 0;
    QTest::newRow("spin: -0 and --copies=N with the separate options")
        << QStringList{"spin", "-0", "--distinct", "--copies=2", "FILE"} << QByteArray("{a|b}")
        << QByteArray("a\0b\0", 4) << 0;
    QTest::newRow("stats: unbalanced")
        << QStringList{"stats", "FILE"} << QByteArray("{a b") << QByteArray() << 1;
}

void CliTest::commands()
{
    QFETCH(QStringList, args);
    QFETCH(QByteArray, input);
    QFETCH(QByteArray, out);
    QFETCH(int, status);
    const Run r = run(args, input);
    QCOMPARE(r.out, out);
    QCOMPARE(r.status, status);
    // Failures explain themselves in one line; successes say nothing.
    QCOMPARE(r.err.count('\n'), status == 0 ? 0 : 1);
}

void CliTest::sequentialThenRandom()
{
    const Run r = run({"spin", "--copies", "40", "FILE"}, "{a|b}{c|d}\n");
    QCOMPARE(r.status, 0);
    const QList<QByteArray> lines = r.out.split('\n');
    QCOMPARE(lines.size(), 41);
    QCOMPARE(lines.mid(0, 2), (QList<QByteArray>{"ac", "bd"}));
    QCOMPARE(lines.last(), QByteArray());
    const QSet<QByteArray> random(lines.begin() + 2, lines.end() - 1);
    QCOMPARE(random, (QSet<QByteArray>{"ac", "ad", "bc", "bd"}));
}

void CliTest::seededRandomCopies()
{
    const QByteArray text = "{a|b|c|d} {e|f|g|h} {i|j|k|l} {m|n|o|p}";
    const Run one = run({"spin", "--random", "--seed", "17", "--copies", "30", "FILE"}, text);
    const Run again = run({"spin", "--random", "--seed=17", "--copies", "30", "FILE"}, text);
    const Run other = run({"spin", "--random", "--seed", "18", "--copies", "30", "FILE"}, text);
    QCOMPARE(one.status, 0);
    QCOMPARE(again.out, one.out);
    QVERIFY(other.out != one.out);
    // Random from the first copy on: the sequential copies would start «a e i m», «b f j n».
    QVERIFY(!one.out.startsWith("a e i m\nb f j n\n"));
}

void CliTest::distinctCopies()
{
    // 2 x 4 = 8 reachable combinations: the simple group's trailing empty
    // alternative is never chosen, the other group's is. The first 8 copies
    // all differ, then copies repeat without the command hanging.
    const Run r = run({"spin", "--distinct", "--random", "--seed", "3", "--copies", "10", "FILE"},
                      "{a|b|} {c|{d|e}|}");
    QCOMPARE(r.status, 0);
    const QList<QByteArray> lines = r.out.split('\n');
    QCOMPARE(lines.size(), 11);
    QCOMPARE(QSet<QByteArray>(lines.begin(), lines.begin() + 8).size(), 8);

    const Run wide =
        run({"spin", "--distinct", "--copies", "64", "FILE"}, QByteArray("{a|b}").repeated(6));
    const QList<QByteArray> all = wide.out.split('\n');
    QCOMPARE(QSet<QByteArray>(all.begin(), all.end() - 1).size(), 64);
}

void CliTest::exactCountBeyond64Bits()
{
    const Run r = run({"count", "FILE"}, QByteArray("{a|b} ").repeated(200));
    QCOMPARE(r.status, 0);
    QCOMPARE(r.out, powerOfTwo(200) + '\n');

    // A sum of two products: 2^70 + 2^65.
    const QByteArray text =
        "{" + QByteArray("{a|b}").repeated(70) + "|" + QByteArray("{a|b}").repeated(65) + "}";
    const Run sum = run({"count", "FILE"}, text);
    QCOMPARE(sum.out, decimalSum(powerOfTwo(70), powerOfTwo(65)) + '\n');
}

void CliTest::usageErrors_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::newRow("no command") << QStringList{};
    QTest::newRow("unknown command") << QStringList{"shuffle", "FILE"};
    QTest::newRow("no file") << QStringList{"count"};
    QTest::newRow("two files") << QStringList{"flat", "FILE", "other.txt"};
    QTest::newRow("missing file") << QStringList{"stats", "/nonexistent/rewordix/input.txt"};
    QTest::newRow("bad copy count") << QStringList{"spin", "--copies", "many", "FILE"};
    QTest::newRow("negative copy count") << QStringList{"spin", "--copies", "-3", "FILE"};
    QTest::newRow("copy count missing") << QStringList{"spin", "FILE", "--copies"};
    QTest::newRow("bad seed") << QStringList{"spin", "--seed", "x", "FILE"};
    QTest::newRow("unknown option") << QStringList{"spin", "--shuffle", "FILE"};
    QTest::newRow("unknown option, FILE-only command") << QStringList{"count", "--bogus", "FILE"};
    QTest::newRow("unknown short option") << QStringList{"flat", "-x", "FILE"};
    QTest::newRow("value given to a switch") << QStringList{"spin", "--random=yes", "FILE"};
    QTest::newRow("empty --copies=") << QStringList{"spin", "--copies=", "FILE"};
    QTest::newRow("copy count too large")
        << QStringList{"spin", "--copies", "99999999999999999999", "FILE"};
    QTest::newRow("seed missing") << QStringList{"spin", "FILE", "--seed"};
    QTest::newRow("spin: two files") << QStringList{"spin", "FILE", "other.txt"};
    QTest::newRow("--help after -- is a file name") << QStringList{"count", "--", "--help"};
}

void CliTest::usageErrors()
{
    QFETCH(QStringList, args);
    const Run r = run(args, "{a|b}");
    QCOMPARE(r.status, 2);
    QCOMPARE(r.out, QByteArray());
    QCOMPARE(r.err.count('\n'), 1);
    QVERIFY(r.err.startsWith("rewordix-cli: "));
}

void CliTest::help()
{
    const Run r = run({"--help"});
    QCOMPARE(r.status, 0);
    for (const char *command : {"spin", "count", "flat", "first", "strip-first", "stats"})
        QVERIFY2(r.out.contains(QByteArray("\n  ") + command + ' '), command);
}

void CliTest::subcommandHelp_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QStringList>("names"); // options and argument the help must show

    const QStringList fileOnly{"-h, --help", "FILE"};
    for (const char *command : {"count", "flat", "first", "strip-first", "stats"})
        QTest::newRow(command) << QStringList{command, "--help"} << fileOnly;
    QTest::newRow("spin") << QStringList{"spin", "--help"}
                          << QStringList{"--copies <N>", "--random", "--distinct",
                                         "--seed <S>",   "-0",       "FILE"};
    QTest::newRow("export") << QStringList{"export", "-h"}
                            << QStringList{"--out <DIR>",
                                           "--zip",
                                           "--plain <N>",
                                           "--html <N>",
                                           "--plain-single <SEP>",
                                           "--html-single <SEP>",
                                           "--plain-name <NAME>",
                                           "--html-name <NAME>",
                                           "--merge <CSV>",
                                           "--seed <S>",
                                           "FILE"};
    QTest::newRow("synonyms") << QStringList{"synonyms", "--help"}
                              << QStringList{"--lang <CODE>", "WORD"};
    // Help wins over everything else that is valid: nothing is spun or read.
    QTest::newRow("spin: help among other options")
        << QStringList{"spin", "--copies", "3", "FILE", "--help"} << QStringList{"--copies <N>"};
}

void CliTest::subcommandHelp()
{
    QFETCH(QStringList, args);
    QFETCH(QStringList, names);
    const Run r = run(args, "{a|b}");
    QCOMPARE(r.status, 0);
    QCOMPARE(r.err, QByteArray());
    QVERIFY2(r.out.startsWith("Usage: rewordix-cli " + args[0].toUtf8() + ' '), r.out.constData());
    for (const QString &name : names)
        QVERIFY2(r.out.contains("\n  " + name.toUtf8() + ' '), qPrintable(name));
}

void CliTest::endOfOptions_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QByteArray>("out");
    QTest::addColumn<int>("status");

    // "-x.txt" is a file of the working directory holding "{a|b}"; stdin holds "{a|b|c}".
    QTest::newRow("file named like an option, after --")
        << QStringList{"count", "--", "-x.txt"} << QByteArray("2\n") << 0;
    QTest::newRow("file named like an option, without --")
        << QStringList{"count", "-x.txt"} << QByteArray() << 2;
    QTest::newRow("options before --")
        << QStringList{"spin", "--copies", "2", "--", "-x.txt"} << QByteArray("a\nb\n") << 0;
    QTest::newRow("option after -- is a second file")
        << QStringList{"spin", "--", "-x.txt", "--copies"} << QByteArray() << 2;
    QTest::newRow("stdin after --") << QStringList{"count", "--", "-"} << QByteArray("3\n") << 0;
}

void CliTest::endOfOptions()
{
    QFETCH(QStringList, args);
    QFETCH(QByteArray, out);
    QFETCH(int, status);
    QFile file(dir.filePath("-x.txt"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write("{a|b}"), 5);
    file.close();
    const Run r = run(args, "{a|b|c}", dir.path());
    QCOMPARE(r.out, out);
    QCOMPARE(r.status, status);
    QCOMPARE(r.err.count('\n'), status == 0 ? 0 : 1);
}

REWORDIX_TEST_GUILESS_MAIN(CliTest)
#include "cli_test.moc"

void CliTest::inputEncodings_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QByteArray>("out");
    QTest::addColumn<QByteArray>("note"); // on stderr; empty: nothing said

    QTest::newRow("UTF-8: nothing said")
        << QByteArray("{caf\xC3\xA9|x}") << QByteArray("caf\xC3\xA9\n") << QByteArray();
    QTest::newRow("UTF-16LE with mark")
        << QByteArray("\xFF\xFE{\0\xE9\0|\0x\0}\0", 12) << QByteArray("\xC3\xA9\n") << QByteArray();
    QTest::newRow("Latin-1 letters kept") << QByteArray("{Stra\xDF"
                                                        "e|x} caf\xE9")
                                          << QByteArray("Stra\xC3\x9F"
                                                        "e caf\xC3\xA9\n")
                                          << QByteArray("read as ISO-8859-1");
    QTest::newRow("Windows-1252 euro and quotes kept") << QByteArray("{\x93"
                                                                     "a\x94|b} \x80")
                                                       << QByteArray("\xE2\x80\x9C"
                                                                     "a\xE2\x80\x9D \xE2\x82\xAC\n")
                                                       << QByteArray("read as Windows-1252");
}

void CliTest::inputEncodings()
{
    QFETCH(QByteArray, input);
    QFETCH(QByteArray, out);
    QFETCH(QByteArray, note);
    for (const char *source : {"FILE", "-"}) {
        const Run r = run({"spin", source}, input);
        QCOMPARE(r.status, 0);
        QCOMPARE(r.out, out);
        if (note.isEmpty()) {
            QCOMPARE(r.err, QByteArray());
        } else {
            QCOMPARE(r.err.count('\n'), 1);
            QVERIFY2(r.err.contains(note), r.err.constData());
        }
    }
}
