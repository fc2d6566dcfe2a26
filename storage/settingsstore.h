#pragma once

#include <QLatin1StringView>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>

#include <optional>

// Every key of the settings store, its default, and the small rules for reading it back. The
// store is QSettings in the platform's native format, named by the organisation and application
// below; every function here opens its own handle with these names, so they also work where the
// application names are not set (command-line tool, tests).
namespace storage {

inline constexpr QLatin1StringView organisationName{"Tarnvale org"};
inline constexpr QLatin1StringView applicationName{"Polyvane Alpha 1.0"};

// Sets the application's organisation and application names, so that a default-constructed
// QSettings resolves to the same store.
void setApplicationNames();

namespace keys {
inline constexpr QLatin1StringView currentDir{"current_dir"};
inline constexpr QLatin1StringView recentFileList{"recentFileList"};
inline constexpr QLatin1StringView editToolbarB{"editToolbarB"};
inline constexpr QLatin1StringView htmlToolbarB{"htmlToolbarB"};
inline constexpr QLatin1StringView miscToolbarB{"miscToolbarB"};
inline constexpr QLatin1StringView identifyOnLoad{"identifyOnLoad"};
inline constexpr QLatin1StringView identifyOnPaste{"identifyOnPaste"};
inline constexpr QLatin1StringView languageSettings{"languageSettings"};
inline constexpr QLatin1StringView applicationColors{"applicationColors"};
inline constexpr QLatin1StringView path{"path"};
inline constexpr QLatin1StringView zip{"zip"};
inline constexpr QLatin1StringView plainChecked{"plainChecked"};
inline constexpr QLatin1StringView htmlhtmlChecked{"htmlhtmlChecked"};
inline constexpr QLatin1StringView singlePlainChecked{"singlePlainChecked"};
inline constexpr QLatin1StringView singleHtmlhtmlChecked{"singleHtmlhtmlChecked"};
inline constexpr QLatin1StringView plainSeparator{"plainSeparator"};
inline constexpr QLatin1StringView htmlhtmlSeparator{"htmlhtmlSeparator"};
inline constexpr QLatin1StringView plainPrefix{"plainPrefix"};
inline constexpr QLatin1StringView htmlhtmlPrefix{"htmlhtmlPrefix"};
inline constexpr QLatin1StringView plainCount{"plainCount"};
inline constexpr QLatin1StringView htmlhtmlCount{"htmlhtmlCount"};
inline constexpr QLatin1StringView updateServer{"updateServer"};
inline constexpr QLatin1StringView copyscapeEndpoint{"copyscapeEndpoint"};
inline constexpr QLatin1StringView userId{"userId"};
} // namespace keys

// "engUpdate" ... "bulUpdate": whether the language's lists are fetched from the update server.
QString languageUpdateKey(const QString &code);

// The twelve language codes in their fixed order (eng, heb, ara, ... bul).
QStringList languageCodes();

// Entries of the `languageSettings` and `applicationColors` maps.
inline constexpr QLatin1StringView langEntry{"lang"};
inline constexpr QLatin1StringView dirEntry{"dir"};

inline constexpr QLatin1StringView defaultCopyscapeEndpoint{"https://www.copyscape.com/api/"};

// Environment variables that override the settings of the same purpose.
inline constexpr const char *updateServerEnv = "REWORDIX_UPDATE_SERVER";
inline constexpr const char *copyscapeEndpointEnv = "REWORDIX_COPYSCAPE_ENDPOINT";

// The value a key stands for while it is absent: true for the toolbars, the Language Update
// entries and the two chosen export types; false for the identify boxes, `zip` and the single
// file choices; empty text for folders, separators, prefixes and counts; the default maps for
// `languageSettings` and `applicationColors`; an invalid QVariant for keys without a default.
QVariant defaultValue(const QString &key);

// The stored value of `key`, or defaultValue(key) when absent.
QVariant value(const QString &key);
void setValue(const QString &key, const QVariant &value);

// A stored boolean counts as true exactly when its text is "true" in any letter case (a real
// bool true included). "TRUE" and "True" are true; "yes", "1", " true" and an absent value are not.
bool isTrue(const QVariant &v);

// isTrue() of the stored value, or of the key's default when the key is absent.
bool flag(const QString &key);
// Stores "true" or "false" as text, the form the toolbar keys use.
void setFlag(const QString &key, bool on);

// `current_dir`: the folder of the last opened or saved-as file; empty when never stored.
QString loadCurDir();
// Stores the folder of `fileOrFolder`: an existing folder is stored as it is, anything else (a
// file, a path not yet on disk) as the folder that holds it. An empty argument stores nothing.
void saveCurDir(const QString &fileOrFolder);
// The folder saveCurDir() stores for `fileOrFolder`.
QString folderOf(const QString &fileOrFolder);

// `recentFileList`: full paths, most recent first, no duplicates, never truncated.
QStringList recentFileList();
// Moves `file` to the front of the list (adding it when new), stores and returns the list.
QStringList addRecentFile(const QString &file);

// `languageSettings`: {"lang": language code, "dir": "ltr" or "rtl"}.
QVariantMap defaultLanguageSettings(); // {"lang": "eng", "dir": "ltr"}
// The stored map; when the key is absent the default map is written and returned.
QVariantMap languageSettings();
void saveLanguageSettings(const QString &lang, bool rightToLeft);

// The language and text direction last chosen, read from `languageSettings` without writing
// anything (English, left to right when the key is absent). A code the program does not know (a
// damaged store) gives English rather than naming tables and files that do not exist; codes are
// matched regardless of case.
struct StoredLanguage
{
    QString code = QStringLiteral("eng");
    bool rightToLeft = false;
    bool stored = false; // false when the key is absent
};
StoredLanguage storedLanguage();

// `applicationColors`: colour name -> 32-bit ARGB value as signed decimal text
// ("level 1" blue is "-16776961").
QVariantMap defaultApplicationColors();
// The stored map; the defaults are written as one map when the key is absent. Entries missing
// from an older stored map are filled from the defaults (in the result only).
QVariantMap applicationColors();
void saveApplicationColors(const QVariantMap &colors);
// 0xAARRGGBB <-> its signed decimal text.
QString argbText(quint32 argb);
std::optional<quint32> argbFromText(const QVariant &text);

// Base URL of the update server: $REWORDIX_UPDATE_SERVER when set (even empty), else the
// `updateServer` setting; "http://" is put in front of an address without a scheme. Empty means
// no update server.
QString updateServer();
// The Copyscape API URL: $REWORDIX_COPYSCAPE_ENDPOINT when set and non-empty, else the
// `copyscapeEndpoint` setting when non-empty, else the public endpoint.
QString copyscapeEndpoint();
// The opaque user identifier sent with the usage upload; a random UUID created and stored on
// first use.
QString userId();

// Adds "http://" to an address that has no scheme; addresses with one ("https://...") are kept.
QString withScheme(const QString &address);

} // namespace storage
