#pragma once

#include <QString>

namespace spintax {

class SpinTree;

// makeFlat on a text parsed already (the status figures parse once).
QString makeFlat(const SpinTree &tree);

// `text` parsed into a tree kept per thread, so functions called on every
// caret move reuse its memory; null when a `{` has no partner. Valid until the
// next call on the same thread.
const SpinTree *parseReusable(const QString &text);

} // namespace spintax
