// The bulk exporter from arbitrary options and article text: the first bytes choose ZIP or
// folder, counts, single files and the file names (the name cleaning), the rest is the article.
// An export that succeeds has its final name, lists files that exist, and leaves no ".partial"
// behind; one that fails says why.
#include "spintax/bulkexporter.h"
#include "spintax/generator.h"
#include "spintax/generatorcopysource.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

namespace {

QTemporaryDir *scratch = nullptr;

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    scratch = new QTemporaryDir;
    return scratch->isValid() ? 0 : 1;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2)
        return 0;
    const uint8_t flags = data[0];
    const uint8_t counts = data[1];
    const QString rest =
        QString::fromUtf8(reinterpret_cast<const char *>(data + 2), qsizetype(size - 2));
    // "plain name \x01 html name \x01 separator \x01 article"
    const QStringList parts = rest.split(QChar(1));
    auto part = [&parts](int i) { return i < parts.size() ? parts.at(i) : QString(); };

    spintax::ExportOptions options;
    options.zip = flags & 1;
    options.plain = spintax::BulkExporter::typeOptions(flags & 2, QString::number(counts & 3),
                                                       flags & 4, part(2), part(0));
    options.html = spintax::BulkExporter::typeOptions(flags & 8, QString::number((counts >> 2) & 3),
                                                      flags & 16, part(2), part(1));
    for (const spintax::ExportTypeOptions *type : {&options.plain, &options.html}) {
        if (type->name.contains(u'/') || type->name.contains(u'\\') || type->name.isEmpty())
            std::abort();
        for (int k = 0; k < type->count; ++k) {
            const QString file = spintax::BulkExporter::copyFileName(type->name, k, type->count,
                                                                     QStringLiteral(".txt"));
            if (file.contains(u'/') || file == u"." || file == u"..")
                std::abort();
        }
    }
    // Export targets are made from a folder the user chose and the time.
    const QString odd = spintax::BulkExporter::exportTarget(
        part(1), QDateTime::fromMSecsSinceEpoch(qint64(counts) << 32));
    if (odd.isEmpty())
        std::abort();

    options.target = spintax::BulkExporter::exportTarget(
        scratch->path(), QDateTime::fromMSecsSinceEpoch(1700000000000 + counts));
    spintax::Generator generator;
    generator.setSeed(counts);
    spintax::GeneratorCopySource source(generator, part(3).left(8192));
    spintax::BulkExporter exporter(source);
    const spintax::ExportResult result = exporter.gen(options);

    const QString finalPath = options.target + (options.zip ? QStringLiteral(".zip") : QString());
    if (result.ok()) {
        if (result.path != finalPath || !QFileInfo::exists(finalPath))
            std::abort();
        if (!options.zip) {
            for (const QString &file : result.files) {
                if (!QFileInfo(finalPath + u'/' + file).isFile())
                    std::abort();
            }
        }
    } else if (result.status == spintax::ExportResult::Status::Failed && result.error.isEmpty()) {
        std::abort();
    }
    if (QFileInfo::exists(finalPath + spintax::BulkExporter::partialSuffix()) && result.ok())
        std::abort();

    // Start the next input from an empty folder.
    for (const QFileInfo &entry :
         QDir(scratch->path())
             .entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)) {
        if (entry.isDir() && !entry.isSymLink())
            QDir(entry.filePath()).removeRecursively();
        else
            QFile::remove(entry.filePath());
    }
    return 0;
}
