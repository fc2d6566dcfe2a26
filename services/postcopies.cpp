#include "postcopies.h"

#include "spintax/generator.h"

PostCopies::PostCopies(spintax::Generator &generator, const QString &article)
    : generator(generator), tree(spintax::SpinTree::parse(article))
{
    // The reachable count, not the combination formula: trailing empty alternatives count in
    // the formula but are never generated, and waiting for them would never end.
    if (tree)
        spinner.emplace(generator, *tree, spintax::reachableCombinations(article));
}

QString PostCopies::next()
{
    Q_ASSERT(spinner);
    return spinner->next(false).text;
}

std::optional<QString> PostCopies::spinTitle(spintax::Generator &generator, const QString &title)
{
    const spintax::Generator::State saved = generator.saveState();
    spintax::Generator::State fresh = saved;
    fresh.rand.reset();
    fresh.idx = 0;
    generator.restoreState(fresh);
    const std::optional<spintax::SpinResult> copy = generator.anySpin(title, false);
    generator.restoreState(saved);
    if (!copy)
        return std::nullopt;
    return copy->text;
}
