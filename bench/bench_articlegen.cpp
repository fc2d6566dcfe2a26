#include "articlegen.h"

#include <benchmark/benchmark.h>

// Cost of making the inputs, so other benchmarks can tell it apart from their own.
static void BM_SpinArticle(benchmark::State &state)
{
    const int words = int(state.range(0));
    qint64 bytes = 0;
    for (auto _ : state) {
        const QString text = benchdata::spinArticle(words, 1);
        bytes += text.size() * 2;
        benchmark::DoNotOptimize(text.constData());
    }
    state.SetBytesProcessed(bytes);
}
BENCHMARK(BM_SpinArticle)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
