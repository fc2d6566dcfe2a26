#include "settingsstore.h"

#include "language.h"
#include "ownerfiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QUrl>
#include <QUuid>

#include <limits>

namespace storage {

namespace {

// The settings file holds the recent file paths and the export folder: it is made owner-only
// before QSettings first writes it (QSettings keeps the mode of an existing file when it saves).
// Checked once per file and thread; the file name changes only when a test moves the store.
void keepSettingsFileOwnerOnly()
{
    const QString file =
        QSettings(QSettings::NativeFormat, QSettings::UserScope, organisationName, applicationName)
            .fileName();
    thread_local QString checked;
    if (checked == file)
        return;
    QDir().mkpath(QFileInfo(file).absolutePath());
    const QString problem = ensureOwnerOnlyFile(file);
    if (problem.isEmpty())
        checked = file;
    else
        qWarning("Settings file: %s", qUtf8Printable(problem));
}

// Every access opens its own handle; QSettings shares the parsed store between handles of the
// same process, so a value written through one handle is read back through the next.
QSettings openSettings()
{
    keepSettingsFileOwnerOnly();
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, organisationName,
                     applicationName);
}

bool isLanguageUpdateKey(const QString &key)
{
    if (!key.endsWith(QLatin1StringView("Update")))
        return false;
    return languageCodes().contains(key.chopped(6));
}

} // namespace

void setApplicationNames()
{
    QCoreApplication::setOrganizationName(organisationName);
    QCoreApplication::setApplicationName(applicationName);
}

QStringList languageCodes()
{
    QStringList codes;
    for (const Language &l : Language::all())
        codes.append(l.code);
    return codes;
}

QString languageUpdateKey(const QString &code)
{
    return code + QStringLiteral("Update");
}

QVariant defaultValue(const QString &key)
{
    if (key == keys::editToolbarB || key == keys::htmlToolbarB || key == keys::miscToolbarB)
        return QStringLiteral("true");
    if (isLanguageUpdateKey(key) || key == keys::plainChecked || key == keys::htmlhtmlChecked)
        return true;
    if (key == keys::identifyOnLoad || key == keys::identifyOnPaste || key == keys::zip ||
        key == keys::singlePlainChecked || key == keys::singleHtmlhtmlChecked)
        return false;
    if (key == keys::currentDir || key == keys::path || key == keys::plainSeparator ||
        key == keys::htmlhtmlSeparator || key == keys::plainPrefix || key == keys::htmlhtmlPrefix ||
        key == keys::plainCount || key == keys::htmlhtmlCount || key == keys::updateServer)
        return QString();
    if (key == keys::recentFileList)
        return QStringList();
    if (key == keys::languageSettings)
        return defaultLanguageSettings();
    if (key == keys::applicationColors)
        return defaultApplicationColors();
    if (key == keys::copyscapeEndpoint)
        return QString(defaultCopyscapeEndpoint);
    return QVariant();
}

QVariant value(const QString &key)
{
    return openSettings().value(key, defaultValue(key));
}

void setValue(const QString &key, const QVariant &value)
{
    openSettings().setValue(key, value);
}

bool isTrue(const QVariant &v)
{
    return v.toString().compare(QLatin1StringView("true"), Qt::CaseInsensitive) == 0;
}

bool flag(const QString &key)
{
    return isTrue(value(key));
}

void setFlag(const QString &key, bool on)
{
    setValue(key, on ? QStringLiteral("true") : QStringLiteral("false"));
}

QString folderOf(const QString &fileOrFolder)
{
    if (fileOrFolder.isEmpty())
        return QString();
    const QFileInfo info(fileOrFolder);
    return info.isDir() ? QDir::cleanPath(info.absoluteFilePath()) : info.absolutePath();
}

QString loadCurDir()
{
    return openSettings().value(keys::currentDir).toString();
}

void saveCurDir(const QString &fileOrFolder)
{
    const QString folder = folderOf(fileOrFolder);
    if (!folder.isEmpty())
        setValue(keys::currentDir, folder);
}

QStringList recentFileList()
{
    return openSettings().value(keys::recentFileList).toStringList();
}

QStringList addRecentFile(const QString &file)
{
    QStringList files = recentFileList();
    if (file.isEmpty())
        return files;
    files.removeAll(file);
    files.prepend(file);
    setValue(keys::recentFileList, files);
    return files;
}

QVariantMap defaultLanguageSettings()
{
    return {{QString(langEntry), QStringLiteral("eng")},
            {QString(dirEntry), QStringLiteral("ltr")}};
}

QVariantMap languageSettings()
{
    QSettings settings = openSettings();
    if (!settings.contains(keys::languageSettings)) {
        const QVariantMap defaults = defaultLanguageSettings();
        settings.setValue(keys::languageSettings, defaults);
        return defaults;
    }
    return settings.value(keys::languageSettings).toMap();
}

StoredLanguage storedLanguage()
{
    StoredLanguage result;
    const QSettings settings = openSettings();
    result.stored = settings.contains(keys::languageSettings);
    const QVariantMap map = settings.value(keys::languageSettings).toMap();
    const QString code = map.value(langEntry).toString().toLower();
    if (Language::isKnownCode(code))
        result.code = code;
    result.rightToLeft = map.value(dirEntry).toString() == QLatin1String("rtl");
    return result;
}

void saveLanguageSettings(const QString &lang, bool rightToLeft)
{
    setValue(keys::languageSettings,
             QVariantMap{
                 {QString(langEntry), lang},
                 {QString(dirEntry), rightToLeft ? QStringLiteral("rtl") : QStringLiteral("ltr")}});
}

QString argbText(quint32 argb)
{
    return QString::number(static_cast<qint32>(argb));
}

std::optional<quint32> argbFromText(const QVariant &text)
{
    bool ok = false;
    const qint64 n = text.toString().trimmed().toLongLong(&ok);
    // Older stores may hold the unsigned form; both name the same colour.
    if (!ok || n < std::numeric_limits<qint32>::min() || n > std::numeric_limits<quint32>::max())
        return std::nullopt;
    return static_cast<quint32>(n);
}

QVariantMap defaultApplicationColors()
{
    return {
        {QStringLiteral("level 1"), argbText(0xff0000ff)},
        {QStringLiteral("level 2"), argbText(0xff008000)},
        {QStringLiteral("level 3"), argbText(0xffff0000)},
        {QStringLiteral("level 4"), argbText(0xffff8000)},
        {QStringLiteral("level 5"), argbText(0xff9b800d)},
        {QStringLiteral("no synonym"), argbText(0xff000000)},
        {QStringLiteral("replace"), argbText(0xffa0a0a4)},
        {QStringLiteral("first term"), argbText(0xff000000)},
    };
}

QVariantMap applicationColors()
{
    QSettings settings = openSettings();
    const QVariantMap defaults = defaultApplicationColors();
    if (!settings.contains(keys::applicationColors)) {
        settings.setValue(keys::applicationColors, defaults);
        return defaults;
    }
    QVariantMap colors = settings.value(keys::applicationColors).toMap();
    for (auto it = defaults.cbegin(); it != defaults.cend(); ++it) {
        if (!argbFromText(colors.value(it.key())))
            colors.insert(it.key(), it.value());
    }
    return colors;
}

void saveApplicationColors(const QVariantMap &colors)
{
    setValue(keys::applicationColors, colors);
}

QString withScheme(const QString &address)
{
    const QString trimmed = address.trimmed();
    if (trimmed.isEmpty() || trimmed.contains(QLatin1StringView("://")))
        return trimmed;
    return QStringLiteral("http://") + trimmed;
}

QString updateServer()
{
    if (qEnvironmentVariableIsSet(updateServerEnv))
        return withScheme(qEnvironmentVariable(updateServerEnv));
    return withScheme(openSettings().value(keys::updateServer).toString());
}

QString copyscapeEndpoint()
{
    QString endpoint = qEnvironmentVariable(copyscapeEndpointEnv).trimmed();
    if (endpoint.isEmpty())
        endpoint = openSettings().value(keys::copyscapeEndpoint).toString().trimmed();
    if (endpoint.isEmpty())
        return QString(defaultCopyscapeEndpoint);
    return withScheme(endpoint);
}

QString userId()
{
    QSettings settings = openSettings();
    QString id = settings.value(keys::userId).toString();
    if (id.isEmpty()) {
        id = QUuid::createUuid().toString(QUuid::WithoutBraces);
        settings.setValue(keys::userId, id);
    }
    return id;
}

} // namespace storage
