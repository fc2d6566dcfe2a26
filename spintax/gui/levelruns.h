#pragma once

#include <QList>
#include <QStringView>

namespace spintax {

// A stretch of a paragraph shown in one level colour (see LevelColors).
struct LevelRun
{
    qsizetype start = 0;
    qsizetype length = 0;
    int level = 0; // 0 = black, 1..5 = the level's colour

    friend bool operator==(const LevelRun &, const LevelRun &) = default;
};

// How the highlighter colours one paragraph.
struct ParagraphLevels
{
    // Adjacent runs always differ in level; together they cover the paragraph.
    QList<LevelRun> runs;
    // The nesting depth at the end of the paragraph; the next paragraph starts
    // from it. Negative after a stray `}`.
    int endDepth = 0;
};

// Colours a paragraph by nesting depth, starting from the depth the previous
// paragraph ended at (`previousState`; negative means start at depth 0).
//
// Each character takes the colour of its depth: a `{` that of the group it
// opens, a `}` that of the group it closes, any other character that of the
// innermost group around it. So «x {a|{b|c}} y» shows "x " and " y" black,
// "{a|" and the last "}" in level 1, «{b|c}» in level 2. A stray `}` drives the
// depth negative, which shows black. Linear in the paragraph length.
ParagraphLevels paragraphLevels(QStringView paragraph, int previousState);

} // namespace spintax
