#include "synonyms/synonymfiles.h"
#include "synonyms/synonymstore.h"
#include "synonyms/thesaurusimporter.h"

#include "storage/localdatabase.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <malloc.h>
#include <unistd.h>

// The installed English thesaurus, the largest list a new user gets without a server.
namespace {

QString englishThesaurus()
{
    return ThesaurusImporter::installedThesaurus("eng", ThesaurusImporter::defaultFolder());
}

double residentMegabytes()
{
    QFile statm("/proc/self/statm");
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toDouble() * double(sysconf(_SC_PAGESIZE)) / 1048576.0 : 0;
}

// A working folder holding the converted English list, made once for the load benchmarks.
struct EnglishFolder
{
    QTemporaryDir dir;
    bool ok = false;
    EnglishFolder()
    {
        const QString source = englishThesaurus();
        ok = !source.isEmpty() &&
             ThesaurusImporter::importFile(source, dir.filePath(SynonymFiles::listFile("eng"))).ok;
    }
    QString folder() const { return dir.path() + "/"; }
};

EnglishFolder &english()
{
    static EnglishFolder f;
    return f;
}

} // namespace

static void BM_ImportEnglishThesaurus(benchmark::State &state)
{
    const QString source = englishThesaurus();
    if (source.isEmpty()) {
        state.SkipWithError("mythes-en-us is not installed");
        return;
    }
    QTemporaryDir dir;
    const QString dest = dir.filePath("eng_syn.dat");
    int heads = 0;
    for (auto _ : state) {
        const ThesaurusImporter::Result r = ThesaurusImporter::importFile(source, dest);
        if (!r.ok) {
            state.SkipWithError(qPrintable(r.error));
            return;
        }
        heads = r.headWords;
    }
    state.counters["head_words"] = heads;
    state.counters["list_MB"] = double(QFileInfo(dest).size()) / 1048576.0;
    state.counters["thesaurus_MB"] = double(QFileInfo(source).size()) / 1048576.0;
}
BENCHMARK(BM_ImportEnglishThesaurus)->Unit(benchmark::kMillisecond)->Iterations(5);

// loadSynonyms() with the English list in place: user tables (empty), promotion check, the 24
// version lines, then loadSynFile().
static void BM_LoadEnglishList(benchmark::State &state)
{
    if (!english().ok) {
        state.SkipWithError("no English list (mythes-en-us missing?)");
        return;
    }
    LocalDatabase db;
    db.connect(english().folder());

    // Memory the loaded store adds, from a fresh store.
    malloc_trim(0);
    const double before = residentMegabytes();
    double added = 0;
    {
        SynonymStore store;
        store.setTempDir(english().folder());
        store.setDatabase(&db);
        store.loadSynonyms();
        added = residentMegabytes() - before;
        state.counters["head_words"] = double(store.allUserSyn.size());
        state.counters["max_phrase_words"] = store.maxPhraseWord;
    }

    SynonymStore store;
    store.setTempDir(english().folder());
    store.setDatabase(&db);
    for (auto _ : state)
        store.loadSynonyms();
    state.counters["rss_added_MB"] = added;
}
BENCHMARK(BM_LoadEnglishList)->Unit(benchmark::kMillisecond)->Iterations(5);

static void BM_CandidateList(benchmark::State &state)
{
    if (!english().ok) {
        state.SkipWithError("no English list (mythes-en-us missing?)");
        return;
    }
    SynonymStore store;
    store.setTempDir(english().folder());
    store.loadSynonyms();
    // A few favourites and user synonyms so that every category is walked.
    store.bestfav.insert("happy", {"glad", "joyful"});
    store.goodfav.insert("happy", {"cheerful", "content"});
    store.userSyn.insert("happy", {"chuffed"});
    const QStringList words{"happy", "Run", "quick", "in a way", "xyzzy"};
    qsizetype i = 0;
    qsizetype entries = 0;
    for (auto _ : state) {
        const QList<SynonymStore::Candidate> list = store.candidateList(words[i++ % words.size()]);
        entries += list.size();
        benchmark::DoNotOptimize(list.constData());
    }
    state.counters["entries_per_list"] =
        benchmark::Counter(double(entries), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_CandidateList)->Unit(benchmark::kMicrosecond);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
