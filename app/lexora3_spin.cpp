// Spin generation commands: bulk export, data merge and "Remove Original Word".

#include "lexora3.h"

// Not wired yet: the export and merge dialogs and the generator.
void Lexora3::generateSpun() {}
void Lexora3::removeOriginalWord(bool) {}
void Lexora3::openMergeData(const QString &) {}
