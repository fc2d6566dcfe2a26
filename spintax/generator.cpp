#include "generator.h"

#include "spintree.h"

#include <QDateTime>

#include <cstring>
#include <utility>

namespace spintax {
namespace {

quint64 clockSeed()
{
    return quint64(QDateTime::currentMSecsSinceEpoch()) * 10000 % 2147483647;
}

// Output buffers get this much room past the longest possible output, so a
// short piece can be copied as one fixed 16- or 32-byte block.
constexpr qsizetype copySlack = 16;

// Most pieces are a word or two: a fixed-size copy of a whole block is a
// couple of instructions where a call to memcpy of a variable length is not.
// The block may read past the piece but never past the source.
inline void copyChars(QChar *out, qsizetype &pos, const QChar *src, qsizetype srcSize, int start,
                      int length)
{
    if (length <= 8 && start + 8 <= srcSize)
        std::memcpy(out + pos, src + start, 8 * sizeof(QChar));
    else if (length <= 16 && start + 16 <= srcSize)
        std::memcpy(out + pos, src + start, 16 * sizeof(QChar));
    else
        std::memcpy(out + pos, src + start, size_t(length) * sizeof(QChar));
    pos += length;
}

} // namespace

Generator::Generator() = default;
Generator::~Generator() = default;

void Generator::resetBatch(const QString &articleText)
{
    rand.reset();
    index = 0;
    article = articleText;
}

void Generator::setArticle(const QString &articleText)
{
    article = articleText;
}

void Generator::setSeed(std::optional<quint64> newSeed)
{
    seed = newSeed;
}

Generator::State Generator::saveState() const
{
    return {rand, index, smallest, article};
}

void Generator::restoreState(const State &state)
{
    rand = state.rand;
    index = state.idx;
    smallest = state.countSmall;
    article = state.article;
}

void Generator::ensureRandom(const QString &callText)
{
    if (rand)
        return;
    smallest = spintax::countSmall(article ? *article : callText);
    rand.emplace(seed ? *seed : clockSeed());
}

const SpinTree *Generator::treeFor(const QString &text)
{
    if (cachedValid && cachedTree && cachedTree->source() == text)
        return cachedTree.get();
    if (!cachedTree)
        cachedTree = std::make_unique<SpinTree>();
    cachedValid = cachedTree->assign(text);
    return cachedValid ? cachedTree.get() : nullptr;
}

int Generator::choose(int n, bool sequential)
{
    if (sequential && index < smallest)
        return index % n;
    return rand->bounded(n);
}

void Generator::record(const QChar *out, int outStart, int outEnd, int srcStart, int srcEnd)
{
    int first = outStart;
    while (first < outEnd && out[first].isSpace())
        ++first;
    int last = outEnd;
    while (last > first && out[last - 1].isSpace())
        --last;
    int wordEnd = first;
    while (wordEnd < last && out[wordEnd] != QLatin1Char(' '))
        ++wordEnd;
    QString key = QString(out + first, wordEnd - first) + QString::number(first);
    if (!map.contains(key))
        map.insert(key, {srcStart, srcEnd, first, last});
}

void Generator::walk(const SpinTree &tree, int first, int count, bool random, bool outer,
                     bool saveToMap, QChar *out, qsizetype &pos)
{
    const QChar *src = tree.source().constData();
    const qsizetype srcSize = tree.source().size();
    const SpinTree::Item *items = tree.allItems().data();
    const std::vector<SpinTree::Group> &groups = tree.groups();

    // Indices go to a scratch array with room for every group and are added
    // to the signature in one block at the end.
    if (sigScratch.size() < groups.size())
        sigScratch.resize(groups.size());
    int *sig = sigScratch.data();
    int *sigPos = sig;

    // An explicit stack instead of recursion: one frame per group being
    // resolved, so nesting depth costs heap, never call stack.
    stack.clear();
    stack.push_back({first, first + count, -1, 0, 0});
    while (!stack.empty()) {
        Frame &frame = stack.back();
        if (frame.item == frame.end) {
            if (frame.group >= 0) {
                // The enclosing group's index goes after those of its nested
                // groups, which were appended while its alternative was walked.
                *sigPos++ = frame.choice;
                if (saveToMap) {
                    const SpinTree::Group &g = groups[size_t(frame.group)];
                    record(out, frame.outStart, int(pos), g.open, g.close + 1);
                }
            }
            stack.pop_back();
            continue;
        }
        const SpinTree::Item &item = items[frame.item++];
        if (!item.isGroup()) {
            copyChars(out, pos, src, srcSize, item.start, item.length);
            continue;
        }
        const SpinTree::Group &g = groups[size_t(item.group)];
        const bool groupOuter = stack.size() == 1 && outer;
        if (g.simple) {
            const int outStart = int(pos);
            int choice = 0;
            // A group of bars only («{|}») has nothing to choose: empty output.
            if (g.simpleCount > 0) {
                choice = choose(g.simpleCount, groupOuter && !random);
                const SpinTree::Alternative &a = tree.alternatives(g)[size_t(choice)];
                copyChars(out, pos, src, srcSize, a.start, a.end - a.start);
            }
            *sigPos++ = choice;
            if (saveToMap)
                record(out, outStart, int(pos), g.open, g.close + 1);
        } else {
            const int choice = choose(g.alternativeCount, !random);
            const SpinTree::Alternative &a = tree.alternatives(g)[size_t(choice)];
            stack.push_back({a.firstItem, a.firstItem + a.itemCount, item.group, choice, int(pos)});
        }
    }
    const qsizetype written = sigPos - sig;
    if (written > 0) {
        const qsizetype base = s.size();
        s.resize(base + written);
        std::memcpy(s.data() + base, sig, size_t(written) * sizeof(int));
    }
}

std::optional<SpinResult> Generator::anySpin(const QString &text, bool random, bool outer,
                                             bool saveToMap)
{
    ensureRandom(text);
    const SpinTree *tree = treeFor(text);
    if (!tree)
        return std::nullopt;
    if (saveToMap)
        map.clear();
    // Every output character is a source character used at most once, so the
    // source length bounds the output.
    QString out(text.size() + copySlack, Qt::Uninitialized);
    qsizetype pos = 0;
    const auto [first, count] = tree->rootRange();
    walk(*tree, first, count, random, outer, saveToMap, out.data(), pos);
    out.truncate(pos);
    SpinResult result{std::move(out), s};
    if (outer) {
        if (!random)
            ++index;
        s.clear();
    }
    return result;
}

SpinResult Generator::anySpin(const SpinTree &tree, bool random)
{
    ensureRandom(tree.source());
    QString out(tree.source().size() + copySlack, Qt::Uninitialized);
    qsizetype pos = 0;
    const auto [first, count] = tree.rootRange();
    walk(tree, first, count, random, true, false, out.data(), pos);
    out.truncate(pos);
    if (!random)
        ++index;
    SpinResult result{std::move(out), std::move(s)};
    s = QList<int>();
    return result;
}

void Generator::appendSpinPart(const SpinTree &part, bool random, QString &out)
{
    ensureRandom(part.source());
    qsizetype pos = out.size();
    out.resize(pos + part.source().size() + copySlack);
    const auto [first, count] = part.rootRange();
    walk(part, first, count, random, true, false, out.data(), pos);
    out.truncate(pos);
}

QList<int> Generator::finishCopy(bool random)
{
    if (!random)
        ++index;
    return std::exchange(s, QList<int>());
}

QString Generator::spinSingle(const QString &text, bool random, bool saveToMap)
{
    ensureRandom(text);
    const SpinTree *tree = treeFor(text);
    if (!tree)
        return QString();
    if (saveToMap)
        map.clear();
    QString out(text.size() + copySlack, Qt::Uninitialized);
    QChar *data = out.data();
    qsizetype pos = 0;
    const QChar *src = text.constData();
    for (const SpinTree::Item &item : tree->rootItems()) {
        if (!item.isGroup()) {
            copyChars(data, pos, src, text.size(), item.start, item.length);
            continue;
        }
        // The top-level group keeps its braces and bars; its content is spun
        // as a text of its own, so the groups inside count as outer groups.
        const SpinTree::Group &g = tree->group(item.group);
        data[pos++] = QLatin1Char('{');
        bool firstAlternative = true;
        for (const SpinTree::Alternative &a : tree->alternatives(g)) {
            if (!firstAlternative)
                data[pos++] = QLatin1Char('|');
            firstAlternative = false;
            walk(*tree, a.firstItem, a.itemCount, random, true, saveToMap, data, pos);
        }
        data[pos++] = QLatin1Char('}');
        if (!random)
            ++index;
        s.clear();
    }
    out.truncate(pos);
    return out;
}

} // namespace spintax
