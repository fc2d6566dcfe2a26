// The five status bar figures: spun words, total words, uniqueness, quality
// and paragraphs.

#include "generator.h"
#include "readings_p.h"
#include "spintree.h"

#include <cmath>

namespace spintax {
namespace {

// Drops backslashes, double quotes, question marks, full stops and
// exclamation marks, makes every run of white space (line breaks included)
// one space, and trims. Dropped characters never separate two runs of white
// space: «a . b» gives «a b».
QString normalise(QStringView text)
{
    QString out;
    out.reserve(text.size());
    bool space = false;
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'\\':
        case u'"':
        case u'?':
        case u'.':
        case u'!':
            continue;
        default:
            break;
        }
        if (c.isSpace()) {
            space = true;
            continue;
        }
        if (space && !out.isEmpty())
            out += QLatin1Char(' ');
        space = false;
        out += c;
    }
    return out;
}

// Pieces of a trimmed text cut at single spaces; an empty piece between two
// adjacent spaces counts. 0 for the empty text.
int pieceCount(QStringView trimmed)
{
    return trimmed.isEmpty() ? 0 : int(trimmed.count(QLatin1Char(' '))) + 1;
}

int paragraphCount(QStringView flat)
{
    int count = 0;
    for (QStringView line : flat.split(QLatin1Char('\n')))
        if (!line.trimmed().isEmpty())
            ++count;
    return count;
}

} // namespace

std::optional<StatusFigures> calcUniqueness(const QString &text)
{
    const std::optional<SpinTree> tree = SpinTree::parse(text);
    if (!tree)
        return std::nullopt;

    StatusFigures figures;
    const QString flat = makeFlat(*tree);
    figures.paragraphs = QString::number(paragraphCount(flat)) + QStringLiteral(" Paragraph(s)");

    const QString n = normalise(flat);
    int spun = 0;
    int unique = 0;
    if (n.isEmpty()) {
        spun = 0;
    } else if (!n.contains(QLatin1Char(' '))) {
        spun = 1;
    } else {
        // O: the text outside the groups; G: the first piece of every group
        // followed by a space. The flat text has no nested groups, so every
        // group of N ends at the next `}`.
        QString outside;
        QString firsts;
        qsizetype i = 0;
        while (true) {
            const qsizetype open = n.indexOf(QLatin1Char('{'), i);
            if (open < 0) {
                outside += QStringView(n).mid(i);
                break;
            }
            const qsizetype close = n.indexOf(QLatin1Char('}'), open);
            if (close < 0)
                return std::nullopt;
            outside += QStringView(n).mid(i, open - i);
            const QStringView content = QStringView(n).mid(open + 1, close - open - 1).trimmed();
            // The first piece of the split at every bar; a content of bars only
            // has no piece and adds just the space.
            const qsizetype bar = content.indexOf(QLatin1Char('|'));
            firsts += bar < 0 ? content : content.left(bar);
            firsts += QLatin1Char(' ');
            i = close + 1;
        }
        // Cutting the groups out leaves double spaces in O («a {b} c»);
        // G keeps them, so an empty first piece between two groups counts.
        const int outsideWords = pieceCount(outside.simplified());
        const int groupWords = pieceCount(QStringView(firsts).trimmed());
        spun = outsideWords + groupWords;
        if (n.contains(QLatin1Char('{')) && n.count(QLatin1Char('{')) == n.count(QLatin1Char('}'))
            && spun > 0)
            unique = int(std::floor(double(groupWords) / spun * 100 + 0.5));
    }
    figures.spunWords = QStringLiteral("Spun Words: ") + QString::number(spun);
    figures.unique = QString::number(unique) + QStringLiteral("% Unique");

    QString all = normalise(text);
    for (QChar &c : all)
        if (c == QLatin1Char('|') || c == QLatin1Char('{') || c == QLatin1Char('}'))
            c = QLatin1Char(' ');
    const QString words = all.simplified();
    const int total = pieceCount(words);
    figures.totalWords = QStringLiteral("Total Words: ") + QString::number(total);

    figures.quality = QStringLiteral("Quality: ")
                      + (spun == 0 ? QStringLiteral("0.00")
                                   : QString::asprintf("%.2f", double(total) / spun));
    return figures;
}

} // namespace spintax
