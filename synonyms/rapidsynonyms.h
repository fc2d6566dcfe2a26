#pragma once

#include <QStringList>

class SynonymStore;

// The candidates of a Rapid Spin word column: the user's own synonyms of the lower-cased word,
// then the downloaded list's ones not yet listed; blank entries and the synonyms the user
// deleted for the word (compared without regard to case) are left out.
QStringList rapidSynonyms(const SynonymStore &store, const QString &word);
