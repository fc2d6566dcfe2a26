// Synonym store loading, server synchronisation and favourites replacement.

#include "lexora3.h"

// The language changed after start-up: the synonym panel drops its cached word and arrays,
// then the store of curLang is loaded again.
void Lexora3::reloadSynonymsForLanguage()
{
    loadSynonyms();
}

// Without an update server the start-up chain goes straight on to loading the synonyms.
void Lexora3::updateServerDB()
{
    loadSynonyms();
}

// Not wired yet: the synonym store and the favourites replacements.
void Lexora3::loadSynonyms() {}
void Lexora3::replaceAllFavorites(bool) {}
void Lexora3::replaceUserFavorites(bool) {}
