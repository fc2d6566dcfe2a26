#include "articlegen.h"
#include "guibenchmain.h"
#include "spintax/gui/bracepair.h"
#include "spintax/gui/levelruns.h"
#include "spintax/gui/myhighlighter.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QTextEdit>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <benchmark/benchmark.h>

namespace {

// A document as an editor holds it: laid out 800 pixels wide (without a
// layout, edits never reach the highlighter) and, unless told otherwise, with
// a highlighter that has done its first pass.
struct HighlightedDocument
{
    enum Setup
    {
        Editor,
        NoHighlighter,
        NoLayout
    };

    explicit HighlightedDocument(const QString &text, Setup setup = Editor)
    {
        if (setup != NoLayout) {
            document.documentLayout();
            document.setTextWidth(800);
        }
        document.setPlainText(text);
        if (setup != NoHighlighter) {
            highlighter = new MyHighlighter(&document, spintax::LevelColors::defaults());
            QCoreApplication::processEvents();
        }
    }

    QTextDocument document;
    MyHighlighter *highlighter = nullptr;
};

// A single 2,000-character paragraph of spin text: one group around fixed
// text and groups, so its closing brace at the end pairs with the very first
// character (the longest scan the brace-pair highlight can make there).
QString longParagraph()
{
    constexpr qsizetype length = 2000;
    const QString text = benchdata::spinArticle(1000, 7).replace(u'\n', u' ');
    qsizetype cut = 0;
    int depth = 0;
    for (qsizetype i = 0; i < text.size() && i < length - 2; ++i) {
        if (text[i] == u'{')
            ++depth;
        else if (text[i] == u'}')
            --depth;
        else if (depth == 0 && text[i] == u' ')
            cut = i;
    }
    QString inner = text.left(cut);
    while (inner.size() < length - 2)
        inner += u'a';
    return u'{' + inner + u'}';
}

// Recolouring every paragraph. Every paragraph whose formats are set again is
// laid out again by the text document, which is most of the time here.
void BM_Rehighlight(benchmark::State &state)
{
    const int words = int(state.range(0));
    HighlightedDocument doc(benchdata::spinArticle(words, 1));
    for (auto _ : state)
        doc.highlighter->rehighlight();
    state.SetItemsProcessed(state.iterations() * words);
    state.counters["paragraphs"] = doc.document.blockCount();
}
BENCHMARK(BM_Rehighlight)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// For comparison: laying the whole article out once more, with no highlighter
// involved. This is the floor for anything that changes every paragraph's
// formats in an editor.
void BM_RelayoutOnly(benchmark::State &state)
{
    const int words = int(state.range(0));
    HighlightedDocument doc(benchdata::spinArticle(words, 1), HighlightedDocument::NoHighlighter);
    for (auto _ : state) {
        doc.document.markContentsDirty(0, doc.document.characterCount());
        benchmark::DoNotOptimize(doc.document.documentLayout()->documentSize());
    }
    state.SetItemsProcessed(state.iterations() * words);
}
BENCHMARK(BM_RelayoutOnly)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// Recolouring after a change of level colours, in a shown editor: one relayout
// of the whole document.
void BM_SetColorsInEditor(benchmark::State &state)
{
    const int words = int(state.range(0));
    QTextEdit editor;
    editor.resize(1000, 700);
    editor.setPlainText(benchdata::spinArticle(words, 1));
    auto *highlighter = new MyHighlighter(editor.document(), spintax::LevelColors::defaults());
    editor.show();
    for (int i = 0; i < 50; ++i)
        QCoreApplication::processEvents();
    spintax::LevelColors other = spintax::LevelColors::defaults();
    other.setColor(2, QColor(10, 20, 30));
    bool flip = false;
    for (auto _ : state) {
        flip = !flip;
        highlighter->setColors(flip ? other : spintax::LevelColors::defaults());
        QCoreApplication::processEvents();
    }
    state.SetItemsProcessed(state.iterations() * words);
}
BENCHMARK(BM_SetColorsInEditor)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// In a shown editor, which lays out lazily below the visible part, after the
// editor has finished its first layout.
void BM_RehighlightInEditor(benchmark::State &state)
{
    const int words = int(state.range(0));
    QTextEdit editor;
    editor.resize(1000, 700);
    editor.setPlainText(benchdata::spinArticle(words, 1));
    auto *highlighter = new MyHighlighter(editor.document(), spintax::LevelColors::defaults());
    editor.show();
    for (int i = 0; i < 50; ++i)
        QCoreApplication::processEvents();
    for (auto _ : state) {
        highlighter->rehighlight();
        // Lets the editor paint as it would before the next user event.
        QCoreApplication::processEvents();
    }
    state.SetItemsProcessed(state.iterations() * words);
}
BENCHMARK(BM_RehighlightInEditor)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// Opening an article in a shown editor whose highlighter is already attached,
// as a document tab does; argument 0 runs without a highlighter for the
// editor's own cost.
void BM_LoadIntoEditor(benchmark::State &state)
{
    const int words = int(state.range(0));
    const QString article = benchdata::spinArticle(words, 1);
    QTextEdit editor;
    editor.resize(1000, 700);
    if (state.range(1) == 1)
        new MyHighlighter(editor.document(), spintax::LevelColors::defaults());
    editor.show();
    QCoreApplication::processEvents();
    for (auto _ : state) {
        editor.setPlainText(article);
        QCoreApplication::processEvents();
    }
    state.SetItemsProcessed(state.iterations() * words);
}
BENCHMARK(BM_LoadIntoEditor)
    ->ArgsProduct({{10000, 100000}, {0, 1}})
    ->ArgNames({"words", "highlighter"})
    ->Unit(benchmark::kMillisecond);

// The same in a document without a layout: the highlighter's own share.
void BM_RehighlightNoLayout(benchmark::State &state)
{
    const int words = int(state.range(0));
    HighlightedDocument doc(benchdata::spinArticle(words, 1), HighlightedDocument::NoLayout);
    for (auto _ : state)
        doc.highlighter->rehighlight();
    state.SetItemsProcessed(state.iterations() * words);
}
BENCHMARK(BM_RehighlightNoLayout)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// One keystroke in the middle of a 2,000-character paragraph, then its undoing
// (time per iteration = two edits, each with its relayout). First argument:
// 1 with the highlighter, 0 without it (the editing and layout cost alone).
// Second: 0 types a letter, 1 a `{`, which changes the depth at the
// paragraph's end.
void BM_TypeInLongParagraph(benchmark::State &state)
{
    HighlightedDocument doc(longParagraph(), state.range(0) == 1
                                                 ? HighlightedDocument::Editor
                                                 : HighlightedDocument::NoHighlighter);
    const QString typed = state.range(1) == 0 ? QStringLiteral("x") : QStringLiteral("{");
    QTextCursor cursor(&doc.document);
    for (auto _ : state) {
        cursor.setPosition(1000);
        cursor.insertText(typed);
        cursor.deletePreviousChar();
    }
    state.SetItemsProcessed(state.iterations() * 2);
}
BENCHMARK(BM_TypeInLongParagraph)
    ->ArgsProduct({{0, 1}, {0, 1}})
    ->ArgNames({"highlighter", "brace"})
    ->Unit(benchmark::kMicrosecond);

// A `{` typed at the start of a whole article changes the depth of every
// paragraph after it, so all of them are recoloured: the worst keystroke.
void BM_TypeBraceAtArticleStart(benchmark::State &state)
{
    const int words = int(state.range(0));
    HighlightedDocument doc(benchdata::spinArticle(words, 1));
    QTextCursor cursor(&doc.document);
    for (auto _ : state) {
        cursor.setPosition(0);
        cursor.insertText(QStringLiteral("{"));
        cursor.deletePreviousChar();
    }
    state.SetItemsProcessed(state.iterations() * 2);
}
BENCHMARK(BM_TypeBraceAtArticleStart)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_BracePairAtParagraphEnd(benchmark::State &state)
{
    HighlightedDocument doc(longParagraph());
    const int end = doc.document.firstBlock().length() - 1;
    for (auto _ : state) {
        const spintax::BracePair pair = spintax::bracePairAt(&doc.document, end);
        benchmark::DoNotOptimize(pair);
    }
}
BENCHMARK(BM_BracePairAtParagraphEnd)->Unit(benchmark::kMicrosecond);

// The colouring computation alone, without the text document around it.
void BM_ParagraphLevels(benchmark::State &state)
{
    const QString paragraph = longParagraph();
    for (auto _ : state) {
        const spintax::ParagraphLevels levels = spintax::paragraphLevels(paragraph, -1);
        benchmark::DoNotOptimize(levels.runs.constData());
    }
    state.SetBytesProcessed(state.iterations() * paragraph.size() * 2);
}
BENCHMARK(BM_ParagraphLevels)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    return benchdata::runWidgetBenchmarks(argc, argv);
}
