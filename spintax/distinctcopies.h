#pragma once

#include <QString>

#include <functional>
#include <optional>
#include <unordered_set>

namespace spintax {

class CopyReceiver;
class CopySource;

// Draws copies from a source and keeps them distinct by choice signature: while fewer
// signatures have been used than the source can reach, a copy whose signature was used
// before is drawn again until it is new; after that copies are taken as they come. The
// search for one new copy gives up after the source's attempt limit (the remaining
// combinations are then practically unreachable) and from then on takes copies as they come.
//
// Used signatures are kept as 128-bit hashes: 16 bytes a copy however long the article, and
// two different signatures would have to agree in all 128 bits to be taken for the same.
class DistinctCopies final
{
public:
    // Called every few thousand draws of a long search; returning false abandons it.
    using KeepGoing = std::function<bool()>;

    explicit DistinctCopies(CopySource &source);

    // Starts a document type: the source's batch starts again, the used signatures stay.
    void reset();
    // No value when the source gives none (unbalanced text) or keepGoing said stop.
    std::optional<QString> next(const KeepGoing &keepGoing = {});
    // The same choice of copies with the text handed over in pieces: the receiver is restarted
    // before every draw, so at the end it holds the copy taken. False when next() gives no value.
    bool nextInto(CopyReceiver &receiver, const KeepGoing &keepGoing = {});

    qsizetype usedCount() const { return qsizetype(used.size()); }

private:
    struct Key
    {
        size_t a = 0;
        size_t b = 0;
        bool operator==(const Key &) const = default;
    };
    struct KeyHash
    {
        size_t operator()(const Key &k) const noexcept
        {
            return k.a ^ (k.b * 0x9e3779b97f4a7c15ULL);
        }
    };
    static Key keyOf(const QList<int> &signature);
    // Draws until a copy is taken; `draw` makes one and returns its signature.
    template <typename Draw> bool take(Draw &&draw, const KeepGoing &keepGoing);

    CopySource &source;
    std::unordered_set<Key, KeyHash> used;
    quint64 reachable = 0;
    quint64 attemptLimit = 1;
    bool saturated = false;
};

} // namespace spintax
