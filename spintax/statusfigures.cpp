// The five status bar figures: spun words, total words, uniqueness, quality
// and paragraphs.

#include "generator.h"
#include "readings_p.h"
#include "spintree.h"

#include <array>
#include <cmath>

namespace spintax {
namespace {

enum class CharClass : unsigned char
{
    Plain,
    Dropped, // \ " ? . ! are deleted before words are counted
    Space,
    Syntax, // { | }
};

constexpr std::array<CharClass, 128> asciiClasses = [] {
    std::array<CharClass, 128> t{};
    for (const char c : {'\\', '"', '?', '.', '!'})
        t[size_t(c)] = CharClass::Dropped;
    for (const char c : {' ', '\t', '\n', '\v', '\f', '\r'})
        t[size_t(c)] = CharClass::Space;
    for (const char c : {'{', '|', '}'})
        t[size_t(c)] = CharClass::Syntax;
    return t;
}();

inline CharClass classify(QChar c)
{
    if (c.unicode() < 128)
        return asciiClasses[c.unicode()];
    return c.isSpace() ? CharClass::Space : CharClass::Plain;
}

// Drops backslashes, double quotes, question marks, full stops and
// exclamation marks, makes every run of white space (line breaks included)
// one space, and trims. Dropped characters never separate two runs of white
// space: «a . b» gives «a b».
QString normalise(QStringView text)
{
    QString result(text.size(), Qt::Uninitialized);
    QChar *out = result.data();
    qsizetype pos = 0;
    bool space = false;
    for (const QChar c : text) {
        const CharClass k = classify(c);
        if (k == CharClass::Dropped)
            continue;
        if (k == CharClass::Space) {
            space = true;
            continue;
        }
        if (space && pos > 0)
            out[pos++] = QLatin1Char(' ');
        space = false;
        out[pos++] = c;
    }
    result.truncate(pos);
    return result;
}

// Counts words, i.e. the pieces a text gives when it is normalised, its runs
// of spaces made one space, trimmed and cut at single spaces: maximal runs of
// characters other than white space (and, when `syntaxSeparates`, braces and
// bars). Dropped characters neither separate nor make a word. Text may be fed
// in several parts that join without a break, as the outside text of the
// groups does («a{b}c» leaves the one word «ac»).
class WordCounter
{
public:
    explicit WordCounter(bool syntaxSeparates) : syntaxSeparates(syntaxSeparates) {}
    void feed(QStringView text)
    {
        for (const QChar c : text) {
            const CharClass k = classify(c);
            if (k == CharClass::Dropped)
                continue;
            if (k == CharClass::Space || (syntaxSeparates && k == CharClass::Syntax)) {
                inWord = false;
            } else if (!inWord) {
                inWord = true;
                ++words;
            }
        }
    }
    int count() const { return words; }

private:
    bool syntaxSeparates;
    bool inWord = false;
    int words = 0;
};

// Pieces of a trimmed text cut at single spaces; an empty piece between two
// adjacent spaces counts. 0 for the empty text.
int pieceCount(QStringView trimmed)
{
    return trimmed.isEmpty() ? 0 : int(trimmed.count(QLatin1Char(' '))) + 1;
}

// Lines (cut at line feeds) that are not blank.
int paragraphCount(QStringView flat)
{
    int count = 0;
    bool blank = true;
    for (const QChar c : flat) {
        if (c == QLatin1Char('\n')) {
            count += blank ? 0 : 1;
            blank = true;
        } else if (blank && !c.isSpace()) {
            blank = false;
        }
    }
    return count + (blank ? 0 : 1);
}

} // namespace

std::optional<StatusFigures> calcUniqueness(const QString &text)
{
    const SpinTree *tree = parseReusable(text);
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
        WordCounter outside(false);
        QString firsts;
        qsizetype i = 0;
        while (true) {
            const qsizetype open = n.indexOf(QLatin1Char('{'), i);
            if (open < 0) {
                outside.feed(QStringView(n).mid(i));
                break;
            }
            const qsizetype close = n.indexOf(QLatin1Char('}'), open);
            if (close < 0)
                return std::nullopt;
            outside.feed(QStringView(n).mid(i, open - i));
            const QStringView content = QStringView(n).mid(open + 1, close - open - 1).trimmed();
            // The first piece of the split at every bar; a content of bars only
            // has no piece and adds just the space.
            const qsizetype bar = content.indexOf(QLatin1Char('|'));
            firsts += bar < 0 ? content : content.left(bar);
            firsts += QLatin1Char(' ');
            i = close + 1;
        }
        // O is counted with its runs of spaces collapsed; G is not, so an
        // empty first piece between two groups counts as a word.
        const int outsideWords = outside.count();
        const int groupWords = pieceCount(QStringView(firsts).trimmed());
        spun = outsideWords + groupWords;
        if (n.contains(QLatin1Char('{')) &&
            n.count(QLatin1Char('{')) == n.count(QLatin1Char('}')) && spun > 0)
            unique = int(std::floor(double(groupWords) / spun * 100 + 0.5));
    }
    figures.spunWords = QStringLiteral("Spun Words: ") + QString::number(spun);
    figures.unique = QString::number(unique) + QStringLiteral("% Unique");

    WordCounter all(true);
    all.feed(text);
    const int total = all.count();
    figures.totalWords = QStringLiteral("Total Words: ") + QString::number(total);

    figures.quality =
        QStringLiteral("Quality: ") +
        (spun == 0 ? QStringLiteral("0.00") : QString::asprintf("%.2f", double(total) / spun));
    return figures;
}

} // namespace spintax
