#include "spintree.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace spintax {
namespace {

inline bool isSyntax(char16_t c)
{
    // '{', '|' and '}' are the consecutive code points 0x7B..0x7D.
    return char16_t(c - u'{') <= 2;
}

#if defined(__SSE2__)
// Lanes holding '{', '|' or '}', as a byte mask (two bits per character).
inline int syntaxMask(const char16_t *p)
{
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
    const __m128i offset = _mm_sub_epi16(v, _mm_set1_epi16(0x7B));
    // offset <= 2 as unsigned: the saturating subtraction of 2 gives 0.
    const __m128i hit =
        _mm_cmpeq_epi16(_mm_subs_epu16(offset, _mm_set1_epi16(2)), _mm_setzero_si128());
    return _mm_movemask_epi8(hit);
}

inline int openMask(const char16_t *p)
{
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
    return _mm_movemask_epi8(_mm_cmpeq_epi16(v, _mm_set1_epi16(0x7B)));
}
#endif

// Index of the first syntax character at or after `i`, or `n`. Articles are
// mostly plain text, so the scan looks at eight characters at a time.
inline int nextSyntax(const char16_t *d, int i, int n)
{
#if defined(__SSE2__)
    for (; i + 8 <= n; i += 8) {
        const int mask = syntaxMask(d + i);
        if (mask)
            return i + (__builtin_ctz(unsigned(mask)) >> 1);
    }
#endif
    for (; i < n; ++i)
        if (isSyntax(d[i]))
            return i;
    return n;
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

struct Open
{
    int group;
    int altBase;  // first pending alternative of this group
    int itemBase; // first pending item of the current alternative
    int altStart; // source start of the current alternative
    int barsAtOpen;
    int groupsInAlt;
};

// Items and alternatives still being collected, and the open groups. A nested
// group finishes before its parent goes on, so all three work as stacks; a
// finished alternative moves its items to the final array in one block. Kept
// per thread between parses for their capacity.
struct Scratch
{
    std::vector<SpinTree::Item> items;
    std::vector<SpinTree::Alternative> alts;
    std::vector<Open> open;
};
thread_local Scratch scratch;

} // namespace

std::optional<SpinTree> SpinTree::parse(const QString &text)
{
    SpinTree tree;
    if (!tree.build(text, nullptr))
        return std::nullopt;
    return tree;
}

std::optional<std::vector<qsizetype>> SpinTree::topLevelParts(QStringView text, qsizetype partSize)
{
    // The depth pairs braces as the parser does: a `}` outside every group is plain text, and a
    // `{` left open at the end has no partner.
    std::vector<qsizetype> ends;
    const char16_t *d = text.utf16();
    const qsizetype n = text.size();
    qsizetype depth = 0;
    qsizetype partStart = 0;
    for (qsizetype i = 0; i < n; ++i) {
        if (depth == 0 && i - partStart >= partSize) {
            ends.push_back(i);
            partStart = i;
        }
        if (d[i] == u'{')
            ++depth;
        else if (d[i] == u'}' && depth > 0)
            --depth;
    }
    if (depth != 0)
        return std::nullopt;
    ends.push_back(n);
    return ends;
}

SpinTree SpinTree::parseLenient(const QString &text)
{
    const std::vector<int> literal = unmatchedOpens(text);
    SpinTree tree;
    tree.build(text, &literal);
    return tree;
}

void SpinTree::assignLenient(const QString &source)
{
    const std::vector<int> literal = unmatchedOpens(source);
    build(source, &literal);
}

bool SpinTree::assign(const QString &text)
{
    if (build(text, nullptr))
        return true;
    clear();
    return false;
}

void SpinTree::clear()
{
    text.clear();
    itemList.clear();
    altList.clear();
    groupList.clear();
    rootFirst = rootCount = rootGroups = 0;
}

bool SpinTree::build(const QString &source, const std::vector<int> *literalOpens)
{
    SpinTree &tree = *this;
    clear();
    text = source;

    std::vector<Open> &open = scratch.open;
    std::vector<Item> &pendingItems = scratch.items;
    std::vector<Alternative> &pendingAlts = scratch.alts;
    open.clear();
    pendingItems.clear();
    pendingAlts.clear();

    const char16_t *d = reinterpret_cast<const char16_t *>(text.constData());
    const int n = int(text.size());

    // Exact room for everything up front: growing these arrays while parsing
    // would copy them again and again and touch fresh pages each time, which
    // costs more than the parse itself on long articles. Every group is one
    // item and has one alternative more than it has bars; every text item ends
    // at a syntax character or at the end.
    {
        size_t opens = 0;
        size_t syntax = 0;
        int i = 0;
#if defined(__SSE2__)
        for (; i + 8 <= n; i += 8) {
            syntax += size_t(__builtin_popcount(unsigned(syntaxMask(d + i)))) / 2;
            opens += size_t(__builtin_popcount(unsigned(openMask(d + i)))) / 2;
        }
#endif
        for (; i < n; ++i) {
            if (isSyntax(d[i])) {
                ++syntax;
                opens += d[i] == u'{';
            }
        }
        const size_t maxItems = opens + syntax + 1;
        tree.itemList.reserve(maxItems);
        tree.altList.reserve(syntax);
        tree.groupList.reserve(opens);
        pendingItems.reserve(maxItems);
        pendingAlts.reserve(syntax);
    }

    int textStart = 0;
    int bars = 0;     // bars inside groups seen so far
    int lastBar = -2; // position of the latest bar inside a group
    int barRun = 0;   // length of the run of bars ending at lastBar
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

    for (int i = nextSyntax(d, 0, n); i < n; i = nextSyntax(d, i + 1, n)) {
        const char16_t c = d[i];
        if (c == u'{') {
            if (literalOpens && nextLiteral < literalOpens->size() &&
                (*literalOpens)[nextLiteral] == i) {
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
        return false;
    flushText(n);
    tree.rootFirst = int(tree.itemList.size());
    tree.rootCount = int(pendingItems.size());
    tree.itemList.insert(tree.itemList.end(), pendingItems.begin(), pendingItems.end());
    tree.rootGroups = rootGroups;
    return true;
}

} // namespace spintax
