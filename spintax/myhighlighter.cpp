#include "myhighlighter.h"

#include "levelruns.h"

#include <QTextDocument>

MyHighlighter::MyHighlighter(QTextDocument *document, const spintax::LevelColors &colors)
    : QSyntaxHighlighter(document)
    , levelColors(colors)
{
    makeFormats();
}

void MyHighlighter::setColors(const spintax::LevelColors &colors)
{
    if (colors == levelColors)
        return;
    levelColors = colors;
    makeFormats();
    rehighlight();
}

void MyHighlighter::makeFormats()
{
    for (int level = 0; level < int(formats.size()); ++level) {
        QTextCharFormat format;
        format.setForeground(levelColors.color(level));
        formats[level] = format;
    }
}

void MyHighlighter::highlightBlock(const QString &text)
{
    textColor(text);
}

// One setFormat call per run of equal colour keeps a keystroke linear in the
// paragraph length, however many braces it holds.
void MyHighlighter::textColor(const QString &text)
{
    const spintax::ParagraphLevels levels = spintax::paragraphLevels(text, previousBlockState());
    for (const spintax::LevelRun &run : levels.runs)
        setFormat(int(run.start), int(run.length), formats[run.level]);
    setCurrentBlockState(levels.endDepth);
}
