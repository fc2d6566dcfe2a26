#pragma once

#include <QtGlobal>

#include <array>
#include <initializer_list>

// The editor's re-entry guards. Programmatic edits and selections emit the same cursor signals
// as the user's own moves; while an operation rewrites the text or the selection it holds the
// guards it needs, so cursor tracking, the docks and the synonym panel do not answer its edits.
//
// The flags change only through a Hold, which puts back on every path out (early returns
// included) the value each flag had on entry. Putting back the entry value rather than forcing
// the idle one keeps an outer operation that holds a flag itself (the synonym panel's replace
// modes call the word step in between their edits) in control of it until that outer operation
// ends.
class GuardFlags final
{
public:
    enum Flag
    {
        AllowChanges,      // cursor tracking answers caret moves
        AllowCursorChange, // a caret move reaches cursor tracking at all
        AllowRapidChanges, // the rapid dock reloads
        AllowSenChanges,   // the sentence dock reloads
        AllowParaChanges,  // the paragraph dock reloads
        UpdatingList,      // the synonym panel's table is being refilled
        UpdatingSenList,   // the sentence dock's list is being refilled
        UpdatingParaList,  // the paragraph dock's list is being refilled
        FlagCount
    };

    GuardFlags() = default;
    Q_DISABLE_COPY_MOVE(GuardFlags)

    bool value(Flag flag) const { return values[flag]; }
    bool allowChanges() const { return values[AllowChanges]; }
    bool allowCursorChange() const { return values[AllowCursorChange]; }
    bool updatingList() const { return values[UpdatingList]; }
    // True while no guard is held: every allow flag set, every updating flag clear.
    bool idle() const { return values == idleValues; }

    // Holds `flags` busy (the allow flags cleared, the updating flags set) for its lifetime.
    class Hold final
    {
    public:
        Hold(GuardFlags &owner, std::initializer_list<Flag> flags) : owner(owner)
        {
            for (Flag f : flags) {
                saved[count++] = {f, owner.values[f]};
                owner.values[f] = !idleValues[f];
            }
        }
        ~Hold()
        {
            while (count > 0) {
                --count;
                owner.values[saved[count].flag] = saved[count].value;
            }
        }
        Q_DISABLE_COPY_MOVE(Hold)

    private:
        struct Saved
        {
            Flag flag = AllowChanges;
            bool value = true;
        };
        GuardFlags &owner;
        std::array<Saved, FlagCount> saved{};
        int count = 0;
    };

    [[nodiscard]] Hold hold(std::initializer_list<Flag> flags) { return Hold(*this, flags); }

private:
    static constexpr std::array<bool, FlagCount> idleValues{true, true,  true,  true,
                                                            true, false, false, false};
    std::array<bool, FlagCount> values = idleValues;
};
