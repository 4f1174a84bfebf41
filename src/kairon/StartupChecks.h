#pragma once
// The checks that start-up makes before the main window exists: the reset of settings
// written by versions whose values the program no longer reads, and the operating-system
// check. Main thread; no window.

#include <windows.h>

#include <cstdint>

namespace s::process::commandline
{
class ICommandLine;
}
namespace s::str::strarray
{
class StrArray;
}

namespace kairon
{

// The report of Explorer entries that could not be pointed at a moved program file.
constexpr int32_t TEXT_EXPLORER_REPAIR_FAILED = 7600006;

// The product's registry key below HKEY_CURRENT_USER.
constexpr wchar_t PRODUCT_KEY[] = L"Software\\Vesk\\Vesk Kairon";

// Deletes "<productKey>\SaveData" with everything below it when the unnamed value of
// "<productKey>\SaveData\Version" is "1.00", "1.01" or "1.02" (without regard to case).
// Any other value, a missing key or an unreadable value leaves the settings alone.
// Answers whether the settings were deleted.
bool resetOutdatedSettings(const wchar_t* productKey);

// Windows NT 5.1 and 5.2, and any version 6.0 or later.
bool isSupportedSystem(const OSVERSIONINFOEXW& version);

// Where the system's version comes from: GetVersionExW unless a test replaced it.
using VersionSource = bool (*)(OSVERSIONINFOEXW* version);
// Answers the previous source; null restores the system's.
VersionSource setVersionSource(VersionSource source);
bool readSystemVersion(OSVERSIONINFOEXW* version);

// The items named on the command line, as full paths (a relative one against the current
// folder), in order. Options (arguments that began with "-" or "/") are not items: a file
// whose name begins with "-" is given as ".\-name". A new list the caller releases; empty
// when there are none.
s::str::strarray::StrArray* pathsOfCommandLine(const s::process::commandline::ICommandLine* commandLine);

// "This Operating System is currently not supported ..." (shown when the check fails).
extern const wchar_t UNSUPPORTED_SYSTEM_TEXT[];

} // namespace kairon
