#include "synonymdownloads.h"

#include "transferspeed.h"

#include "storage/language.h"
#include "synonyms/synonymfiles.h"

const QList<SynonymDownload> &SynonymDownload::all()
{
    static const QList<SynonymDownload> table = [] {
        struct Row
        {
            const char *word; // the language as the status text names it
            bool followsOwnList;
            bool frenchOnce;
        };
        // In the order of Language::all().
        const Row rows[] = {
            {"english", true, false},   {"hebrew", true, false},      {"arabic", true, false},
            {"romanian", false, false}, {"german", false, false},     {"Spanish", false, false},
            {"Swedish", false, false},  {"Italian", false, false},    {"French", false, true},
            {"Dutch", false, false},    {"Portuguese", false, false}, {"Bulgarian", false, false},
        };
        QList<SynonymDownload> list;
        const QList<Language> &languages = Language::all();
        for (qsizetype i = 0; i < languages.size(); ++i) {
            const Language &l = languages[i];
            const Row &row = rows[i];
            const QString word = QString::fromLatin1(row.word);
            const bool english = l.code == u"eng";

            SynonymDownload list_;
            list_.code = l.code;
            list_.group = int(i / 3);
            list_.path = l.listPath;
            list_.statusText = "Downloading the new " + word + " database: ";
            list_.waitingFile = SynonymFiles::waitingListFile(l.code);
            list_.fileInUse = SynonymFiles::listFile(l.code);
            list_.byteUnit = english ? transferspeed::shortByteUnit : transferspeed::longByteUnit;
            list_.tellsUser = english;
            list_.alwaysReloads = english;
            list.append(list_);

            SynonymDownload fav = list_;
            fav.favourites = true;
            fav.path = l.favPath;
            fav.statusText = "Downloading the new " + word + " favorites database: ";
            fav.waitingFile = SynonymFiles::waitingFavFile(l.code);
            fav.fileInUse = SynonymFiles::favFile(l.code);
            fav.byteUnit = transferspeed::longByteUnit;
            fav.tellsUser = false;
            fav.alwaysReloads = false;
            fav.followsOwnList = row.followsOwnList;
            fav.oncePerRun = row.frenchOnce;
            list.append(fav);
        }
        return list;
    }();
    return table;
}

void SynonymDownloadWalk::started(int index)
{
    const QList<SynonymDownload> &table = SynonymDownload::all();
    if (index >= 0 && index < table.size() && table[index].oncePerRun)
        frenchFavouritesDone = true;
}

int SynonymDownloadWalk::next(int after, const std::array<double, 4> &latest)
{
    const QList<SynonymDownload> &table = SynonymDownload::all();
    for (int i = qMax(0, after + 1); i < table.size(); ++i) {
        const SynonymDownload &d = table[i];
        if (localVersion(d.code, d.favourites) >= latest[size_t(d.group)])
            continue;
        if (d.oncePerRun && frenchFavouritesDone)
            continue;
        const bool rightAfterOwnList = d.followsOwnList && after == i - 1 && after >= 0;
        if (!rightAfterOwnList && !enabled(d.code))
            continue;
        return i;
    }
    return -1;
}
