// First-alternative reading, flat text, "Remove Original Word" and the
// smallest-group count: the text transformations that need no random choice.

#include "generator.h"
#include "readings_p.h"
#include "spintree.h"

#include <cstring>
#include <vector>

namespace spintax {
namespace {

struct Range
{
    int item;
    int end;
};

// Output buffers are sized to the source: every function here writes source
// characters, each at most once, so the source length bounds the result.
void put(QChar *out, qsizetype &pos, const SpinTree &tree, int start, int length)
{
    std::memcpy(out + pos, tree.source().constData() + start, size_t(length) * sizeof(QChar));
    pos += length;
}

// Writes the items [first, first + count) with every group replaced by its
// first alternative, nested groups likewise. For a group without nested
// groups the first alternative is also the first piece of the split at every
// bar (or nothing, when there is no piece), so one rule covers both kinds.
void putFirstReading(const SpinTree &tree, int first, int count, QChar *out, qsizetype &pos)
{
    const std::vector<SpinTree::Item> &items = tree.allItems();
    thread_local std::vector<Range> stack;
    stack.clear();
    stack.push_back({first, first + count});
    while (!stack.empty()) {
        Range &r = stack.back();
        if (r.item == r.end) {
            stack.pop_back();
            continue;
        }
        const SpinTree::Item &item = items[size_t(r.item++)];
        if (!item.isGroup()) {
            put(out, pos, tree, item.start, item.length);
            continue;
        }
        const SpinTree::Alternative &a = tree.alternatives(tree.group(item.group))[0];
        stack.push_back({a.firstItem, a.firstItem + a.itemCount});
    }
}

// Every run of spaces in out[from, pos) becomes one space.
void collapseSpaces(QChar *d, qsizetype from, qsizetype &pos)
{
    qsizetype w = from;
    for (qsizetype r = from; r < pos; ++r) {
        if (d[r] == QLatin1Char(' ') && w > from && d[w - 1] == QLatin1Char(' '))
            continue;
        d[w++] = d[r];
    }
    pos = w;
}

} // namespace

const SpinTree *parseReusable(const QString &text)
{
    thread_local SpinTree tree;
    return tree.assign(text) ? &tree : nullptr;
}

int countSmall(const QString &articleText)
{
    // One scan over the top-level groups; for each, the pieces of its content
    // cut at every bar (nested ones too) without the empty pieces at the end.
    const QChar *d = articleText.constData();
    const qsizetype n = articleText.size();
    int smallest = -1;
    int depth = 0;
    qsizetype open = 0;
    int bars = 0;
    qsizetype lastBar = -2;
    int barRun = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = d[i].unicode();
        if (c == u'{') {
            if (depth++ == 0) {
                open = i;
                bars = 0;
            }
        } else if (depth == 0) {
            continue;
        } else if (c == u'|') {
            ++bars;
            barRun = lastBar == i - 1 ? barRun + 1 : 1;
            lastBar = i;
        } else if (c == u'}' && --depth == 0) {
            const qsizetype length = i - open - 1;
            const int trailing = lastBar == i - 1 ? barRun : 0;
            int pieces;
            if (length == 0)
                pieces = 1; // the empty content is one empty piece
            else if (trailing == length)
                pieces = 0; // bars only: every piece is empty
            else
                pieces = bars + 1 - trailing;
            if (smallest < 0 || pieces < smallest)
                smallest = pieces;
        }
    }
    if (depth != 0 || smallest < 0)
        return 0;
    return smallest;
}

std::optional<QString> anySpin2(const QString &text, bool outer)
{
    Q_UNUSED(outer);
    const SpinTree *tree = parseReusable(text);
    if (!tree)
        return std::nullopt;
    QString out(text.size(), Qt::Uninitialized);
    qsizetype pos = 0;
    const auto [first, count] = tree->rootRange();
    putFirstReading(*tree, first, count, out.data(), pos);
    // Collapsing the whole once equals collapsing every nested reading first.
    collapseSpaces(out.data(), 0, pos);
    out.truncate(pos);
    return out;
}

QString makeFlat(const SpinTree &tree)
{
    QString result(tree.source().size(), Qt::Uninitialized);
    QChar *out = result.data();
    qsizetype pos = 0;
    for (const SpinTree::Item &item : tree.rootItems()) {
        if (!item.isGroup()) {
            put(out, pos, tree, item.start, item.length);
            continue;
        }
        const SpinTree::Group &g = tree.group(item.group);
        out[pos++] = QLatin1Char('{');
        bool firstAlternative = true;
        for (const SpinTree::Alternative &a : tree.alternatives(g)) {
            if (!firstAlternative)
                out[pos++] = QLatin1Char('|');
            firstAlternative = false;
            for (const SpinTree::Item &inner : tree.items(a)) {
                if (!inner.isGroup()) {
                    put(out, pos, tree, inner.start, inner.length);
                    continue;
                }
                // A nested group becomes its first-alternative reading, spaces
                // collapsed within that reading only.
                const qsizetype from = pos;
                const SpinTree::Alternative &a0 = tree.alternatives(tree.group(inner.group))[0];
                putFirstReading(tree, a0.firstItem, a0.itemCount, out, pos);
                collapseSpaces(out, from, pos);
            }
        }
        out[pos++] = QLatin1Char('}');
    }
    result.truncate(pos);
    return result;
}

QString makeFlat(const QString &text)
{
    const SpinTree *tree = parseReusable(text);
    return tree ? makeFlat(*tree) : QString();
}

QString removeOriginalWord(const QString &text)
{
    thread_local SpinTree tree;
    tree.assignLenient(text);
    const std::vector<SpinTree::Group> &groups = tree.groups();
    const std::vector<SpinTree::Item> &items = tree.allItems();

    // A group keeps its alternatives from the second on (or its only one).
    // Its result needs braces when it still holds a bar: when two or more
    // alternatives remain, or when a nested result inside them kept braces.
    // Groups are numbered in order of their `{`, so walking backwards decides
    // every nested group before the group around it.
    auto keptAlternatives = [&](const SpinTree::Group &g) {
        std::span<const SpinTree::Alternative> alts = tree.alternatives(g);
        return alts.size() > 1 ? alts.subspan(1) : alts;
    };
    thread_local std::vector<char> braced;
    braced.assign(groups.size(), 0);
    for (size_t g = groups.size(); g-- > 0;) {
        const std::span<const SpinTree::Alternative> kept = keptAlternatives(groups[g]);
        bool bar = kept.size() > 1;
        for (size_t k = 0; k < kept.size() && !bar; ++k)
            for (const SpinTree::Item &item : tree.items(kept[k]))
                if (item.isGroup() && braced[size_t(item.group)]) {
                    bar = true;
                    break;
                }
        braced[g] = bar;
    }

    struct Frame
    {
        int group; // -1 at the top level
        int alt;   // next kept alternative to write, relative to the group's first kept one
        int item;
        int end;
    };
    QString out;
    out.reserve(text.size());
    const auto [first, count] = tree.rootRange();
    std::vector<Frame> stack{{-1, 0, first, first + count}};
    while (!stack.empty()) {
        Frame &f = stack.back();
        if (f.item < f.end) {
            const SpinTree::Item &item = items[size_t(f.item++)];
            if (!item.isGroup()) {
                out += tree.view(item.start, item.length);
                continue;
            }
            if (braced[size_t(item.group)])
                out += QLatin1Char('{');
            const SpinTree::Alternative &a = keptAlternatives(groups[size_t(item.group)])[0];
            stack.push_back({item.group, 1, a.firstItem, a.firstItem + a.itemCount});
            continue;
        }
        if (f.group < 0) {
            stack.pop_back();
            continue;
        }
        const std::span<const SpinTree::Alternative> kept =
            keptAlternatives(groups[size_t(f.group)]);
        if (size_t(f.alt) < kept.size()) {
            out += QLatin1Char('|');
            const SpinTree::Alternative &a = kept[size_t(f.alt++)];
            f.item = a.firstItem;
            f.end = a.firstItem + a.itemCount;
            continue;
        }
        if (braced[size_t(f.group)])
            out += QLatin1Char('}');
        stack.pop_back();
    }
    return out;
}

} // namespace spintax
