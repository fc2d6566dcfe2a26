// libFuzzer target for the spin-structure operations and the depth colouring.
// Beyond "does not crash" it checks properties that must hold for any text:
// brace partners agree in both directions, the top-level split loses nothing,
// the colour runs tile the paragraph and end at the right depth.

#include "spintax/gui/bracepair.h"
#include "spintax/gui/levelruns.h"
#include "spintax/spinstructure.h"

#include <QString>

#include <cstdint>
#include <cstdlib>

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

// The first byte chooses how the rest becomes text: as UTF-8, or one byte per
// character over a small alphabet so that braces and bars are dense.
QString textFrom(const uint8_t *data, size_t size)
{
    if (size == 0)
        return {};
    const char *bytes = reinterpret_cast<const char *>(data + 1);
    const qsizetype length = qsizetype(size - 1);
    if (data[0] & 1)
        return QString::fromUtf8(bytes, length);
    static const char16_t alphabet[] = u"{}|a \n{}";
    QString text(length, Qt::Uninitialized);
    for (qsizetype i = 0; i < length; ++i)
        text[i] = QChar(alphabet[uint8_t(bytes[i]) % 8]);
    return text;
}

void checkPartners(const QString &text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'{') {
            const qsizetype right = spintax::matchingRightBrace(text, i);
            if (right >= 0) {
                check(text[right] == u'}');
                check(spintax::matchingLeftBrace(text, right) == i);
            }
        } else if (text[i] == u'}') {
            const qsizetype left = spintax::matchingLeftBrace(text, i);
            if (left >= 0) {
                check(text[left] == u'{');
                check(spintax::matchingRightBrace(text, left) == i);
            }
        }
    }
}

void checkSplits(const QString &content)
{
    const QList<qsizetype> bars = spintax::barPos(content);
    const QStringList pieces = spintax::topLevelSplit(content);
    check(pieces.size() == bars.size());
    check(pieces.join(u'|') == content);

    const QStringList simple = spintax::simpleSplit(content);
    if (content.isEmpty()) {
        check(simple == QStringList{QString()});
    } else {
        const QString joined = simple.join(u'|');
        check(content.startsWith(joined));
        for (qsizetype i = joined.size(); i < content.size(); ++i)
            check(content[i] == u'|');
        check(simple.isEmpty() || !simple.last().isEmpty());
    }

    spintax::dissect(u'{' + content + u'}');
}

void checkColouring(const QString &text)
{
    int state = -1;
    for (const QString &paragraph : text.split(u'\n')) {
        const spintax::ParagraphLevels levels = spintax::paragraphLevels(paragraph, state);
        qsizetype next = 0;
        for (qsizetype k = 0; k < levels.runs.size(); ++k) {
            const spintax::LevelRun &run = levels.runs[k];
            check(run.start == next && run.length > 0);
            check(run.level >= 0 && run.level <= 5);
            check(k == 0 || levels.runs[k - 1].level != run.level);
            next = run.start + run.length;
        }
        check(next == paragraph.size());
        const qsizetype start = state < 0 ? 0 : state;
        check(levels.endDepth ==
              start + spintax::countChar(paragraph, u'{') - spintax::countChar(paragraph, u'}'));
        state = levels.endDepth;

        for (qsizetype caret = 0; caret <= paragraph.size(); ++caret) {
            const spintax::BracePair pair = spintax::bracePairAt(paragraph, caret);
            check(pair.opening < 0 || paragraph[pair.opening] == u'{');
            check(pair.closing < 0 || paragraph[pair.closing] == u'}');
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = textFrom(data, size);
    checkPartners(text);
    checkSplits(text);
    checkColouring(text);
    spintax::bracketsMatch(text);
    spintax::trimHtml(text);
    return 0;
}
