#pragma once

#include <QtGlobal>

// The main window's re-entry guards. Programmatic edits and selections of the
// editor emit the same cursor signals as the user's own moves; an operation
// that must not be answered by cursor tracking or by the docks clears the
// flags it needs for its duration. The window owns one instance and hands it
// by reference to the objects that read or clear the flags.
struct GuardFlags {
    bool allowCursorChange = true; // false: caret moves are ignored completely
    bool allowChanges = true;      // false: caret moves only update the status bar
    bool allowSenChanges = true;   // false: cursor tracking leaves the sentence dock alone
    bool allowParaChanges = true;  // false: ... the paragraph dock
    bool allowRapidChanges = true; // false: ... the rapid dock
    bool updatingList = false;     // true while the synonym panel is refilled
    bool updatingSenList = false;  // true while the sentence list is refilled
    bool updatingParaList = false; // true while the paragraph list is refilled
};

// Clears a guard flag for the lifetime of the scope and puts back the value it
// had on entry, on every path out (early returns included). Putting back the
// entry value rather than forcing true keeps an outer operation that cleared
// the flag itself (the synonym panel's replace modes call the word step) in
// control of it until that outer operation ends.
class FlagClear final {
public:
    explicit FlagClear(bool &flag) : flag(flag), saved(flag) { flag = false; }
    ~FlagClear() { flag = saved; }
    Q_DISABLE_COPY_MOVE(FlagClear)

private:
    bool &flag;
    const bool saved;
};
