#pragma once

#include "synonymstore.h"

#include <QList>
#include <QString>
#include <QStringList>

// The rows of the Quick Spin table for one word, without widgets: the two header rows
// ("(blank)" and the word), then the candidates in eight groups, always in this order:
//
//   1 manual favourites   alternatives of the text's group, starred in this fill
//   2 manual entries      alternatives of the text's group that no list holds
//   3 user favourites     4 best   5 better   6 good favourites
//   7 user synonyms       8 server synonyms
//
// Every row keeps its text as shown and its entry: the text lower-cased, as compared and as
// written into a spin group. curSyns() is the entries in row order, so entry i belongs to row i.
// Rows only ever enter at the top or the bottom of their group, which keeps the groups in order;
// the first row of a group is 2 plus the sizes of the groups before it.
class QuickSpinModel final
{
public:
    enum class RowKind
    {
        Blank,
        Word,
        ManualFavourite,
        Manual,
        UserFavourite,
        Best,
        Better,
        Good,
        UserSynonym,
        Server
    };

    struct Row
    {
        QString text;  // as shown
        QString entry; // lower-cased
        RowKind kind = RowKind::Server;
        bool added = false; // a user synonym added in this fill (grade code "2")

        friend bool operator==(const Row &, const Row &) = default;
    };

    static constexpr int headerRows = 2;
    static inline const QString blankText = QStringLiteral("(blank)");

    // Rows for `word` from its candidate list (SynonymStore::candidateList). An empty word gives
    // no rows at all.
    void fill(const QString &word, const QList<SynonymStore::Candidate> &candidates);
    void clear();

    // The row of one alternative of the text's spin group: the listed row that holds it
    // (compared lower-cased), else a new manual row at the bottom of the manual group. Empty
    // alternatives have no row (-1).
    struct Placement
    {
        int row = -1;
        bool inserted = false;
    };
    Placement placeAlternative(const QString &alternative);

    // A new user synonym at the top of the user-synonym group; returns its row.
    int addUserSynonym(const QString &text);

    // Moves `row` to the top of the group of `to`; returns its new row, or -1 when `row` is not a
    // candidate row.
    int moveRow(int row, RowKind to);

    // Drops a candidate row (header rows stay).
    bool removeRow(int row);

    const QList<Row> &rows() const { return list; }
    int rowCount() const { return int(list.size()); }
    const QString &word() const { return currentWord; }
    QStringList curSyns() const;
    // The manual entries placed by the last group fill, as written.
    const QStringList &manualAL() const { return manual; }
    // Row of `entry` (lower-cased comparison), -1 when not listed.
    int indexOfEntry(const QString &entry) const;

    int groupSize(RowKind kind) const;
    int groupStart(RowKind kind) const;

    // ---- what a row looks like and what the edits turn it into ---------------------------------

    // "1" user favourite, "2" user synonym, "3" community favourite, "4" server synonym,
    // "5" manual favourite, "6" manual entry; empty for the header rows.
    static QString typeCode(RowKind kind);
    // "3" user favourite, "2" best, "1" better, "0" good, user synonym ("2" when added in this
    // fill) and server synonym; empty for manual and header rows.
    static QString gradeCode(const Row &row);
    // Resource paths of the category icon (column 0) and the star (column 1); empty for the
    // header rows.
    static QString categoryIcon(RowKind kind);
    static QString starIcon(RowKind kind);

    static bool isCandidate(RowKind kind)
    {
        return kind != RowKind::Blank && kind != RowKind::Word;
    }
    // Gold star: user, community and manual favourites.
    static bool isFavourite(RowKind kind);
    // Where the favourite action moves a row: starring a server synonym makes a good favourite,
    // unstarring any community favourite a server synonym, and so on. The kind itself for the
    // header rows.
    static RowKind favouriteTarget(RowKind kind);
    // Where "Learn" moves a manual row (manual favourite -> user favourite, manual entry ->
    // user synonym); the kind itself for every other row.
    static RowKind learnTarget(RowKind kind);
    // The store's name for the kind of a listed row.
    static SynonymStore::Kind storeKind(RowKind kind);
    static RowKind rowKind(SynonymStore::Kind kind);

private:
    int insertAt(int index, Row row);

    QList<Row> list;
    QString currentWord;
    QStringList manual;
};
