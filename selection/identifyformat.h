#pragma once

#include "autoselect.h"

class QTextDocument;

namespace selection {

// Gives the whole document a plain character format and underlines the spans (document
// positions, as formatIdentified() returns them for the document's plain text). Runs as one edit
// block, so the document lays out once however many spans there are. The document's modified
// flag stays as it was: the marks are no change of the text the user saves.
void applyIdentified(QTextDocument &document, const QList<TextSpan> &spans);

// Identify on the document in place: the marks of formatIdentified() for its whole text, applied
// in one edit block. The document keeps its highlighter, its undo history (the marks are one
// Undo step) and everything watching it. False, and the document unchanged, when a `{` has no
// partner.
bool identifyDocument(QTextDocument &document, const SynonymLists &lists, IdentifyMode mode);

// Replaces the character format of the whole document with a plain one ("Remove Underline").
void removeUnderline(QTextDocument &document);

} // namespace selection
