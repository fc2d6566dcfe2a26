#include "guibenchmain.h"
#include "articlegen.h"
#include "selection/navigator.h"

#include <QGuiApplication>
#include <QTextCursor>
#include <QTextDocument>

#include <benchmark/benchmark.h>

// Walking a whole article with the sentence arrow, unit by unit across all
// its paragraphs: each step must cost about the length of one paragraph.
static void BM_SentenceWalk(benchmark::State &state)
{
    QTextDocument doc;
    doc.setPlainText(benchdata::spinArticle(int(state.range(0)), 1));
    qint64 units = 0;
    for (auto _ : state) {
        QTextCursor cursor = Navigator::curS(QTextCursor(&doc));
        while (const auto next = Navigator::nextSentence(cursor)) {
            cursor = *next;
            ++units;
        }
        benchmark::DoNotOptimize(cursor.position());
    }
    state.SetItemsProcessed(units);
}
BENCHMARK(BM_SentenceWalk)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

static void BM_SentenceWalkBackward(benchmark::State &state)
{
    QTextDocument doc;
    doc.setPlainText(benchdata::spinArticle(int(state.range(0)), 1));
    QTextCursor end(&doc);
    end.movePosition(QTextCursor::End);
    qint64 units = 0;
    for (auto _ : state) {
        QTextCursor cursor = end;
        while (const auto previous = Navigator::previousSentence(cursor)) {
            cursor = *previous;
            ++units;
        }
        benchmark::DoNotOptimize(cursor.position());
    }
    state.SetItemsProcessed(units);
}
BENCHMARK(BM_SentenceWalkBackward)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

// Tab pressed through a whole article.
static void BM_WordWalk(benchmark::State &state)
{
    QTextDocument doc;
    doc.setPlainText(benchdata::spinArticle(int(state.range(0)), 1));
    qint64 steps = 0;
    for (auto _ : state) {
        QTextCursor cursor(&doc);
        while (const auto next = Navigator::nextWord(cursor)) {
            cursor = *next;
            ++steps;
        }
        benchmark::DoNotOptimize(cursor.position());
    }
    state.SetItemsProcessed(steps);
}
BENCHMARK(BM_WordWalk)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

// The current unit at the caret in one very wide paragraph of sibling
// groups (cursor tracking asks for it on every caret move).
static void BM_CurrentUnitWideParagraph(benchmark::State &state)
{
    QTextDocument doc;
    doc.setPlainText(benchdata::siblings(int(state.range(0))));
    QTextCursor cursor(&doc);
    cursor.setPosition(doc.characterCount() / 2);
    for (auto _ : state)
        benchmark::DoNotOptimize(Navigator::curS(cursor).position());
}
BENCHMARK(BM_CurrentUnitWideParagraph)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

// One step onto a group nested 100,000 levels deep.
static void BM_StepOntoDeepGroup(benchmark::State &state)
{
    QTextDocument doc;
    doc.setPlainText(QStringLiteral("Start. ") + benchdata::deepNesting(int(state.range(0))));
    QTextCursor cursor(&doc);
    cursor.setPosition(6, QTextCursor::KeepAnchor);
    for (auto _ : state)
        benchmark::DoNotOptimize(Navigator::nextSentence(cursor)->position());
}
BENCHMARK(BM_StepOntoDeepGroup)->Arg(100000)->Unit(benchmark::kMicrosecond);

int main(int argc, char **argv)
{
    return benchdata::runWidgetBenchmarks(argc, argv);
}
