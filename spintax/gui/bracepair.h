#pragma once

#include <QStringView>

class QTextCharFormat;
class QTextDocument;

namespace spintax {

// The braces the brace-pair highlight marks around the caret. Either position
// may be -1 (no such brace). Positions are in whatever text was searched: the
// paragraph for the QStringView overload, the document for the other.
struct BracePair
{
    qsizetype opening = -1;
    qsizetype closing = -1;

    bool isEmpty() const { return opening < 0 && closing < 0; }
    // Both braces found: each is marked with the matched format. A lone brace
    // gets the unmatched format.
    bool isMatched() const { return opening >= 0 && closing >= 0; }

    friend bool operator==(const BracePair &, const BracePair &) = default;
};

// The brace pair for a caret at `caret` inside `paragraph` (0 = before the
// first character). The brace just before the caret wins over the one after
// it, so in «{a}|{b}» (caret at the bar) the «}» is matched. Its partner is
// searched inside the paragraph only.
BracePair bracePairAt(QStringView paragraph, qsizetype caret);

// The same for a caret at document position `position`, searching only the
// paragraph that holds it; the result is in document positions.
BracePair bracePairAt(const QTextDocument *document, int position);

// White text on (12,199,255) for a brace whose partner was found, white on
// red for one without.
QTextCharFormat matchedBraceFormat();
QTextCharFormat unmatchedBraceFormat();

} // namespace spintax
