#pragma once

#include <QString>

// Deterministic spin articles for the benchmarks. The same (words, seed) always
// gives the same text, so figures from different runs and programs compare.
namespace benchdata {

// An article of about `words` words in paragraphs of 4-8 sentences. About 30%
// of the words sit in groups of 2-6 alternatives, about 10% of those groups hold
// a nested group, and now and then a whole sentence becomes «{|A.|B.}».
QString spinArticle(int words, quint32 seed = 1);

// One sentence of the articles' kind: `words` words, about 30% of them spun, ended by ".".
QString spinSentence(int words, quint32 seed = 1);

// «{a|{a|{a|...}}}» nested `depth` levels deep: the worst case for recursion.
QString deepNesting(int depth);

// «{{{...a...}}}»: one word inside `depth` bare braces, on one line.
QString braceNesting(int depth);

// `count` sibling groups «{a|b} » on one line: the worst case for wide scans.
QString siblings(int count);

} // namespace benchdata
