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

} // namespace

struct StatusCounter::State
{
    // Lines (cut at line feeds) of the flat text that are not blank.
    int paragraphs = 0;
    bool blankLine = true;

    // The normalised flat text N: backslashes, double quotes, question marks, full stops and
    // exclamation marks dropped, every run of white space (line breaks included) made one
    // space, trimmed. Dropped characters never separate two runs of white space: «a . b» gives
    // «a b». Made part by part into `normalised`, carrying the pending space over.
    bool pendingSpace = false;
    bool anyCharacter = false;
    bool hasSpace = false;
    qsizetype opens = 0;
    qsizetype closes = 0;
    bool groupWithoutEnd = false;
    QString normalised;

    // O: the text of N outside the groups; G: the first piece of every group followed by a
    // space.
    WordCounter outside{false};
    QString firsts;

    WordCounter all{true};
};

StatusCounter::StatusCounter() : state(std::make_unique<State>()) {}
StatusCounter::~StatusCounter() = default;

void StatusCounter::addPart(const SpinTree &part)
{
    State &st = *state;
    const QString flat = makeFlat(part);

    for (const QChar c : flat) {
        if (c == QLatin1Char('\n')) {
            st.paragraphs += st.blankLine ? 0 : 1;
            st.blankLine = true;
        } else if (st.blankLine && !c.isSpace()) {
            st.blankLine = false;
        }
    }

    // Room for a space carried over from the previous part.
    st.normalised.resize(flat.size() + 1);
    QChar *out = st.normalised.data();
    qsizetype pos = 0;
    for (const QChar c : flat) {
        const CharClass k = classify(c);
        if (k == CharClass::Dropped)
            continue;
        if (k == CharClass::Space) {
            st.pendingSpace = true;
            continue;
        }
        if (st.pendingSpace && st.anyCharacter) {
            out[pos++] = QLatin1Char(' ');
            st.hasSpace = true;
        }
        st.pendingSpace = false;
        st.anyCharacter = true;
        out[pos++] = c;
    }
    const QStringView n = QStringView(st.normalised).first(pos);
    st.opens += n.count(QLatin1Char('{'));
    st.closes += n.count(QLatin1Char('}'));

    // The flat text has no nested groups, and a part holds whole groups, so every group of N
    // ends at the next `}` of the same part.
    qsizetype i = 0;
    while (true) {
        const qsizetype open = n.indexOf(QLatin1Char('{'), i);
        if (open < 0) {
            st.outside.feed(n.sliced(i));
            break;
        }
        const qsizetype close = n.indexOf(QLatin1Char('}'), open);
        if (close < 0) {
            st.groupWithoutEnd = true;
            break;
        }
        st.outside.feed(n.sliced(i, open - i));
        const QStringView content = n.sliced(open + 1, close - open - 1).trimmed();
        // The first piece of the split at every bar; a content of bars only has no piece and
        // adds just the space.
        const qsizetype bar = content.indexOf(QLatin1Char('|'));
        st.firsts += bar < 0 ? content : content.first(bar);
        st.firsts += QLatin1Char(' ');
        i = close + 1;
    }
}

void StatusCounter::addWords(QStringView text)
{
    state->all.feed(text);
}

std::optional<StatusFigures> StatusCounter::figures() const
{
    const State &st = *state;
    StatusFigures result;
    result.paragraphs =
        QString::number(st.paragraphs + (st.blankLine ? 0 : 1)) + QStringLiteral(" Paragraph(s)");

    int spun = 0;
    int unique = 0;
    if (!st.anyCharacter) {
        spun = 0;
    } else if (!st.hasSpace) {
        spun = 1;
    } else {
        if (st.groupWithoutEnd)
            return std::nullopt;
        // O is counted with its runs of spaces collapsed; G is not, so an empty first piece
        // between two groups counts as a word.
        const int outsideWords = st.outside.count();
        const int groupWords = pieceCount(QStringView(st.firsts).trimmed());
        spun = outsideWords + groupWords;
        if (st.opens > 0 && st.opens == st.closes && spun > 0)
            unique = int(std::floor(double(groupWords) / spun * 100 + 0.5));
    }
    result.spunWords = QStringLiteral("Spun Words: ") + QString::number(spun);
    result.unique = QString::number(unique) + QStringLiteral("% Unique");

    const int total = st.all.count();
    result.totalWords = QStringLiteral("Total Words: ") + QString::number(total);

    result.quality =
        QStringLiteral("Quality: ") +
        (spun == 0 ? QStringLiteral("0.00") : QString::asprintf("%.2f", double(total) / spun));
    return result;
}

std::optional<StatusFigures> calcUniqueness(const QString &text)
{
    const SpinTree *tree = parseReusable(text);
    if (!tree)
        return std::nullopt;
    StatusCounter counter;
    counter.addPart(*tree);
    counter.addWords(text);
    return counter.figures();
}

} // namespace spintax
