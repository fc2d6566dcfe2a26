#include "testsupport/testsupport.h"
#include "storage/settingsstore.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QUuid>
#include <QtTest>

class SettingsStoreTest final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void defaultsOnEmptyStore_data();
    void defaultsOnEmptyStore();
    void isTrue_data();
    void isTrue();
    void storedValueWinsOverDefault();
    void applicationColorsWrittenOnFirstUse();
    void applicationColorsFillsMissingEntries();
    void argbText_data();
    void argbText();
    void languageSettings();
    void curDir_data();
    void curDir();
    void recentFileList();
    void updateServer_data();
    void updateServer();
    void copyscapeEndpoint_data();
    void copyscapeEndpoint();
    void userIdCreatedOnce();
    void storeIsNamedAndIsolated();

private:
    static QSettings store()
    {
        return QSettings(QStringLiteral("Tarnvale org"), QStringLiteral("Polyvane Alpha 1.0"));
    }
    QTemporaryDir tmp;
};

void SettingsStoreTest::initTestCase()
{
    QVERIFY(tmp.isValid());
    // This test checks where the folders are found from the XDG variables, so it points them
    // into its own temporary folder instead of using the test mode's private folders.
    QStandardPaths::setTestModeEnabled(false);
    // Before the first QSettings: the store's folder is taken from XDG_CONFIG_HOME once.
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(tmp.filePath(QStringLiteral("config"))));
    qputenv("XDG_DATA_HOME", QFile::encodeName(tmp.filePath(QStringLiteral("data"))));
}

void SettingsStoreTest::init()
{
    store().clear();
    qunsetenv(storage::updateServerEnv);
    qunsetenv(storage::copyscapeEndpointEnv);
}

void SettingsStoreTest::cleanup()
{
    init();
}

void SettingsStoreTest::defaultsOnEmptyStore_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QVariant>("expected");

    QTest::newRow("toolbar shown") << "editToolbarB" << QVariant("true");
    QTest::newRow("language update checked: eng") << "engUpdate" << QVariant(true);
    QTest::newRow("language update checked: bul") << "bulUpdate" << QVariant(true);
    QTest::newRow("identify on load unchecked") << "identifyOnLoad" << QVariant(false);
    QTest::newRow("zip unchecked") << "zip" << QVariant(false);
    QTest::newRow("plain text chosen") << "plainChecked" << QVariant(true);
    QTest::newRow("html chosen") << "htmlhtmlChecked" << QVariant(true);
    QTest::newRow("single plain file unchecked") << "singlePlainChecked" << QVariant(false);
    QTest::newRow("export folder empty") << "path" << QVariant(QString());
    QTest::newRow("count empty") << "plainCount" << QVariant(QString());
    QTest::newRow("no update server") << "updateServer" << QVariant(QString());
    QTest::newRow("public copyscape endpoint")
        << "copyscapeEndpoint" << QVariant("https://www.copyscape.com/api/");
    QTest::newRow("no recent files") << "recentFileList" << QVariant(QStringList());
    QTest::newRow("language english, left to right")
        << "languageSettings" << QVariant(QVariantMap{{"lang", "eng"}, {"dir", "ltr"}});
    QTest::newRow("not a language update key") << "xyzUpdate" << QVariant();
}

void SettingsStoreTest::defaultsOnEmptyStore()
{
    QFETCH(QString, key);
    QFETCH(QVariant, expected);
    QCOMPARE(storage::value(key), expected);
    QCOMPARE(storage::flag(key), expected.toString() == QStringLiteral("true"));
    QVERIFY(!store().contains(key)); // reading a default writes nothing
}

void SettingsStoreTest::isTrue_data()
{
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<bool>("expected");

    QTest::newRow("true") << QVariant("true") << true;
    QTest::newRow("TRUE") << QVariant("TRUE") << true;
    QTest::newRow("True") << QVariant("True") << true;
    QTest::newRow("bool true") << QVariant(true) << true;
    QTest::newRow("false") << QVariant("false") << false;
    QTest::newRow("bool false") << QVariant(false) << false;
    QTest::newRow("yes") << QVariant("yes") << false;
    QTest::newRow("1 as text") << QVariant("1") << false;
    QTest::newRow("number 1") << QVariant(1) << false;
    QTest::newRow("padded") << QVariant(" true") << false;
    QTest::newRow("empty text") << QVariant("") << false;
    QTest::newRow("absent") << QVariant() << false;
}

void SettingsStoreTest::isTrue()
{
    QFETCH(QVariant, stored);
    QFETCH(bool, expected);
    QCOMPARE(storage::isTrue(stored), expected);

    // The same after a trip through the store: the value written is what the rule reads.
    store().setValue(QStringLiteral("miscToolbarB"), stored);
    QCOMPARE(storage::flag(QStringLiteral("miscToolbarB")), expected);
}

void SettingsStoreTest::storedValueWinsOverDefault()
{
    storage::setFlag(storage::keys::editToolbarB, false);
    QCOMPARE(store().value(QStringLiteral("editToolbarB")), QVariant("false"));
    QVERIFY(!storage::flag(storage::keys::editToolbarB));

    storage::setValue(storage::languageUpdateKey(QStringLiteral("heb")), false);
    QVERIFY(!storage::flag(QStringLiteral("hebUpdate")));
    QVERIFY(storage::flag(QStringLiteral("araUpdate")));

    storage::setFlag(storage::keys::identifyOnPaste, true);
    QVERIFY(storage::flag(storage::keys::identifyOnPaste));
}

void SettingsStoreTest::applicationColorsWrittenOnFirstUse()
{
    const QVariantMap expected{
        {"level 1", "-16776961"}, {"level 2", "-16744448"},    {"level 3", "-65536"},
        {"level 4", "-32768"},    {"level 5", "-6586355"},     {"no synonym", "-16777216"},
        {"replace", "-6250332"},  {"first term", "-16777216"},
    };
    QCOMPARE(storage::defaultApplicationColors(), expected);

    QVERIFY(!store().contains(QStringLiteral("applicationColors")));
    QCOMPARE(storage::applicationColors(), expected);
    QCOMPARE(store().value(QStringLiteral("applicationColors")).toMap(), expected);

    // Once stored, the user's colours are returned as they are.
    QVariantMap mine = expected;
    mine.insert(QStringLiteral("level 1"), storage::argbText(0xff123456));
    storage::saveApplicationColors(mine);
    QCOMPARE(storage::applicationColors(), mine);
}

void SettingsStoreTest::applicationColorsFillsMissingEntries()
{
    const QVariantMap partial{{"level 1", "-1"}, {"level 2", "not a number"}};
    store().setValue(QStringLiteral("applicationColors"), partial);

    QVariantMap expected = storage::defaultApplicationColors();
    expected.insert(QStringLiteral("level 1"), QStringLiteral("-1"));
    QCOMPARE(storage::applicationColors(), expected);
    QCOMPARE(store().value(QStringLiteral("applicationColors")).toMap(), partial);
}

void SettingsStoreTest::argbText_data()
{
    QTest::addColumn<QVariant>("text");
    QTest::addColumn<qint64>("argb"); // -1: not a colour

    QTest::newRow("signed blue") << QVariant("-16776961") << qint64(0xff0000ff);
    QTest::newRow("unsigned blue") << QVariant("4278190335") << qint64(0xff0000ff);
    QTest::newRow("white") << QVariant("-1") << qint64(0xffffffff);
    QTest::newRow("number, not text") << QVariant(-65536) << qint64(0xffff0000);
    QTest::newRow("too large") << QVariant("4294967296") << qint64(-1);
    QTest::newRow("too small") << QVariant("-2147483649") << qint64(-1);
    QTest::newRow("not a number") << QVariant("blue") << qint64(-1);
    QTest::newRow("absent") << QVariant() << qint64(-1);
}

void SettingsStoreTest::argbText()
{
    QFETCH(QVariant, text);
    QFETCH(qint64, argb);
    const std::optional<quint32> parsed = storage::argbFromText(text);
    QCOMPARE(parsed.has_value(), argb >= 0);
    if (parsed) {
        QCOMPARE(qint64(*parsed), argb);
        QCOMPARE(storage::argbFromText(storage::argbText(*parsed)), parsed);
    }
}

void SettingsStoreTest::languageSettings()
{
    const QVariantMap english{{"lang", "eng"}, {"dir", "ltr"}};
    QCOMPARE(storage::languageSettings(), english);
    QCOMPARE(store().value(QStringLiteral("languageSettings")).toMap(), english);

    storage::saveLanguageSettings(QStringLiteral("heb"), true);
    const QVariantMap hebrew{{"lang", "heb"}, {"dir", "rtl"}};
    QCOMPARE(storage::languageSettings(), hebrew);
    QCOMPARE(store().value(QStringLiteral("languageSettings")).toMap(), hebrew);
}

void SettingsStoreTest::curDir_data()
{
    QTest::addColumn<QString>("given");    // relative to tmp
    QTest::addColumn<QString>("expected"); // relative to tmp; null: nothing stored

    QTest::newRow("opened file: its folder") << "docs/article.txt"
                                             << "docs";
    QTest::newRow("folder: as it is") << "docs"
                                      << "docs";
    QTest::newRow("folder with trailing slash") << "docs/"
                                                << "docs";
    QTest::newRow("file not yet on disk: its folder") << "docs/new.txt"
                                                      << "docs";
    QTest::newRow("empty: nothing stored") << QString() << QString();
}

void SettingsStoreTest::curDir()
{
    QFETCH(QString, given);
    QFETCH(QString, expected);
    QVERIFY(QDir(tmp.path()).mkpath(QStringLiteral("docs")));
    QFile f(tmp.filePath(QStringLiteral("docs/article.txt")));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.close();

    QCOMPARE(storage::loadCurDir(), QString());
    storage::saveCurDir(given.isNull() ? given : tmp.filePath(given));
    QCOMPARE(storage::loadCurDir(), expected.isNull() ? expected : tmp.filePath(expected));
    QCOMPARE(store().contains(QStringLiteral("current_dir")), !expected.isNull());
}

void SettingsStoreTest::recentFileList()
{
    QStringList expected;
    for (int i = 1; i <= 7; ++i) {
        const QString file = QStringLiteral("/docs/%1.txt").arg(i);
        expected.prepend(file);
        QCOMPARE(storage::addRecentFile(file), expected);
    }
    // A file opened again moves to the front; the list is never cut to the five shown.
    expected.move(expected.indexOf(QStringLiteral("/docs/3.txt")), 0);
    QCOMPARE(storage::addRecentFile(QStringLiteral("/docs/3.txt")), expected);
    QCOMPARE(storage::recentFileList(), expected);
    QCOMPARE(store().value(QStringLiteral("recentFileList")).toStringList(), expected);
    QCOMPARE(storage::addRecentFile(QString()), expected);
}

void SettingsStoreTest::updateServer_data()
{
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<QVariant>("env"); // invalid: unset
    QTest::addColumn<QString>("expected");

    QTest::newRow("nothing configured") << QVariant() << QVariant() << "";
    QTest::newRow("setting") << QVariant("http://updates.example.org") << QVariant()
                             << "http://updates.example.org";
    QTest::newRow("setting without scheme") << QVariant(" updates.example.org:8080 ") << QVariant()
                                            << "http://updates.example.org:8080";
    QTest::newRow("https kept") << QVariant("https://updates.example.org") << QVariant()
                                << "https://updates.example.org";
    QTest::newRow("environment wins")
        << QVariant("http://updates.example.org") << QVariant("http://127.0.0.1:8765")
        << "http://127.0.0.1:8765";
    QTest::newRow("empty environment switches the server off")
        << QVariant("http://updates.example.org") << QVariant("") << "";
}

void SettingsStoreTest::updateServer()
{
    QFETCH(QVariant, stored);
    QFETCH(QVariant, env);
    QFETCH(QString, expected);
    if (stored.isValid())
        store().setValue(QStringLiteral("updateServer"), stored);
    if (env.isValid())
        qputenv(storage::updateServerEnv, env.toString().toUtf8());
    QCOMPARE(storage::updateServer(), expected);
}

void SettingsStoreTest::copyscapeEndpoint_data()
{
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<QVariant>("env");
    QTest::addColumn<QString>("expected");

    QTest::newRow("default") << QVariant() << QVariant() << "https://www.copyscape.com/api/";
    QTest::newRow("empty setting: default")
        << QVariant("") << QVariant() << "https://www.copyscape.com/api/";
    QTest::newRow("setting") << QVariant("https://cs.example.org/api/") << QVariant()
                             << "https://cs.example.org/api/";
    QTest::newRow("environment wins")
        << QVariant("https://cs.example.org/api/") << QVariant("http://127.0.0.1:9999/api/")
        << "http://127.0.0.1:9999/api/";
    QTest::newRow("empty environment: setting")
        << QVariant("https://cs.example.org/api/") << QVariant("") << "https://cs.example.org/api/";
}

void SettingsStoreTest::copyscapeEndpoint()
{
    QFETCH(QVariant, stored);
    QFETCH(QVariant, env);
    QFETCH(QString, expected);
    if (stored.isValid())
        store().setValue(QStringLiteral("copyscapeEndpoint"), stored);
    if (env.isValid())
        qputenv(storage::copyscapeEndpointEnv, env.toString().toUtf8());
    QCOMPARE(storage::copyscapeEndpoint(), expected);
}

void SettingsStoreTest::userIdCreatedOnce()
{
    QVERIFY(!store().contains(QStringLiteral("userId")));
    const QString id = storage::userId();
    QVERIFY(!QUuid::fromString(id).isNull());
    QCOMPARE(store().value(QStringLiteral("userId")).toString(), id);
    QCOMPARE(storage::userId(), id);

    store().clear();
    QVERIFY(storage::userId() != id); // a new store gets a new identity
}

void SettingsStoreTest::storeIsNamedAndIsolated()
{
    storage::saveLanguageSettings(QStringLiteral("ger"), false);
    store().sync();
    QVERIFY(
        QFile::exists(tmp.filePath(QStringLiteral("config/Tarnvale org/Polyvane Alpha 1.0.conf"))));

    // After the application names are set, a default handle opens the same store.
    storage::setApplicationNames();
    QCOMPARE(QSettings().value(QStringLiteral("languageSettings")).toMap().value("lang"),
             QVariant("ger"));
}

REWORDIX_TEST_GUILESS_MAIN(SettingsStoreTest)
#include "settingsstore_test.moc"
