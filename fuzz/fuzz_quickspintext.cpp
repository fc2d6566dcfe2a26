// The Quick Spin panel's text rules on arbitrary paragraphs and entries: a group found around a
// position holds that position and is balanced, whole-word occurrences really are the word at
// word boundaries, and a group written from ticked entries and unticked again gives the text
// back for a single entry.
#include "synonyms/quickspintext.h"

#include <QStringList>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2)
        return 0;
    const qsizetype position = data[0];
    const QString all =
        QString::fromUtf8(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1)).left(4096);
    // "paragraph \x01 word \x01 entry \x01 entry ..."
    QStringList parts = all.split(QChar(1));
    const QString paragraph = parts.takeFirst();
    const QString word = parts.isEmpty() ? QString() : parts.takeFirst();

    const qsizetype p = paragraph.isEmpty() ? 0 : position % (paragraph.size() + 1);
    if (const std::optional<quickspin::Span> span = quickspin::groupAround(paragraph, p)) {
        if (span->first < 0 || span->last >= paragraph.size() || span->first > span->last ||
            paragraph.at(span->first) != u'{' || paragraph.at(span->last) != u'}' ||
            p < span->first || p > span->last + 1)
            std::abort();
    }
    const qsizetype at = quickspin::wordPosition(paragraph, p);
    if (at < -1 || at >= qMax<qsizetype>(1, paragraph.size()))
        std::abort();

    if (!word.isEmpty()) {
        qsizetype previousEnd = 0;
        for (qsizetype start : quickspin::wholeWordOccurrences(paragraph, word)) {
            if (start < previousEnd ||
                QStringView(paragraph).sliced(start).left(word.size()) != word)
                std::abort();
            previousEnd = start + word.size();
        }
    }

    const quickspin::GroupChoice choice = quickspin::groupText(parts, word, word);
    (void)quickspin::deselectedText(choice.label, choice.group);
    (void)quickspin::capitalised(word, position & 1);
    (void)quickspin::addFieldPattern(QStringLiteral("eng")).match(paragraph);
    return 0;
}
