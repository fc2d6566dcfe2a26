#pragma once

#include "autoselect.h"

class QTextDocument;

namespace selection {

// Gives the whole document a plain character format and underlines the spans (document
// positions, as formatIdentified() returns them for the document's plain text). Runs as one edit
// block, so the document lays out once however many spans there are.
void applyIdentified(QTextDocument &document, const QList<TextSpan> &spans);

// Replaces the character format of the whole document with a plain one ("Remove Underline").
void removeUnderline(QTextDocument &document);

} // namespace selection
