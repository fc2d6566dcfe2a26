#pragma once

#include "copysource.h"
#include "spintree.h"

#include <optional>
#include <vector>

namespace spintax {

class Generator;

// Copies of one article from the spin generator, in sequential mode (random = false): the
// first copies of a batch read every first alternative, then every second one, and so on,
// then random choices. An article of one part (SpinTree::topLevelParts with `partSize`) is
// parsed once for the whole export. A longer one is parsed part by part for every copy, one
// part's tree at a time, and its copies are handed over part by part (nextInto), so neither the
// whole article's tree nor a whole copy needs to exist; the copies are the same.
class GeneratorCopySource final : public CopySource
{
public:
    static constexpr qsizetype defaultPartSize = qsizetype(1) << 20;

    GeneratorCopySource(Generator &generator, const QString &article,
                        qsizetype partSize = defaultPartSize);
    // Gives the generator back the article its sequential counter followed before the export
    // (the editor's text), so the flat view does not go on with the exported one's.
    ~GeneratorCopySource() override;
    GeneratorCopySource(const GeneratorCopySource &) = delete;
    GeneratorCopySource &operator=(const GeneratorCopySource &) = delete;

    bool balanced() const override { return partEnds.has_value(); }
    void reset() override;
    std::optional<Copy> next() override;
    std::optional<QList<int>> nextInto(CopyReceiver &receiver) override;
    quint64 reachable() const override { return combinations; }
    quint64 attemptLimit() const override { return limit; }

    // Draws needed to meet the least likely combination at least once with probability
    // 1 - e^-30, between 10,000 and 10,000,000.
    static quint64 attemptLimitFor(const SpinTree &tree);

private:
    Generator &generator;
    std::optional<QString> previousArticle;
    QString article;
    std::optional<std::vector<qsizetype>> partEnds; // no value: unbalanced
    std::optional<SpinTree> tree;                   // the whole article's, when it is one part
    quint64 combinations = 0;
    quint64 limit = 1;
};

} // namespace spintax
