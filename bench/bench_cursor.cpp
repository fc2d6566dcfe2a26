// What the running editor window does for the user's every move, measured on the window itself
// (offscreen): a caret move (cursor tracking: position label, brace pair, Quick Spin panel, the
// docks' unit checks), a typed character (the edit, its highlighting, the status figures and the
// tracking), the reload of the sentence and paragraph docks, the rapid dock's columns for a long
// sentence, and opening an article. The window runs with the English list converted from the
// installed thesaurus, as on a user's first start, in an isolated working folder.
//
// Each iteration ends with the event-loop pass that follows the user's action in the program
// (the status figures are collected on a zero timer, and the editor repaints there).

#include "articlegen.h"
#include "guibenchmain.h"

#include "app/documentmanager.h"
#include "app/figuresupdater.h"
#include "app/lexora3.h"
#include "app/qmytextedit.h"
#include "selection/widgets/docks/rapidspindock.h"
#include "selection/widgets/docks/unitspindock.h"
#include "synonyms/synonymstore.h"
#include "synonyms/thesaurusimporter.h"
#include "testsupport/testsupport.h"

#include <QDeadlineTimer>
#include <QDockWidget>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QTest>
#include <QThread>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

// A shown main window with its synonym store loaded.
class EditorWindow
{
public:
    EditorWindow() : window(nullptr, 1.0, false)
    {
        bool loaded = false;
        QObject::connect(window.synonymStore(), &SynonymStore::loadingFinished, &window,
                         [&loaded] { loaded = true; });
        window.resize(1280, 900);
        window.show();
        window.show2();
        const QDeadlineTimer deadline(120000);
        while (!loaded && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        ok = loaded;
        settle();
    }

    // The article as the document's text, the caret at its start.
    void setText(const QString &text)
    {
        editor()->setPlainText(text);
        settle();
    }

    // Puts the caret at `position` as a click or an arrow key would.
    void moveCaret(int position)
    {
        QTextCursor cursor = editor()->textCursor();
        cursor.setPosition(position);
        editor()->setTextCursor(cursor);
    }

    // Position of the first letter of the `nth` word of paragraph `blockNumber` (from 0).
    int wordIn(int blockNumber, int nth = 3) const
    {
        const QTextBlock block = editor()->document()->findBlockByNumber(blockNumber);
        const QString text = block.text();
        int seen = 0;
        for (int i = 1; i < text.size(); ++i) {
            if (text[i].isLetter() && !text[i - 1].isLetter() && ++seen == nth)
                return block.position() + i;
        }
        return block.position();
    }

    QMyTextEdit *editor() const { return window.documentManager()->editor(); }

    // Runs the event loop until `done` holds (true) or a minute has passed (false).
    template <typename Done> static bool waitFor(Done done)
    {
        const QDeadlineTimer deadline(60000);
        while (!done()) {
            if (deadline.hasExpired())
                return false;
            QCoreApplication::processEvents();
            QThread::usleep(50);
        }
        return true;
    }

    static void settle()
    {
        for (int i = 0; i < 20; ++i)
            QCoreApplication::processEvents();
    }

    Lexora3 window;
    bool ok = false;
};

// The window is made once per benchmark program (converting and reading the English list is
// not what is measured) and left to the end of the process.
EditorWindow &editorWindow()
{
    static EditorWindow *w = new EditorWindow;
    return *w;
}

const QString &article(int words)
{
    static QHash<int, QString> made;
    auto it = made.find(words);
    if (it == made.end())
        it = made.insert(words, benchdata::spinArticle(words, 1));
    return *it;
}

EditorWindow *windowWith(benchmark::State &state, const QString &text)
{
    EditorWindow &w = editorWindow();
    if (!w.ok) {
        state.SkipWithError("the synonym store did not finish loading");
        return nullptr;
    }
    w.setText(text);
    return &w;
}

// (a) A caret move without a text change: one step right at a time through the middle of the
// article, crossing words, groups and sentence ends (a move into another sentence reloads the
// sentence dock).
void BM_CaretMove(benchmark::State &state)
{
    EditorWindow *w = windowWith(state, article(int(state.range(0))));
    if (!w)
        return;
    const int from = w->editor()->document()->characterCount() / 2;
    int step = 0;
    for (auto _ : state) {
        w->moveCaret(from + step);
        step = (step + 1) % 2000;
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_CaretMove)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

// (b) A typed character in a word in the middle of the article; every other iteration types
// Backspace, so the text stays the same size. Each keystroke changes the sentence and the
// paragraph, so both docks reload as well.
void BM_TypeCharacter(benchmark::State &state)
{
    EditorWindow *w = windowWith(state, article(int(state.range(0))));
    if (!w)
        return;
    const int block = w->editor()->document()->blockCount() / 2;
    w->moveCaret(w->wordIn(block) + 1);
    QLabel *totalWords = w->window.findChild<QLabel *>(QStringLiteral("totalWordsQL"));
    bool type = true;
    for (auto _ : state) {
        QTest::keyClick(w->editor(), type ? Qt::Key_X : Qt::Key_Backspace);
        type = !type;
        QCoreApplication::processEvents();
    }
    benchmark::DoNotOptimize(totalWords->text());
}
BENCHMARK(BM_TypeCharacter)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

// One computation of the status figures of the whole article (on the GUI thread here; after an
// edit the window runs it on a worker thread).
void BM_FiguresUpdate(benchmark::State &state)
{
    EditorWindow *w = windowWith(state, article(int(state.range(0))));
    if (!w)
        return;
    auto *figures = w->window.findChild<FiguresUpdater *>();
    for (auto _ : state)
        figures->update();
}
BENCHMARK(BM_FiguresUpdate)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

// A space typed between two words, until the status bar shows the new word count (the figures
// are counted on a worker thread after each edit; this is the user's wait for them).
void BM_TypeSpaceUntilFigures(benchmark::State &state)
{
    EditorWindow *w = windowWith(state, article(int(state.range(0))));
    if (!w)
        return;
    const int block = w->editor()->document()->blockCount() / 2;
    w->moveCaret(w->wordIn(block) + 2);
    QLabel *totalWords = w->window.findChild<QLabel *>(QStringLiteral("totalWordsQL"));
    bool type = true;
    for (auto _ : state) {
        const QString before = totalWords->text();
        QTest::keyClick(w->editor(), type ? Qt::Key_Space : Qt::Key_Backspace);
        type = !type;
        if (!EditorWindow::waitFor([&] { return totalWords->text() != before; })) {
            state.SkipWithError("the word count did not change");
            return;
        }
    }
}
BENCHMARK(BM_TypeSpaceUntilFigures)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

// (c) The caret jumps between two paragraphs: every move reloads the sentence and the paragraph
// dock (and refills the Quick Spin panel for the word there).
void BM_DockReload(benchmark::State &state)
{
    EditorWindow *w = windowWith(state, article(int(state.range(0))));
    if (!w)
        return;
    const int block = w->editor()->document()->blockCount() / 2;
    const int positions[] = {w->wordIn(block), w->wordIn(block + 1)};
    UnitSpinDock *paragraph = w->window.paragraphSpinDock();
    int i = 0;
    for (auto _ : state) {
        w->moveCaret(positions[i]);
        i = 1 - i;
        QCoreApplication::processEvents();
    }
    if (paragraph->list->count() < 2)
        state.SkipWithError("the paragraph dock was not loaded");
}
BENCHMARK(BM_DockReload)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

// (d) The rapid dock's columns for a 40-word sentence (its words' synonyms from the English
// list), shown.
void BM_RapidReload(benchmark::State &state)
{
    EditorWindow *w = windowWith(state, QString());
    if (!w)
        return;
    w->window.findChild<QDockWidget *>(QStringLiteral("rapidDW"))->raise();
    const QString sentences[] = {benchdata::spinSentence(40, 1), benchdata::spinSentence(40, 2)};
    RapidSpinDock *rapid = w->window.rapidSpinDock();
    int i = 0;
    qsizetype rows = 0;
    for (auto _ : state) {
        rapid->loadRapidSentence(sentences[i]);
        i = 1 - i;
        QCoreApplication::processEvents();
        for (const QBottomList *column : rapid->columns())
            rows += column->curSyns.size();
    }
    state.counters["columns"] = double(rapid->columns().size());
    state.counters["rows"] = benchmark::Counter(double(rows), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_RapidReload)->Unit(benchmark::kMillisecond);

// (e) Opening an article from a file: read, a new document tab, highlighting, until the first
// status figures are shown. The tab is closed again outside the measurement.
void BM_OpenArticle(benchmark::State &state)
{
    EditorWindow *w = windowWith(state, QString());
    if (!w)
        return;
    const QString path =
        testsupport::workingFolder() + QStringLiteral("/article-%1.txt").arg(state.range(0));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(article(int(state.range(0))).toUtf8()) < 0) {
        state.SkipWithError("cannot write the article file");
        return;
    }
    file.close();
    DocumentManager *documents = w->window.documentManager();
    QLabel *totalWords = w->window.findChild<QLabel *>(QStringLiteral("totalWordsQL"));
    for (auto _ : state) {
        totalWords->clear();
        documents->load(path);
        const bool counted = EditorWindow::waitFor([&] { return !totalWords->text().isEmpty(); });
        state.PauseTiming();
        if (!counted) {
            state.SkipWithError("the figures of the opened article were not shown");
            return;
        }
        documents->tabCloseRequested(documents->tabs(View::Edit)->currentIndex());
        EditorWindow::settle();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenArticle)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// A keystroke in one paragraph nested 200,000 braces deep: «{{{…ax…}}}», then Backspace.
void BM_TypeInDeepNesting(benchmark::State &state)
{
    const int depth = int(state.range(0));
    EditorWindow *w = windowWith(state, benchdata::braceNesting(depth));
    if (!w)
        return;
    w->moveCaret(depth + 1);
    bool type = true;
    for (auto _ : state) {
        QTest::keyClick(w->editor(), type ? Qt::Key_X : Qt::Key_Backspace);
        type = !type;
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_TypeInDeepNesting)->Arg(200000)->Iterations(6)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return benchdata::runWidgetBenchmarks(
        argc, argv,
        [] {
            testsupport::isolate();
            // The installed thesauri, which isolate() hides from tests.
            qunsetenv("REWORDIX_THESAURUS_DIR");
        },
        [] {
            testsupport::setApplicationNames();
            qApp->setQuitOnLastWindowClosed(false);
        });
}
