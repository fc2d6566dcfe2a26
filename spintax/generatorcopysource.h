#pragma once

#include "copysource.h"
#include "spintree.h"

#include <optional>

namespace spintax {

class Generator;

// Copies of one article from the spin generator, in sequential mode (random = false): the
// first copies of a batch read every first alternative, then every second one, and so on,
// then random choices. The article is parsed once for the whole export.
class GeneratorCopySource final : public CopySource
{
public:
    GeneratorCopySource(Generator &generator, const QString &article);
    // Gives the generator back the article its sequential counter followed before the export
    // (the editor's text), so the flat view does not go on with the exported one's.
    ~GeneratorCopySource() override;
    GeneratorCopySource(const GeneratorCopySource &) = delete;
    GeneratorCopySource &operator=(const GeneratorCopySource &) = delete;

    bool balanced() const override { return tree.has_value(); }
    void reset() override;
    std::optional<Copy> next() override;
    quint64 reachable() const override { return combinations; }
    quint64 attemptLimit() const override { return limit; }

    // Draws needed to meet the least likely combination at least once with probability
    // 1 - e^-30, between 10,000 and 10,000,000.
    static quint64 attemptLimitFor(const SpinTree &tree);

private:
    Generator &generator;
    std::optional<QString> previousArticle;
    QString article;
    std::optional<SpinTree> tree;
    quint64 combinations = 0;
    quint64 limit = 1;
};

} // namespace spintax
