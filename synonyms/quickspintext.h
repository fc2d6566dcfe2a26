#pragma once

#include <QList>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

// The text rules of the Quick Spin panel, on plain strings: the spin group written for the ticked
// rows, the text put back when every row is unticked, where the word or group under the caret
// is, the whole-word occurrences Spin All replaces, and the characters the add field accepts.
// Positions are QString (UTF-16) indices.
namespace quickspin {

// `entry` with its first letter upper-cased when `capital` ("quick" -> "Quick").
QString capitalised(const QString &entry, bool capital);

struct GroupChoice
{
    QString group; // what replaces the target in the text
    QString label; // the panel's new label: the first ticked entry, empty when the blank is ticked
    bool blank = false;

    friend bool operator==(const GroupChoice &, const GroupChoice &) = default;
};

// The spin group for the ticked entries in the order they were ticked ("(blank)" stands for
// the empty alternative); `label` is the panel's label text before the change and `word` the
// word the list belongs to.
//   fast, quick, rapid          -> {fast|quick|rapid}
//   fast, quick, rapid, (blank) -> {|fast|quick|rapid}   (the blank always goes first)
//   fast                        -> fast
//   (blank) alone               -> {|fast}                (the label, else the word, made optional)
GroupChoice groupText(const QStringList &entries, const QString &label, const QString &word);

struct Restored
{
    QString text;  // replaces the editor's selection
    QString label; // new label; the first label.size() characters of text are selected

    friend bool operator==(const Restored &, const Restored &) = default;
};

// What goes back into the text when the last row is unticked: the label (the single entry that
// was written), or, after the blank was ticked (empty label), the group without its empty
// alternative: "{|fast}" -> "fast", "{|fast|quick}" -> "{fast|quick}".
Restored deselectedText(const QString &label, const QString &selectedText);

// The innermost spin group around position `p` of a paragraph, braces included, as
// [first, last] indices. The caret just before "{" or just after "}" counts as inside. A caret
// between a nested group and its outer brace finds nothing: «{a {b|c} d|e}» on "a" is no group.
struct Span
{
    qsizetype first = 0;
    qsizetype last = 0; // inclusive

    friend bool operator==(const Span &, const Span &) = default;
};
std::optional<Span> groupAround(QStringView paragraph, qsizetype p);

// Where the word under a caret at `caret` of a paragraph is looked for when no group surrounds
// it: at the paragraph end the last character; before a "." or "," that ends a word, the word.
// -1 for an empty paragraph (the word that ends the previous paragraph).
qsizetype wordPosition(QStringView paragraph, qsizetype caret);

// Start indices of every occurrence of `word` in `text` that starts and ends at a word boundary
// (a neighbour that is not a letter, digit or underscore); braces and bars in `word` are literal.
// Case-sensitive; occurrences do not overlap.
QList<qsizetype> wholeWordOccurrences(const QString &text, const QString &word);

// The add field accepts any text made of one script's letters plus blanks, digits and the
// punctuation of spin text and phrases. Arabic and Hebrew have their own blocks, Bulgarian
// Cyrillic, every other language Latin (with Latin-1, Latin Extended-A, Romanian's comma-below
// letters and Latin Extended Additional).
QRegularExpression addFieldPattern(const QString &languageCode);

} // namespace quickspin
