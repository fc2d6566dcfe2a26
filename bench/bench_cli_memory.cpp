// Peak memory of the command-line tool's main commands on a long spun article (about 50 MB of
// UTF-8), as a multiple of the input's size. Each command runs as its own process, so its peak
// resident size is its own: `peakPerInputByte` is the figure to watch (the aim is 4 or less).
#include "articlegen.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct Article
{
    QTemporaryDir dir;
    std::string path;
    double bytes = 0;
};

// About 6.5 million words: 50 MB of UTF-8.
const Article &article()
{
    static Article a = [] {
        Article made;
        const QString file = made.dir.filePath(QStringLiteral("article.txt"));
        QFile out(file);
        if (out.open(QIODevice::WriteOnly))
            made.bytes = double(out.write(benchdata::spinArticle(6'500'000, 1).toUtf8()));
        made.path = file.toStdString();
        return made;
    }();
    return a;
}

// Runs rewordix-cli with `args` and the article, output thrown away and a working folder of its
// own; its peak resident size in kB, or -1 when it did not succeed.
long peakKb(const std::vector<std::string> &args)
{
    const std::string work = article().dir.path().toStdString();
    std::vector<std::string> all{REWORDIX_CLI};
    all.insert(all.end(), args.begin(), args.end());
    for (std::string &a : all)
        if (a == "@OUT")
            a = work;
    all.push_back(article().path);
    std::vector<char *> argv;
    for (std::string &a : all)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    const pid_t pid = fork();
    if (pid == 0) {
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
        setenv("XDG_DATA_HOME", (work + "/data").c_str(), 1);
        setenv("XDG_CONFIG_HOME", (work + "/config").c_str(), 1);
        execv(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (pid < 0 || wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0)
        return -1;
    return usage.ru_maxrss;
}

void BM_CliPeakMemory(benchmark::State &state, std::vector<std::string> args)
{
    if (article().bytes <= 0) {
        state.SkipWithError("the article could not be written");
        return;
    }
    long kb = 0;
    for (auto _ : state) {
        kb = peakKb(args);
        if (kb < 0) {
            state.SkipWithError("rewordix-cli failed");
            return;
        }
    }
    state.counters["inputMB"] = article().bytes / (1024.0 * 1024.0);
    state.counters["peakRssMB"] = double(kb) / 1024.0;
    state.counters["peakPerInputByte"] = double(kb) * 1024.0 / article().bytes;
}

} // namespace

BENCHMARK_CAPTURE(BM_CliPeakMemory, spin, {"spin", "--seed", "1"})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_CliPeakMemory, spin3copies, {"spin", "--copies", "3", "--seed", "1"})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_CliPeakMemory, count, {"count"})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_CliPeakMemory, stats, {"stats"})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_CliPeakMemory, export,
                  {"export", "--out", "@OUT", "--plain", "2", "--seed", "1"})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_CliPeakMemory, autoSelect, {"auto-select"})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

BENCHMARK_MAIN();
