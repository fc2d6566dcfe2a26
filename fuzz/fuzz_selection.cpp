// Sentence, paragraph and word steps over arbitrary text: every boundary search answers -1 or a
// position holding the character it looks for, and a chain of steps in one direction always
// moves on and ends (no step returns to where it started).
#include "selection/navigator.h"
#include "selection/paragraphwords.h"

#include <QGuiApplication>
#include <QTextCursor>
#include <QTextDocument>

#include <cstdint>
#include <cstdlib>

namespace {

using Step = std::optional<QTextCursor> (*)(const QTextCursor &);

// Walks from the start (or end) of the document; each reached unit must lie beyond the last.
void walk(QTextDocument &document, Step step, bool forward)
{
    QTextCursor cursor(&document);
    if (!forward)
        cursor.movePosition(QTextCursor::End);
    int last = forward ? -1 : document.characterCount() + 1;
    for (int n = 0; n < document.characterCount() + 2; ++n) {
        const std::optional<QTextCursor> next = step(cursor);
        if (!next)
            return;
        const int at = forward ? next->selectionEnd() : next->selectionStart();
        if (forward ? next->selectionEnd() <= last && next->selectionStart() <= last
                    : next->selectionStart() >= last && next->selectionEnd() >= last)
            std::abort();
        last = at;
        cursor = *next;
    }
    std::abort(); // more steps than characters
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1)).left(2048);
    const int pos = text.isEmpty() ? 0 : data[0] % (text.size() + 1);

    for (int found : {Navigator::leftPunc(text, pos), Navigator::rightPunc(text, pos)}) {
        if (found != -1 && (found < 0 || found >= text.size() ||
                            !QStringLiteral(".?!{}").contains(text.at(found))))
            std::abort();
    }
    for (int found : {Navigator::leftPunc2(text, pos), Navigator::rightPunc2(text, pos)}) {
        if (found != -1 &&
            (found < 0 || found >= text.size() || !QStringLiteral(".?!").contains(text.at(found))))
            std::abort();
    }
    if (pos < text.size()) {
        const int right = Navigator::rightPair(text.at(pos), text, pos);
        const int left = Navigator::leftPair(text.at(pos), text, pos);
        if (right < -1 || right >= text.size() || left < -1 || left >= text.size())
            std::abort();
    }
    (void)paragraphWords(text);

    QTextDocument document;
    document.setPlainText(text);
    QTextCursor at(&document);
    at.setPosition(qMin(pos, document.characterCount() - 1));
    (void)Navigator::curS(at);
    (void)Navigator::curRS(at);
    walk(document, &Navigator::nextSentence, true);
    walk(document, &Navigator::previousSentence, false);
    walk(
        document, [](const QTextCursor &c) { return Navigator::nextParagraph(c); }, true);
    walk(
        document, [](const QTextCursor &c) { return Navigator::previousParagraph(c); }, false);
    walk(document, &Navigator::nextWord, true);
    walk(document, &Navigator::previousWord, false);
    return 0;
}
