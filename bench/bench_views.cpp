// What the views do on every edit and mouse move: the status bar update (the editor's text,
// the unpaired-brace check and the figures) and the spun-text link lookup of the hover mark.

#include "articlegen.h"

#include "app/spunlinks.h"

#include "spintax/generator.h"
#include "spintax/unpairedbrace.h"

#include <QTextDocument>

#include <benchmark/benchmark.h>

namespace {

// One coalesced status update of a document of state.range(0) words.
void BM_StatusUpdate(benchmark::State &state)
{
    QTextDocument document(benchdata::spinArticle(int(state.range(0))));
    for (auto _ : state) {
        const QString text = document.toPlainText();
        auto brace = spintax::firstUnpairedBrace(text);
        auto figures = spintax::calcUniqueness(text);
        benchmark::DoNotOptimize(brace);
        benchmark::DoNotOptimize(figures);
    }
}
BENCHMARK(BM_StatusUpdate)->Arg(1000)->Arg(10000)->Arg(50000)->Unit(benchmark::kMicrosecond);

void BM_UnpairedBrace(benchmark::State &state)
{
    const QString text = benchdata::spinArticle(int(state.range(0)));
    for (auto _ : state) {
        auto brace = spintax::firstUnpairedBrace(text);
        benchmark::DoNotOptimize(brace);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * text.size());
}
BENCHMARK(BM_UnpairedBrace)->Arg(10000)->Unit(benchmark::kMicrosecond);

// Hover over a spun article of state.range(0) words: one lookup per mouse move, at positions
// spread over the whole text.
void BM_SpunLinkLookup(benchmark::State &state)
{
    spintax::Generator generator;
    generator.setSeed(1);
    const auto spin =
        generator.anySpin(benchdata::spinArticle(int(state.range(0))), true, true, true);
    const SpunLinks links(generator.spunMap());
    const QString text = spin->text;
    qsizetype position = 0;
    for (auto _ : state) {
        position = (position + 7919) % text.size();
        auto entry = links.at(text, position);
        benchmark::DoNotOptimize(entry);
    }
}
BENCHMARK(BM_SpunLinkLookup)->Arg(1000)->Arg(10000);

} // namespace

BENCHMARK_MAIN();
