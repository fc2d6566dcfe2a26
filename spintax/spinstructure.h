#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

// Structural operations on spin text.
//
// In spin text `{`, `|` and `}` are always syntax: `{` opens a group, `|`
// separates its alternatives, `}` closes it. Alternatives may be empty and may
// hold further groups to any depth. None of these functions requires balanced
// text: a missing partner is reported as -1 and the tests answer false.
//
// Positions are QString (UTF-16 code unit) indices counted from 0. Every scan
// is iterative, so text nested hundreds of thousands of levels deep is as safe
// as flat text.
namespace spintax {

// Index of the `}` that closes the group opened at `start`, or -1. Scanning
// from `start`, `{` counts +1 and `}` counts -1; the result is the first `}`
// that brings the count to exactly 0. From a non-brace character the count
// first goes negative at a `}` and the search goes on, so «a}b» from 0 is -1.
// A `start` outside the text gives -1.
qsizetype matchingRightBrace(QStringView text, qsizetype start);

// Mirror of matchingRightBrace: index of the `{` that opens the group closed at
// `start`, scanning backwards, or -1.
qsizetype matchingLeftBrace(QStringView text, qsizetype start);

// 0 followed by the index of every top-level bar of a group's content, in
// ascending order. A content that begins with a bar yields 0 twice
// («|a|b» gives 0, 0, 2); the top-level split relies on that for its empty
// first alternative.
QList<qsizetype> barPos(QStringView content);

// The alternatives of a group's content cut at its top-level bars, every empty
// piece kept wherever it is: «a||b|» gives "a", "", "b", "". A content without
// a top-level bar («a {b|c}») is one alternative, the whole content.
QStringList topLevelSplit(QStringView content);

// The content cut at every bar, nested bars included; leading and inner empty
// pieces are kept, empty pieces at the end are dropped: «a||b|» gives "a", "",
// "b"; «|» gives no piece at all; the empty content gives one empty piece.
QStringList simpleSplit(QStringView content);

// The alternatives of a whole group «{...}» (surrounding white space allowed)
// by the top-level split: «{x {y|z}|w}» gives «x {y|z}», "w"; «{}» gives "".
QStringList dissect(QStringView group);

// True as soon as a `}` brings the running brace count from the start of the
// text to 0: «{a}}» is matched; «{a», «}{a}», "abc" and "" are not.
bool bracketsMatch(QStringView text);

// Number of occurrences of `c` in `text`.
qsizetype countChar(QStringView text, QChar c);

// Replaces "&lt;", "&gt;", "&quot;" and then "&amp;" by their characters. The
// ampersand goes last so that «&amp;lt;» becomes "&lt;", not "<".
QString trimHtml(QString html);

} // namespace spintax
