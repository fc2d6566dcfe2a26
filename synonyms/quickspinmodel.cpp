#include "quickspinmodel.h"

using RowKind = QuickSpinModel::RowKind;

void QuickSpinModel::clear()
{
    list.clear();
    currentWord.clear();
    manual.clear();
}

void QuickSpinModel::fill(const QString &word, const QList<SynonymStore::Candidate> &candidates)
{
    clear();
    currentWord = word;
    if (word.isEmpty())
        return;
    list.reserve(candidates.size() + 4);
    list.append({blankText, blankText, RowKind::Blank, false});
    list.append({word, word.toLower(), RowKind::Word, false});
    for (const SynonymStore::Candidate &c : candidates) {
        if (c.kind == SynonymStore::Kind::Blank || c.kind == SynonymStore::Kind::Word)
            continue;
        // The candidate list comes in the group order already, so appending keeps it.
        list.append({c.display, c.entry, rowKind(c.kind), false});
    }
}

QStringList QuickSpinModel::curSyns() const
{
    QStringList entries;
    entries.reserve(list.size());
    for (const Row &r : list)
        entries.append(r.entry);
    return entries;
}

int QuickSpinModel::indexOfEntry(const QString &entry) const
{
    const QString lower = entry.toLower();
    for (int i = 0; i < list.size(); ++i) {
        if (list[i].entry == lower)
            return i;
    }
    return -1;
}

int QuickSpinModel::groupSize(RowKind kind) const
{
    int n = 0;
    for (const Row &r : list)
        n += r.kind == kind ? 1 : 0;
    return n;
}

int QuickSpinModel::groupStart(RowKind kind) const
{
    int n = 0;
    for (const Row &r : list)
        n += int(r.kind) < int(kind) ? 1 : 0;
    return n;
}

int QuickSpinModel::insertAt(int index, Row row)
{
    list.insert(index, std::move(row));
    return index;
}

QuickSpinModel::Placement QuickSpinModel::placeAlternative(const QString &alternative)
{
    const QString text = alternative.trimmed();
    if (text.isEmpty() || list.isEmpty())
        return {};
    const int listed = indexOfEntry(text);
    if (listed >= 0)
        return {listed, false};
    manual.append(text);
    const int at = groupStart(RowKind::Manual) + groupSize(RowKind::Manual);
    return {insertAt(at, {text, text.toLower(), RowKind::Manual, false}), true};
}

int QuickSpinModel::addUserSynonym(const QString &text)
{
    if (list.isEmpty())
        return -1;
    return insertAt(groupStart(RowKind::UserSynonym),
                    {text, text.toLower(), RowKind::UserSynonym, true});
}

int QuickSpinModel::moveRow(int row, RowKind to)
{
    if (row < 0 || row >= list.size() || !isCandidate(list[row].kind) || !isCandidate(to))
        return -1;
    Row moved = list.takeAt(row);
    moved.kind = to;
    moved.added = false;
    return insertAt(groupStart(to), std::move(moved));
}

bool QuickSpinModel::removeRow(int row)
{
    if (row < 0 || row >= list.size() || !isCandidate(list[row].kind))
        return false;
    list.removeAt(row);
    return true;
}

QString QuickSpinModel::typeCode(RowKind kind)
{
    switch (kind) {
    case RowKind::UserFavourite:
        return QStringLiteral("1");
    case RowKind::UserSynonym:
        return QStringLiteral("2");
    case RowKind::Best:
    case RowKind::Better:
    case RowKind::Good:
        return QStringLiteral("3");
    case RowKind::Server:
        return QStringLiteral("4");
    case RowKind::ManualFavourite:
        return QStringLiteral("5");
    case RowKind::Manual:
        return QStringLiteral("6");
    case RowKind::Blank:
    case RowKind::Word:
        break;
    }
    return {};
}

QString QuickSpinModel::gradeCode(const Row &row)
{
    switch (row.kind) {
    case RowKind::UserFavourite:
        return QStringLiteral("3");
    case RowKind::Best:
        return QStringLiteral("2");
    case RowKind::Better:
        return QStringLiteral("1");
    case RowKind::Good:
    case RowKind::Server:
        return QStringLiteral("0");
    case RowKind::UserSynonym:
        return row.added ? QStringLiteral("2") : QStringLiteral("0");
    case RowKind::ManualFavourite:
    case RowKind::Manual:
    case RowKind::Blank:
    case RowKind::Word:
        break;
    }
    return {};
}

QString QuickSpinModel::categoryIcon(RowKind kind)
{
    switch (kind) {
    case RowKind::ManualFavourite:
    case RowKind::Manual:
        return QStringLiteral(":/img/user_edit.png");
    case RowKind::UserFavourite:
    case RowKind::UserSynonym:
        return QStringLiteral(":/img/user_add.png");
    case RowKind::Best:
        return QStringLiteral(":/img/medal_gold_3.png");
    case RowKind::Better:
        return QStringLiteral(":/img/medal_bronze_3.png");
    case RowKind::Good:
    case RowKind::Server:
        return QStringLiteral(":/img/medal_silver_3.png");
    case RowKind::Blank:
    case RowKind::Word:
        break;
    }
    return {};
}

QString QuickSpinModel::starIcon(RowKind kind)
{
    if (!isCandidate(kind))
        return {};
    return isFavourite(kind) ? QStringLiteral(":/img/award_star_gold_3.png")
                             : QStringLiteral(":/img/award_star_silver_3.png");
}

bool QuickSpinModel::isFavourite(RowKind kind)
{
    switch (kind) {
    case RowKind::ManualFavourite:
    case RowKind::UserFavourite:
    case RowKind::Best:
    case RowKind::Better:
    case RowKind::Good:
        return true;
    default:
        return false;
    }
}

RowKind QuickSpinModel::favouriteTarget(RowKind kind)
{
    switch (kind) {
    case RowKind::Server:
        return RowKind::Good;
    case RowKind::UserSynonym:
        return RowKind::UserFavourite;
    case RowKind::Manual:
        return RowKind::ManualFavourite;
    case RowKind::Best:
    case RowKind::Better:
    case RowKind::Good:
        return RowKind::Server;
    case RowKind::UserFavourite:
        return RowKind::UserSynonym;
    case RowKind::ManualFavourite:
        return RowKind::Manual;
    case RowKind::Blank:
    case RowKind::Word:
        break;
    }
    return kind;
}

RowKind QuickSpinModel::learnTarget(RowKind kind)
{
    if (kind == RowKind::ManualFavourite)
        return RowKind::UserFavourite;
    if (kind == RowKind::Manual)
        return RowKind::UserSynonym;
    return kind;
}

SynonymStore::Kind QuickSpinModel::storeKind(RowKind kind)
{
    using K = SynonymStore::Kind;
    switch (kind) {
    case RowKind::Blank:
        return K::Blank;
    case RowKind::Word:
        return K::Word;
    case RowKind::UserFavourite:
        return K::UserFavourite;
    case RowKind::Best:
        return K::Best;
    case RowKind::Better:
        return K::Better;
    case RowKind::Good:
        return K::Good;
    case RowKind::UserSynonym:
        return K::UserSynonym;
    case RowKind::Server:
    case RowKind::ManualFavourite:
    case RowKind::Manual:
        break;
    }
    return K::Server;
}

RowKind QuickSpinModel::rowKind(SynonymStore::Kind kind)
{
    using K = SynonymStore::Kind;
    switch (kind) {
    case K::Blank:
        return RowKind::Blank;
    case K::Word:
        return RowKind::Word;
    case K::UserFavourite:
        return RowKind::UserFavourite;
    case K::Best:
        return RowKind::Best;
    case K::Better:
        return RowKind::Better;
    case K::Good:
        return RowKind::Good;
    case K::UserSynonym:
        return RowKind::UserSynonym;
    case K::Server:
    case K::Inflected: // shown and edited like a server synonym
        break;
    }
    return RowKind::Server;
}
