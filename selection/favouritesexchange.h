#pragma once

#include "synonyms/synonymstore.h"

#include <QString>

namespace selection {

// "Replace my favorites": every lower-case occurrence of a word or phrase that has user
// favourites becomes «{word|favourite1|favourite2}».
//
// The word is matched literally (a "+" or "." in it is just that character) wherever no word
// character stands directly before or after it, so «c++» and «e.g.» are found too. Words are
// taken longest first, then alphabetically, so the result does not depend on hash order; text
// written for an earlier word is part of the text the later ones are looked for in. Blank
// favourites are left out, and a word with none left is not replaced.
QString replaceUserFavorites(const QString &text, const SynonymStore::SynonymMap &userFav);

} // namespace selection
