#include "levelruns.h"

#include "levelcolors.h"

namespace spintax {

ParagraphLevels paragraphLevels(QStringView paragraph, int previousState)
{
    ParagraphLevels result;
    int depth = previousState < 0 ? 0 : previousState;

    qsizetype runStart = 0;
    int runLevel = LevelColors::colorLevel(depth);
    // Colours everything from `i` on in `level`, until told otherwise.
    const auto colour = [&](qsizetype i, int level) {
        if (level == runLevel)
            return;
        if (i > runStart) {
            result.runs.append({runStart, i - runStart, runLevel});
            runStart = i;
        } else if (!result.runs.isEmpty() && result.runs.last().level == level) {
            // The current run is still empty («}{» back to the same level):
            // the previous run goes on instead.
            runStart = result.runs.last().start;
            result.runs.removeLast();
        }
        runLevel = level;
    };

    const qsizetype size = paragraph.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = paragraph[i];
        if (c == u'{') {
            ++depth;
            colour(i, LevelColors::colorLevel(depth));
        } else if (c == u'}') {
            colour(i, LevelColors::colorLevel(depth));
            --depth;
            // The characters after the brace belong to the enclosing depth.
            if (i + 1 < size)
                colour(i + 1, LevelColors::colorLevel(depth));
        }
    }
    if (size > runStart)
        result.runs.append({runStart, size - runStart, runLevel});
    result.endDepth = depth;
    return result;
}

} // namespace spintax
