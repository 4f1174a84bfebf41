#pragma once
// Private to s::file::win: the few StrBuffer edits the path code repeats, with a
// null text treated as empty (the path operations accept null names and texts).

#include <cstdint>

#include "s/str/strbuffer/StrBuffer.h"

namespace s::file::win::txt {

using s::str::strbuffer::StrBuffer;

inline void Set(StrBuffer* s, const wchar_t* text)
{
    s->Clear();
    if (text)
        s->Append(text);
}

inline void SetN(StrBuffer* s, const wchar_t* chars, uint32_t n)
{
    s->Clear();
    if (n)
        s->Append(chars, int32_t(n));
}

inline void Add(StrBuffer* s, const wchar_t* text)
{
    if (text)
        s->Append(text);
}

inline void AddN(StrBuffer* s, const wchar_t* chars, uint32_t n)
{
    if (n)
        s->Append(chars, int32_t(n));
}

inline void AddChar(StrBuffer* s, wchar_t ch) { s->AppendChar(ch); }

/// Shortens the text to n characters (never lengthens it).
inline void Cut(StrBuffer* s, uint32_t n)
{
    if (n < s->Length())
        s->SetLength(n);
}

inline void Replace(StrBuffer* s, wchar_t from, wchar_t to)
{
    wchar_t* p = s->Data();
    for (uint32_t i = 0, n = s->Length(); i < n; ++i)
        if (p[i] == from)
            p[i] = to;
}

/// The search pattern of everything inside the folder `folder` (a system-call text):
/// folder + "\*", with no second separator after a root such as "\\?\C:\".
inline void SetAllPattern(StrBuffer* s, const wchar_t* folder)
{
    Set(s, folder);
    const uint32_t n = s->Length();
    if (n == 0 || s->Data()[n - 1] != L'\\')
        AddChar(s, L'\\');
    AddChar(s, L'*');
}

} // namespace s::file::win::txt
