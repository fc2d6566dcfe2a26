// libFuzzer target for the spin engine: parsing, generation, the readings,
// the counts and the status figures. Beyond "does not crash" it checks what
// must hold for any text: every operation agrees on whether the text is
// balanced, outputs never grow past the input, a signature has one index per
// resolved group, and the 64-bit counts are the exact counts or saturated.

#include "spintax/combinationcount.h"
#include "spintax/generator.h"
#include "spintax/spintree.h"

#include <QString>

#include <gmpxx.h>

#include <cstdint>
#include <cstdlib>

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

// The first byte chooses how the rest becomes text: as UTF-8, or one byte per
// character over a small alphabet so that braces and bars are dense.
QString textFrom(const uint8_t *data, size_t size)
{
    if (size == 0)
        return {};
    const char *bytes = reinterpret_cast<const char *>(data + 1);
    const qsizetype length = qsizetype(size - 1);
    if (data[0] & 1)
        return QString::fromUtf8(bytes, length);
    static const char16_t alphabet[] = u"{}|a \n{|";
    QString text(length, Qt::Uninitialized);
    for (qsizetype i = 0; i < length; ++i)
        text[i] = QChar(alphabet[uint8_t(bytes[i]) % 8]);
    return text;
}

void checkCount(spintax::CountRule rule, const spintax::SpinTree &tree, quint64 saturating)
{
    const mpz_class exact = spintax::countCombinations<mpz_class>(tree, rule);
    if (exact.fits_ulong_p())
        check(saturating == quint64(exact.get_ui()));
    else
        check(saturating == ~quint64(0));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = textFrom(data, size);
    const std::optional<spintax::SpinTree> tree = spintax::SpinTree::parse(text);
    const bool balanced = tree.has_value();

    check(spintax::anySpin2(text).has_value() == balanced);
    check(spintax::calcUniqueness(text).has_value() == balanced);
    check(spintax::removeOriginalWord(text).size() <= text.size());
    const QString flat = spintax::makeFlat(text);
    check(flat.size() <= text.size());
    if (!balanced) {
        check(flat.isEmpty());
        check(spintax::cT(text) == 0);
        check(spintax::countSmall(text) == 0);
    }

    spintax::Generator generator;
    generator.setSeed(size);
    generator.resetBatch(text);
    for (const bool random : {false, true}) {
        const std::optional<spintax::SpinResult> copy = generator.anySpin(text, random, true, true);
        check(copy.has_value() == balanced);
        if (!copy)
            continue;
        check(copy->text.size() <= text.size());
        check(copy->signature.size() <= qsizetype(tree->groups().size()));
        check(copy->signature.size() >= tree->rootGroupCount());
        for (const auto &range : generator.spunMap()) {
            check(range[0] >= 0 && range[0] < range[1] && range[1] <= text.size());
            check(range[2] <= range[3] && range[3] <= copy->text.size());
        }
        const spintax::SpinResult again = generator.anySpin(*tree, random);
        check(again.text.size() <= text.size());
    }
    check(generator.spinSingle(text, false).size() <= text.size());

    if (tree) {
        checkCount(spintax::CountRule::Formula, *tree, spintax::cT(text));
        checkCount(spintax::CountRule::Reachable, *tree, spintax::reachableCombinations(text));
    }
    return 0;
}
