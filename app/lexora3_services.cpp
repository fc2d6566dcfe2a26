// WordPress posting and the Copyscape check.

#include "lexora3.h"

// Not wired yet: WordPress sites and posting, Copyscape.
void Lexora3::postToWP(bool) {}
void Lexora3::addWebsite(bool) {}
void Lexora3::copyScape(bool) {}
void Lexora3::loadWebsites() {}
