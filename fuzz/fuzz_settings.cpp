// A tampered settings file: the file is arbitrary bytes (the maps are stored as serialised
// variants, "@Variant(...)"), and reading every key through the settings helpers never crashes;
// colour texts read back as the colour they were written from.
#include "storage/settingsstore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

namespace {

QTemporaryDir *config = nullptr;
QString settingsFile;

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    config = new QTemporaryDir;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config->path()));
    qunsetenv("REWORDIX_UPDATE_SERVER");
    qunsetenv("REWORDIX_COPYSCAPE_ENDPOINT");
    static QCoreApplication app(*argc, *argv);
    settingsFile = QSettings(QSettings::NativeFormat, QSettings::UserScope,
                             storage::organisationName, storage::applicationName)
                       .fileName();
    QDir().mkpath(QFileInfo(settingsFile).absolutePath());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    {
        QFile file(settingsFile);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        file.write(reinterpret_cast<const char *>(data), qint64(size));
    }
    QSettings(QSettings::NativeFormat, QSettings::UserScope, storage::organisationName,
              storage::applicationName)
        .sync(); // drop what an earlier input left in the shared cache

    const QVariantMap colors = storage::applicationColors();
    for (auto it = colors.cbegin(); it != colors.cend(); ++it) {
        if (const std::optional<quint32> argb = storage::argbFromText(it.value())) {
            if (storage::argbFromText(storage::argbText(*argb)) != argb)
                std::abort();
        }
    }
    (void)storage::languageSettings();
    (void)storage::recentFileList();
    (void)storage::loadCurDir();
    (void)storage::updateServer();
    (void)storage::copyscapeEndpoint();
    for (const QString &code : storage::languageCodes())
        (void)storage::flag(storage::languageUpdateKey(code));
    (void)storage::flag(storage::keys::zip);
    (void)storage::value(storage::keys::plainCount);
    // The same bytes as a colour text.
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    if (const std::optional<quint32> argb = storage::argbFromText(text)) {
        if (storage::argbFromText(storage::argbText(*argb)) != argb)
            std::abort();
    }
    return 0;
}
