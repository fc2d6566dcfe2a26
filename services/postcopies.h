#pragma once

#include "spintax/distinctspinner.h"
#include "spintax/spintree.h"

#include <QString>

#include <optional>

namespace spintax {
class Generator;
}

// The texts of one posting run, from the editor's generator: one title for every site and one
// copy of the article per site, each copy a combination not posted before in this run while the
// article still has unused ones (the rule bulk export keeps copies distinct by).
class PostCopies final
{
public:
    // Parses the article once; the copies continue the generator's sequential state.
    PostCopies(spintax::Generator &generator, const QString &article);
    Q_DISABLE_COPY_MOVE(PostCopies)

    // False when a brace of the article has no partner: there is nothing to post.
    bool balanced() const { return spinner.has_value(); }
    // The next copy; only when balanced().
    QString next();

    // One copy of the title as the first copy of a fresh batch (copy counter 0, new random
    // generator); the generator's state is put back afterwards, so the article's copies do not
    // notice. No value when a brace of the title has no partner.
    static std::optional<QString> spinTitle(spintax::Generator &generator, const QString &title);

private:
    spintax::Generator &generator;
    std::optional<spintax::SpinTree> tree;
    std::optional<spintax::DistinctSpinner> spinner;
};
