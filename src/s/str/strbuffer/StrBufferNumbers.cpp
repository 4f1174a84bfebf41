// The numbers of StrBuffer: appending and setting them as decimal or hexadecimal
// text, reading them back, and the hexadecimal and integer tests.
#include "s/str/strbuffer/StrBuffer.h"

#include <cstdarg>
#include <cstdlib>
#include <cwchar>
#include <wchar.h>

#include "s/str/strbuffer/StrBufferUnits.h"

namespace s::str::strbuffer {

using namespace units;

// --- appending numbers -------------------------------------------------------------

template <class T>
void StrBuffer::AppendHexValues(const T* values, uint32_t count)
{
    static const wchar_t DIGITS[] = L"0123456789abcdef";
    constexpr uint32_t width = sizeof(T) * 2;
    if (!values || count == 0 || count > (0xFFFFFFFEu - length_) / width ||
        !EnsureRoom(length_ + count * width))
        return;
    wchar_t* out = chars_ + length_;
    for (uint32_t i = 0; i < count; ++i) {
        uint64_t v = uint64_t(values[i]);
        for (uint32_t d = width; d-- > 0;) {
            out[d] = DIGITS[v & 0xF];
            v >>= 4;
        }
        out += width;
    }
    length_ += count * width;
}

void StrBuffer::AppendHex(const uint8_t* values, uint32_t count)
{
    AppendHexValues(values, count);
}
void StrBuffer::AppendHex(const int8_t* values, uint32_t count)
{
    AppendHexValues(reinterpret_cast<const uint8_t*>(values), count);
}
void StrBuffer::AppendHex(const uint16_t* values, uint32_t count)
{
    AppendHexValues(values, count);
}
void StrBuffer::AppendHex(const int16_t* values, uint32_t count)
{
    AppendHexValues(reinterpret_cast<const uint16_t*>(values), count);
}
void StrBuffer::AppendHex(const uint32_t* values, uint32_t count)
{
    AppendHexValues(values, count);
}
void StrBuffer::AppendHex(const int32_t* values, uint32_t count)
{
    AppendHexValues(reinterpret_cast<const uint32_t*>(values), count);
}
void StrBuffer::AppendHex(const uint64_t* values, uint32_t count)
{
    AppendHexValues(values, count);
}
void StrBuffer::AppendHex(const int64_t* values, uint32_t count)
{
    AppendHexValues(reinterpret_cast<const uint64_t*>(values), count);
}

namespace {
/// Room behind the text for one formatted number: 256 units (the terminator
/// goes into the extra unit that every allocation has) covers every integer...
constexpr uint32_t NUMBER_ROOM = 256;
/// ...but "%f" writes every integer digit of a double: -DBL_MAX takes 317 units.
/// With only 256, swprintf_s fails on large values and the number is lost.
constexpr uint32_t FLOATING_ROOM = 320;
} // namespace

void StrBuffer::AppendFormatted(uint32_t room, const wchar_t* format, ...)
{
    if (!CanAdd(length_, room) || !EnsureRoom(length_ + room))
        return;
    va_list args;
    va_start(args, format);
    const int written = vswprintf_s(chars_ + length_, size_t(room) + 1, format, args);
    va_end(args);
    if (written > 0)
        length_ += uint32_t(written);
}

void StrBuffer::AppendNumber(int64_t value)
{
    AppendFormatted(NUMBER_ROOM, L"%I64d", value);
}
void StrBuffer::AppendNumber(uint64_t value)
{
    AppendFormatted(NUMBER_ROOM, L"%I64u", value);
}
void StrBuffer::AppendNumber(uint32_t value)
{
    AppendFormatted(NUMBER_ROOM, L"%u", value);
}
void StrBuffer::AppendNumber(uint16_t value)
{
    AppendFormatted(NUMBER_ROOM, L"%u", unsigned(value));
}
void StrBuffer::AppendNumber(uint8_t value)
{
    AppendFormatted(NUMBER_ROOM, L"%u", unsigned(value));
}
void StrBuffer::AppendNumber(int32_t value)
{
    AppendFormatted(NUMBER_ROOM, L"%d", value);
}
void StrBuffer::AppendNumber(int16_t value)
{
    AppendFormatted(NUMBER_ROOM, L"%d", int(value));
}
void StrBuffer::AppendNumber(int8_t value)
{
    AppendFormatted(NUMBER_ROOM, L"%d", int(value));
}
void StrBuffer::AppendNumber(float value)
{
    AppendFormatted(FLOATING_ROOM, L"%f", double(value));
}
void StrBuffer::AppendNumber(double value)
{
    AppendFormatted(FLOATING_ROOM, L"%f", value);
}
void StrBuffer::AppendNumber(long value)
{
    AppendFormatted(NUMBER_ROOM, L"%ld", value);
}
void StrBuffer::AppendNumber(unsigned long value)
{
    AppendFormatted(NUMBER_ROOM, L"%lu", value);
}

// --- setting numbers -------------------------------------------------------------

void StrBuffer::SetNumber(int64_t value)
{
    Clear();
    AppendNumber(value);
}
void StrBuffer::SetNumber(uint64_t value)
{
    Clear();
    AppendNumber(value);
}
void StrBuffer::SetNumber(uint32_t value)
{
    Clear();
    AppendNumber(value);
}
void StrBuffer::SetNumber(uint16_t value)
{
    Clear();
    AppendNumber(value);
}
void StrBuffer::SetNumber(uint8_t value)
{
    Clear();
    AppendNumber(value);
}
void StrBuffer::SetNumber(int32_t value)
{
    Clear();
    AppendNumber(value);
}
void StrBuffer::SetNumber(int16_t value)
{
    Clear();
    AppendNumber(value);
}
void StrBuffer::SetNumber(int8_t value)
{
    Clear();
    AppendNumber(value);
}
void StrBuffer::SetNumber(float value)
{
    Clear();
    AppendNumber(value);
}
void StrBuffer::SetNumber(double value)
{
    Clear();
    AppendNumber(value);
}
void StrBuffer::SetNumber(long value)
{
    Clear();
    AppendNumber(value);
}
void StrBuffer::SetNumber(unsigned long value)
{
    Clear();
    AppendNumber(value);
}

// --- numbers ---------------------------------------------------------------------

int32_t StrBuffer::ToInt() const
{
    return int32_t(_wtoi(CStr()));
}

uint32_t StrBuffer::ToUInt() const
{
    // _wtoi stops at 2147483647; the unsigned range needs the 64-bit converter.
    return uint32_t(_wcstoi64(CStr(), nullptr, 10));
}

int16_t StrBuffer::ToInt16() const
{
    return int16_t(_wtoi(CStr()));
}

uint16_t StrBuffer::ToUInt16() const
{
    return uint16_t(_wtoi(CStr()));
}

int8_t StrBuffer::ToInt8() const
{
    return int8_t(_wtoi(CStr()));
}

uint8_t StrBuffer::ToUInt8() const
{
    return uint8_t(_wtoi(CStr()));
}

int64_t StrBuffer::ToInt64() const
{
    return int64_t(_wcstoi64(CStr(), nullptr, 10));
}

uint64_t StrBuffer::ToUInt64() const
{
    return uint64_t(_wcstoui64(CStr(), nullptr, 10));
}

float StrBuffer::ToFloat() const
{
    return float(_wtof(CStr()));
}

double StrBuffer::ToDouble() const
{
    return _wtof(CStr());
}

// --- hexadecimal and integer tests ------------------------------------------------

namespace {

inline int HexValue(wchar_t ch)
{
    if (ch >= L'0' && ch <= L'9')
        return ch - L'0';
    if (ch >= L'a' && ch <= L'f')
        return ch - L'a' + 10;
    if (ch >= L'A' && ch <= L'F')
        return ch - L'A' + 10;
    return -1;
}

} // namespace

bool StrBuffer::IsHex() const
{
    if (length_ == 0)
        return false;
    for (uint32_t i = 0; i < length_; ++i)
        if (HexValue(chars_[i]) < 0)
            return false;
    return true;
}

uint8_t StrBuffer::HexDigitAt(uint32_t i) const
{
    const int v = HexValue(chars_[i]);
    return v < 0 ? 0 : uint8_t(v);
}

bool StrBuffer::IsInteger() const
{
    if (length_ == 0)
        return false;
    uint32_t i = 0;
    if (chars_[0] == L'-') {
        if (length_ == 1)
            return false;
        i = 1;
    }
    for (; i < length_; ++i)
        if (chars_[i] < L'0' || chars_[i] > L'9')
            return false;
    return true;
}

} // namespace s::str::strbuffer
