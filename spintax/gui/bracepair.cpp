#include "bracepair.h"

#include "spintax/spinstructure.h"

#include <QBrush>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextDocument>

namespace spintax {

namespace {

bool isBrace(QChar c)
{
    return c == u'{' || c == u'}';
}

} // namespace

BracePair bracePairAt(QStringView paragraph, qsizetype caret)
{
    if (caret < 0 || caret > paragraph.size())
        return {};
    // At the paragraph's edges the neighbouring document characters are
    // paragraph separators, never braces.
    const bool braceAfter = caret < paragraph.size() && isBrace(paragraph[caret]);
    const bool braceBefore = caret > 0 && isBrace(paragraph[caret - 1]);

    qsizetype x = -1;
    if (braceBefore)
        x = caret - 1;
    else if (braceAfter)
        x = caret;
    else
        return {};

    if (paragraph[x] == u'{')
        return {x, matchingRightBrace(paragraph, x)};
    return {matchingLeftBrace(paragraph, x), x};
}

BracePair bracePairAt(const QTextDocument *document, int position)
{
    if (!document)
        return {};
    const QTextBlock block = document->findBlock(position);
    if (!block.isValid())
        return {};
    const int blockStart = block.position();
    const BracePair inParagraph = bracePairAt(block.text(), position - blockStart);
    const auto toDocument = [blockStart](qsizetype i) { return i < 0 ? i : i + blockStart; };
    return {toDocument(inParagraph.opening), toDocument(inParagraph.closing)};
}

QTextCharFormat matchedBraceFormat()
{
    QTextCharFormat format;
    format.setBackground(QColor(12, 199, 255));
    format.setForeground(QColor(Qt::white));
    return format;
}

QTextCharFormat unmatchedBraceFormat()
{
    QTextCharFormat format;
    format.setBackground(QColor(Qt::red));
    format.setForeground(QColor(Qt::white));
    return format;
}

} // namespace spintax
