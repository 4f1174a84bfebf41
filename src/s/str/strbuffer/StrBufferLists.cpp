// The StrBuffer operations that answer lists of strings: Split and Words.
#include "s/str/strbuffer/StrBuffer.h"

#include <cwchar>
#include <wchar.h>

#include "s/str/strarray/StrArray.h"

using s::str::strarray::StrArray;

namespace s::str::strbuffer {

StrArray* StrBuffer::Split(wchar_t ch) const
{
    StrArray* parts = StrArray::Acquire();
    if (!parts)
        return nullptr;
    uint32_t start = 0;
    for (uint32_t i = 0; i <= length_; ++i) {
        if (i == length_ || chars_[i] == ch) {
            if (i > start)  // empty pieces are left out
                parts->Add(chars_ + start, int32_t(i - start));
            start = i + 1;
        }
    }
    return parts;
}

namespace {

bool SeparatesWords(wchar_t ch)
{
    if (ch <= 0x20)  // control characters and the space
        return true;
    if (ch < 0x7F) {
        if ((ch >= L'0' && ch <= L'9') || (ch >= L'A' && ch <= L'Z') || (ch >= L'a' && ch <= L'z'))
            return false;
        return ch != L'%' && ch != L'+' && ch != L'-';  // the rest is punctuation
    }
    if (ch <= 0xFF)
        return true;
    switch (ch) {
    case 0x3000: case 0x3001: case 0x3002: case 0x300C: case 0x300D: case 0x3010: case 0x3011:
    case 0xFF08: case 0xFF09:
        return true;
    default:
        return false;
    }
}

bool IsCommonWord(const wchar_t* chars, uint32_t n)
{
    static const wchar_t* const COMMON[] = {L"the", L"of", L"and"};
    for (const wchar_t* word : COMMON) {
        if (wcslen(word) == n && _wcsnicmp(chars, word, n) == 0)
            return true;
    }
    return false;
}

} // namespace

StrArray* StrBuffer::Words(bool skipCommon) const
{
    StrArray* words = StrArray::Acquire();
    if (!words)
        return nullptr;
    StrBuffer* word = Acquire();
    if (!word)
        return words;
    uint32_t start = 0;
    for (uint32_t i = 0; i <= length_; ++i) {
        if (i < length_ && !SeparatesWords(chars_[i]))
            continue;
        const uint32_t n = i - start;
        if (n > 0 && !(skipCommon && IsCommonWord(chars_ + start, n))) {
            word->Assign(chars_ + start, int32_t(n));
            if (words->IndexOfIgnoreCase(*word) < 0)
                words->Add(*word);
        }
        start = i + 1;
    }
    word->Release();
    return words;
}

} // namespace s::str::strbuffer
