#include "myhighlighter.h"

#include "levelruns.h"

#include <QTextBlock>
#include <QTextDocument>

MyHighlighter::MyHighlighter(QTextDocument *document, const spintax::LevelColors &colors)
    : QSyntaxHighlighter(document), levelColors(colors)
{
    makeFormats();
}

void MyHighlighter::setColors(const spintax::LevelColors &colors)
{
    if (colors == levelColors)
        return;
    levelColors = colors;
    makeFormats();
    recolourDocument();
}

void MyHighlighter::recolourDocument()
{
    QTextDocument *doc = document();
    if (!doc)
        return;
    int state = -1;
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
        QTextLayout *layout = block.layout();
        if (!layout->preeditAreaText().isEmpty()) {
            // Text being composed by an input method keeps its own formats,
            // which the standard path knows how to preserve.
            rehighlightBlock(block);
            state = block.userState();
            continue;
        }
        const spintax::ParagraphLevels levels = spintax::paragraphLevels(block.text(), state);
        layout->setFormats(formatRanges(levels.runs));
        block.setUserState(levels.endDepth);
        state = levels.endDepth;
    }
    doc->markContentsDirty(0, doc->characterCount());
}

QList<QTextLayout::FormatRange>
MyHighlighter::formatRanges(const QList<spintax::LevelRun> &runs) const
{
    QList<QTextLayout::FormatRange> ranges;
    ranges.reserve(runs.size());
    for (const spintax::LevelRun &run : runs)
        ranges.append({int(run.start), int(run.length), formats[run.level]});
    return ranges;
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
