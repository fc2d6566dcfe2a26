#pragma once

#include "autoselect.h"

#include <memory>

class QTextDocument;

namespace selection {

// Gives the whole document a plain character format and underlines the spans (document
// positions, as formatIdentified() returns them for the document's plain text). Runs as one edit
// block, so the document lays out once however many spans there are.
void applyIdentified(QTextDocument &document, const QList<TextSpan> &spans);

// Identify on a copy of `document`, which the editor then takes over in one swap (so it lays out
// once and the user's document is never seen half-marked). No copy when a `{` has no partner.
// The copy has no highlighter and no parent.
std::unique_ptr<QTextDocument> identifiedCopy(const QTextDocument &document,
                                              const SynonymLists &lists, IdentifyMode mode);

// Replaces the character format of the whole document with a plain one ("Remove Underline").
void removeUnderline(QTextDocument &document);

} // namespace selection
