#pragma once
// Private to s::str::strbuffer: the unit helpers that more than one of the
// StrBuffer*.cpp files needs.

#include <cstdint>
#include <cwchar>
#include <wchar.h>

namespace s::str::strbuffer::units {

inline constexpr wchar_t EMPTY_TEXT[1] = {0};

inline wchar_t FoldLower(wchar_t ch)
{
    return (ch >= L'A' && ch <= L'Z') ? wchar_t(ch + (L'a' - L'A')) : ch;
}

/// Whether n more units fit behind length units at all (lengths are 32-bit).
inline bool CanAdd(uint32_t length, uint32_t n)
{
    return n <= 0xFFFFFFFEu - length;
}

inline uint32_t CountOf(const wchar_t* chars, int32_t count)
{
    if (!chars)
        return 0;
    return count < 0 ? uint32_t(wcslen(chars)) : uint32_t(count);
}

inline bool InSet(wchar_t ch, const wchar_t* set, uint32_t count, bool ignoreCase)
{
    if (ignoreCase) {
        const wchar_t folded = FoldLower(ch);
        for (uint32_t i = 0; i < count; ++i)
            if (FoldLower(set[i]) == folded)
                return true;
        return false;
    }
    for (uint32_t i = 0; i < count; ++i)
        if (set[i] == ch)
            return true;
    return false;
}

} // namespace s::str::strbuffer::units
