#pragma once

#include <QString>

namespace spintax {

class SpinTree;

// makeFlat on a text parsed already (the status figures parse once).
QString makeFlat(const SpinTree &tree);

} // namespace spintax
