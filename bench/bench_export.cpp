// Bulk export speed against floors measured in the same run:
//  - distinct copies into memory (target: 10,000 copies of the 1k-word article in 0.1 s);
//  - folder and single-file export against writing the same bytes without spinning
//    (target: at most 2x the floor);
//  - ZIP export against zipping the same bytes without spinning (target: at most 1.2x);
//  - 100 copies of the 100k-word article into a ZIP, with the peak resident memory.
#include "articlegen.h"
#include "spintax/bulkexporter.h"
#include "spintax/copysource.h"
#include "spintax/distinctcopies.h"
#include "spintax/generator.h"
#include "spintax/generatorcopysource.h"
#include "spintax/mergedata.h"
#include "spintax/zipstreamwriter.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <vector>

namespace {

const QString &article1k()
{
    static const QString text = benchdata::spinArticle(1000, 1);
    return text;
}

const QString &article100k()
{
    static const QString text = benchdata::spinArticle(100000, 1);
    return text;
}

// The exact bytes an export of `count` copies writes, made once outside the timing.
std::vector<QByteArray> exportBytes(const QString &article, int count)
{
    spintax::Generator generator;
    generator.setSeed(11);
    spintax::GeneratorCopySource source(generator, article);
    spintax::DistinctCopies copies(source);
    copies.reset();
    std::vector<QByteArray> out;
    for (int k = 0; k < count; ++k) {
        QByteArray bytes("\xEF\xBB\xBF");
        spintax::BulkExporter::appendEncoded(bytes, *copies.next());
        out.push_back(std::move(bytes));
    }
    return out;
}

spintax::ExportResult exportCopies(const QString &article, const QString &folder, int count,
                                   bool single, bool zip)
{
    spintax::Generator generator;
    generator.setSeed(11);
    spintax::GeneratorCopySource source(generator, article);
    spintax::BulkExporter exporter(source);
    spintax::ExportOptions options;
    options.zip = zip;
    options.target = spintax::BulkExporter::exportTarget(folder, QDateTime::currentDateTimeUtc());
    options.plain = {count, single, QStringLiteral("----"), QStringLiteral("article")};
    options.html.count = 0;
    return exporter.gen(options);
}

void setBytes(benchmark::State &state, const std::vector<QByteArray> &bytes)
{
    qint64 total = 0;
    for (const QByteArray &b : bytes)
        total += b.size();
    state.SetBytesProcessed(int64_t(state.iterations()) * total);
}

// Second argument 1: every copy is kept (about 120 MB for 10,000 copies); 0: each copy is
// dropped once made, which is how the export uses them.
void BM_DistinctCopiesInMemory(benchmark::State &state)
{
    const int count = int(state.range(0));
    const bool keep = state.range(1) != 0;
    for (auto _ : state) {
        spintax::Generator generator;
        spintax::GeneratorCopySource source(generator, article1k());
        spintax::DistinctCopies copies(source);
        copies.reset();
        std::vector<QString> texts;
        texts.reserve(size_t(count));
        for (int k = 0; k < count; ++k) {
            QString text = *copies.next();
            benchmark::DoNotOptimize(text.constData());
            if (keep)
                texts.push_back(std::move(text));
        }
        benchmark::DoNotOptimize(texts.data());
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * count);
}
BENCHMARK(BM_DistinctCopiesInMemory)
    ->Args({10000, 1})
    ->Args({10000, 0})
    ->Unit(benchmark::kMillisecond);

// Floor: the same bytes, one QSaveFile per copy.
void BM_FolderFloor(benchmark::State &state)
{
    const std::vector<QByteArray> bytes = exportBytes(article1k(), int(state.range(0)));
    QTemporaryDir dir;
    int run = 0;
    for (auto _ : state) {
        const QString folder = dir.filePath(QString::number(run++));
        QDir().mkpath(folder);
        for (size_t k = 0; k < bytes.size(); ++k) {
            QSaveFile file(folder +
                           QStringLiteral("/article%1.txt").arg(k + 1, 4, 10, QLatin1Char('0')));
            file.open(QIODevice::WriteOnly);
            file.write(bytes[k]);
            file.commit();
        }
    }
    setBytes(state, bytes);
}
BENCHMARK(BM_FolderFloor)->Arg(1000)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FolderExport(benchmark::State &state)
{
    QTemporaryDir dir;
    for (auto _ : state) {
        const spintax::ExportResult r =
            exportCopies(article1k(), dir.path(), int(state.range(0)), false, false);
        if (!r.ok())
            state.SkipWithError(qPrintable(r.error));
    }
    setBytes(state, exportBytes(article1k(), int(state.range(0))));
}
BENCHMARK(BM_FolderExport)->Arg(1000)->Unit(benchmark::kMillisecond)->UseRealTime();

// Floor: the same bytes into one file with large writes.
void BM_SingleFileFloor(benchmark::State &state)
{
    const std::vector<QByteArray> bytes = exportBytes(article1k(), int(state.range(0)));
    const QByteArray separator("\r\n----\r\n");
    QTemporaryDir dir;
    int run = 0;
    for (auto _ : state) {
        QSaveFile file(dir.filePath(QString::number(run++)));
        file.open(QIODevice::WriteOnly);
        QByteArray chunk;
        for (const QByteArray &b : bytes) {
            chunk += b;
            chunk += separator;
            if (chunk.size() >= (4 << 20)) {
                file.write(chunk);
                chunk.clear();
            }
        }
        file.write(chunk);
        file.commit();
    }
    setBytes(state, bytes);
}
BENCHMARK(BM_SingleFileFloor)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SingleFileExport(benchmark::State &state)
{
    QTemporaryDir dir;
    for (auto _ : state) {
        const spintax::ExportResult r =
            exportCopies(article1k(), dir.path(), int(state.range(0)), true, false);
        if (!r.ok())
            state.SkipWithError(qPrintable(r.error));
    }
    setBytes(state, exportBytes(article1k(), int(state.range(0))));
}
BENCHMARK(BM_SingleFileExport)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();

// The bytes written into an archive entry by entry, as the exporter does.
QString zipBytes(const QString &path, const std::vector<QByteArray> &bytes, int digits)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    spintax::ZipStreamWriter zip(file);
    if (!zip.open())
        return zip.errorString();
    for (size_t k = 0; k < bytes.size(); ++k) {
        const QString name =
            QStringLiteral("article%1.txt").arg(k + 1, digits, 10, QLatin1Char('0'));
        if (!zip.beginEntry(name, bytes[k].size()) || !zip.write(bytes[k]) || !zip.endEntry())
            return zip.errorString();
    }
    return zip.close() ? QString() : zip.errorString();
}

// Floor: the same bytes through the same archive writer.
void BM_ZipFloor(benchmark::State &state)
{
    const std::vector<QByteArray> bytes = exportBytes(article1k(), int(state.range(0)));
    QTemporaryDir dir;
    int run = 0;
    for (auto _ : state) {
        const QString error =
            zipBytes(dir.filePath(QString::number(run++) + QStringLiteral(".zip")), bytes, 4);
        if (!error.isEmpty())
            state.SkipWithError(qPrintable(error));
    }
    setBytes(state, bytes);
}
BENCHMARK(BM_ZipFloor)->Arg(1000)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ZipExport(benchmark::State &state)
{
    QTemporaryDir dir;
    for (auto _ : state) {
        const spintax::ExportResult r =
            exportCopies(article1k(), dir.path(), int(state.range(0)), false, true);
        if (!r.ok())
            state.SkipWithError(qPrintable(r.error));
    }
    setBytes(state, exportBytes(article1k(), int(state.range(0))));
}
BENCHMARK(BM_ZipExport)->Arg(1000)->Unit(benchmark::kMillisecond)->UseRealTime();

// 100 copies of the 100k-word article; entries are compressed and written as they come, so the
// peak memory stays near one copy whatever the count. peakRssMB is the whole process's peak:
// run this one alone (--benchmark_filter=Large) to read it.
void BM_ZipExportLargeArticle(benchmark::State &state)
{
    QTemporaryDir dir;
    article100k();
    rusage before{};
    getrusage(RUSAGE_SELF, &before);
    for (auto _ : state) {
        const spintax::ExportResult r = exportCopies(article100k(), dir.path(), 100, false, true);
        if (!r.ok())
            state.SkipWithError(qPrintable(r.error));
    }
    rusage after{};
    getrusage(RUSAGE_SELF, &after);
    state.counters["peakRssMB"] = double(after.ru_maxrss) / 1024.0;
    state.counters["articleMB"] = double(article100k().size()) * 2 / (1024.0 * 1024.0);
}
BENCHMARK(BM_ZipExportLargeArticle)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

// Floor of the above: the same bytes through the same archive writer.
void BM_ZipFloorLargeArticle(benchmark::State &state)
{
    const std::vector<QByteArray> bytes = exportBytes(article100k(), 100);
    QTemporaryDir dir;
    for (auto _ : state) {
        const QString error = zipBytes(dir.filePath(QStringLiteral("large.zip")), bytes, 3);
        if (!error.isEmpty())
            state.SkipWithError(qPrintable(error));
    }
    setBytes(state, bytes);
}
BENCHMARK(BM_ZipFloorLargeArticle)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

// Placeholders of a 20,000-column table filled into the 1k-word article: one pass over the text
// per copy, whatever the number of columns.
void BM_MergeWideTable(benchmark::State &state)
{
    const int columns = int(state.range(0));
    QList<QStringList> records(2);
    for (int c = 0; c < columns; ++c) {
        records[0] << QStringLiteral("col%1").arg(c);
        records[1] << QStringLiteral("value%1").arg(c);
    }
    const spintax::MergeData data(records);
    const QString text = article1k() + QStringLiteral(" [col7] [col19999] [none]");
    for (auto _ : state)
        benchmark::DoNotOptimize(data.getMerged(text, 0));
}
BENCHMARK(BM_MergeWideTable)->Arg(20000)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
