#pragma once
// What Explorer shows: the visibility rules that the walkers apply when they are
// not asked to include everything.
//
// The values are read fresh from the registry at every call (the user may change
// Explorer's options while the program runs):
//   "Hidden"          number, default 1; hidden items are shown unless it is 2;
//   "ShowSuperHidden" number, default 0; items with the system bit are shown only
//                     when it is not 0;
// under HKEY_CURRENT_USER
// "Software\Microsoft\Windows\CurrentVersion\Explorer\Advanced". Each value has
// its own registry key object (kept for the whole run) and its own lock, so walks
// on several threads may read at the same time. Where the key or a value is
// missing, the defaults above apply.

#include <cstdint>

namespace s::file::win {

struct ExplorerVisibility
{
    bool showHidden = true;
    bool showSystem = false;
};

class ExplorerSettings
{
public:
    /// The two values as they are now.
    static ExplorerVisibility Read();

    /// The key read by Read(), below HKEY_CURRENT_USER. Tests point it at a key of
    /// their own; null goes back to Explorer's key. Not for use while walks run.
    static void SetKeyPath(const wchar_t* pathBelowCurrentUser);

    /// The root ("C:\") of the volume that holds the Windows folder, "C:\" when it
    /// cannot be found; determined once. On that volume Explorer also hides
    /// "AUTOEXEC.BAT" and "CONFIG.SYS" when it hides hidden or system items.
    static const wchar_t* SystemRoot();
};

} // namespace s::file::win
