#pragma once
// Text keys of the file-time dialog's selectors and settings. Recognised by identity
// (compare the pointer with the constant), never by text; the texts are what the settings
// store keeps. Inline, so every part of the program shares one address per key.

namespace s::file::gui::dialogs::filetime
{

// Offset units ("OffsetUnit").
inline constexpr wchar_t UnitSecs[] = L"Secs";
inline constexpr wchar_t UnitMins[] = L"Mins";
inline constexpr wchar_t UnitHours[] = L"Hours";
inline constexpr wchar_t UnitDays[] = L"Days";

// The saved method of the Change Multiple view ("Mode") besides the request modes: the
// time-zone method runs as mode "Offset" but is saved under its own name.
inline constexpr wchar_t MethodTimeZone[] = L"TimeZone";

// The value of the line that separates the system entry from the zones in a zone selector.
inline constexpr wchar_t ZoneSeparator[] = L"Separator";

// The View & Copy size units.
inline constexpr wchar_t SizeBytes[] = L"Bytes";
inline constexpr wchar_t SizeKB[] = L"KB";
inline constexpr wchar_t SizeMB[] = L"MB";
inline constexpr wchar_t SizeAuto[] = L"Auto";

// Seconds of one offset unit: 1 for Secs, 60 for Mins, 3600 for Hours, 86400 for anything
// else (Days).
inline long long secondsOfUnit(const wchar_t* unit)
{
    if (unit == UnitSecs)
        return 1;
    if (unit == UnitMins)
        return 60;
    if (unit == UnitHours)
        return 3600;
    return 86400;
}

} // namespace s::file::gui::dialogs::filetime
