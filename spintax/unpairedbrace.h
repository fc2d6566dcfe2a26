#pragma once

#include <QChar>
#include <QString>
#include <QStringView>

#include <optional>

namespace spintax {

// A brace without partner and where the user finds it: line and column count from 1, lines
// are cut at line feeds and columns are UTF-16 code units.
struct UnpairedBrace
{
    qsizetype position = -1;
    QChar brace;
    int line = 0;
    int column = 0;

    bool operator==(const UnpairedBrace &) const = default;
};

// The first brace, in text order, that has no partner: a `}` with no open group before it, or
// a `{` whose group never closes (the brace generation stops at). Braces pair innermost first,
// so in «{a {b|c} d» the `{` at 0 is the one without partner. No value for balanced text.
std::optional<UnpairedBrace> firstUnpairedBrace(QStringView text);

// «Unbalanced braces: "{" at line 3, column 7 has no matching "}"».
QString unpairedBraceMessage(const UnpairedBrace &brace);

} // namespace spintax
