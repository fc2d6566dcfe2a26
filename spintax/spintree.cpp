#include "spintree.h"

namespace spintax {
namespace {

inline bool isSyntax(char16_t c)
{
    // '{', '|' and '}' are the consecutive code points 0x7B..0x7D.
    return char16_t(c - u'{') <= 2;
}

// Positions of the `{` that have no partner, ascending. A stack pairs every
// `}` with the latest open `{`; what is left open at the end has no partner.
std::vector<int> unmatchedOpens(const QString &text)
{
    std::vector<int> open;
    const char16_t *d = reinterpret_cast<const char16_t *>(text.constData());
    const int n = int(text.size());
    for (int i = 0; i < n; ++i) {
        if (d[i] == u'{')
            open.push_back(i);
        else if (d[i] == u'}' && !open.empty())
            open.pop_back();
    }
    return open;
}

} // namespace

std::optional<SpinTree> SpinTree::parse(const QString &text)
{
    return build(text, nullptr);
}

SpinTree SpinTree::parseLenient(const QString &text)
{
    const std::vector<int> literal = unmatchedOpens(text);
    return *build(text, &literal);
}

std::optional<SpinTree> SpinTree::build(const QString &text, const std::vector<int> *literalOpens)
{
    SpinTree tree;
    tree.text = text;

    struct Open
    {
        int group;
        int altBase;  // first pending alternative of this group in `pendingAlts`
        int itemBase; // first pending item of the current alternative
        int altStart; // source start of the current alternative
        int barsAtOpen;
        int groupsInAlt;
    };
    std::vector<Open> open;
    // Items and alternatives still being collected. A nested group finishes
    // before its parent goes on, so both work as stacks: a finished
    // alternative moves its items to the final array in one block.
    std::vector<Item> pendingItems;
    std::vector<Alternative> pendingAlts;

    const char16_t *d = reinterpret_cast<const char16_t *>(text.constData());
    const int n = int(text.size());
    int textStart = 0;
    int bars = 0;         // bars inside groups seen so far
    int lastBar = -2;     // position of the latest bar inside a group
    int barRun = 0;       // length of the run of bars ending at lastBar
    int rootGroups = 0;
    size_t nextLiteral = 0;

    auto flushText = [&](int end) {
        if (end > textStart)
            pendingItems.push_back({textStart, end - textStart, -1});
    };
    auto finishAlternative = [&](Open &o, int end) {
        const int count = int(pendingItems.size()) - o.itemBase;
        const int first = int(tree.itemList.size());
        tree.itemList.insert(tree.itemList.end(), pendingItems.begin() + o.itemBase,
                             pendingItems.end());
        pendingItems.resize(size_t(o.itemBase));
        pendingAlts.push_back({o.altStart, end, first, count, o.groupsInAlt});
    };

    for (int i = 0; i < n; ++i) {
        const char16_t c = d[i];
        if (!isSyntax(c))
            continue;
        if (c == u'{') {
            if (literalOpens && nextLiteral < literalOpens->size()
                && (*literalOpens)[nextLiteral] == i) {
                ++nextLiteral;
                continue;
            }
            flushText(i);
            const int g = int(tree.groupList.size());
            tree.groupList.push_back({i, -1, 0, 0, 0, 0, true});
            pendingItems.push_back({i, 0, g});
            if (open.empty())
                ++rootGroups;
            else
                ++open.back().groupsInAlt;
            open.push_back({g, int(pendingAlts.size()), int(pendingItems.size()), i + 1, bars, 0});
            textStart = i + 1;
        } else if (open.empty()) {
            continue; // a bar or stray `}` outside every group is plain text
        } else if (c == u'|') {
            flushText(i);
            Open &o = open.back();
            finishAlternative(o, i);
            o.itemBase = int(pendingItems.size());
            o.altStart = i + 1;
            o.groupsInAlt = 0;
            textStart = i + 1;
            barRun = lastBar == i - 1 ? barRun + 1 : 1;
            lastBar = i;
            ++bars;
        } else { // '}'
            flushText(i);
            Open &o = open.back();
            finishAlternative(o, i);
            Group &g = tree.groupList[size_t(o.group)];
            g.close = i;
            g.firstAlternative = int(tree.altList.size());
            g.alternativeCount = int(pendingAlts.size()) - o.altBase;
            tree.altList.insert(tree.altList.end(), pendingAlts.begin() + o.altBase,
                                pendingAlts.end());
            pendingAlts.resize(size_t(o.altBase));

            bool simple = true;
            int kept = g.alternativeCount;
            for (const Alternative &a : tree.alternatives(g))
                simple = simple && a.groupCount == 0;
            const std::span<const Alternative> alts = tree.alternatives(g);
            while (kept > 0 && alts[size_t(kept - 1)].isEmpty())
                --kept;
            const int contentLength = i - g.open - 1;
            g.simple = simple;
            g.simpleCount = contentLength == 0 ? 1 : kept;
            const int trailingBars = lastBar == i - 1 ? barRun : 0;
            if (contentLength == 0)
                g.wholeSplitCount = 1;
            else if (trailingBars == contentLength)
                g.wholeSplitCount = 0;
            else
                g.wholeSplitCount = bars - o.barsAtOpen + 1 - trailingBars;
            open.pop_back();
            textStart = i + 1;
        }
    }
    if (!open.empty())
        return std::nullopt;
    flushText(n);
    tree.rootFirst = int(tree.itemList.size());
    tree.rootCount = int(pendingItems.size());
    tree.itemList.insert(tree.itemList.end(), pendingItems.begin(), pendingItems.end());
    tree.rootGroups = rootGroups;
    return tree;
}

} // namespace spintax
