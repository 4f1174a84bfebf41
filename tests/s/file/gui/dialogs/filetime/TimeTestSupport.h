#pragma once
// Shared by the tests of this folder: file times as 100 ns ticks, whole seconds since
// 1970 and platform FILETIMEs, computed here on their own (not with the library's
// conversions under test).
#include <windows.h>

#include <cstdint>

using Seconds = int64_t;
inline constexpr int64_t TICKS_PER_SECOND = 10000000;
inline constexpr uint64_t EPOCH_TICKS = 116444736000000000ULL;

inline uint64_t TicksOf(Seconds s)
{
    return uint64_t(s * TICKS_PER_SECOND) + EPOCH_TICKS;
}
inline uint64_t TicksOf(const FILETIME& f)
{
    return (uint64_t(f.dwHighDateTime) << 32) | f.dwLowDateTime;
}
inline Seconds SecondsOf(uint64_t ticks)
{
    return (int64_t(ticks) - int64_t(EPOCH_TICKS)) / TICKS_PER_SECOND;
}
inline FILETIME FileTimeOf(uint64_t ticks)
{
    FILETIME f;
    f.dwLowDateTime = DWORD(ticks);
    f.dwHighDateTime = DWORD(ticks >> 32);
    return f;
}

inline Seconds Utc(int y, int mo, int d, int h = 0, int mi = 0, int s = 0)
{
    SYSTEMTIME st{};
    st.wYear = WORD(y);
    st.wMonth = WORD(mo);
    st.wDay = WORD(d);
    st.wHour = WORD(h);
    st.wMinute = WORD(mi);
    st.wSecond = WORD(s);
    FILETIME f;
    SystemTimeToFileTime(&st, &f);
    return SecondsOf(TicksOf(f));
}
