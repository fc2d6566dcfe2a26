// The synonym store's readers of stored data: the list file, the favourites file and the user's
// table columns (split at "|") from arbitrary bytes, loaded through the real store with a real
// database, then a candidate list and an edit. Every candidate list starts with its two header
// entries and stays within its limit plus the user's own entries.
#include "synonyms/synonymstore.h"

#include "storage/localdatabase.h"

#include <QCoreApplication>
#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

namespace {

QTemporaryDir *home = nullptr;
QTemporaryDir *thesauri = nullptr;
LocalDatabase *db = nullptr;
SynonymStore *store = nullptr;

void writeFile(const QString &name, const QByteArray &bytes)
{
    QFile f(home->path() + u'/' + name);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(bytes);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    static QCoreApplication app(*argc, *argv);
    home = new QTemporaryDir;
    thesauri = new QTemporaryDir; // empty: no built-in thesaurus is imported
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home->path() + QStringLiteral("/config")));
    qputenv("REWORDIX_UPDATE_SERVER", "");
    // The store reports damaged files as warnings; thousands a second would drown the fuzzer.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    db = new LocalDatabase;
    if (!db->connect(home->path() + u'/'))
        return 1;
    store = new SynonymStore;
    store->setTempDir(home->path() + u'/');
    store->setDatabase(db);
    store->setThesaurusFolder(thesauri->path());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // "list \0 favourites \0 userfav \0 fav \0 usersyn \0 deletedsyn \0 favourite row \0 word"
    const QList<QByteArray> parts =
        QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)).split('\0');
    auto part = [&parts](int i) { return i < parts.size() ? parts.at(i) : QByteArray(); };
    auto text = [&part](int i) { return QString::fromUtf8(part(i)); };

    writeFile(QStringLiteral("eng_syn.dat"), part(0));
    writeFile(QStringLiteral("eng_syn_fav.dat"), part(1));
    QSqlQuery q(db->database());
    q.exec(QStringLiteral("delete from eng_usersyn"));
    q.exec(QStringLiteral("delete from eng_fav"));
    const QString word = text(7);
    q.prepare(QStringLiteral("insert into eng_usersyn values(null,?,?,?,?,?)"));
    q.addBindValue(word);
    for (int i = 2; i <= 5; ++i)
        q.addBindValue(parts.size() > i ? QVariant(text(i)) : QVariant());
    q.exec();
    q.prepare(QStringLiteral("insert into eng_fav values(null,?,?,?)"));
    q.addBindValue(word);
    q.addBindValue(text(6));
    q.addBindValue(int(size % 5));
    q.exec();

    store->curLang = QStringLiteral("eng");
    store->loadSynonyms();

    for (const QString &w : {word, word.toUpper(), QString::fromUtf8(part(0).left(12))}) {
        const QList<SynonymStore::Candidate> list = store->candidateList(w);
        if (list.size() < 2 || list.at(0).kind != SynonymStore::Kind::Blank ||
            list.at(1).kind != SynonymStore::Kind::Word)
            std::abort();
    }
    if (!word.trimmed().isEmpty() && !text(6).trimmed().isEmpty()) {
        store->addUserSynonym(word, text(6));
        store->markFavourite(word, text(6), SynonymStore::Kind::UserSynonym);
        store->removeSynonym(word, text(6), SynonymStore::Kind::UserFavourite);
    }
    return 0;
}
