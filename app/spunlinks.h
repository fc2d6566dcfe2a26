#pragma once

#include "spintax/generator.h"

#include <QStringView>

#include <array>
#include <optional>
#include <vector>

// Finds the `spunMap` entry of a position in the spun text, for the hover highlight and the
// click that selects the source of a spun phrase.
class SpunLinks final
{
public:
    using Entry = std::array<int, 4>; // source start, source end, spun start, spun end

    SpunLinks() = default;
    explicit SpunLinks(const spintax::SpunMap &map);

    // The entry of the word at `position` of `spunText`: the run of non-space characters
    // around the position, looked up as that run followed by its start («fox,17»), which is
    // how the map keys the first word of a group's output. Other words of a group's output
    // (no key of their own) get the smallest recorded output range that holds the position.
    // No value outside every recorded group. `spunText` may be a piece of the spun text (the
    // paragraph holding the position) starting at `textStart`; positions are in the whole
    // spun text.
    std::optional<Entry> at(QStringView spunText, qsizetype position,
                            qsizetype textStart = 0) const;

    bool isEmpty() const { return map.isEmpty(); }
    qsizetype size() const { return map.size(); }

private:
    spintax::SpunMap map;
    std::vector<Entry> bySpunStart; // sorted by spun start
};
