#pragma once

#include <QtGlobal>

// Clears one of the main window's guard flags (allowChanges and its kin) for
// the lifetime of the scope and puts back the value it had on entry, on
// every path out, early returns included.
//
// Programmatic edits and selections of the editor emit the same cursor
// signals as the user's own moves; clearing the flag keeps cursor tracking
// and the docks from answering them. Putting back the entry value rather
// than forcing true keeps an outer operation that cleared the flag itself
// (the synonym panel's replace modes call the word step in between their
// edits) in control of it until that outer operation ends.
class FlagClear final
{
public:
    explicit FlagClear(bool &flag) : flag(flag), saved(flag) { flag = false; }
    ~FlagClear() { flag = saved; }
    Q_DISABLE_COPY_MOVE(FlagClear)

private:
    bool &flag;
    const bool saved;
};
