#pragma once

#include <QStringView>

// The number of plain sentences of a text without spin groups: in each paragraph, the pieces
// ended by ".", "?" or "!" (and the rest after the last one) that hold a letter or a digit.
// A run of terminators ("...", "?!") ends one sentence.
int sentenceCount(QStringView text);
