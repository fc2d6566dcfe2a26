#include "autoselect.h"

#include "spintax/spinstructure.h"

#include <QVarLengthArray>

#include <array>
#include <memory>
#include <vector>

namespace selection {
namespace {

using SynonymMap = SynonymStore::SynonymMap;

// How often the scans report progress, in characters.
constexpr qsizetype progressStep = 16384;

// Length of the word character at `i` (2 for a surrogate pair), 0 when it is none.
inline qsizetype wordCharLength(QStringView text, qsizetype i, qsizetype end)
{
    const QChar c = text[i];
    if (c.unicode() < 0x80) {
        const char16_t u = c.unicode();
        return (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z') || (u >= u'0' && u <= u'9') ||
                       u == u'_'
                   ? 1
                   : 0;
    }
    if (c.isHighSurrogate() && i + 1 < end && text[i + 1].isLowSurrogate())
        return isWordChar(QChar::surrogateToUcs4(c, text[i + 1])) ? 2 : 0;
    return isWordChar(c.unicode()) ? 1 : 0;
}

inline bool isPhraseSeparator(QChar c)
{
    return c == u'|' || c.isSpace();
}

// Ends of the phrases of 1, 2, ... words that begin at a word start.
using PhraseEnds = QVarLengthArray<qsizetype, 16>;

// Walks the brace-free piece [begin, end) of `text` word by word. At each next word it hands the
// word's start and the ends of the phrases of up to `max` words beginning there to `visit`, which
// returns where the scan goes on (the end of the phrase it took). A phrase never crosses the
// piece's ends.
template <typename Visit>
void scanPiece(QStringView text, qsizetype begin, qsizetype end, int max, const Progress &progress,
               Visit &&visit)
{
    PhraseEnds ends;
    qsizetype p = begin;
    qsizetype nextReport = begin + progressStep;
    while (p < end) {
        qsizetype q = p;
        while (q < end && wordCharLength(text, q, end) == 0)
            ++q;
        if (q >= end)
            return;
        ends.clear();
        qsizetype i = q;
        for (;;) {
            qsizetype len;
            while (i < end && (len = wordCharLength(text, i, end)) > 0)
                i += len;
            ends.append(i);
            if (ends.size() >= max)
                break;
            qsizetype j = i;
            while (j < end && isPhraseSeparator(text[j]))
                ++j;
            if (j == i || j >= end || wordCharLength(text, j, end) == 0)
                break;
            i = j;
        }
        p = visit(q, std::as_const(ends));
        if (progress && p >= nextReport) {
            progress(p, text.size());
            nextReport = p + progressStep;
        }
    }
}

const QStringList *find(const SynonymMap &map, const QString &key)
{
    const auto it = map.constFind(key);
    return it == map.cend() ? nullptr : &it.value();
}

// One list consulted by a run, and how its synonyms are taken.
struct ListUse
{
    const SynonymMap *map = nullptr;
    bool favourites = false;    // limited to one synonym by numberOne
    bool filterDeleted = false; // synonyms the user removed for the phrase are not offered
};

class AutoSelectRun
{
public:
    AutoSelectRun(const SynonymLists &lists, const QSet<QString> &protectedTerms,
                  const AutoSelectOptions &options)
        : lists(lists), protectedTerms(protectedTerms), options(options)
    {
        const ListUse best{&lists.bestfav, true, true};
        const ListUse better{&lists.betterfav, true, true};
        const ListUse good{&lists.goodfav, true, true};
        const ListUse userFav{&lists.userFav, true, false};
        const ListUse server{&lists.allUserSyn, false, true};
        const ListUse user{&lists.userSyn, false, false};
        switch (options.qlevel) {
        case AllFavourites:
            uses = {best, better, good, userFav};
            break;
        case BetterFavourites:
            uses = {best, better};
            break;
        case BestFavourites:
            uses = {best};
            break;
        case AllLists:
            uses = {best, better, good, userFav, server, user};
            break;
        default:
            break;
        }
    }

    // Appends the piece [begin, end) of `text`, its phrases wrapped, to `out`.
    void piece(QStringView text, qsizetype begin, qsizetype end, QString &out,
               const Progress &progress)
    {
        qsizetype copied = begin;
        scanPiece(text, begin, end, options.max, progress,
                  [&](qsizetype q, const PhraseEnds &ends) {
                      for (qsizetype n = ends.size(); n >= 1; --n) {
                          const qsizetype phraseEnd = ends[n - 1];
                          const QStringView cap = text.sliced(q, phraseEnd - q);
                          const QString key = cap.toString().toLower();
                          const bool isProtected = protectedTerms.contains(key);
                          if (!isProtected && !found(key) && n > 1)
                              continue; // try the next shorter phrase at the same place
                          // The text since the last phrase is copied once, whatever was tried here.
                          out.append(text.sliced(copied, q - copied));
                          if (isProtected || !found(key) || !taken(n))
                              out.append(cap);
                          else
                              out.append(group(cap, key));
                          copied = phraseEnd;
                          return phraseEnd;
                      }
                      return ends[0];
                  });
        out.append(text.sliced(copied, end - copied));
    }

private:
    bool found(const QString &key) const
    {
        for (const ListUse &use : uses)
            if (use.map->contains(key))
                return true;
        return false;
    }

    // Whether a found phrase of n words is wrapped: "Phrases Only" leaves single words, and a
    // frequency above 1 wraps the first found phrase, then every frequency-th one.
    bool taken(qsizetype n)
    {
        if (options.phrasesOnly && n < 2)
            return false;
        const bool take = options.frequency <= 1 || foundCount % options.frequency == 0;
        ++foundCount;
        return take;
    }

    QString group(QStringView cap, const QString &key) const
    {
        QStringList alternatives;
        if (options.keep)
            alternatives.append(cap.toString());
        QList<QString> addedLower; // trimmed lower-case forms of the synonyms added
        const bool capital = !cap.isEmpty() && cap.front().isUpper();
        const QStringList *deleted = find(lists.deletedSyn, key);
        qsizetype added = 0;
        for (const ListUse &use : uses) {
            const QStringList *stored = find(*use.map, key);
            if (!stored)
                continue;
            QStringList entries = *stored;
            if (use.filterDeleted && deleted)
                entries.removeIf([deleted](const QString &e) { return isDeleted(*deleted, e); });
            qsizetype window =
                qMin(qMax<qsizetype>(0, options.max2 - added), qsizetype(entries.size()));
            if (options.numberOne && use.favourites)
                window = qMin<qsizetype>(window, 1);
            for (qsizetype i = 0; i < window; ++i) {
                QString synonym = entries[i];
                if (synonym.trimmed().isEmpty())
                    continue; // a blank entry uses up its place
                if (capital)
                    synonym[0] = synonym[0].toUpper();
                QString lower = synonym.trimmed().toLower();
                if (addedLower.contains(lower)) {
                    // A repeated synonym does not use up a place.
                    if (window < entries.size())
                        ++window;
                    continue;
                }
                addedLower.append(std::move(lower));
                alternatives.append(std::move(synonym));
                ++added;
            }
        }
        if (alternatives.isEmpty())
            return cap.toString();
        if (alternatives.size() == 1)
            return alternatives.constFirst();
        return u'{' + alternatives.join(u'|') + u'}';
    }

    static bool isDeleted(const QStringList &deleted, const QString &entry)
    {
        const QStringView t = QStringView(entry).trimmed();
        for (const QString &d : deleted)
            if (QStringView(d).trimmed().compare(t, Qt::CaseInsensitive) == 0)
                return true;
        return false;
    }

    const SynonymLists &lists;
    const QSet<QString> &protectedTerms;
    const AutoSelectOptions options;
    QVarLengthArray<ListUse, 6> uses;
    qsizetype foundCount = 0;
};

// One pass over `text` appended to `out`; false when a `{` has no partner.
bool selectInto(QStringView text, AutoSelectRun &run, QString &out, const Progress &progress)
{
    qsizetype pos = 0;
    for (;;) {
        const qsizetype open = text.indexOf(u'{', pos);
        if (open < 0) {
            run.piece(text, pos, text.size(), out, progress);
            return true;
        }
        const qsizetype close = spintax::matchingRightBrace(text, open);
        if (close < 0)
            return false;
        run.piece(text, pos, open, out, progress);
        out.append(text.sliced(open, close + 1 - open));
        pos = close + 1;
    }
}

// Characters a pass works on at a time when it streams.
constexpr qsizetype streamPiece = qsizetype(1) << 20;

// Braces pair as matchingRightBrace pairs them: a `}` outside every group is plain text.
void trackDepth(QChar c, qsizetype &depth)
{
    if (c == u'{')
        ++depth;
    else if (c == u'}' && depth > 0)
        --depth;
}

// The text may be cut before `c` outside every group: a `{` starts a group, which a pass copies
// whole, and punctuation ends every phrase (a phrase is words with blanks or bars between).
bool cutsBefore(QChar c)
{
    const char16_t u = c.unicode();
    if (u == u'{')
        return true;
    const bool punctuation = (u >= u'!' && u <= u'/') || (u >= u':' && u <= u'@') ||
                             (u >= u'[' && u <= u'`') || (u >= u'{' && u <= u'~');
    return punctuation && u != u'_' && u != u'|' && u != u'}';
}

// One pass of a streamed run: text comes in pieces, is worked on up to the last cut once a
// piece's worth has gathered, and the result goes on to `next`.
class StreamedPass
{
public:
    StreamedPass(const SynonymLists &lists, const QSet<QString> &protectedTerms,
                 const AutoSelectOptions &options, Writer next)
        : run(lists, protectedTerms, options), next(std::move(next))
    {
    }

    void feed(QStringView piece)
    {
        pending.append(piece);
        for (; scanned < pending.size(); ++scanned) {
            const QChar c = pending.at(scanned);
            if (depth == 0 && scanned > 0 && cutsBefore(c))
                lastCut = scanned;
            trackDepth(c, depth);
        }
        if (pending.size() >= streamPiece && lastCut > 0)
            workTo(lastCut);
    }
    // False when a `{` has no partner.
    bool finish()
    {
        if (depth != 0)
            return false;
        workTo(pending.size());
        return true;
    }

private:
    void workTo(qsizetype cut)
    {
        out.truncate(0);
        selectInto(QStringView(pending).first(cut), run, out, {});
        pending.remove(0, cut);
        scanned -= cut;
        lastCut = 0;
        if (!out.isEmpty())
            next(out);
    }

    AutoSelectRun run;
    Writer next;
    QString pending;
    QString out;
    qsizetype scanned = 0;
    qsizetype depth = 0;
    qsizetype lastCut = 0; // 0: none
};

bool holdsBraces(const SynonymStore::SynonymMap &map)
{
    for (const QStringList &entries : map)
        for (const QString &e : entries)
            if (e.contains(u'{') || e.contains(u'}'))
                return true;
    return false;
}

} // namespace

SynonymLists SynonymLists::of(const SynonymStore &store)
{
    return {store.bestfav,    store.betterfav, store.goodfav,    store.userFav,
            store.allUserSyn, store.userSyn,   store.deletedSyn, store.maxPhraseWord};
}

bool isWordChar(char32_t c)
{
    if (c < 0x80)
        return (c >= U'a' && c <= U'z') || (c >= U'A' && c <= U'Z') || (c >= U'0' && c <= U'9') ||
               c == U'_';
    switch (QChar::category(c)) {
    case QChar::Letter_Uppercase:
    case QChar::Letter_Lowercase:
    case QChar::Letter_Titlecase:
    case QChar::Letter_Modifier:
    case QChar::Letter_Other:
    case QChar::Number_DecimalDigit:
    case QChar::Number_Letter:
    case QChar::Number_Other:
    case QChar::Mark_NonSpacing:
    case QChar::Mark_SpacingCombining:
    case QChar::Mark_Enclosing:
    case QChar::Punctuation_Connector:
        return true;
    default:
        return false;
    }
}

QRegularExpression getPattern(int n)
{
    // The regular expression engine's \w leaves out combining marks; this class is the word
    // character of the scans. Lookarounds stand for \b, which would use \w.
    const QString wordChar = QStringLiteral("[\\p{L}\\p{N}\\p{M}\\p{Pc}]");
    QString pattern = wordChar + u'+';
    if (n > 1) {
        QStringList words;
        for (int i = 0; i < n; ++i)
            words.append(wordChar + u'+');
        pattern = QStringLiteral("(?<!") + wordChar + u')' + words.join(QStringLiteral("[\\s|]+")) +
                  QStringLiteral("(?!") + wordChar + u')';
    }
    return QRegularExpression(pattern, QRegularExpression::UseUnicodePropertiesOption);
}

std::optional<QString> autoSelect2(const QString &text, const SynonymLists &lists,
                                   const QSet<QString> &protectedTerms,
                                   const AutoSelectOptions &options, const Progress &progress)
{
    QString out;
    out.reserve(text.size() + text.size() / 2);
    AutoSelectRun run(lists, protectedTerms, options);
    if (!selectInto(text, run, out, progress))
        return std::nullopt;
    if (progress)
        progress(text.size(), text.size());
    return out;
}

std::optional<QString> autoSelectPasses(const QString &text, const SynonymLists &lists,
                                        const QSet<QString> &protectedTerms,
                                        const QList<int> &levels, AutoSelectOptions options,
                                        const Progress &progress)
{
    QString result = text;
    for (qsizetype i = 0; i < levels.size(); ++i) {
        options.qlevel = levels[i];
        Progress passProgress;
        if (progress) {
            // One pass after the other fills the range: pass i covers [i, i + 1) of the total.
            const qsizetype passes = levels.size();
            passProgress = [&progress, i, passes](qsizetype done, qsizetype total) {
                progress(i * total + done, passes * total);
            };
        }
        std::optional<QString> next =
            autoSelect2(result, lists, protectedTerms, options, passProgress);
        if (!next)
            return std::nullopt;
        result = std::move(*next);
    }
    return result;
}

bool autoSelectPassesTo(const QString &text, const SynonymLists &lists,
                        const QSet<QString> &protectedTerms, const QList<int> &levels,
                        AutoSelectOptions options, const Writer &write)
{
    qsizetype depth = 0;
    for (const QChar c : text)
        trackDepth(c, depth);
    if (depth != 0 && !levels.isEmpty())
        return false;
    // A synonym holding a brace may leave a pass's result unbalanced, which only the end of the
    // next pass would tell, after some of it was written: such lists are worked on whole.
    if (levels.size() > 1 && (holdsBraces(lists.bestfav) || holdsBraces(lists.betterfav) ||
                              holdsBraces(lists.goodfav) || holdsBraces(lists.userFav) ||
                              holdsBraces(lists.allUserSyn) || holdsBraces(lists.userSyn))) {
        const std::optional<QString> result =
            autoSelectPasses(text, lists, protectedTerms, levels, options);
        if (!result)
            return false;
        write(*result);
        return true;
    }

    // The passes are chained: each one's result is the next one's input.
    std::vector<std::unique_ptr<StreamedPass>> passes(size_t(levels.size()));
    Writer next = write;
    for (qsizetype i = levels.size(); i-- > 0;) {
        options.qlevel = levels[i];
        passes[size_t(i)] =
            std::make_unique<StreamedPass>(lists, protectedTerms, options, std::move(next));
        next = [pass = passes[size_t(i)].get()](QStringView piece) { pass->feed(piece); };
    }
    for (qsizetype from = 0; from < text.size(); from += streamPiece)
        next(QStringView(text).sliced(from, qMin(streamPiece, text.size() - from)));
    for (const std::unique_ptr<StreamedPass> &pass : passes)
        if (!pass->finish())
            return false;
    return true;
}

QList<int> favouritePasses(int qualityIndex)
{
    switch (qualityIndex) {
    case 0:
        return {AllFavourites};
    case 1:
        return {BetterFavourites};
    case 2:
        return {BestFavourites};
    case 3:
        return {BestFavourites, BetterFavourites, AllFavourites};
    default:
        return {};
    }
}

std::optional<QList<TextSpan>> formatIdentified(const QString &text, const SynonymLists &lists,
                                                int max, qsizetype start, IdentifyMode mode,
                                                const Progress &progress)
{
    const std::array<const SynonymMap *, 6> all = {&lists.bestfav,    &lists.betterfav,
                                                   &lists.goodfav,    &lists.userFav,
                                                   &lists.allUserSyn, &lists.userSyn};
    auto found = [&all](const QString &key) {
        for (const SynonymMap *map : all)
            if (map->contains(key))
                return true;
        return false;
    };

    QList<TextSpan> spans;
    auto piece = [&](qsizetype begin, qsizetype end) {
        scanPiece(text, begin, end, max, progress, [&](qsizetype q, const PhraseEnds &ends) {
            for (qsizetype n = ends.size(); n >= 1; --n) {
                const qsizetype phraseEnd = ends[n - 1];
                if (!found(QStringView(text).sliced(q, phraseEnd - q).toString().toLower()))
                    continue;
                const bool underline = n > 1 ? mode != IdentifyMode::RemoveUnderline
                                             : mode == IdentifyMode::WordsAndPhrases;
                if (underline)
                    spans.append({start + q, phraseEnd - q});
                return phraseEnd;
            }
            return ends[0];
        });
    };

    qsizetype pos = 0;
    for (;;) {
        const qsizetype open = text.indexOf(u'{', pos);
        if (open < 0) {
            piece(pos, text.size());
            break;
        }
        const qsizetype close = spintax::matchingRightBrace(text, open);
        if (close < 0)
            return std::nullopt;
        piece(pos, open);
        // Inside the group every brace ends a piece; bars separate words like blanks do, so a
        // phrase may run across alternatives.
        qsizetype from = open + 1;
        for (qsizetype k = open + 1; k <= close; ++k) {
            if (text[k] == u'{' || text[k] == u'}') {
                piece(from, k);
                from = k + 1;
            }
        }
        pos = close + 1;
    }
    if (progress)
        progress(text.size(), text.size());
    return spans;
}

} // namespace selection
