#include "rapidsynonyms.h"

#include "synonymstore.h"

QStringList rapidSynonyms(const SynonymStore &store, const QString &word)
{
    const QString key = word.toLower();
    const QStringList deleted = store.deletedSyn.value(key);
    QStringList list;
    const auto take = [&](const QStringList &source) {
        for (const QString &synonym : source) {
            if (synonym.trimmed().isEmpty() || list.contains(synonym) ||
                deleted.contains(synonym, Qt::CaseInsensitive))
                continue;
            list.append(synonym);
        }
    };
    take(store.userSyn.value(key));
    take(store.allUserSyn.value(key));
    return list;
}
