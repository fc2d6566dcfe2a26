#pragma once

#include <QString>

#include <optional>
#include <span>
#include <utility>
#include <vector>

namespace spintax {

// A spin text parsed once into flat arrays, so that generation, counting,
// flattening and the status figures walk indices instead of searching the
// string for braces again at every level.
//
// The text is a sequence of items. An item is either a run of literal text
// (a span of the source) or a group. A group holds its alternatives (the
// top-level split of its content, every empty piece kept); each alternative is
// again a sequence of items. Items of one sequence are contiguous in `items`,
// the alternatives of one group are contiguous in `alternatives`. Groups are
// numbered in the order of their `{`, so a nested group always has a larger
// number than the group around it: walking the groups backwards visits every
// group after all the groups inside it, which lets bottom-up computations run
// without recursion.
//
// Outside every group `|` and a `}` without partner are plain text. Positions
// are QString (UTF-16) indices into `source()`.
class SpinTree final
{
public:
    struct Item
    {
        int start;  // literal text: source span; group: index of its `{`
        int length; // literal text only
        int group;  // -1 for literal text, else the group number
        bool isGroup() const { return group >= 0; }
    };

    struct Alternative
    {
        int start; // first character of the alternative in the source
        int end;   // one past its last character (the bar or `}` that ends it)
        int firstItem;
        int itemCount;
        int groupCount; // number of groups directly in this alternative
        bool isEmpty() const { return start == end; }
    };

    struct Group
    {
        int open;  // index of `{`
        int close; // index of the partner `}`
        int firstAlternative;
        int alternativeCount; // pieces of the top-level split, empty ones included
        // Pieces the generator chooses from in a group without nested groups:
        // the split at every bar with the empty pieces at the end dropped
        // («a|b|» has 2, «|» has 0, the empty content has 1).
        int simpleCount;
        // Pieces of the split at every bar (nested bars included, empty pieces
        // at the end dropped) of the whole content: the group's size for the
        // smallest-group count of sequential generation.
        int wholeSplitCount;
        bool simple; // no nested group in the content
    };

    // The tree of the empty text.
    SpinTree() = default;

    // No value when some `{` has no partner.
    static std::optional<SpinTree> parse(const QString &text);
    // Never fails: a `{` without partner is kept as plain text and the scan
    // goes on after it, as the "Remove Original Word" edit needs.
    static SpinTree parseLenient(const QString &text);
    // Parses `text` into this tree, reusing its memory: callers that parse
    // again and again (the status figures on every caret move) keep their
    // arrays instead of allocating and faulting in fresh pages each time.
    // False, and the tree of the empty text, when a `{` has no partner.
    bool assign(const QString &text);
    // parseLenient into this tree, reusing its memory.
    void assignLenient(const QString &text);

    // Where to cut a long text so that each part can be parsed and walked alone: the ends of
    // parts of at least `partSize` characters (the last part may be shorter), ascending, the
    // last one text.size(). Every cut lies outside every group, so the parts' trees together
    // hold the items of the whole text's top level in the same order. No value when a `{` has
    // no partner.
    static std::optional<std::vector<qsizetype>> topLevelParts(QStringView text,
                                                               qsizetype partSize);

    const QString &source() const { return text; }
    QStringView view(int start, int length) const { return QStringView(text).mid(start, length); }

    std::span<const Item> rootItems() const { return itemsOf(rootFirst, rootCount); }
    int rootGroupCount() const { return rootGroups; }

    const std::vector<Group> &groups() const { return groupList; }
    const Group &group(int g) const { return groupList[size_t(g)]; }
    std::span<const Alternative> alternatives(const Group &g) const
    {
        return {altList.data() + g.firstAlternative, size_t(g.alternativeCount)};
    }
    std::span<const Item> items(const Alternative &a) const
    {
        return itemsOf(a.firstItem, a.itemCount);
    }
    // Every item of every sequence; an alternative's items are
    // [firstItem, firstItem + itemCount), the top level's are rootRange().
    const std::vector<Item> &allItems() const { return itemList; }
    std::pair<int, int> rootRange() const { return {rootFirst, rootCount}; }

private:
    bool build(const QString &text, const std::vector<int> *literalOpens);
    void clear();
    std::span<const Item> itemsOf(int first, int count) const
    {
        return {itemList.data() + first, size_t(count)};
    }

    QString text;
    std::vector<Item> itemList;
    std::vector<Alternative> altList;
    std::vector<Group> groupList;
    int rootFirst = 0;
    int rootCount = 0;
    int rootGroups = 0;
};

} // namespace spintax
