// The window's answers to a working folder it must not use, a database it cannot open and a
// document that is not UTF-8, through the real window with its real message boxes.
#include "testsupport/testsupport.h"
#include "windowparts.h"

#include "app/documentmanager.h"
#include "app/lexora3.h"
#include "app/qmytextedit.h"

#include <QDir>
#include <QFile>
#include <QAbstractButton>
#include <QMessageBox>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

namespace {

QByteArray contentsOf(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(bytes), bytes.size());
}

} // namespace

class StartupFailureTest final : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void damagedDatabase_data();
    void damagedDatabase();
    void foreignFolder();
    void documentEncodingShown();

private:
    QString folder;
    QByteArray originalHome;
};

void StartupFailureTest::init()
{
    originalHome = qgetenv("REWORDIX_HOME");
    folder = testsupport::workingFolder();
    QDir().mkpath(folder);
    QFile::remove(folder + QStringLiteral("/db.sqlite"));
}

void StartupFailureTest::cleanup()
{
    qputenv("REWORDIX_HOME", originalHome);
    for (const QString &name : QDir(folder).entryList({QStringLiteral("db.sqlite*")}, QDir::Files))
        QFile::remove(folder + u'/' + name);
}

void StartupFailureTest::damagedDatabase_data()
{
    QTest::addColumn<bool>("moveAside");
    QTest::newRow("kept: the window works without a database") << false;
    QTest::newRow("moved aside: a fresh database is started") << true;
}

void StartupFailureTest::damagedDatabase()
{
    QFETCH(bool, moveAside);
    const QString db = folder + QStringLiteral("/db.sqlite");
    const QByteArray garbage(8192, 'x');
    writeFile(db, garbage);

    QString shown;
    testsupport::answerLater<QMessageBox>([&](QMessageBox *box) {
        shown = box->text();
        box->button(moveAside ? QMessageBox::Yes : QMessageBox::No)->click();
    });
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("cannot be read")));
    Lexora3 w(nullptr, 1.191, false);

    QVERIFY2(shown.contains(QLatin1String("not a database")), qPrintable(shown));
    QVERIFY2(shown.contains(QLatin1String("not saved")), qPrintable(shown));
    const QStringList aside =
        QDir(folder).entryList({QStringLiteral("db.sqlite.damaged-*")}, QDir::Files);
    if (moveAside) {
        QCOMPARE(aside.size(), 1);
        QCOMPARE(contentsOf(folder + u'/' + aside.first()), garbage);
        QVERIFY(contentsOf(db).startsWith("SQLite format 3"));
    } else {
        QCOMPARE(aside, QStringList());
        QCOMPARE(contentsOf(db), garbage); // never replaced without the user's word
        QVERIFY(w.statusBar()->currentMessage().contains(QLatin1String("without a database")));
    }
}

void StartupFailureTest::foreignFolder()
{
    if (::geteuid() != 0)
        QSKIP("giving a folder to another user needs root");
    QTemporaryDir scratch;
    const QString foreign = scratch.filePath(QStringLiteral("home"));
    QVERIFY(QDir().mkdir(foreign));
    QCOMPARE(::chown(QFile::encodeName(foreign).constData(), 65534, 65534), 0);
    qputenv("REWORDIX_HOME", QFile::encodeName(foreign));

    QString shown;
    testsupport::answerLater<QMessageBox>([&](QMessageBox *box) {
        shown = box->text();
        box->accept();
    });
    {
        Lexora3 w(nullptr, 1.191, false);
        QVERIFY2(shown.contains(QLatin1String("belongs to another user")), qPrintable(shown));
        QVERIFY(w.statusBar()->currentMessage().contains(QLatin1String("without a database")));
    }
    // Nothing was written into the refused folder.
    QCOMPARE(QDir(foreign).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
}

void StartupFailureTest::documentEncodingShown()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("latin.txt"));
    writeFile(path, "Stra\xDF"
                    "e \x93"
                    "caf\xE9\x94");
    Lexora3 w(nullptr, 1.191, false);
    QVERIFY(parts::documents(w)->load(path));
    QCOMPARE(parts::textEdit(w)->toPlainText(), QStringLiteral("Straße “café”"));
    QCOMPARE(w.statusBar()->currentMessage(), QStringLiteral("latin.txt read as Windows-1252"));
}

REWORDIX_TEST_MAIN(StartupFailureTest)
#include "startupfailure_test.moc"
