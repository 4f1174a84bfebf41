#pragma once
// The rule every walker applies to a found entry: which entries are skipped.
//
// Always skipped: "." and "..", and reparse points (junctions, symbolic links; they
// lead elsewhere, or round in circles). With includeAll false the Explorer
// visibility taken at the start of the walk applies too. Pure functions, no state.

#include <windows.h>

namespace s::file::win {

struct WalkFilter
{
    bool includeAll = true;
    bool showHidden = true;
    bool showSystem = true;
    bool hideBootFiles = false;  // AUTOEXEC.BAT and CONFIG.SYS on the system volume
};

/// "." or "..".
bool IsDotsName(const wchar_t* name);

/// True when a walk lists (and may enter) the entry described by `data`.
bool PassesWalkFilter(const WIN32_FIND_DATAW& data, const WalkFilter& filter);

} // namespace s::file::win
