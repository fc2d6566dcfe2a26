#include "storage/textreader.h"

#include <QTemporaryDir>
#include <QtTest>

class TextReaderTest final : public QObject
{
    Q_OBJECT

private slots:
    void decode_data();
    void decode();
    void readFile();
};

void TextReaderTest::decode_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("encoding");

    QTest::newRow("ASCII is UTF-8") << QByteArray("plain") << u"plain"_qs << u"UTF-8"_qs;
    QTest::newRow("UTF-8 without mark")
        << QByteArray("caf\xC3\xA9 \xE2\x82\xAC") << u"café €"_qs << u"UTF-8"_qs;
    QTest::newRow("UTF-8 mark dropped")
        << QByteArray("\xEF\xBB\xBF\xC3\x9F") << u"ß"_qs << u"UTF-8"_qs;
    QTest::newRow("UTF-16LE mark")
        << QByteArray("\xFF\xFE\xE9\x00\xAC\x20", 6) << u"é€"_qs << u"UTF-16LE"_qs;
    QTest::newRow("UTF-16BE mark")
        << QByteArray("\xFE\xFF\x00\xE9\x20\xAC", 6) << u"é€"_qs << u"UTF-16BE"_qs;
    QTest::newRow("Latin-1 letters") << QByteArray("Stra\xDF"
                                                   "e caf\xE9")
                                     << u"Straße café"_qs << u"ISO-8859-1"_qs;
    QTest::newRow("Windows-1252 euro and quotes") << QByteArray("\x93"
                                                                "caf\xE9"
                                                                "\x94 \x80"
                                                                "5")
                                                  << u"“café” €5"_qs << u"Windows-1252"_qs;
    QTest::newRow("byte undefined in Windows-1252 means Latin-1")
        << QByteArray("\xE9\x81") << u"é\u0081"_qs << u"ISO-8859-1"_qs;
    QTest::newRow("truncated UTF-8 sequence is not UTF-8")
        << QByteArray("ab\xC3") << u"abÃ"_qs << u"ISO-8859-1"_qs;
    QTest::newRow("empty") << QByteArray() << QString() << u"UTF-8"_qs;
}

void TextReaderTest::decode()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QFETCH(QString, encoding);
    const storage::DecodedText decoded = storage::decodeText(bytes);
    QCOMPARE(decoded.text, text);
    QCOMPARE(decoded.encoding, encoding);
}

void TextReaderTest::readFile()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("article.txt"));
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("na\xEFve");
    f.close();

    const storage::TextFileRead read = storage::readTextFile(path);
    QVERIFY(read.ok);
    QCOMPARE(read.text, u"naïve"_qs);
    QCOMPARE(read.encoding, u"ISO-8859-1"_qs);

    const storage::TextFileRead missing = storage::readTextFile(dir.filePath(QStringLiteral("no")));
    QVERIFY(!missing.ok);
    QVERIFY(!missing.error.isEmpty());
}

QTEST_GUILESS_MAIN(TextReaderTest)
#include "textreader_test.moc"
