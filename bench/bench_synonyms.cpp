#include "guibenchmain.h"
#include "synonyms/inflection.h"
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

// The English import; with argument 1 as the store runs it: WordNet's use counts read (inside
// the timing) and the synonyms ordered by them.
static void BM_ImportEnglishThesaurus(benchmark::State &state)
{
    const QString source = englishThesaurus();
    if (source.isEmpty()) {
        state.SkipWithError("mythes-en-us is not installed");
        return;
    }
    const bool ordered = state.range(0) != 0;
    QTemporaryDir dir;
    const QString dest = dir.filePath("eng_syn.dat");
    int heads = 0;
    qsizetype counts = 0;
    for (auto _ : state) {
        ThesaurusImporter::Options options;
        if (ordered)
            options = ThesaurusImporter::optionsFor("eng", Inflection::defaultWordNetFolder());
        counts = options.senseCounts.size();
        const ThesaurusImporter::Result r =
            ThesaurusImporter::importFile(source, dest, {}, options);
        if (!r.ok) {
            state.SkipWithError(qPrintable(r.error));
            return;
        }
        heads = r.headWords;
    }
    state.counters["head_words"] = heads;
    state.counters["sense_counts"] = double(counts);
    state.counters["list_MB"] = double(QFileInfo(dest).size()) / 1048576.0;
    state.counters["thesaurus_MB"] = double(QFileInfo(source).size()) / 1048576.0;
}
BENCHMARK(BM_ImportEnglishThesaurus)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(5);

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

// Inflected words of a licence text, none with a list of its own.
static const QStringList inflectedWords{
    "takes",     "conditions", "copies",   "permissions", "requirements", "jumps",
    "houses",    "Houses",     "provided", "including",   "rights",       "ran",
    "products",  "activities", "kinds",    "obligations", "parties",      "versions",
    "notices",   "users",      "authors",  "recipients",  "patents",      "parts",
    "programs",  "requiring",  "includes", "files",       "stating",      "claims",
    "permitted", "allowed",    "problems", "refers",      "commands",     "modifications",
    "measures",  "added",      "sections", "purposes"};

// The first look-up after a load: the en_US dictionary and WordNet's files are read.
static void BM_InflectionFirstUse(benchmark::State &state)
{
    for (auto _ : state) {
        Inflection inflection("eng", Inflection::defaultHunspellFolder(),
                              Inflection::defaultWordNetFolder());
        if (!inflection.isAvailable()) {
            state.SkipWithError("hunspell-en-us is not installed");
            return;
        }
        benchmark::DoNotOptimize(inflection.bases("takes").size());
    }
}
BENCHMARK(BM_InflectionFirstUse)->Unit(benchmark::kMillisecond)->Iterations(3);

// The candidate list of an inflected word: cold asks each word once (its analysis is not cached
// yet), warm asks them again.
static void inflectedCandidateList(benchmark::State &state, bool warm)
{
    if (!english().ok) {
        state.SkipWithError("no English list (mythes-en-us missing?)");
        return;
    }
    SynonymStore store;
    store.setTempDir(english().folder());
    store.loadSynonyms();
    store.candidateList("walks"); // loads the dictionary
    if (warm) {
        for (const QString &w : inflectedWords)
            store.candidateList(w);
    }
    qsizetype i = 0;
    qsizetype entries = 0;
    for (auto _ : state) {
        const QList<SynonymStore::Candidate> list =
            store.candidateList(inflectedWords[i++ % inflectedWords.size()]);
        entries += list.size();
        benchmark::DoNotOptimize(list.constData());
    }
    state.counters["entries_per_list"] =
        benchmark::Counter(double(entries), benchmark::Counter::kAvgIterations);
}

static void BM_InflectedCandidateListCold(benchmark::State &state)
{
    inflectedCandidateList(state, false);
}
BENCHMARK(BM_InflectedCandidateListCold)
    ->Unit(benchmark::kMicrosecond)
    ->Iterations(inflectedWords.size());

static void BM_InflectedCandidateListWarm(benchmark::State &state)
{
    inflectedCandidateList(state, true);
}
BENCHMARK(BM_InflectedCandidateListWarm)->Unit(benchmark::kMicrosecond);

int main(int argc, char **argv)
{
    return benchdata::runWidgetBenchmarks(argc, argv);
}
