// Selection and navigation: identify and auto-select, protected terms, word steps, cursor
// tracking, search and the rapid-spin timer.

#include "lexora3.h"

void Lexora3::cursorChanged()
{
    cursorChanged(-1);
}

// Not wired yet: identify, auto-select, protected terms, navigation, tracking and search.
void Lexora3::identify(bool) {}
void Lexora3::autoSelect(bool) {}
void Lexora3::protectedTermQAClicked(bool) {}
void Lexora3::previousClicked(bool) {}
void Lexora3::nextClicked(bool) {}
void Lexora3::cursorChanged(int) {}
void Lexora3::selectionChanged() {}
void Lexora3::find(bool) {}
void Lexora3::timershot() {}
bool Lexora3::searchFindNext() { return false; }
