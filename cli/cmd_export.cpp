// export: the bulk export of the "Export" dialog without the dialog. The same writer makes
// the same files for the same values: a new time-stamped folder (or a .zip beside it) under
// --out, plain-text and HTML copies one per file or one file per type, optionally merged
// with the rows of a CSV file.

#include "cliio.h"
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

const char exportUsage[] =
    "usage: rewordix-cli export --out DIR [--zip] [--plain N] [--html N] [--plain-single SEP] "
    "[--html-single SEP] [--plain-name NAME] [--html-name NAME] [--merge CSV] [--seed S] FILE";

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
    QString out;
    bool zip = false;
    TypeArgs plain;
    TypeArgs html;
    QString mergeFile;
    std::optional<quint64> seed;
    QString input;
    bool haveInput = false;

    const QStringList valued = {"--out", "--plain", "--html", "--plain-single", "--html-single",
                                "--plain-name", "--html-name", "--merge", "--seed"};
    for (qsizetype i = 0; i < args.size(); ++i) {
        QString arg = args[i];
        QString value;
        const qsizetype eq = arg.indexOf(QLatin1Char('='));
        if (arg.startsWith(QLatin1String("--")) && eq > 0 && valued.contains(arg.left(eq))) {
            value = arg.mid(eq + 1);
            arg.truncate(eq);
        } else if (valued.contains(arg)) {
            if (i + 1 >= args.size())
                return usageError(QStringLiteral("%1 needs a value").arg(arg));
            value = args[++i];
        }
        auto count = [&](std::optional<int> &target) {
            bool ok = false;
            const int n = value.toInt(&ok);
            if (!ok || n < 0)
                return false;
            target = n;
            return true;
        };
        if (arg == QLatin1String("--out")) {
            out = value;
        } else if (arg == QLatin1String("--zip")) {
            zip = true;
        } else if (arg == QLatin1String("--plain") || arg == QLatin1String("--html")) {
            if (!count(arg == QLatin1String("--plain") ? plain.count : html.count))
                return usageError(QStringLiteral("%1 needs a whole number >= 0, not '%2'").arg(arg, value));
        } else if (arg == QLatin1String("--plain-single")) {
            plain.separator = value;
        } else if (arg == QLatin1String("--html-single")) {
            html.separator = value;
        } else if (arg == QLatin1String("--plain-name")) {
            plain.name = value;
        } else if (arg == QLatin1String("--html-name")) {
            html.name = value;
        } else if (arg == QLatin1String("--merge")) {
            mergeFile = value;
        } else if (arg == QLatin1String("--seed")) {
            bool ok = false;
            seed = value.toULongLong(&ok);
            if (!ok)
                return usageError(QStringLiteral("--seed needs a whole number >= 0, not '%1'").arg(value));
        } else if (arg.startsWith(QLatin1Char('-')) && arg != QLatin1String("-")) {
            return usageError(QStringLiteral("export: unknown option '%1'").arg(arg));
        } else if (haveInput) {
            return usageError(QStringLiteral("export takes one FILE, got '%1' too").arg(arg));
        } else {
            input = arg;
            haveInput = true;
        }
    }
    if (!haveInput || out.isEmpty())
        return usageError(QString::fromLatin1(exportUsage));

    const std::optional<QString> text = readInput(input);
    if (!text)
        return UsageError;

    std::optional<spintax::MergeData> merge;
    if (!mergeFile.isEmpty()) {
        QFile csv(mergeFile);
        if (!csv.open(QIODevice::ReadOnly))
            return usageError(QStringLiteral("cannot read %1: %2").arg(mergeFile, csv.errorString()));
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
        return spintax::BulkExporter::typeOptions(t.count.has_value(),
                                                  QString::number(t.count.value_or(0)),
                                                  t.separator.has_value(),
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
    spintax::GeneratorCopySource source(generator, text->trimmed());
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
