#include "spindocks.h"

#include "spintax/spinstructure.h"

namespace spindocks {

QString shownText(const QString &text, qsizetype limit)
{
    if (text.size() <= limit)
        return text;
    qsizetype cut = limit;
    // Never split a surrogate pair.
    if (cut > 0 && text.at(cut - 1).isHighSurrogate())
        --cut;
    return text.left(cut) + QChar(0x2026);
}

QStringList groupEntries(const QStringList &alternatives)
{
    QStringList entries{blankEntry()};
    for (const QString &alternative : alternatives) {
        if (!entries.contains(alternative))
            entries.append(alternative);
    }
    return entries;
}

QString tickedText(const QStringList &ticked, const QString &original)
{
    if (ticked.isEmpty())
        return original;
    bool blank = false;
    QStringList parts;
    for (const QString &entry : ticked) {
        if (entry == blankEntry())
            blank = true;
        else if (!entry.isEmpty())
            parts.append(entry);
    }
    if (parts.isEmpty())
        return blank ? QStringLiteral("{|") + original + QLatin1Char('}') : original;
    if (blank)
        return QStringLiteral("{|") + parts.join(QLatin1Char('|')) + QLatin1Char('}');
    if (parts.size() == 1)
        return parts.first();
    return QLatin1Char('{') + parts.join(QLatin1Char('|')) + QLatin1Char('}');
}

namespace {

// A completed group token run: the group up to its closing brace, the rest kept as trailing.
RapidColumn groupColumn(const QString &accumulated)
{
    RapidColumn column;
    const QString text = accumulated.trimmed();
    const qsizetype close = spintax::matchingRightBrace(text, 0);
    const QString group = close < 0 ? text : text.left(close + 1);
    if (close >= 0)
        column.trailing = text.mid(close + 1);
    column.alternatives = spintax::dissect(group);
    column.word = column.alternatives.value(0);
    return column;
}

} // namespace

QList<RapidColumn> rapidColumns(const QString &text)
{
    QStringList tokens = text.split(QLatin1Char(' '));
    while (!tokens.isEmpty() && tokens.last().isEmpty())
        tokens.removeLast();

    QList<RapidColumn> columns;
    bool inGroup = false;
    QString accumulated;
    int depth = 0;
    for (const QString &token : std::as_const(tokens)) {
        if (!inGroup && token.trimmed().startsWith(QLatin1Char('{'))) {
            inGroup = true;
            depth = 0;
        }
        if (!inGroup) {
            columns.append(RapidColumn{token, {}, {}});
            continue;
        }
        accumulated += QLatin1Char(' ') + token;
        // Count only the new token's braces: the accumulated text was counted before.
        for (QChar c : token) {
            if (c == QLatin1Char('{'))
                ++depth;
            else if (c == QLatin1Char('}'))
                --depth;
        }
        if (depth <= 0) {
            columns.append(groupColumn(accumulated));
            inGroup = false;
            accumulated.clear();
        }
    }
    return columns;
}

QString rapidPiece(const RapidColumn &column, const QStringList &ticked)
{
    if (ticked.isEmpty())
        return column.word + column.trailing;
    return QLatin1Char('{') + column.word + QLatin1Char('|') + ticked.join(QLatin1Char('|')) +
           QLatin1Char('}') + column.trailing;
}

} // namespace spindocks
