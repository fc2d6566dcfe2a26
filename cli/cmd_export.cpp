// export: the bulk export of the "Export" dialog without the dialog. The same writer makes
// the same files for the same values: a new time-stamped folder (or a .zip beside it) under
// --out, plain-text and HTML copies one per file or one file per type, optionally merged
// with the rows of a CSV file.

#include "cliio.h"
#include "commandline.h"
#include "commands.h"

#include "spintax/bulkexporter.h"
#include "spintax/generator.h"
#include "spintax/generatorcopysource.h"
#include "spintax/mergedata.h"

#include <QDateTime>
#include <QDir>
#include <QFile>

#include <cstdio>

namespace cli {

namespace {

// What the command line gives for one document type; unset counts follow the merge data.
struct TypeArgs
{
    std::optional<int> count;
    std::optional<QString> separator; // set: single file
    QString name;
};

} // namespace

int runExport(const QStringList &args)
{
    CommandLine commandLine(
        "export",
        {option("out", "Folder in which the new time-stamped folder or archive is made.", "DIR"),
         option("zip", "Writes a .zip archive instead of a folder."),
         option("plain", "Number of plain-text copies.", "N"),
         option("html", "Number of HTML copies.", "N"),
         option("plain-single", "All plain-text copies in one file, SEP between them.", "SEP"),
         option("html-single", "All HTML copies in one file, SEP between them.", "SEP"),
         option("plain-name", "File name of the plain-text copies.", "NAME"),
         option("html-name", "File name of the HTML copies.", "NAME"),
         option("merge", "CSV file whose data rows fill the copies' [field] names.", "CSV"),
         option("seed", "Seed of the random choices.", "S")});
    if (const std::optional<int> done = commandLine.parse(args))
        return *done;
    const QString out = commandLine.value(QStringLiteral("out"));
    if (out.isEmpty())
        return commandLine.usage();
    const bool zip = commandLine.isSet(QStringLiteral("zip"));
    TypeArgs plain;
    TypeArgs html;
    std::optional<quint64> seed;
    if (!commandLine.wholeNumber(QStringLiteral("plain"), plain.count) ||
        !commandLine.wholeNumber(QStringLiteral("html"), html.count) ||
        !commandLine.wholeNumber(QStringLiteral("seed"), seed))
        return UsageError;
    if (commandLine.isSet(QStringLiteral("plain-single")))
        plain.separator = commandLine.value(QStringLiteral("plain-single"));
    if (commandLine.isSet(QStringLiteral("html-single")))
        html.separator = commandLine.value(QStringLiteral("html-single"));
    plain.name = commandLine.value(QStringLiteral("plain-name"));
    html.name = commandLine.value(QStringLiteral("html-name"));
    const QString mergeFile = commandLine.value(QStringLiteral("merge"));

    std::optional<QString> text = readInput(commandLine.argument());
    if (!text)
        return UsageError;

    std::optional<spintax::MergeData> merge;
    if (!mergeFile.isEmpty()) {
        QFile csv(mergeFile);
        if (!csv.open(QIODevice::ReadOnly))
            return usageError(
                QStringLiteral("cannot read %1: %2").arg(mergeFile, csv.errorString()));
        csv.close();
        merge = spintax::MergeData::fromFile(mergeFile);
        // With merge data every copy is one data row.
        if (!plain.count)
            plain.count = merge->rowCount();
        if (!html.count)
            html.count = merge->rowCount();
    }

    // The dialog's row values: a type is ticked when it has a count.
    auto typeOptions = [](const TypeArgs &t) {
        return spintax::BulkExporter::typeOptions(
            t.count.has_value(), QString::number(t.count.value_or(0)), t.separator.has_value(),
            t.separator.value_or(QString()), t.name);
    };
    spintax::ExportOptions options;
    options.zip = zip;
    options.target = spintax::BulkExporter::exportTarget(QDir::fromNativeSeparators(out),
                                                         QDateTime::currentDateTimeUtc());
    options.plain = typeOptions(plain);
    options.html = typeOptions(html);

    spintax::Generator generator;
    generator.setSeed(seed);
    spintax::GeneratorCopySource source(generator, std::move(*text).trimmed());
    spintax::BulkExporter exporter(source, merge ? &*merge : nullptr);
    const spintax::ExportResult result = exporter.gen(options);
    if (!result.ok()) {
        if (!source.balanced())
            return unbalancedText();
        std::fprintf(stderr, "rewordix-cli: %s\n", result.error.toLocal8Bit().constData());
        return OutputError;
    }
    Output stdOut;
    stdOut.append(QDir::toNativeSeparators(result.path));
    stdOut.appendByte('\n');
    return stdOut.finish();
}

} // namespace cli
