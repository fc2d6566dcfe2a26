// Auto-select and identify of the 10k-word benchmark article with the imported English thesaurus.
// Targets on a 2-core machine: auto-select <= 300 ms, identify <= 1 s (the scan and the underline
// applied to a copy of the editor's document).

#include "guibenchmain.h"
#include "articlegen.h"

#include "selection/autoselect.h"
#include "selection/identifyformat.h"
#include "spintax/generator.h"
#include "synonyms/synonymfiles.h"
#include "synonyms/synonymstore.h"
#include "synonyms/thesaurusimporter.h"

#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTextDocument>

#include <benchmark/benchmark.h>

namespace {

// The English list converted once, and loaded into a store.
struct English
{
    QTemporaryDir dir;
    SynonymStore store;
    bool ok = false;
    English()
    {
        const QString source =
            ThesaurusImporter::installedThesaurus("eng", ThesaurusImporter::defaultFolder());
        ok = !source.isEmpty() &&
             ThesaurusImporter::importFile(source, dir.filePath(SynonymFiles::listFile("eng"))).ok;
        if (!ok)
            return;
        store.setTempDir(dir.path() + "/");
        store.loadSynonyms();
    }
};

English &english()
{
    static English e;
    return e;
}

// The benchmark article as plain text: every group read as its first alternative.
QString plainArticle()
{
    return spintax::anySpin2(benchdata::spinArticle(10000)).value_or(QString());
}

} // namespace

static void BM_AutoSelectArticle(benchmark::State &state)
{
    if (!english().ok) {
        state.SkipWithError("no English list (mythes-en-us missing?)");
        return;
    }
    const selection::SynonymLists lists = selection::SynonymLists::of(english().store);
    const QString text = plainArticle();
    selection::AutoSelectOptions options;
    options.max = lists.maxPhraseWord;
    options.max2 = 5;
    qsizetype size = 0;
    for (auto _ : state) {
        const std::optional<QString> result = selection::autoSelect2(text, lists, {}, options);
        size = result ? result->size() : 0;
        benchmark::DoNotOptimize(size);
    }
    state.counters["head_words"] = double(lists.allUserSyn.size());
    state.counters["max_phrase_words"] = lists.maxPhraseWord;
    state.counters["text_chars"] = double(text.size());
    state.counters["result_chars"] = double(size);
}
BENCHMARK(BM_AutoSelectArticle)->Unit(benchmark::kMillisecond);

// The scan alone: the phrases identify underlines.
static void BM_IdentifyScan(benchmark::State &state)
{
    if (!english().ok) {
        state.SkipWithError("no English list (mythes-en-us missing?)");
        return;
    }
    const selection::SynonymLists lists = selection::SynonymLists::of(english().store);
    const QString text = plainArticle();
    qsizetype spans = 0;
    for (auto _ : state) {
        const auto result = selection::formatIdentified(text, lists, lists.maxPhraseWord, 0,
                                                        selection::IdentifyMode::WordsAndPhrases);
        spans = result ? result->size() : 0;
        benchmark::DoNotOptimize(spans);
    }
    state.counters["underlined"] = double(spans);
}
BENCHMARK(BM_IdentifyScan)->Unit(benchmark::kMillisecond);

// The whole of identify: the scan and the underline applied to the editor's document.
static void BM_IdentifyDocument(benchmark::State &state)
{
    if (!english().ok) {
        state.SkipWithError("no English list (mythes-en-us missing?)");
        return;
    }
    const selection::SynonymLists lists = selection::SynonymLists::of(english().store);
    QTextDocument document;
    document.setPlainText(plainArticle());
    for (auto _ : state) {
        const bool ok =
            selection::identifyDocument(document, lists, selection::IdentifyMode::WordsAndPhrases);
        benchmark::DoNotOptimize(ok);
    }
}
BENCHMARK(BM_IdentifyDocument)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    return benchdata::runWidgetBenchmarks(argc, argv);
}
