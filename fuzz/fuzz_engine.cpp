// The spin engine's other readers of article text: the unpaired-brace finder agrees with the
// copy source on whether a text is balanced and points at a real brace, distinct copies never
// repeat while unused combinations remain reachable, and the highlighter colours any text.
#include "spintax/distinctcopies.h"
#include "spintax/generator.h"
#include "spintax/generatorcopysource.h"
#include "spintax/gui/levelcolors.h"
#include "spintax/gui/myhighlighter.h"
#include "spintax/unpairedbrace.h"

#include <QGuiApplication>
#include <QSet>
#include <QString>
#include <QTextDocument>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));

    const std::optional<spintax::UnpairedBrace> brace = spintax::firstUnpairedBrace(text);
    if (brace) {
        if (brace->position < 0 || brace->position >= text.size() ||
            text.at(brace->position) != brace->brace)
            std::abort();
        const qsizetype lineStart = text.lastIndexOf(u'\n', brace->position) + 1;
        if (brace->line != text.first(brace->position).count(u'\n') + 1 ||
            brace->column != brace->position - lineStart + 1)
            std::abort();
        if (spintax::unpairedBraceMessage(*brace).isEmpty())
            std::abort();
    }

    spintax::Generator generator;
    generator.setSeed(size);
    spintax::GeneratorCopySource source(generator, text);
    // A stray "}" is written as it is, but a "{" without partner stops every copy.
    if ((!brace && !source.balanced()) || (brace && brace->brace == u'{' && source.balanced()))
        std::abort();

    if (text.size() <= 4096) {
        spintax::DistinctCopies copies(source);
        QSet<QString> seen;
        int repeats = 0;
        for (int k = 0; k < 6; ++k) {
            const std::optional<QString> copy = copies.next();
            if (!copy) {
                if (source.balanced())
                    std::abort();
                break;
            }
            if (seen.contains(*copy))
                ++repeats;
            seen.insert(*copy);
        }
        // Equal texts may come from different choices, so repeats are allowed; more distinct
        // copies than draws are not.
        if (seen.size() + repeats > 6)
            std::abort();
    }

    QTextDocument document;
    MyHighlighter highlighter(&document, spintax::LevelColors());
    document.setPlainText(text.left(20000));
    highlighter.recolourDocument();
    return 0;
}
