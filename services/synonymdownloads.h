#pragma once

#include <QList>
#include <QString>
#include <QStringView>

#include <array>
#include <functional>

// The 24 list downloads of the synonym channel as one table: for each language in the order of
// the language box, first its synonym list, then its favourites list. Every download is handled by
// the same code; the rows say where they differ.
struct SynonymDownload
{
    QString code; // "eng"
    bool favourites = false;
    int group = 0;        // index of the language's field in the version answer (0..3)
    QString path;         // on the server: "/english_syn4.dat", "/english_fav_syn4.dat"
    QString statusText;   // "Downloading the new english database: "
    QString waitingFile;  // "eng_syn2.dat", "eng_syn_fav2.dat"
    QString fileInUse;    // "eng_syn.dat", "eng_syn_fav.dat"
    QStringView byteUnit; // speed unit below 1 kB/s

    // The English list: a failure to write it is shown to the user ("Error 001", "Error 003"),
    // and its arrival reloads the current language whatever language that is.
    bool tellsUser = false;
    bool alwaysReloads = false;
    // English, Hebrew and Arabic favourites, when they come right after their own list, follow
    // without looking at the language's update switch again.
    bool followsOwnList = false;
    // The French favourites are downloaded at most once per run.
    bool oncePerRun = false;

    static const QList<SynonymDownload> &all();
};

// Chooses the downloads one after the other.
class SynonymDownloadWalk final
{
public:
    // The local version of a file in use (the language's list or favourites), 0 when absent.
    using LocalVersion = std::function<double(const QString &code, bool favourites)>;
    // Whether the language's "Language Update" switch is on.
    using Enabled = std::function<bool(const QString &code)>;

    SynonymDownloadWalk(LocalVersion localVersion, Enabled enabled)
        : localVersion(std::move(localVersion)), enabled(std::move(enabled))
    {
    }

    // The first download after index `after` (-1: from the start) whose local version is lower
    // than `latest[group]` and whose language is switched on; -1 when none is left.
    int next(int after, const std::array<double, 4> &latest);

    // Record that download `index` has been started.
    void started(int index);

private:
    LocalVersion localVersion;
    Enabled enabled;
    bool frenchFavouritesDone = false;
};
