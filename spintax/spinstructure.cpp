#include "spinstructure.h"

namespace spintax {

qsizetype matchingRightBrace(QStringView text, qsizetype start)
{
    if (start < 0)
        return -1;
    qsizetype count = 0;
    const qsizetype size = text.size();
    for (qsizetype i = start; i < size; ++i) {
        const QChar c = text[i];
        if (c == u'{') {
            ++count;
        } else if (c == u'}') {
            if (--count == 0)
                return i;
        }
    }
    return -1;
}

qsizetype matchingLeftBrace(QStringView text, qsizetype start)
{
    if (start < 0 || start >= text.size())
        return -1;
    qsizetype count = 0;
    for (qsizetype i = start; i >= 0; --i) {
        const QChar c = text[i];
        if (c == u'}') {
            ++count;
        } else if (c == u'{') {
            if (--count == 0)
                return i;
        }
    }
    return -1;
}

QList<qsizetype> barPos(QStringView content)
{
    QList<qsizetype> positions{0};
    qsizetype depth = 0;
    const qsizetype size = content.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = content[i];
        if (c == u'{')
            ++depth;
        else if (c == u'}')
            --depth;
        else if (c == u'|' && depth == 0)
            positions.append(i);
    }
    return positions;
}

QStringList topLevelSplit(QStringView content)
{
    const QList<qsizetype> bars = barPos(content);
    if (bars.size() == 1)
        return {content.toString()};

    // Each piece runs from one entry of `bars` to the next; every entry but the
    // leading 0 sits on its bar, which the piece must not keep.
    const auto piece = [content](qsizetype from, qsizetype to) {
        QStringView p = content.sliced(from, to - from);
        if (p.startsWith(u'|'))
            p = p.sliced(1);
        return p.toString();
    };
    QStringList pieces;
    pieces.reserve(bars.size());
    for (qsizetype k = 1; k < bars.size(); ++k)
        pieces.append(piece(bars[k - 1], bars[k]));
    pieces.append(piece(bars.last(), content.size()));
    return pieces;
}

QStringList simpleSplit(QStringView content)
{
    QStringList pieces;
    qsizetype from = 0;
    for (qsizetype i = 0; i < content.size(); ++i) {
        if (content[i] == u'|') {
            pieces.append(content.sliced(from, i - from).toString());
            from = i + 1;
        }
    }
    pieces.append(content.sliced(from).toString());
    // An empty content stays one empty piece; otherwise trailing empty pieces
    // go, which leaves nothing at all for a content made only of bars.
    if (content.isEmpty())
        return pieces;
    while (!pieces.isEmpty() && pieces.last().isEmpty())
        pieces.removeLast();
    return pieces;
}

QStringList dissect(QStringView group)
{
    const QStringView trimmed = group.trimmed();
    // Callers pass «{...}»; anything shorter than two characters has no
    // content between the braces rather than an out-of-range cut.
    const QStringView rest =
        trimmed.size() >= 2 ? trimmed.sliced(1, trimmed.size() - 2) : QStringView();
    if (!rest.contains(u'|'))
        return {rest.toString()};
    return topLevelSplit(rest);
}

bool bracketsMatch(QStringView text)
{
    qsizetype count = 0;
    for (const QChar c : text) {
        if (c == u'{') {
            ++count;
        } else if (c == u'}') {
            if (--count == 0)
                return true;
        }
    }
    return false;
}

qsizetype countChar(QStringView text, QChar c)
{
    return text.count(c);
}

QString trimHtml(QString html)
{
    html.replace(QLatin1String("&lt;"), QLatin1String("<"));
    html.replace(QLatin1String("&gt;"), QLatin1String(">"));
    html.replace(QLatin1String("&quot;"), QLatin1String("\""));
    html.replace(QLatin1String("&amp;"), QLatin1String("&"));
    return html;
}

} // namespace spintax
