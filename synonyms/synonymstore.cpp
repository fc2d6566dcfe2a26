#include "synonymstore.h"

#include "inflection.h"
#include "storage/language.h"
#include "synonymfiles.h"
#include "thesaurusimporter.h"

#include "storage/localdatabase.h"
#include "storage/ownerfiles.h"
#include "storage/settingsstore.h"

#include <QDateTime>
#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringDecoder>
#include <QVariant>

#include <cerrno>
#include <cstdio>

namespace {

constexpr QStringView goodMarker = u"__good::::";
constexpr QStringView betterMarker = u"__better::::";
constexpr QStringView bestMarker = u"__best::::";

const QStringList *find(const SynonymStore::SynonymMap &map, const QString &key)
{
    const auto it = map.constFind(key);
    return it == map.cend() ? nullptr : &it.value();
}

bool containsIgnoringCase(const QStringList *list, QStringView text)
{
    if (!list)
        return false;
    for (const QString &e : *list) {
        if (QStringView(e).trimmed().compare(text, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

// Removes the entries equal to `text` ignoring case and surrounding blanks; returns how many.
qsizetype removeIgnoringCase(QStringList &list, const QString &text)
{
    const QString t = text.trimmed();
    return list.removeIf([&](const QString &e) {
        return QStringView(e).trimmed().compare(t, Qt::CaseInsensitive) == 0;
    });
}

int wordCount(QStringView phrase)
{
    int words = 0;
    bool inWord = false;
    for (QChar c : phrase) {
        const bool blank = c == u' ';
        if (!blank && !inWord)
            ++words;
        inWord = !blank;
    }
    return words;
}

// Splits at every "|" and drops the empty fields at the end.
QList<QStringView> splitFields(QStringView text)
{
    QList<QStringView> fields = text.split(u'|');
    while (!fields.isEmpty() && fields.constLast().isEmpty())
        fields.removeLast();
    return fields;
}

QStringList splitColumn(const QVariant &v)
{
    return v.toString().split(u'|');
}

// The form lists are stored in: the non-empty trimmed entries joined by "|".
QString joinList(const QStringList &list)
{
    QStringList kept;
    kept.reserve(list.size());
    for (const QString &e : list) {
        const QString t = e.trimmed();
        if (!t.isEmpty())
            kept.append(t);
    }
    // An empty list is stored as an empty text, not as null (a null QString binds as NULL).
    const QString joined = kept.join(u'|');
    return joined.isNull() ? QStringLiteral("") : joined;
}

void reportSqlError(const QSqlQuery &q, const char *what)
{
    qWarning("Synonym table %s failed: %s", what, qPrintable(q.lastError().text()));
}

} // namespace

SynonymStore::SynonymStore(QObject *parent)
    : QObject(parent), thesaurusFolder(ThesaurusImporter::defaultFolder()),
      hunspellFolder(Inflection::defaultHunspellFolder()),
      wordNetFolder(Inflection::defaultWordNetFolder())
{
}

SynonymStore::~SynonymStore() = default;

QString SynonymStore::kindName(Kind kind)
{
    switch (kind) {
    case Kind::Blank:
        return QStringLiteral("blank");
    case Kind::Word:
        return QStringLiteral("word");
    case Kind::UserFavourite:
        return QStringLiteral("user-favourite");
    case Kind::Best:
        return QStringLiteral("best");
    case Kind::Better:
        return QStringLiteral("better");
    case Kind::Good:
        return QStringLiteral("good");
    case Kind::UserSynonym:
        return QStringLiteral("user");
    case Kind::Server:
        return QStringLiteral("server");
    case Kind::Inflected:
        return QStringLiteral("inflected");
    }
    return {};
}

// ---- current language ----------------------------------------------------------------------

void SynonymStore::langChanged(int index, bool rightToLeft)
{
    const QList<Language> &languages = Language::all();
    if (index < 0 || index >= languages.size())
        return;
    curLang = languages[index].code;
    storage::saveLanguageSettings(curLang, rightToLeft);
    loadSynonyms();
}

// ---- loading --------------------------------------------------------------------------------

bool SynonymStore::hasDatabase() const
{
    return db && db->isOpen();
}

void SynonymStore::loadSynonyms()
{
    emit loadingStarted();
    justImported = false;
    if (db && !db->isOpen())
        db->connect(tempDir);

    allUserSyn.clear();
    userSyn.clear();
    deletedSyn.clear();
    userFav.clear();
    goodfav.clear();
    betterfav.clear();
    bestfav.clear();

    readUserTables();
    inflection = std::make_unique<Inflection>(curLang, hunspellFolder, wordNetFolder);

    for (const Language &l : Language::all())
        SynonymFiles::promoteWaiting(tempDir, l.code);

    importThesaurusIfMissing();
    readVersions();

    emit readingFiles();
    loadSynFile();
    ++loads;
    emit loadingFinished(loads == 1);
}

bool SynonymStore::readUserTables()
{
    if (!hasDatabase())
        return false;
    if (!Language::isKnownCode(curLang)) {
        // The code names the tables; only the twelve known codes ever reach SQL.
        qWarning("Unknown language code \"%s\"", qPrintable(curLang));
        return false;
    }
    QSqlQuery q(db->database());
    // Columns by position: word_id, word, userfav, fav, usersyn, deletedsyn.
    if (!q.exec("select * from " + curLang + "_usersyn")) {
        reportSqlError(q, "reading");
        return false;
    }
    while (q.next()) {
        const QString key = storeKey(q.value(1).toString());
        if (q.isNull(4))
            userSyn.remove(key);
        else
            userSyn.insert(key, splitColumn(q.value(4)));
        if (q.isNull(5))
            deletedSyn.remove(key);
        else
            deletedSyn.insert(key, splitColumn(q.value(5)));
    }
    if (q.lastError().isValid()) {
        reportSqlError(q, "reading");
        return false;
    }

    // Columns by position: word_id, word, syn, syn_type.
    if (!q.exec("select * from " + curLang + "_fav")) {
        reportSqlError(q, "reading");
        return false;
    }
    SynonymMap *byType[] = {&goodfav, &betterfav, &bestfav, &userFav};
    while (q.next()) {
        bool isInt = false;
        const int type = q.value(3).toInt(&isInt);
        if (!isInt || type < 0 || type > 3)
            continue;
        const QString key = storeKey(q.value(1).toString());
        if (q.isNull(2))
            byType[type]->remove(key);
        else
            byType[type]->insert(key, splitColumn(q.value(2)));
    }
    if (q.lastError().isValid()) {
        reportSqlError(q, "reading");
        return false;
    }
    return true;
}

void SynonymStore::importThesaurusIfMissing()
{
    const QString dest = tempDir + SynonymFiles::listFile(curLang);
    if (importFailed.contains(curLang))
        return;
    // A list made by an earlier version of the import is made again, as long as nobody changed
    // it; lists from the update server are never touched.
    if (QFile::exists(dest) && !ThesaurusImporter::needsRebuild(dest))
        return;
    const QString source = ThesaurusImporter::installedThesaurus(curLang, thesaurusFolder);
    if (source.isEmpty())
        return;

    // A list from before the import kept a record cannot be told from one edited by hand: it is
    // kept beside the new one instead of being overwritten.
    if (QFile::exists(dest) && !QFile::exists(ThesaurusImporter::recordFile(dest))) {
        const QString kept = dest + QStringLiteral(".before-reimport");
        QFile::remove(kept);
        if (!QFile::rename(dest, kept)) {
            qWarning("Old synonym list not kept aside, left as it is: %s", qPrintable(dest));
            return;
        }
    }

    emit thesaurusImportStarted(curLang);
    // English lists put the more used words first; the counts are optional.
    const ThesaurusImporter::Options options =
        ThesaurusImporter::optionsFor(curLang, wordNetFolder);
    const ThesaurusImporter::Result r = ThesaurusImporter::importFile(
        source, dest,
        [this](qint64 done, qint64 total) { emit thesaurusImportProgress(done, total); }, options);
    if (r.ok) {
        justImported = true;
    } else {
        importFailed.insert(curLang);
        qWarning("Built-in thesaurus not imported: %s", qPrintable(r.error));
    }
    emit thesaurusImportFinished(curLang, r.ok);
}

void SynonymStore::readVersions()
{
    for (const Language &l : Language::all()) {
        const QString files[] = {SynonymFiles::listFile(l.code), SynonymFiles::favFile(l.code)};
        QHash<QString, double> *fields[] = {&synver, &favsynver};
        for (int i = 0; i < 2; ++i) {
            const SynonymFiles::Version v = SynonymFiles::readVersion(tempDir + files[i]);
            if (v.status == SynonymFiles::VersionStatus::Read) {
                fields[i]->insert(l.code, v.value);
            } else if (v.status == SynonymFiles::VersionStatus::Unparsable) {
                // Without a version the next update check downloads the file again.
                qWarning("No version line in %s", qPrintable(files[i]));
                setFileAside(files[i]);
            }
        }
    }
}

bool SynonymStore::loadSynFile()
{
    maxPhraseWord = 1;
    bool listOk = true;

    QFile list(tempDir + SynonymFiles::listFile(curLang));
    if (list.open(QIODevice::ReadOnly)) {
        allUserSyn.clear();
        const QByteArray data = list.readAll();
        const bool readOk = list.error() == QFileDevice::NoError;
        list.close();
        if (!readOk || !readListBody(data)) {
            listFileFailed();
            listOk = false;
        }
    }

    // The favourites file stands on its own: a damaged list does not take it along.
    QFile fav(tempDir + SynonymFiles::favFile(curLang));
    if (fav.open(QIODevice::ReadOnly)) {
        const QByteArray data = fav.readAll();
        const bool readOk = fav.error() == QFileDevice::NoError;
        fav.close();
        QString body;
        bool decoded = readOk;
        if (readOk) {
            const qsizetype nl = data.indexOf('\n');
            if (nl >= 0) {
                QStringDecoder utf8(QStringDecoder::Utf8);
                body = utf8.decode(QByteArrayView(data).sliced(nl + 1));
                decoded = !utf8.hasError();
            }
        }
        if (decoded) {
            readFavouritesBody(body);
        } else {
            // Read as an empty list it would hide the user's favourites without a word.
            favsynver.insert(curLang, 0);
            setFileAside(SynonymFiles::favFile(curLang));
        }
    }

    emit synonymsLoaded();
    return listOk;
}

void SynonymStore::setFileAside(const QString &name)
{
    const QString path = tempDir + name;
    if (storage::isSymLink(path)) {
        emit fileProblem(QStringLiteral("%1 cannot be read and is a symbolic link; it is left "
                                        "alone.")
                             .arg(name));
        return;
    }
    if (!storage::updateServer().isEmpty()) {
        // The update server sends the file again at the next start.
        QFile::remove(path);
        emit fileProblem(QStringLiteral("%1 cannot be read; it was deleted and will be "
                                        "downloaded again.")
                             .arg(name));
        return;
    }
    // Without an update server nothing would bring the file back: it is kept for rescue.
    const QString aside = name + QStringLiteral(".damaged-") +
                          QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-hhmmss"));
    if (std::rename(QFile::encodeName(path).constData(),
                    QFile::encodeName(tempDir + aside).constData()) == 0) {
        emit fileProblem(
            QStringLiteral("%1 cannot be read; it was moved aside to %2.").arg(name, aside));
    } else {
        emit fileProblem(QStringLiteral("%1 cannot be read and could not be moved aside: %2")
                             .arg(name, storage::systemError(errno)));
    }
}

bool SynonymStore::readListBody(const QByteArray &data)
{
    const qsizetype nl = data.indexOf('\n');
    if (nl < 0)
        return true; // the version line alone: an empty list
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(QByteArrayView(data).sliced(nl + 1));
    if (utf8.hasError())
        return false;

    allUserSyn.reserve(text.size() / 48);
    for (QStringView line : QStringView(text).tokenize(u'\n')) {
        const qsizetype bar = line.indexOf(u'|');
        if (bar < 0)
            continue;
        const QList<QStringView> fields = splitFields(line.sliced(bar + 1).trimmed());
        // A head word needs at least two synonym fields ("run|sprint" is not loaded).
        if (fields.size() < 2)
            continue;
        const QStringView head = line.first(bar).trimmed();
        const QString key = head.toString().toLower();
        const QStringList *deleted = find(deletedSyn, key);

        QStringList syns;
        syns.reserve(fields.size());
        for (QStringView field : fields) {
            const QStringView t = field.trimmed();
            if (t.isEmpty() || containsIgnoringCase(deleted, t) || syns.contains(field))
                continue;
            syns.append(field.toString());
        }
        allUserSyn.insert(key, syns);
        maxPhraseWord = qMax(maxPhraseWord, wordCount(head));
    }
    return true;
}

void SynonymStore::readFavouritesBody(QStringView body)
{
    SynonymMap *grades[] = {&goodfav, &betterfav, &bestfav};
    int grade = GoodType; // carried across lines: a line without a marker keeps the last grade
    for (QStringView line : body.tokenize(u'\n')) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        const qsizetype bar = line.indexOf(u'|');
        if (bar < 0) {
            // A bare head word withdraws its good favourites, the user's rows included.
            goodfav.remove(storeKey(line.toString()));
            continue;
        }
        const QString key = storeKey(line.first(bar).toString());
        QStringList lists[3];
        for (QStringView entry : splitFields(line.sliced(bar + 1))) {
            if (entry.startsWith(goodMarker)) {
                grade = GoodType;
                entry = entry.sliced(goodMarker.size());
            } else if (entry.startsWith(betterMarker)) {
                grade = BetterType;
                entry = entry.sliced(betterMarker.size());
            } else if (entry.startsWith(bestMarker)) {
                grade = BestType;
                entry = entry.sliced(bestMarker.size());
            }
            if (!entry.trimmed().isEmpty())
                lists[grade].append(entry.toString());
        }
        for (int g = 0; g < 3; ++g) {
            // The file's favourites first, then the user's rows for this word and grade.
            if (const QStringList *stored = find(*grades[g], key)) {
                for (const QString &e : *stored) {
                    if (!e.trimmed().isEmpty() && !lists[g].contains(e))
                        lists[g].append(e);
                }
            }
            grades[g]->insert(key, lists[g]);
        }
    }
}

void SynonymStore::listFileFailed()
{
    synver.insert(curLang, 0);
    setFileAside(SynonymFiles::listFile(curLang));
    allUserSyn.clear();
    if (justImported) {
        // The list was made from the built-in thesaurus a moment ago: no download would mend
        // it, so the language goes without a list until the next start.
        importFailed.insert(curLang);
        qWarning("The list made from the built-in thesaurus for %s cannot be read",
                 qPrintable(curLang));
        return;
    }
    qWarning("Error opening synonyms file %s", qPrintable(SynonymFiles::listFile(curLang)));
    emit synonymFileError();
}

// ---- downloads ------------------------------------------------------------------------------

double SynonymStore::fileVersion(const QString &code, bool favourites) const
{
    return (favourites ? favsynver : synver).value(code, 0.0);
}

bool SynonymStore::promoteDownloads(const QString &code)
{
    const bool ok = SynonymFiles::promoteWaiting(tempDir, code);
    const SynonymFiles::Version list =
        SynonymFiles::readVersion(tempDir + SynonymFiles::listFile(code));
    const SynonymFiles::Version fav =
        SynonymFiles::readVersion(tempDir + SynonymFiles::favFile(code));
    if (list.status == SynonymFiles::VersionStatus::Read)
        synver.insert(code, list.value);
    if (fav.status == SynonymFiles::VersionStatus::Read)
        favsynver.insert(code, fav.value);
    return ok;
}

// ---- candidates -----------------------------------------------------------------------------

QList<SynonymStore::Candidate> SynonymStore::candidateList(const QString &word) const
{
    QList<Candidate> list;
    list.reserve(candidateLimit + 4);
    list.append({QStringLiteral("(blank)"), QStringLiteral("(blank)"), Kind::Blank});
    list.append({word.toLower(), word, Kind::Word});

    const QString key = storeKey(word);
    const bool capital = !word.isEmpty() && word.at(0).isUpper();
    const QStringList *deleted = find(deletedSyn, key);
    const QStringList *server = find(allUserSyn, key);

    qsizetype limit = candidateLimit;
    auto listed = [&](const QString &lower) {
        for (const Candidate &c : std::as_const(list)) {
            if (c.entry == lower)
                return true;
        }
        return false;
    };
    auto take = [&](const QStringList *entries, Kind kind) {
        if (!entries)
            return;
        // The user's own entries are always offered and do not use up places; the community
        // favourites and the server list share the places left.
        const bool own = kind == Kind::UserFavourite || kind == Kind::UserSynonym;
        for (const QString &e : *entries) {
            if (!own && list.size() >= limit)
                return;
            const QString t = e.trimmed();
            if (t.isEmpty())
                continue;
            QString lower = t.toLower();
            if (listed(lower))
                continue;
            if (!own && containsIgnoringCase(deleted, t))
                continue;
            // A user synonym that the server list has too is offered as a server synonym.
            if (kind == Kind::UserSynonym && containsIgnoringCase(server, t))
                continue;
            QString display = lower;
            if (capital)
                display[0] = display[0].toUpper();
            list.append({std::move(lower), std::move(display), kind});
            if (own)
                ++limit;
        }
    };

    take(find(userFav, key), Kind::UserFavourite);
    take(find(bestfav, key), Kind::Best);
    take(find(betterfav, key), Kind::Better);
    take(find(goodfav, key), Kind::Good);
    take(find(userSyn, key), Kind::UserSynonym);
    take(server, Kind::Server);

    if (inflection && !hasOwnEntry(key) && list.size() < limit) {
        // Asked for as many as could be shown with the word's deleted entries left out.
        const int wanted = int(limit - list.size()) + int(deleted ? deleted->size() : 0);
        const QStringList inflected = inflection->inflectedSynonyms(
            word.trimmed(), [this](const QString &base) { return synonymsOfBase(base); }, wanted);
        take(&inflected, Kind::Inflected);
    }
    return list;
}

bool SynonymStore::hasOwnEntry(const QString &key) const
{
    for (const SynonymMap *map :
         {&userFav, &bestfav, &betterfav, &goodfav, &userSyn, &allUserSyn}) {
        if (map->contains(key))
            return true;
    }
    return false;
}

QStringList SynonymStore::synonymsOfBase(const QString &baseKey) const
{
    QStringList out;
    const QStringList *deleted = find(deletedSyn, baseKey);
    for (const SynonymMap *map :
         {&userFav, &bestfav, &betterfav, &goodfav, &userSyn, &allUserSyn}) {
        if (const QStringList *entries = find(*map, baseKey)) {
            for (const QString &e : *entries) {
                if (!containsIgnoringCase(deleted, e.trimmed()))
                    out.append(e);
            }
        }
    }
    return out;
}

// ---- edits ----------------------------------------------------------------------------------

void SynonymStore::addUserSynonym(const QString &word, const QString &synonym)
{
    if (synonym.trimmed().isEmpty())
        return;
    const QString key = storeKey(word);
    QStringList &list = userSyn[key];
    list.prepend(synonym);
    storeUserSyn(key, list);
}

void SynonymStore::markFavourite(const QString &word, const QString &synonym, Kind kind)
{
    const QString key = storeKey(word);
    if (kind == Kind::Server) {
        QStringList &list = goodfav[key];
        list.prepend(synonym);
        storeFav(key, GoodType, list);
    } else if (kind == Kind::UserSynonym) {
        QStringList &list = userFav[key];
        list.prepend(synonym);
        storeFav(key, UserFavType, list);
    }
}

void SynonymStore::unmarkFavourite(const QString &word, const QString &synonym, Kind kind)
{
    const QString key = storeKey(word);
    SynonymMap *map = nullptr;
    int type = GoodType;
    switch (kind) {
    case Kind::Good:
        map = &goodfav;
        type = GoodType;
        break;
    case Kind::Better:
        map = &betterfav;
        type = BetterType;
        break;
    case Kind::Best:
        map = &bestfav;
        type = BestType;
        break;
    case Kind::UserFavourite:
        map = &userFav;
        type = UserFavType;
        break;
    default:
        return;
    }
    QStringList &list = (*map)[key];
    removeIgnoringCase(list, synonym);
    storeFav(key, type, list);
    if (kind == Kind::UserFavourite) {
        // The user's own entry stays theirs as a plain synonym; stored, so that unstarring it
        // does not lose it at the next start.
        QStringList &own = userSyn[key];
        removeIgnoringCase(own, synonym);
        own.prepend(synonym);
        storeUserSyn(key, own);
    }
}

void SynonymStore::removeSynonym(const QString &word, const QString &synonym, Kind kind)
{
    if (synonym.trimmed().isEmpty())
        return;
    const QString key = storeKey(word);
    const bool own = kind == Kind::UserFavourite || kind == Kind::UserSynonym;
    const bool community = kind == Kind::Best || kind == Kind::Better || kind == Kind::Good ||
                           kind == Kind::Server || kind == Kind::Inflected;
    if (!own && !community)
        return; // the header entries are not stored anywhere

    bool held = false;
    auto removeFrom = [&](SynonymMap &map) {
        const auto it = map.find(key);
        const bool found = it != map.end() && removeIgnoringCase(*it, synonym) > 0;
        held = held || found;
        return found;
    };

    if (own) {
        const bool fromFav = removeFrom(userFav);
        const bool fromSyn = removeFrom(userSyn);
        if (fromFav)
            storeFav(key, UserFavType, userFav.value(key));
        if (fromSyn)
            storeUserSyn(key, userSyn.value(key));
    } else {
        SynonymMap *grades[] = {&goodfav, &betterfav, &bestfav};
        for (int g = 0; g < 3; ++g) {
            if (removeFrom(*grades[g]))
                storeFav(key, g, grades[g]->value(key));
        }
        removeFrom(allUserSyn); // the list file stays as it is; the deleted list hides it
    }
    // An inflected synonym is held by no list (the panel shows it as a server row): the deleted
    // list alone hides it from now on.
    const bool inflectedRow =
        (kind == Kind::Server || kind == Kind::Inflected) && !hasOwnEntry(key);
    if (!held && !inflectedRow)
        return;

    QStringList &deleted = deletedSyn[key];
    if (!containsIgnoringCase(&deleted, synonym.trimmed()))
        deleted.append(synonym.trimmed());
    storeDeleted(key, deleted);
}

void SynonymStore::learn(const QString &word, const QString &synonym, bool favourite)
{
    if (synonym.trimmed().isEmpty())
        return;
    // A learned alternative is kept like an added one, so it survives a restart.
    const QString key = storeKey(word);
    QStringList &list = (favourite ? userFav : userSyn)[key];
    list.prepend(synonym);
    if (favourite)
        storeFav(key, UserFavType, list);
    else
        storeUserSyn(key, list);
}

// The writes follow one pattern: look for the word's row, insert it when absent, else update the
// one column. A failure leaves the row as it was; the maps keep the edit.

void SynonymStore::storeUserSyn(const QString &key, const QStringList &list)
{
    storeUserSynColumn(key, UserSynColumn::UserSyn, list);
}

void SynonymStore::storeDeleted(const QString &key, const QStringList &list)
{
    if (!list.isEmpty())
        storeUserSynColumn(key, UserSynColumn::DeletedSyn, list);
}

void SynonymStore::storeUserSynColumn(const QString &key, UserSynColumn column,
                                      const QStringList &list)
{
    if (!hasDatabase() || !Language::isKnownCode(curLang))
        return;
    const QString table = curLang + "_usersyn";
    QSqlQuery q(db->database());
    q.prepare("select word_id from " + table + " where word=?");
    q.addBindValue(key);
    if (!q.exec()) {
        reportSqlError(q, "lookup");
        return;
    }
    const bool exists = q.next();
    const bool own = column == UserSynColumn::UserSyn;
    QSqlQuery w(db->database());
    if (!exists) {
        w.prepare("insert into " + table +
                  (own ? " values(null,?,null,null,?,null)" : " values(null,?,null,null,null,?)"));
        w.addBindValue(key);
        w.addBindValue(joinList(list));
    } else {
        w.prepare("update " + table + (own ? " set usersyn=?" : " set deletedsyn=?") +
                  " where word=?");
        w.addBindValue(joinList(list));
        w.addBindValue(key);
    }
    if (!w.exec())
        reportSqlError(w, "write");
}

void SynonymStore::storeFav(const QString &key, int synType, const QStringList &list)
{
    if (!hasDatabase() || !Language::isKnownCode(curLang))
        return;
    const QString table = curLang + "_fav";
    const QString type = QString::number(synType);
    QSqlQuery q(db->database());
    q.prepare("select word_id from " + table + " where word=? and syn_type=" + type);
    q.addBindValue(key);
    if (!q.exec()) {
        reportSqlError(q, "lookup");
        return;
    }
    const bool exists = q.next();
    QSqlQuery w(db->database());
    if (!exists) {
        w.prepare("insert into " + table + " values(null,?,?," + type + ")");
        w.addBindValue(key);
        w.addBindValue(joinList(list));
    } else {
        w.prepare("update " + table + " set syn=? where word=? and syn_type=" + type);
        w.addBindValue(joinList(list));
        w.addBindValue(key);
    }
    if (!w.exec())
        reportSqlError(w, "write");
}
