#include "testsupport/testsupport.h"
#include "spintax/csvreader.h"
#include "spintax/mergedata.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using spintax::CsvReader;
using spintax::MergeData;

using Records = QList<QStringList>;

class MergeDataTest final : public QObject
{
    Q_OBJECT
private slots:
    void parse_data();
    void parse();
    void readFile();
    void getMerged_data();
    void getMerged();
};

void MergeDataTest::parse_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<Records>("expected");

    QTest::newRow("quoted comma keeps its spaces")
        << "name,\"Smith, John\",42" << Records{{"name", "Smith, John", "42"}};
    QTest::newRow("doubled quotes") << "\"say \"\"hi\"\"\"" << Records{{"say \"hi\""}};
    QTest::newRow("doubled quote ends an open piece")
        << "\"a \"\"b\"\", c\",d" << Records{{"a \"b\", c", "d"}};
    QTest::newRow("quoted field continues on the next line")
        << "id,note\n1,\"first part\nsecond part\",x"
        << Records{{"id", "note"}, {"1", "first part,second part", "x"}};
    QTest::newRow("empty trailing fields dropped, inner kept")
        << "a,,b,,\nc, ,d" << Records{{"a", "", "b"}, {"c", "", "d"}};
    QTest::newRow("fields and lines trimmed, CR LF") << "  a , b \r\n c,d\r\n\r\n\n"
                                                     << Records{{"a", "b"}, {"c", "d"}};
    QTest::newRow("quoted field trimmed") << "\"  x  \",y" << Records{{"x", "y"}};
    QTest::newRow("lone quote skipped") << "a,\",b" << Records{{"a", "b"}};
    QTest::newRow("quote inside unquoted field") << "5\"\" disk,b" << Records{{"5\" disk", "b"}};
    QTest::newRow("comma in quotes at line end") << "\"a,\"" << Records{{"a,"}};
    QTest::newRow("blank middle line is a record") << "a\n\nb" << Records{{"a"}, {""}, {"b"}};
    QTest::newRow("unclosed quote keeps its text")
        << "a,\"open\nrest" << Records{{"a", "open,rest"}};
    QTest::newRow("empty text") << "" << Records{};
}

void MergeDataTest::parse()
{
    QFETCH(QString, text);
    QFETCH(Records, expected);
    QCOMPARE(CsvReader::parse(text), expected);
}

void MergeDataTest::readFile()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("data.csv"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("\xEF\xBB\xBFname,city\r\nZo\xC3\xAB,\"Rome, Italy\"\r\n");
    file.close();

    const MergeData data = MergeData::fromFile(path);
    QCOMPARE(data.titles(), QStringList({"name", "city"}));
    QCOMPARE(data.rowCount(), 1);
    QCOMPARE(data.row(0), QStringList({QString::fromUtf8("Zo\xC3\xAB"), "Rome, Italy"}));

    QCOMPARE(CsvReader::readFile(dir.filePath(QStringLiteral("missing.csv"))), Records{});
}

void MergeDataTest::getMerged_data()
{
    QTest::addColumn<Records>("records");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("expected");

    const Records people{{"name", "city"}, {"Ann", "Rome"}, {"Bob", "Oslo"}};
    QTest::newRow("first row") << people << "Hello [name] from [city], [name]!" << 0
                               << "Hello Ann from Rome, Ann!";
    QTest::newRow("second row") << people << "[city]:[name]" << 1 << "Oslo:Bob";
    QTest::newRow("row beyond data unchanged") << people << "Hi [name]" << 2 << "Hi [name]";
    QTest::newRow("negative row unchanged") << people << "Hi [name]" << -1 << "Hi [name]";
    QTest::newRow("unknown placeholder stays") << people << "[name] [zip]" << 0 << "Ann [zip]";
    QTest::newRow("regex characters in title and value")
        << Records{{"price $", "a+b", "(x)"}, {"$1.50", "\\1 & \\0", "[a]"}}
        << "[price $] [a+b] [(x)]" << 0 << "$1.50 \\1 & \\0 [a]";
    QTest::newRow("short row gives empty values")
        << Records{{"name", "city"}, {"Ann"}} << "[name]/[city]" << 0 << "Ann/";
    QTest::newRow("no data rows") << Records{{"name"}} << "[name]" << 0 << "[name]";
    QTest::newRow("a value naming a placeholder is inserted as it is")
        << Records{{"a", "b"}, {"[b]", "B"}} << "[a] [b]" << 0 << "[b] B";
    QTest::newRow("brackets around and inside placeholders")
        << Records{{"x", "x]y", "[z"}, {"1", "2", "3"}} << "[[x]] [x]y] [[z] [" << 0
        << "[1] 1y] 3 [";
    QTest::newRow("title given twice: first column")
        << Records{{"t", "t"}, {"first", "second"}} << "[t]" << 0 << "first";
}

void MergeDataTest::getMerged()
{
    QFETCH(Records, records);
    QFETCH(QString, text);
    QFETCH(int, row);
    QFETCH(QString, expected);
    QCOMPARE(MergeData(records).getMerged(text, row), expected);
}

REWORDIX_TEST_GUILESS_MAIN(MergeDataTest)
#include "mergedata_test.moc"
