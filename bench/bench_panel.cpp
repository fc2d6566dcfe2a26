// The Quick Spin panel refilled as the caret moves: rows rebuilt from the English list (the
// installed thesaurus converted once), for single words and for spin groups with alternatives
// the lists lack. Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise.

#include "guibenchmain.h"

#include "synonyms/widgets/qmytablewidget.h"
#include "synonyms/widgets/quickspinpanel.h"
#include "synonyms/synonymfiles.h"
#include "synonyms/synonymstore.h"
#include "synonyms/thesaurusimporter.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTextEdit>

#include <benchmark/benchmark.h>

namespace {

struct EnglishStore
{
    QTemporaryDir dir;
    SynonymStore store;
    bool ok = false;
    EnglishStore()
    {
        const QString source =
            ThesaurusImporter::installedThesaurus("eng", ThesaurusImporter::defaultFolder());
        ok = !source.isEmpty() &&
             ThesaurusImporter::importFile(source, dir.filePath(SynonymFiles::listFile("eng"))).ok;
        store.setTempDir(dir.path() + "/");
        store.loadSynonyms();
        // Every category of rows: favourites of each grade and the user's own entries.
        store.userFav.insert("happy", {"elated"});
        store.bestfav.insert("happy", {"glad", "joyful"});
        store.betterfav.insert("happy", {"merry"});
        store.goodfav.insert("happy", {"cheerful", "content"});
        store.userSyn.insert("happy", {"chuffed", "sunny"});
    }
};

EnglishStore &english()
{
    static EnglishStore e;
    return e;
}

struct Panel
{
    GuardFlags guards;
    QTextEdit edit;
    QuickSpinPanel panel{english().store, guards};
    Panel()
    {
        panel.editor = [this] { return &edit; };
        panel.resize(200, 700);
        panel.show();
        QApplication::processEvents();
    }
};

} // namespace

// One refill per caret move onto another word, with the repaint the table then needs.
static void BM_PanelRefillWord(benchmark::State &state)
{
    if (!english().ok) {
        state.SkipWithError("no English list (mythes-en-us missing?)");
        return;
    }
    Panel p;
    const QStringList words{"happy", "Run", "quick", "house", "beautiful"};
    qsizetype i = 0;
    qsizetype rows = 0;
    for (auto _ : state) {
        p.panel.loadQuickSynonyms(words[i++ % words.size()]);
        p.panel.synTW->viewport()->repaint();
        rows += p.panel.synTW->rowCount();
    }
    state.counters["rows_per_fill"] =
        benchmark::Counter(double(rows), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_PanelRefillWord)->Unit(benchmark::kMicrosecond);

// The caret in a spin group: the first alternative's rows, manual rows for the others, all ticked.
static void BM_PanelRefillGroup(benchmark::State &state)
{
    if (!english().ok) {
        state.SkipWithError("no English list (mythes-en-us missing?)");
        return;
    }
    Panel p;
    const QList<QStringList> groups{{"happy", "glad", "over the moon", "tickled pink"},
                                    {"fast", "quick", "lightning-like", "rapid"}};
    qsizetype i = 0;
    for (auto _ : state) {
        p.panel.loadQuickSynonyms(groups[i++ % groups.size()]);
        p.panel.synTW->viewport()->repaint();
    }
}
BENCHMARK(BM_PanelRefillGroup)->Unit(benchmark::kMicrosecond);

int main(int argc, char **argv)
{
    return benchdata::runWidgetBenchmarks(argc, argv);
}
