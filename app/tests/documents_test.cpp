// Documents on disk and in tabs: the text file format, companion names, Save As, the recent
// list, a failing save, and closing tabs.

#include "testsupport/testsupport.h"
#include "windowparts.h"

#include "app/documentmanager.h"
#include "app/lexora3.h"
#include "app/mytabitem.h"
#include "app/qmyaction.h"
#include "app/qmytextedit.h"
#include "app/recentfiles.h"
#include "app/textfile.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QStatusBar>
#include <QTabWidget>
#include <QTextDocument>

#include <memory>

namespace {

std::unique_ptr<Lexora3> startWindow()
{
    auto w = std::make_unique<Lexora3>(nullptr, 1.191, false);
    w->show();
    w->show2();
    return w;
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList tabTexts(QTabWidget *tabs)
{
    QStringList texts;
    for (int i = 0; i < tabs->count(); ++i)
        texts << tabs->tabText(i);
    return texts;
}

QStringList visibleRecentEntries(const Lexora3 &w)
{
    QStringList texts;
    for (QMyAction *a : parts::recentFileQAs(w)) {
        if (a->isVisible())
            texts << a->text();
    }
    return texts;
}

} // namespace

class DocumentsTest final : public QObject
{
    Q_OBJECT

private slots:
    void init() { QSettings().clear(); }

    void writeThenRead_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << QString();
        QTest::newRow("plain ASCII") << QStringLiteral("The {quick|fast} fox.");
        QTest::newRow("accents, Hebrew and lines")
            << QStringLiteral("Café {über|très}\nשלום\r\n\tend");
    }

    void writeThenRead()
    {
        QFETCH(QString, text);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("doc.txt"));
        QCOMPARE(textfile::write(path, text), QString());
        QCOMPARE(readBytes(path), QByteArray("\xEF\xBB\xBF") + text.toUtf8());
        const textfile::ReadResult back = textfile::read(path);
        QVERIFY(back.ok);
        QCOMPARE(back.text, text);
    }

    void readEncodings_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("encoding");
        QTest::newRow("UTF-8 without byte-order mark")
            << QByteArray("Caf\xC3\xA9 au lait") << QStringLiteral("Café au lait") << "UTF-8";
        QTest::newRow("UTF-8 with byte-order mark")
            << QByteArray("\xEF\xBB\xBF\xC3\xBC") << QStringLiteral("ü") << "UTF-8";
        QTest::newRow("UTF-16LE with byte-order mark")
            << QByteArray("\xFF\xFE\x41\x00\xE9\x00", 6) << QStringLiteral("Aé") << "UTF-16LE";
        QTest::newRow("UTF-16BE with byte-order mark")
            << QByteArray("\xFE\xFF\x00\x41\x05\xD0", 6) << QStringLiteral("Aא") << "UTF-16BE";
        QTest::newRow("Latin-1 article keeps its letters")
            << QByteArray("Stra\xDF"
                          "e, caf\xE9")
            << QStringLiteral("Straße, café") << "ISO-8859-1";
        QTest::newRow("Windows-1252 article keeps euro and quotes")
            << QByteArray("\x93"
                          "caf\xE9\x94 \x80"
                          "3")
            << QStringLiteral("“café” €3") << "Windows-1252";
    }

    void readEncodings()
    {
        QFETCH(QByteArray, bytes);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("in.txt"));
        writeBytes(path, bytes);
        const textfile::ReadResult read = textfile::read(path);
        QVERIFY(read.ok);
        QFETCH(QString, text);
        QFETCH(QString, encoding);
        QCOMPARE(read.text, text);
        QCOMPARE(read.encoding, encoding);
        // Opened in the window, the status bar names the encoding read.
        auto w = startWindow();
        QVERIFY(w->documentManager()->load(path));
        QCOMPARE(parts::textEdit(*w)->toPlainText(), text);
        QCOMPARE(w->statusBar()->currentMessage(), QStringLiteral("in.txt read as ") + encoding);
        // Saving writes UTF-8 with a mark: load and save keep every letter.
        QCOMPARE(textfile::write(path, read.text), QString());
        QCOMPARE(readBytes(path), QByteArray("\xEF\xBB\xBF") + text.toUtf8());
    }

    void companionNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("companions");
        QTest::newRow("one dot") << "article.txt"
                                 << QStringList({"article.flat.txt", "article.spun.txt",
                                                 "article.html.txt"});
        QTest::newRow("last dot splits")
            << "a.b.txt" << QStringList({"a.b.flat.txt", "a.b.spun.txt", "a.b.html.txt"});
        QTest::newRow("no dot: the name is the extension")
            << "notes" << QStringList({"flat.notes", "spun.notes", "html.notes"});
    }

    void companionNames()
    {
        QFETCH(QString, name);
        const textfile::CompanionNames c = textfile::companionNames(name);
        QFETCH(QStringList, companions);
        QCOMPARE(QStringList({c.flat, c.spun, c.html}), companions);
    }

    void saveAsExtension_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("saved");
        QTest::newRow("no extension") << "/d/story"
                                      << "/d/story.txt";
        QTest::newRow(".txt kept") << "/d/story.txt"
                                   << "/d/story.txt";
        QTest::newRow(".TEXT in capitals kept") << "/d/story.TEXT"
                                                << "/d/story.TEXT";
        QTest::newRow("other extension gets .txt") << "/d/story.doc"
                                                   << "/d/story.doc.txt";
        QTest::newRow("txt only inside the name") << "/d/story.txt.bak"
                                                  << "/d/story.txt.bak.txt";
    }

    void saveAsExtension()
    {
        QFETCH(QString, typed);
        QFETCH(QString, saved);
        QCOMPARE(textfile::withTextExtension(typed), saved);
    }

    void loadMakesDocumentAndCompanions()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("a.b.txt"));
        writeBytes(path, "\xEF\xBB\xBF{one|two} three");
        auto w = startWindow();
        QVERIFY(parts::documents(*w)->load(path));

        QCOMPARE(tabTexts(parts::mainTab(*w)), QStringList({"Untitled 1", "a.b.txt"}));
        QCOMPARE(tabTexts(parts::flatTab(*w)), QStringList({"Untitled 1-flat", "a.b.flat.txt"}));
        QCOMPARE(tabTexts(parts::spunTab(*w)), QStringList({"Untitled 1-spun", "a.b.spun.txt"}));
        QCOMPARE(tabTexts(parts::webTab(*w)), QStringList({"Untitled 1-html", "a.b.html.txt"}));
        for (QTabWidget *tabs :
             {parts::mainTab(*w), parts::flatTab(*w), parts::spunTab(*w), parts::webTab(*w)})
            QCOMPARE(tabs->currentIndex(), 1);
        QCOMPARE(parts::item(*w), parts::mainTab(*w)->widget(1));
        QCOMPARE(parts::textEdit(*w)->toPlainText(), QStringLiteral("{one|two} three"));
        QCOMPARE(parts::textEdit(*w)->textCursor().position(), 0);
        QVERIFY(parts::item(*w)->isSaved());
        QVERIFY(!parts::textEdit(*w)->document()->isUndoAvailable());
        QCOMPARE(parts::item(*w)->getCurrentFile(), path);
        QCOMPARE(w->windowTitle(), QStringLiteral("a.b.txt - Rewordix v1.191"));
        // Companions of a loaded file sit beside it, not in the process's working directory.
        auto *flat = qobject_cast<MyTabItem *>(parts::flatTab(*w)->widget(1));
        QCOMPARE(flat->getCurrentFile(), dir.filePath(QStringLiteral("a.b.flat.txt")));
        QCOMPARE(w->documentManager()->folder(), dir.path() + QLatin1Char('/'));
        QCOMPARE(QSettings().value("current_dir").toString().isEmpty(), false);
    }

    void loadFailsQuietly_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("missing file") << "nothing.txt";
        QTest::newRow("a folder") << "";
    }

    void loadFailsQuietly()
    {
        QTemporaryDir dir;
        auto w = startWindow();
        QFETCH(QString, name);
        QVERIFY(!parts::documents(*w)->load(dir.filePath(name)));
        QCOMPARE(parts::mainTab(*w)->count(), 1);
        QCOMPARE(parts::flatTab(*w)->count(), 1);
        QCOMPARE(w->documentManager()->fileNumber(), 1);
    }

    void saveWritesByteOrderMarkAndPlainText()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("story.txt"));
        writeBytes(path, "old");
        auto w = startWindow();
        QVERIFY(parts::documents(*w)->load(path));
        parts::textEdit(*w)->selectAll();
        parts::textEdit(*w)->textCursor().insertHtml(QStringLiteral("<b>new</b> text"));
        QVERIFY(!parts::item(*w)->isSaved());
        parts::documents(*w)->fileSave();
        QCOMPARE(readBytes(path), QByteArray("\xEF\xBB\xBFnew text"));
        QVERIFY(parts::item(*w)->isSaved());
        // A plain save does not touch the recent list.
        QCOMPARE(QSettings().value("recentFileList").toStringList(), QStringList({path}));
    }

    void failedSaveKeepsOldFile()
    {
        // A name at the file-system limit: the file exists, but QSaveFile cannot create its
        // temporary file beside it (name + ".XXXXXX" is too long), so the write fails even for
        // root.
        QTemporaryDir dir;
        const QString path = dir.filePath(QString(251, QLatin1Char('n')) + QStringLiteral(".txt"));
        writeBytes(path, "old content");
        auto w = startWindow();
        QVERIFY(parts::documents(*w)->load(path));
        parts::textEdit(*w)->insertPlainText(QStringLiteral("new "));
        QString message;
        testsupport::answerLater<QMessageBox>([&](QMessageBox *box) {
            message = box->text();
            box->button(QMessageBox::Ok)->click();
        });
        QVERIFY(!parts::documents(*w)->fileSave(path, parts::item(*w),
                                                parts::mainTab(*w)->currentIndex()));
        QCOMPARE(readBytes(path), QByteArray("old content"));
        QVERIFY(!parts::item(*w)->isSaved());
        QVERIFY2(message.contains(path), qPrintable(message));
    }

    void saveAsThroughTheDialog()
    {
        QTemporaryDir dir;
        const QString typed = dir.filePath(QStringLiteral("fresh"));
        auto w = startWindow();
        parts::textEdit(*w)->insertPlainText(QStringLiteral("typed text"));
        testsupport::answerLater<QFileDialog>([&](QFileDialog *d) {
            d->selectFile(typed);
            QMetaObject::invokeMethod(d, "accept");
        });
        parts::documents(*w)->fileSaveAs();
        const QString saved = typed + QStringLiteral(".txt");
        QCOMPARE(readBytes(saved), QByteArray("\xEF\xBB\xBFtyped text"));
        QCOMPARE(parts::item(*w)->getCurrentFile(), saved);
        QCOMPARE(parts::mainTab(*w)->tabText(0), QStringLiteral("fresh.txt"));
        QCOMPARE(w->windowTitle(), QStringLiteral("fresh.txt - Rewordix v1.191"));
        QCOMPARE(QSettings().value("recentFileList").toStringList(), QStringList({saved}));
        QCOMPARE(visibleRecentEntries(*w), QStringList({"1. " + saved}));
        QVERIFY(parts::item(*w)->isSaved());
    }

    void recentListOrderNoDuplicatesNeverCut()
    {
        QTemporaryDir dir;
        QStringList paths;
        for (int i = 1; i <= 7; ++i) {
            paths << dir.filePath(QStringLiteral("f%1.txt").arg(i));
            writeBytes(paths.last(), "x");
        }
        auto w = startWindow();
        for (const QString &p : paths)
            QVERIFY(parts::documents(*w)->load(p));
        QVERIFY(parts::documents(*w)->load(paths.at(2)));

        const QStringList expected = {paths[2], paths[6], paths[5], paths[4],
                                      paths[3], paths[1], paths[0]};
        QCOMPARE(QSettings().value("recentFileList").toStringList(), expected);
        QCOMPARE(visibleRecentEntries(*w),
                 QStringList({"1. " + paths[2], "2. " + paths[6], "3. " + paths[5],
                              "4. " + paths[4], "5. " + paths[3]}));

        // The menu of a new window shows the same five; choosing one loads that file.
        w.reset();
        auto again = startWindow();
        QCOMPARE(visibleRecentEntries(*again).size(), 5);
        parts::recentFileQAs(*again).at(1)->trigger();
        QCOMPARE(parts::item(*again)->getCurrentFile(), paths[6]);
        QCOMPARE(QSettings().value("recentFileList").toStringList().first(), paths[6]);
    }

    void recentMenuTexts()
    {
        QCOMPARE(recentfiles::pathOfMenuText(QStringLiteral("3. /a/b.c.txt")),
                 QStringLiteral("/a/b.c.txt"));
        QCOMPARE(recentfiles::menuTexts({"/x", "/y"}), QStringList({"1. /x", "2. /y"}));
    }

    void closingModifiedTab_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("tabsLeft");
        QTest::newRow("Cancel keeps the tab and its companions") << int(QMessageBox::Cancel) << 2;
        QTest::newRow("Discard closes all four") << int(QMessageBox::Discard) << 1;
    }

    void closingModifiedTab()
    {
        QFETCH(int, answer);
        auto w = startWindow();
        parts::documents(*w)->fileNew();
        parts::textEdit(*w)->insertPlainText(QStringLiteral("unsaved"));
        QString title;
        testsupport::answerLater<QMessageBox>([&](QMessageBox *box) {
            title = box->windowTitle();
            box->button(QMessageBox::StandardButton(answer))->click();
        });
        parts::documents(*w)->tabCloseRequested(1);
        QCOMPARE(title, QStringLiteral("Application"));
        QFETCH(int, tabsLeft);
        for (QTabWidget *tabs :
             {parts::mainTab(*w), parts::flatTab(*w), parts::spunTab(*w), parts::webTab(*w)})
            QCOMPARE(tabs->count(), tabsLeft);
        QCOMPARE(parts::item(*w), parts::mainTab(*w)->currentWidget());
        QCOMPARE(parts::textEdit(*w), parts::item(*w)->getTextEdit());
    }

    void closingLastTabOpensFreshDocument()
    {
        auto w = startWindow();
        parts::documents(*w)->tabCloseRequested(0);
        QCOMPARE(tabTexts(parts::mainTab(*w)), QStringList({"Untitled 2"}));
        QCOMPARE(tabTexts(parts::flatTab(*w)), QStringList({"Untitled 2-flat"}));
        QCOMPARE(parts::item(*w), parts::mainTab(*w)->widget(0));
        QCOMPARE(parts::flatItem(*w), parts::flatTab(*w)->widget(0));
        QCOMPARE(parts::webTextEdit(*w), parts::webItem(*w)->getTextBrowser());
        // The edit commands keep working on the fresh document.
        parts::textEdit(*w)->insertPlainText(QStringLiteral("abc"));
        parts::textEdit(*w)->selectAll();
        parts::action(*w, AppActions::Cut)->trigger();
        QCOMPARE(parts::textEdit(*w)->toPlainText(), QString());
        parts::action(*w, AppActions::Undo)->trigger();
        QCOMPARE(parts::textEdit(*w)->toPlainText(), QStringLiteral("abc"));
    }

    void newDocumentsAreNumbered()
    {
        auto w = startWindow();
        parts::documents(*w)->fileNew();
        parts::documents(*w)->fileNew();
        QCOMPARE(tabTexts(parts::mainTab(*w)),
                 QStringList({"Untitled 1", "Untitled 2", "Untitled 3"}));
        QCOMPARE(tabTexts(parts::spunTab(*w)),
                 QStringList({"Untitled 1-spun", "Untitled 2-spun", "Untitled 3-spun"}));
        QCOMPARE(w->windowTitle(), QStringLiteral("Untitled 3 - Rewordix v1.191"));
        parts::mainTab(*w)->setCurrentIndex(0);
        QCOMPARE(parts::item(*w), parts::mainTab(*w)->widget(0));
        QCOMPARE(w->windowTitle(), QStringLiteral("Untitled 1 - Rewordix v1.191"));
    }
};

REWORDIX_TEST_MAIN(DocumentsTest)
#include "documents_test.moc"
