#pragma once

#include "levelcolors.h"

#include <QSyntaxHighlighter>
#include <QTextCharFormat>

#include <array>

class QTextDocument;

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
    explicit MyHighlighter(QTextDocument *document,
                           const spintax::LevelColors &colors = spintax::LevelColors::fromSettings());

    spintax::LevelColors colors() const { return levelColors; }
    // Takes new level colours and recolours the whole document.
    void setColors(const spintax::LevelColors &colors);

protected:
    void highlightBlock(const QString &text) override;

private:
    void textColor(const QString &text);
    void makeFormats();

    spintax::LevelColors levelColors;
    // Index = colour level: 0 black, 1..5.
    std::array<QTextCharFormat, spintax::LevelColors::levelCount + 1> formats;
};
