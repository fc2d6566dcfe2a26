// Spin engine throughput: parsing, generating copies, counting combinations
// (64-bit and exact), flat text and status figures, on seeded articles and on
// the adversarial shapes (deep nesting, very many sibling groups).

#include "articlegen.h"

#include "spintax/combinationcount.h"
#include "spintax/generator.h"
#include "spintax/spintree.h"

#include <benchmark/benchmark.h>
#include <gmpxx.h>

using namespace spintax;

namespace {

// kind 0: an article of `size` words; 1: nested `size` levels deep;
// 2: `size` sibling groups on one line.
QString inputFor(const benchmark::State &state)
{
    const int64_t kind = state.range(0);
    const int64_t size = state.range(1);
    switch (kind) {
    case 0:
        return benchdata::spinArticle(int(size), 1);
    case 1:
        return benchdata::deepNesting(int(size));
    default:
        return benchdata::siblings(int(size));
    }
}

void inputs(benchmark::internal::Benchmark *b)
{
    b->ArgNames({"kind", "size"});
    for (int words : {1000, 10000, 100000})
        b->Args({0, words}); // article of `size` words
    for (int depth : {10000, 100000})
        b->Args({1, depth}); // nested `size` levels deep
    for (int n : {5000, 50000})
        b->Args({2, n}); // `size` sibling groups
}

void BM_Parse(benchmark::State &state)
{
    const QString text = inputFor(state);
    for (auto _ : state) {
        std::optional<SpinTree> tree = SpinTree::parse(text);
        benchmark::DoNotOptimize(tree);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * text.size());
    state.counters["chars"] = double(text.size());
}
BENCHMARK(BM_Parse)->Apply(inputs)->Unit(benchmark::kMicrosecond);

void spin(benchmark::State &state, bool random)
{
    const QString text = inputFor(state);
    const SpinTree tree = *SpinTree::parse(text);
    Generator generator;
    generator.setSeed(1);
    generator.resetBatch(text);
    int64_t out = 0;
    for (auto _ : state) {
        const SpinResult copy = generator.anySpin(tree, random);
        out += copy.text.size();
        benchmark::DoNotOptimize(copy.text.constData());
    }
    state.SetItemsProcessed(state.iterations());
    state.SetBytesProcessed(out); // output characters
}

void BM_SpinSequential(benchmark::State &state)
{
    spin(state, false);
}
BENCHMARK(BM_SpinSequential)->Apply(inputs)->Unit(benchmark::kMicrosecond);

void BM_SpinRandom(benchmark::State &state)
{
    spin(state, true);
}
BENCHMARK(BM_SpinRandom)->Apply(inputs)->Unit(benchmark::kMicrosecond);

// The text overload as the spun and web views call it: parse once, reuse.
void BM_SpinText(benchmark::State &state)
{
    const QString text = inputFor(state);
    Generator generator;
    generator.setSeed(1);
    for (auto _ : state) {
        std::optional<SpinResult> copy = generator.anySpin(text, true);
        benchmark::DoNotOptimize(copy);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SpinText)->Args({0, 10000})->Unit(benchmark::kMicrosecond);

// cT from the text, parse included.
void BM_CountSaturating(benchmark::State &state)
{
    const QString text = inputFor(state);
    for (auto _ : state)
        benchmark::DoNotOptimize(cT(text));
}
BENCHMARK(BM_CountSaturating)->Apply(inputs)->Unit(benchmark::kMicrosecond);

// The exact count as `rewordix-cli count` prints it: parse, GMP walk, decimal.
void BM_CountExact(benchmark::State &state)
{
    const QString text = inputFor(state);
    size_t digits = 0;
    for (auto _ : state) {
        const SpinTree tree = *SpinTree::parse(text);
        const mpz_class n = countCombinations<mpz_class>(tree, CountRule::Formula);
        const std::string s = n.get_str(10);
        digits = s.size();
        benchmark::DoNotOptimize(s.data());
    }
    state.counters["digits"] = double(digits);
}
BENCHMARK(BM_CountExact)->Apply(inputs)->Unit(benchmark::kMillisecond);

void BM_MakeFlat(benchmark::State &state)
{
    const QString text = inputFor(state);
    for (auto _ : state) {
        const QString flat = makeFlat(text);
        benchmark::DoNotOptimize(flat.constData());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * text.size());
}
BENCHMARK(BM_MakeFlat)->Apply(inputs)->Unit(benchmark::kMicrosecond);

void BM_StatusFigures(benchmark::State &state)
{
    const QString text = inputFor(state);
    for (auto _ : state) {
        std::optional<StatusFigures> f = calcUniqueness(text);
        benchmark::DoNotOptimize(f);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * text.size());
}
BENCHMARK(BM_StatusFigures)->Apply(inputs)->Unit(benchmark::kMicrosecond);

void BM_RemoveOriginalWord(benchmark::State &state)
{
    const QString text = inputFor(state);
    for (auto _ : state) {
        const QString r = removeOriginalWord(text);
        benchmark::DoNotOptimize(r.constData());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * text.size());
}
BENCHMARK(BM_RemoveOriginalWord)->Apply(inputs)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
