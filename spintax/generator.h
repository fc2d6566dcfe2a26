#pragma once

#include "spinrandom.h"

#include <QHash>
#include <QList>
#include <QString>

#include <array>
#include <memory>
#include <optional>
#include <vector>

namespace spintax {

class SpinTree;

// One generated copy and its choice signature: the index of the alternative
// chosen in every group, a nested group's index before the index of the group
// around it, groups in text order otherwise. Two copies are the same
// combination exactly when their signatures are equal.
struct SpinResult
{
    QString text;
    QList<int> signature;
};

// Key: the first word of a group's output followed by the output position of
// its first non-space character («quick12»). Value: source start (the `{`),
// source end (one past the `}`), output start and output end (first and one
// past the last non-space character of the group's output).
using SpunMap = QHash<QString, std::array<int, 4>>;

// The spin generator with its state: the random generator `m_rand` (absent
// until a call needs it), the sequential copy counter `idx`, `countSmall` and
// the signature being built.
//
// Sequential mode (random = false): the first `countSmall` copies of a batch
// take, in every top-level group and every group that holds groups, the
// alternative `idx` mod n, so copy 0 reads every first alternative, copy 1
// every second one, and so on; simple groups nested in another group are
// always random; from copy `countSmall` on every choice is random.
class Generator final
{
public:
    // Everything `resetBatch` and the posting feature's title copy need to put
    // the generator back as it was.
    struct State
    {
        std::optional<SpinRandom> rand; // `m_rand`, absent until needed
        int idx = 0;
        int countSmall = 2;
        std::optional<QString> article;
    };

    Generator();
    ~Generator();
    Generator(const Generator &) = delete;
    Generator &operator=(const Generator &) = delete;

    // `m_rand` absent, `idx` = 0; `articleText` is the text whose top-level
    // groups give `countSmall` when `m_rand` is next created.
    void resetBatch(const QString &articleText);
    // The article `countSmall` is computed from, without touching `m_rand` or
    // `idx` (the editor's main text). Without an article the text of the call
    // that creates `m_rand` is used.
    void setArticle(const QString &articleText);
    // A fixed seed for every newly created `m_rand` (tests, the command line);
    // nullopt seeds from the clock.
    void setSeed(std::optional<quint64> seed);

    // A spun copy, or no value when a `{` has no partner. Callers pass
    // outer = true; then `idx` grows by one in sequential mode and the
    // signature is that of exactly this copy.
    std::optional<SpinResult> anySpin(const QString &text, bool random, bool outer = true,
                                      bool saveToMap = false);
    // Same result and state changes as anySpin(tree.source(), random, true),
    // without parsing the text again: the fast path for batches.
    SpinResult anySpin(const SpinTree &tree, bool random);
    // A copy of a long article made part by part, so that no tree of the whole article is
    // needed: the article cut with SpinTree::topLevelParts, each part parsed alone and passed
    // here in order (the copy's text is appended to `out`), then finishCopy(). Choices, random
    // numbers drawn and the state afterwards are those of anySpin(whole article's tree, random),
    // as a choice depends only on its group and on the order in which groups are met. Set the
    // whole article with resetBatch() first. finishCopy() returns the copy's signature, the
    // parts' signatures one after the other, as groups are in text order across parts.
    void appendSpinPart(const SpinTree &part, bool random, QString &out);
    QList<int> finishCopy(bool random);
    // Flat spin: top-level groups keep their braces and bars, every group
    // inside them is resolved as if it were a top-level group. A `{` without
    // partner gives the empty string.
    QString spinSingle(const QString &text, bool random, bool saveToMap = false);

    int idx() const { return index; }
    int countSmall() const { return smallest; }
    bool hasRandom() const { return rand.has_value(); }
    const SpunMap &spunMap() const { return map; }

    State saveState() const;
    void restoreState(const State &state);

private:
    struct Frame
    {
        int item;
        int end;
        int group; // group whose alternative this frame walks, -1 at the top
        int choice;
        int outStart;
    };

    void ensureRandom(const QString &callText);
    const SpinTree *treeFor(const QString &text);
    // Resolves the items [first, first + count) of `tree` into out[pos...].
    // Groups directly in these items are resolved with `outer`, deeper ones
    // with outer = false.
    void walk(const SpinTree &tree, int first, int count, bool random, bool outer, bool saveToMap,
              QChar *out, qsizetype &pos);
    int choose(int n, bool sequential);
    void record(const QChar *out, int outStart, int outEnd, int srcStart, int srcEnd);

    std::optional<SpinRandom> rand; // `m_rand`
    std::optional<quint64> seed;
    std::optional<QString> article;
    int index = 0;    // `idx`
    int smallest = 2; // `countSmall`
    QList<int> s;     // signature of the copy being built
    SpunMap map;
    std::vector<Frame> stack;
    std::vector<int> sigScratch;
    // The last text parsed by the text overloads, reused while it is unchanged.
    std::unique_ptr<SpinTree> cachedTree;
    bool cachedValid = false;
};

// First-alternative reading: every group replaced by its first alternative
// (nested groups resolved the same way), then every run of spaces made one
// space. No value when a `{` has no partner.
std::optional<QString> anySpin2(const QString &text, bool outer = true);
// Top-level groups keep their braces and bars; every group inside them becomes
// its first-alternative reading: «x {a {b|c}|d} y» gives «x {a b|d} y». A `{`
// without partner gives the empty string.
QString makeFlat(const QString &text);
// Smallest number of pieces (split at every bar, nested bars included, empty
// pieces at the end dropped) among the top-level groups; 0 for a text without
// groups or with a `{` that has no partner.
int countSmall(const QString &articleText);
// Number of distinct copies by the combination formula, saturating at
// 2^64 - 1; 0 for an empty text or a `{` without partner. A simple group's
// trailing empty alternatives count although the generator never picks them.
quint64 cT(const QString &text);
// Number of distinct signatures the generator can actually produce,
// saturating at 2^64 - 1; 0 for a `{` without partner.
quint64 reachableCombinations(const QString &text);
// Deletes the first alternative of every group, nested ones included; a group
// left with one alternative becomes plain text: «{a|b|c} and {x|y}» gives
// «{b|c} and y». A `{` without partner stays where it is.
QString removeOriginalWord(const QString &text);

// The five status bar texts.
struct StatusFigures
{
    QString spunWords, totalWords, unique, quality, paragraphs;
    bool operator==(const StatusFigures &) const = default;
};
// No value when a `{` has no partner: the labels keep their texts.
std::optional<StatusFigures> calcUniqueness(const QString &text);

// The status figures of a long text gathered part by part, so that no tree of the whole text is
// needed: the text cut with SpinTree::topLevelParts, each part parsed and added in order, and
// the words of the whole text added (in pieces of any size). calcUniqueness is the same with the
// whole text as one part.
class StatusCounter final
{
public:
    StatusCounter();
    ~StatusCounter();
    StatusCounter(const StatusCounter &) = delete;
    StatusCounter &operator=(const StatusCounter &) = delete;

    void addPart(const SpinTree &part);
    void addWords(QStringView text);
    std::optional<StatusFigures> figures() const;

private:
    struct State;
    std::unique_ptr<State> state;
};

} // namespace spintax
