#include "unpairedbrace.h"

#include <vector>

namespace spintax {

std::optional<UnpairedBrace> firstUnpairedBrace(QStringView text)
{
    // Open braces still waiting for their `}`. A stray `}` can only come while none is open,
    // so it is the first unpaired brace and ends the scan.
    std::vector<qsizetype> open;
    qsizetype unpaired = -1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('{')) {
            open.push_back(i);
        } else if (c == QLatin1Char('}')) {
            if (open.empty()) {
                unpaired = i;
                break;
            }
            open.pop_back();
        }
    }
    // Otherwise the outermost brace left open is the first one.
    if (!open.empty())
        unpaired = open.front();
    if (unpaired < 0)
        return std::nullopt;

    UnpairedBrace brace;
    brace.position = unpaired;
    brace.brace = text[unpaired];
    const QStringView before = text.left(unpaired);
    brace.line = int(before.count(QLatin1Char('\n'))) + 1;
    brace.column = int(unpaired - (before.lastIndexOf(QLatin1Char('\n')) + 1)) + 1;
    return brace;
}

QString unpairedBraceMessage(const UnpairedBrace &brace)
{
    const QChar partner = brace.brace == QLatin1Char('{') ? QLatin1Char('}') : QLatin1Char('{');
    return QStringLiteral("Unbalanced braces: \"%1\" at line %2, column %3 has no matching \"%4\"")
        .arg(brace.brace)
        .arg(brace.line)
        .arg(brace.column)
        .arg(partner);
}

} // namespace spintax
