// The program's version check and download.

#include "lexora3.h"

// Not wired yet: the version check, which runs once after the first synonym load.
void Lexora3::startUpdateChecker() {}
