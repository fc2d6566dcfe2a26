#include "navigator.h"

#include "guardflags.h"

#include <QString>
#include <QTextBlock>
#include <QTextDocument>

#include <algorithm>
#include <utility>

namespace {

// White space of the unit rules: every character up to the space, control
// characters and tabs included.
bool isWhite(QChar c)
{
    return c.unicode() <= 32;
}

bool isTerminator(QChar c)
{
    return c == u'.' || c == u'?' || c == u'!';
}

bool isOpener(QChar c)
{
    return c == u'{' || c == u'(' || c == u'[';
}

bool isCloser(QChar c)
{
    return c == u'}' || c == u')' || c == u']';
}

bool isBlank(const QString &text)
{
    return std::all_of(text.cbegin(), text.cend(), isWhite);
}

template <typename Pred> int lastAtOrBefore(const QString &text, int pos, Pred pred)
{
    for (int i = std::min(pos, int(text.size()) - 1); i >= 0; --i)
        if (pred(text.at(i)))
            return i;
    return -1;
}

template <typename Pred> int firstAtOrAfter(const QString &text, int pos, Pred pred)
{
    for (int i = std::max(pos, 0); i < text.size(); ++i)
        if (pred(text.at(i)))
            return i;
    return -1;
}

int firstNonWhiteAtOrAfter(const QString &text, int pos)
{
    return firstAtOrAfter(text, pos, [](QChar c) { return !isWhite(c); });
}

int lastNonWhiteAtOrBefore(const QString &text, int pos)
{
    return lastAtOrBefore(text, pos, [](QChar c) { return !isWhite(c); });
}

// One past the last non-blank character before pos: "the cat {" cut before
// the brace ends after "cat".
int textEndBefore(const QString &text, int pos)
{
    while (pos > 0 && isWhite(text.at(pos - 1)))
        --pos;
    return pos;
}

// Moves a unit start that falls on white space on to the next non-blank
// character, never past limit.
int skipWhite(const QString &text, int start, int limit)
{
    while (start < limit && isWhite(text.at(start)))
        ++start;
    return start;
}

QTextCursor span(const QTextBlock &block, int start, int end)
{
    QTextCursor cursor(block);
    cursor.setPosition(block.position() + start);
    cursor.setPosition(block.position() + end, QTextCursor::KeepAnchor);
    return cursor;
}

int positionInBlock(const QTextCursor &cursor)
{
    return cursor.positionInBlock();
}

struct Span
{
    int start;
    int end;
};

// The plain sentence around caret c of paragraph text p: from after the last
// boundary on the left (and the blank after it) to the next boundary on the
// right. A terminator ends its sentence and is part of it; with braces as
// boundaries an opening brace ends the sentence before it (and before the
// blank in front of it).
Span sentenceAround(const QString &p, int c, bool bracesAreBoundaries)
{
    const int len = int(p.size());
    // A caret right before a terminator is still inside the sentence that
    // terminator ends ("Hello^." is "Hello."), so the left search must not
    // stop at that terminator.
    const int leftFrom = (c < len && isTerminator(p.at(c))) ? c - 1 : c;
    const int b =
        bracesAreBoundaries ? Navigator::leftPunc(p, leftFrom) : Navigator::leftPunc2(p, leftFrom);
    // The unit starts after the boundary and the blank that follows it; at a
    // paragraph end that leaves an empty unit rather than a blank one.
    const int start = b < 0 ? 0 : skipWhite(p, b + 1, len);
    const int e = bracesAreBoundaries ? Navigator::rightPunc(p, c) : Navigator::rightPunc2(p, c);
    int end = len;
    if (e >= 0)
        end = isTerminator(p.at(e)) ? e + 1 : textEndBefore(p, e);
    // A caret in the blank between a terminator and a group ("Hi. ^ {a|b}")
    // is in no sentence: the start lands on the brace, the end before the
    // blank. The unit is then empty at the caret.
    if (start > end)
        return {std::clamp(c, 0, len), std::clamp(c, 0, len)};
    return {start, end};
}

// End (exclusive) of the sentence unit that starts at s: a group through its
// partner (to the paragraph end when unmatched), otherwise through the next
// terminator, or up to the next group, or to the paragraph end.
int unitEnd(const QString &p, int s)
{
    if (p.at(s) == u'{') {
        const int r = Navigator::rightPair(u'{', p, s);
        return r < 0 ? int(p.size()) : r + 1;
    }
    const int e = Navigator::rightPunc(p, s);
    if (e < 0)
        return int(p.size());
    return isTerminator(p.at(e)) ? e + 1 : textEndBefore(p, e);
}

std::optional<QTextCursor> firstUnitOfNextParagraph(const QTextCursor &from)
{
    const auto reached = Navigator::nextParagraph(from, false);
    if (!reached)
        return std::nullopt;
    const QTextBlock block = reached->block();
    const QString p = block.text();
    if (p.isEmpty())
        return std::nullopt;
    int f = Navigator::rightPunc(p, 0);
    if (f < 0)
        f = 0;
    // Text before the first boundary is the first sentence ("Hi {a|b}" starts
    // with "Hi"); otherwise the unit starts at the boundary itself (a group,
    // or a paragraph without any boundary read as one sentence).
    if (f > 0 && !isBlank(p.left(f)))
        return span(block, 0, isTerminator(p.at(f)) ? f + 1 : textEndBefore(p, f));
    return span(block, f, unitEnd(p, f));
}

// Trimmed, exactly one character long.
bool isOneCharacter(const QString &p)
{
    const int first = firstNonWhiteAtOrAfter(p, 0);
    return first >= 0 && lastNonWhiteAtOrBefore(p, int(p.size()) - 1) == first;
}

std::optional<QTextCursor> lastUnitOfPreviousParagraph(const QTextCursor &from)
{
    // One-character paragraphs (a list marker, a stray letter) hold no sentence to step to.
    auto reached = Navigator::previousParagraph(from, false);
    while (reached && isOneCharacter(reached->block().text()))
        reached = Navigator::previousParagraph(*reached, false);
    if (!reached)
        return std::nullopt;
    const QTextBlock block = reached->block();
    const QString p = block.text();
    const int t = lastNonWhiteAtOrBefore(p, int(p.size()) - 1);
    if (t < 0)
        return std::nullopt; // a reached paragraph is never blank; stay safe anyway
    const int r = Navigator::leftPunc(p, t);
    if (r >= 0 && r < t) // text follows the last boundary: that text is the last sentence
        return span(block, firstNonWhiteAtOrAfter(p, r + 1), t + 1);
    const QChar last = p.at(t);
    if (isCloser(last)) {
        // The bracketed phrase that ends the paragraph, brackets included
        // (the opener too: a unit "b)" of "(a b)" would be unbalanced).
        const int partner = Navigator::leftPair(last, p, t);
        return span(block, std::max(partner, 0), t + 1);
    }
    const int start = Navigator::leftPunc(p, t - 1) + 1;
    return span(block, skipWhite(p, start, t), t + 1);
}

// Word moves until the caret is strictly beyond limit (after it for the
// forward move, before it for the backward one); false at the document's
// end or start. A word move can come back to where an earlier one already
// was (the end of "Hi." and its "." word), so the callers keep the furthest
// point reached as the limit and progress is guaranteed.
bool wordForward(QTextCursor &cursor, int limit)
{
    cursor.clearSelection();
    while (cursor.position() <= limit) {
        const int before = cursor.position();
        if (!cursor.movePosition(QTextCursor::NextWord) || cursor.position() <= before)
            return false;
    }
    return true;
}

bool wordBackward(QTextCursor &cursor, int limit)
{
    cursor.clearSelection();
    while (cursor.position() >= limit) {
        const int before = cursor.position();
        if (!cursor.movePosition(QTextCursor::PreviousWord) || cursor.position() >= before)
            return false;
    }
    return true;
}

int documentEnd(const QTextDocument *doc)
{
    return doc->characterCount() - 1;
}

// End of the word that follows position pos in the same paragraph, or pos
// when there is none ("(" of "(bar" is followed by "bar").
int endOfFollowingWord(const QTextDocument *doc, int pos)
{
    const QTextBlock block = doc->findBlock(pos);
    const int next = firstNonWhiteAtOrAfter(block.text(), pos - block.position());
    if (next < 0)
        return pos;
    QTextCursor cursor(block);
    cursor.setPosition(block.position() + next);
    cursor.select(QTextCursor::WordUnderCursor);
    return std::max(pos, cursor.selectionEnd());
}

int startOfPrecedingWord(const QTextDocument *doc, int pos)
{
    const QTextBlock block = doc->findBlock(pos);
    QTextCursor cursor(block);
    cursor.setPosition(pos);
    if (!cursor.movePosition(QTextCursor::PreviousWord) || cursor.block() != block)
        return pos;
    return cursor.position();
}

} // namespace

Navigator::Navigator(GuardFlags &guards, EditorPort editor)
    : guards(guards), editor(std::move(editor))
{
}

int Navigator::leftPunc(const QString &text, int pos)
{
    return lastAtOrBefore(text, pos, [](QChar c) { return isTerminator(c) || c == u'}'; });
}

int Navigator::rightPunc(const QString &text, int pos)
{
    return firstAtOrAfter(text, pos, [](QChar c) { return isTerminator(c) || c == u'{'; });
}

int Navigator::leftPunc2(const QString &text, int pos)
{
    return lastAtOrBefore(text, pos, isTerminator);
}

int Navigator::rightPunc2(const QString &text, int pos)
{
    return firstAtOrAfter(text, pos, isTerminator);
}

int Navigator::rightPair(QChar opener, const QString &text, int pos)
{
    const QChar closer = opener == u'(' ? u')' : opener == u'[' ? u']' : u'}';
    int count = 0;
    for (int i = std::max(pos, 0); i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == opener) {
            ++count;
        } else if (c == closer) {
            if (--count == 0)
                return i;
        }
    }
    return -1;
}

int Navigator::leftPair(QChar closer, const QString &text, int pos)
{
    const QChar opener = closer == u')' ? u'(' : closer == u']' ? u'[' : u'{';
    int count = 0;
    for (int i = std::min(pos, int(text.size()) - 1); i >= 0; --i) {
        const QChar c = text.at(i);
        if (c == closer) {
            ++count;
        } else if (c == opener) {
            if (--count == 0)
                return i;
        }
    }
    return -1;
}

QTextCursor Navigator::curS(const QTextCursor &cursor)
{
    const QTextBlock block = cursor.block();
    const QString p = block.text();
    const int c = positionInBlock(cursor);

    // Innermost group around the caret: the nearest brace on the caret's left
    // opens and the nearest brace on its right closes. (A caret between a
    // nested group and the outer brace has a closing brace on its left, so
    // it falls to the sentence rules.)
    const int l = lastAtOrBefore(p, c - 1, [](QChar ch) { return ch == u'{' || ch == u'}'; });
    const int r = firstAtOrAfter(p, c, [](QChar ch) { return ch == u'{' || ch == u'}'; });
    if (l >= 0 && r >= 0 && p.at(l) == u'{' && p.at(r) == u'}')
        return span(block, l, r + 1);

    const Span s = sentenceAround(p, c, true);
    return span(block, s.start, s.end);
}

QTextCursor Navigator::curRS(const QTextCursor &cursor)
{
    const QTextBlock block = cursor.block();
    const Span s = sentenceAround(block.text(), positionInBlock(cursor), false);
    return span(block, s.start, s.end);
}

std::optional<QTextCursor> Navigator::nextSentence(const QTextCursor &from)
{
    const QTextBlock block = from.block();
    const QString p = block.text();
    const int len = int(p.size());
    const QString sel = from.selectedText();
    int c = positionInBlock(from);

    // Searching from just before a selected sentence's own terminator finds
    // that terminator as the boundary the next unit starts after.
    if (!sel.isEmpty() && isTerminator(sel.back()) && c < len)
        --c;

    int s = -1;
    if (!sel.isEmpty() && sel.back() == u'}' && c < len) {
        // The current unit is a group: the next one starts at the first
        // non-blank character after it, itself possibly another group.
        s = firstNonWhiteAtOrAfter(p, c);
    } else {
        const int b = rightPunc(p, c);
        if (b >= 0)
            s = p.at(b) == u'{' ? b : firstNonWhiteAtOrAfter(p, b + 1);
    }
    if (s < 0) // nothing but blank left in this paragraph
        return firstUnitOfNextParagraph(from);
    return span(block, s, unitEnd(p, s));
}

std::optional<QTextCursor> Navigator::previousSentence(const QTextCursor &from)
{
    QTextCursor caret(from);
    caret.setPosition(from.selectionStart());
    const QTextBlock block = caret.block();
    const QString p = block.text();
    const QString sel = from.selectedText();
    int c = positionInBlock(caret);

    int r = -1;
    if (sel.startsWith(u'{')) {
        // The current unit is a group: the previous unit ends at the last
        // non-blank character before it, either a group or plain text.
        r = lastNonWhiteAtOrBefore(p, c - 1);
        if (r < 0)
            return lastUnitOfPreviousParagraph(caret);
        if (p.at(r) != u'}') {
            const int start = leftPunc(p, r - 1) + 1;
            return span(block, skipWhite(p, start, r), r + 1);
        }
    } else {
        // The boundary searched for ends the previous unit, so it lies before the current
        // one: a unit that starts with its own terminator or with a closer without partner
        // («} x», reached from the previous paragraph) must not find that character.
        if (!sel.isEmpty() && (isTerminator(sel.front()) || sel.front() == u'}'))
            --c;
        r = leftPunc(p, c);
        if (r < 0)
            return lastUnitOfPreviousParagraph(caret);
    }

    if (p.at(r) == u'}')
        return span(block, std::max(leftPair(u'}', p, r), 0), r + 1);
    const int start = leftPunc(p, r - 1) + 1;
    return span(block, skipWhite(p, start, r), r + 1);
}

std::optional<QTextCursor> Navigator::nextParagraph(const QTextCursor &from, bool highlight)
{
    const QTextBlock next = from.block().next();
    if (!next.isValid())
        return std::nullopt;

    // The first word at or after the next paragraph's start; empty and
    // blank paragraphs hold none and are passed over.
    QTextCursor cursor(next);
    cursor.select(QTextCursor::WordUnderCursor);
    while (!cursor.hasSelection()) {
        if (!wordForward(cursor, cursor.position()))
            return std::nullopt;
        cursor.select(QTextCursor::WordUnderCursor);
    }
    const int s = cursor.selectionStart();
    cursor.setPosition(s);
    if (highlight)
        cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    return cursor;
}

std::optional<QTextCursor> Navigator::previousParagraph(const QTextCursor &from, bool highlight)
{
    // The nearest paragraph before with any text, however short ("I" too, as the
    // forward step stops on it); empty and blank paragraphs are passed over.
    for (QTextBlock block = from.block().previous(); block.isValid(); block = block.previous()) {
        if (firstNonWhiteAtOrAfter(block.text(), 0) < 0)
            continue;
        QTextCursor cursor(block);
        if (highlight)
            cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        return cursor;
    }
    return std::nullopt;
}

std::optional<QTextCursor> Navigator::nextWord(const QTextCursor &from)
{
    const QTextDocument *doc = from.document();
    QTextCursor cursor(from);
    if (cursor.hasSelection()) {
        const QString sel = cursor.selectedText();
        cursor.setPosition(cursor.selectionEnd());
        // Step back into a selected group and before an opener right after
        // the caret, so the word move below stops at that opener instead of
        // jumping over the punctuation run it starts.
        if (sel.endsWith(u'}'))
            cursor.setPosition(cursor.position() - 1);
        if (isOpener(doc->characterAt(cursor.position())) && cursor.position() > 0)
            cursor.setPosition(cursor.position() - 1);
    }
    if (!wordForward(cursor, cursor.position()))
        return std::nullopt;
    int frontier = cursor.position();
    cursor.select(QTextCursor::WordUnderCursor);

    // Blank "words" and a lone "." are stepped over (the "." from its start,
    // so "a.b" reaches "b"); a "." that ends the document is a word.
    const int end = documentEnd(doc);
    for (;;) {
        const QString word = cursor.selectedText();
        const bool dot = word == u"." && cursor.selectionEnd() != end;
        if (!dot && !isBlank(word))
            break;
        cursor.setPosition(cursor.selectionStart());
        if (!wordForward(cursor, frontier))
            return std::nullopt;
        frontier = cursor.position();
        cursor.select(QTextCursor::WordUnderCursor);
    }

    const int wordStart = cursor.selectionStart();
    const int wordEnd = cursor.selectionEnd();
    const bool openerBefore = wordStart > 0 && isOpener(doc->characterAt(wordStart - 1));
    const int startPoint = openerBefore ? wordStart - 1 : wordStart;
    const QChar first = doc->characterAt(startPoint);
    if (!isOpener(first))
        return cursor;

    const QTextBlock block = doc->findBlock(startPoint);
    const int inBlock = startPoint - block.position();
    const int partner = rightPair(first, block.text(), inBlock);
    if (partner >= 0)
        return span(block, inBlock, partner + 1);
    // Unmatched opener: it and the word after it ("(bar").
    const int stop = openerBefore ? wordEnd : endOfFollowingWord(doc, wordEnd);
    return span(block, inBlock, stop - block.position());
}

std::optional<QTextCursor> Navigator::previousWord(const QTextCursor &from)
{
    const QTextDocument *doc = from.document();
    QTextCursor cursor(from);
    cursor.setPosition(from.selectionStart());
    cursor.movePosition(QTextCursor::StartOfWord);
    if (!wordBackward(cursor, cursor.position()))
        return std::nullopt;
    int frontier = cursor.position();
    cursor.select(QTextCursor::WordUnderCursor);

    for (;;) {
        const QString word = cursor.selectedText();
        const bool dot = word == u"." && cursor.selectionStart() != 0;
        if (!dot && !isBlank(word))
            break;
        cursor.setPosition(cursor.selectionStart());
        if (!wordBackward(cursor, std::min(frontier, cursor.position())))
            return std::nullopt;
        frontier = cursor.position();
        cursor.select(QTextCursor::WordUnderCursor);
    }

    const int wordStart = cursor.selectionStart();
    const int closerAt = cursor.selectionEnd() - 1;
    const QChar last = doc->characterAt(closerAt);
    if (!isCloser(last))
        return cursor;

    const QTextBlock block = doc->findBlock(closerAt);
    const int inBlock = closerAt - block.position();
    const int partner = leftPair(last, block.text(), inBlock);
    if (partner >= 0)
        return span(block, partner, inBlock + 1);
    // Unmatched closer: the word before it and the closer ("a)").
    return span(block, startOfPrecedingWord(doc, wordStart) - block.position(), inBlock + 1);
}

QTextCursor Navigator::curS() const
{
    return curS(editor.textCursor());
}

QTextCursor Navigator::curRS() const
{
    return curRS(editor.textCursor());
}

bool Navigator::applyStep(const std::optional<QTextCursor> &unit)
{
    if (!unit)
        return false;
    editor.setTextCursor(*unit);
    return true;
}

bool Navigator::nextS()
{
    return applyStep(nextSentence(editor.textCursor()));
}

bool Navigator::prevS()
{
    return applyStep(previousSentence(editor.textCursor()));
}

bool Navigator::nextS(bool)
{
    const auto hold = guards.hold({GuardFlags::AllowChanges});
    QTextCursor from = editor.textCursor();
    if (!from.hasSelection()) {
        from = curS(from);
        editor.setTextCursor(from);
    }
    const auto unit = nextSentence(from);
    if (!applyStep(unit))
        return false;
    if (loadStepDocks)
        loadStepDocks(unit->selectedText(), StepDirection::Forward);
    return true;
}

bool Navigator::prevS(bool)
{
    const auto hold = guards.hold({GuardFlags::AllowChanges});
    const auto unit = previousSentence(editor.textCursor());
    if (!applyStep(unit))
        return false;
    if (loadStepDocks)
        loadStepDocks(unit->selectedText(), StepDirection::Backward);
    return true;
}

bool Navigator::nextP(bool, bool highlight)
{
    return applyStep(nextParagraph(editor.textCursor(), highlight));
}

bool Navigator::prevP(bool, bool highlight)
{
    return applyStep(previousParagraph(editor.textCursor(), highlight));
}

bool Navigator::nextClicked(bool)
{
    {
        const auto hold = guards.hold({GuardFlags::AllowChanges});
        if (!applyStep(nextWord(editor.textCursor())))
            return false;
    }
    if (trackCursor)
        trackCursor();
    return true;
}

void Navigator::nextClicked(bool checked, bool)
{
    nextClicked(checked);
}

void Navigator::previousClicked(bool)
{
    if (applyStep(previousWord(editor.textCursor())) && trackCursor)
        trackCursor();
}
