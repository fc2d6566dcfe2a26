#pragma once

#include "levelcolors.h"

#include <QSyntaxHighlighter>
#include <QTextCharFormat>
#include <QTextLayout>

#include <array>

class QTextDocument;

namespace spintax {
struct LevelRun;
}

// Colours spin text by nesting depth: text outside every group black, a group's
// braces and text in the colour of its level, levels above 5 in the level 1
// colour. The block state of a paragraph is the depth at its end, so a group
// opened in one paragraph colours the following ones until it closes; a
// negative state (after a stray `}`) restarts the next paragraph at depth 0.
class MyHighlighter final : public QSyntaxHighlighter
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MyHighlighter)

public:
    // Attaches to `document`, which also becomes the highlighter's parent.
    explicit MyHighlighter(QTextDocument *document, const spintax::LevelColors &colors =
                                                        spintax::LevelColors::fromSettings());

    spintax::LevelColors colors() const { return levelColors; }
    // Takes new level colours and recolours the whole document.
    void setColors(const spintax::LevelColors &colors);

    // Recolours every paragraph, as rehighlight() does, but has the document
    // laid out again once instead of once per paragraph: Qt 6.4 relayouts each
    // paragraph whose formats a highlighter sets outside an edit, which makes
    // rehighlight() of a long article slow and worse than linear.
    void recolourDocument();

protected:
    void highlightBlock(const QString &text) override;

private:
    void textColor(const QString &text);
    QList<QTextLayout::FormatRange> formatRanges(const QList<spintax::LevelRun> &runs) const;
    void makeFormats();

    spintax::LevelColors levelColors;
    // Index = colour level: 0 black, 1..5.
    std::array<QTextCharFormat, spintax::LevelColors::levelCount + 1> formats;
};
