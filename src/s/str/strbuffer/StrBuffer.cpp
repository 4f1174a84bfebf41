#include "s/str/strbuffer/StrBuffer.h"

#include <algorithm>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <wchar.h>

#include "s/col/Growth.h"
#include "s/str/strbuffer/Iterator.h"
#include "s/sys/IDigest.h"
#include "s/sys/Md5Digest.h"

namespace s::str::strbuffer {

namespace {

const wchar_t EMPTY_TEXT[1] = {0};

inline wchar_t FoldLower(wchar_t ch)
{
    return (ch >= L'A' && ch <= L'Z') ? wchar_t(ch + (L'a' - L'A')) : ch;
}

inline wchar_t FoldUpper(wchar_t ch)
{
    return (ch >= L'a' && ch <= L'z') ? wchar_t(ch - (L'a' - L'A')) : ch;
}

/// Where a backward search starts: before min(from, length); FROM_END (and
/// anything above it) means the very end, also for texts longer than FROM_END.
inline uint32_t BackwardEnd(uint32_t from, uint32_t length)
{
    return from >= StrBuffer::FROM_END ? length : std::min(from, length);
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

inline int Sign(int value)
{
    return value < 0 ? -1 : (value > 0 ? 1 : 0);
}

inline int CompareLengths(uint32_t a, uint32_t b)
{
    return a == b ? 0 : (a < b ? -1 : 1);
}

/// Byte order of two UTF-16LE runs, then length.
int CompareBytes(const wchar_t* a, uint32_t aLength, const wchar_t* b, uint32_t bLength)
{
    const uint32_t common = std::min(aLength, bLength);
    if (common > 0) {
        const int c = memcmp(a, b, size_t(common) * sizeof(wchar_t));
        if (c != 0)
            return Sign(c);
    }
    return CompareLengths(aLength, bLength);
}

/// _wcsnicmp over exactly n units. _wcsnicmp itself stops at a 0 unit, which
/// would make "a\0b" and "a\0c" equal; texts may hold 0 units (lists of
/// strings), so the comparison goes on behind each one.
int NoCaseCompareN(const wchar_t* a, const wchar_t* b, uint32_t n)
{
    while (n > 0) {
        const wchar_t* zero = wmemchr(a, 0, n);
        const uint32_t piece = zero ? uint32_t(zero - a) : n;
        if (piece > 0) {
            const int c = _wcsnicmp(a, b, piece);
            if (c != 0)
                return Sign(c);
        }
        if (piece == n)
            return 0;
        if (b[piece] != 0)  // a has its 0 unit here, b does not
            return -1;
        a += piece + 1;
        b += piece + 1;
        n -= piece + 1;
    }
    return 0;
}

int CompareNoCase(const wchar_t* a, uint32_t aLength, const wchar_t* b, uint32_t bLength)
{
    const uint32_t common = std::min(aLength, bLength);
    const int c = NoCaseCompareN(a, b, common);
    return c != 0 ? c : CompareLengths(aLength, bLength);
}

/// Unit order (numeric) over the common part, then length.
int CompareUnits(const wchar_t* a, uint32_t aLength, const wchar_t* b, uint32_t bLength)
{
    const uint32_t common = std::min(aLength, bLength);
    if (common > 0) {
        const int c = wmemcmp(a, b, common);
        if (c != 0)
            return Sign(c);
    }
    return CompareLengths(aLength, bLength);
}

inline bool UnitsEqual(const wchar_t* a, const wchar_t* b, uint32_t n, bool ignoreCase)
{
    if (n == 0)
        return true;
    return ignoreCase ? NoCaseCompareN(a, b, n) == 0 : wmemcmp(a, b, n) == 0;
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

const StrBuffer* AsStr(const s::base::IComparable* other)
{
    return dynamic_cast<const StrBuffer*>(other);
}

} // namespace

// --- creation -------------------------------------------------------------------

StrBuffer* StrBuffer::Acquire(const wchar_t* text)
{
    StrBuffer* s = Acquire();
    if (s)
        s->Append(text);
    return s;
}

StrBuffer* StrBuffer::Acquire(const wchar_t* chars, int32_t count)
{
    StrBuffer* s = Acquire();
    if (s)
        s->Append(chars, count);
    return s;
}

StrBuffer* StrBuffer::Acquire(const StrBuffer& text)
{
    return Acquire(text.chars_, int32_t(text.length_));
}

StrBuffer::~StrBuffer()
{
    free(chars_);
}

void StrBuffer::Reset()
{
    Clear();
}

// --- comparison -------------------------------------------------------------------

int StrBuffer::Compare(const s::base::IComparable* other,
                       const s::base::IComparator* comparator) const
{
    if (comparator)
        return comparator->CompareElements(this, other);
    if (!other)
        return 1;
    const StrBuffer* s = AsStr(other);
    if (!s)
        return IStr::Compare(other, nullptr);
    return Compare(*s);
}

int StrBuffer::CompareIgnoreCase(const s::base::IComparable* other,
                                 const s::base::IComparator* comparator) const
{
    if (comparator)
        return comparator->CompareElementsIgnoreCase(this, other);
    if (!other)
        return 1;
    const StrBuffer* s = AsStr(other);
    if (!s)
        return IStr::CompareIgnoreCase(other, nullptr);
    return CompareIgnoreCase(*s);
}

bool StrBuffer::Equals(const s::base::IComparable* other,
                       const s::base::IComparator* comparator) const
{
    if (comparator)
        return comparator->CompareElements(this, other) == 0;
    const StrBuffer* s = AsStr(other);
    return s ? Equals(*s) : (other == this);
}

bool StrBuffer::EqualsIgnoreCase(const s::base::IComparable* other,
                                 const s::base::IComparator* comparator) const
{
    if (comparator)
        return comparator->CompareElementsIgnoreCase(this, other) == 0;
    const StrBuffer* s = AsStr(other);
    return s ? EqualsIgnoreCase(*s) : (other == this);
}

int StrBuffer::Compare(const StrBuffer& other) const
{
    return CompareBytes(chars_, length_, other.chars_, other.length_);
}

int StrBuffer::Compare(const wchar_t* text) const
{
    return CompareBytes(chars_, length_, text, CountOf(text, -1));
}

int StrBuffer::CompareIgnoreCase(const StrBuffer& other) const
{
    return CompareNoCase(chars_, length_, other.chars_, other.length_);
}

int StrBuffer::CompareIgnoreCase(const wchar_t* text) const
{
    return CompareNoCase(chars_, length_, text, CountOf(text, -1));
}

bool StrBuffer::Equals(const StrBuffer& other) const
{
    return length_ == other.length_ && UnitsEqual(chars_, other.chars_, length_, false);
}

bool StrBuffer::Equals(const wchar_t* text) const
{
    return length_ == CountOf(text, -1) && UnitsEqual(chars_, text, length_, false);
}

bool StrBuffer::EqualsIgnoreCase(const StrBuffer& other) const
{
    return length_ == other.length_ && UnitsEqual(chars_, other.chars_, length_, true);
}

bool StrBuffer::EqualsIgnoreCase(const wchar_t* text) const
{
    return length_ == CountOf(text, -1) && UnitsEqual(chars_, text, length_, true);
}

uint32_t StrBuffer::HashOf(const wchar_t* chars, uint32_t count)
{
    uint32_t h = 0;
    for (uint32_t i = 0; i < count; ++i) {
        h += h;
        if (h & 0x80000000u)
            h |= 1u;
        h ^= uint16_t(chars[i]);
    }
    return h;
}

uint32_t StrBuffer::HashIgnoreCaseOf(const wchar_t* chars, uint32_t count)
{
    uint32_t h = 0;
    for (uint32_t i = 0; i < count; ++i) {
        h += h;
        if (h & 0x80000000u)
            h |= 1u;
        h ^= uint16_t(FoldLower(chars[i]));
    }
    return h;
}

uint32_t StrBuffer::HashCode() const
{
    return HashOf(chars_, length_);
}

uint32_t StrBuffer::HashCodeIgnoreCase() const
{
    return HashIgnoreCaseOf(chars_, length_);
}

// --- storage ---------------------------------------------------------------------

bool StrBuffer::Reallocate(uint32_t capacity)
{
    // capacity + 1 units: the terminator always fits.
    const size_t bytes = (size_t(capacity) + 1) * sizeof(wchar_t);
    wchar_t* fresh = static_cast<wchar_t*>(malloc(bytes));
    if (!fresh)
        return false;
    const uint32_t keep = std::min(length_, capacity);
    if (keep > 0)
        memcpy(fresh, chars_, size_t(keep) * sizeof(wchar_t));
    free(chars_);
    chars_ = fresh;
    capacity_ = capacity;
    length_ = keep;
    return true;
}

bool StrBuffer::EnsureRoom(uint32_t n)
{
    if (n <= capacity_ && chars_)
        return true;
    return Reallocate(s::col::CapacityFor(chars_ ? capacity_ : 0, n));
}

wchar_t* StrBuffer::EndPointer()
{
    if (length_ == 0)
        return nullptr;
    chars_[length_] = 0;
    return chars_ + length_;
}

void StrBuffer::Reserve(uint32_t n)
{
    if (capacity_ < n || !chars_)
        Reallocate(std::max(n, capacity_));
}

void StrBuffer::Grow()
{
    Reallocate(s::col::NextCapacity(capacity_));
}

void StrBuffer::ReserveGrow(uint32_t n)
{
    EnsureRoom(n);
}

void StrBuffer::Clear()
{
    length_ = 0;
    position_ = 0;
    oddByteEnd_ = 0;
}

void StrBuffer::Free()
{
    free(chars_);
    chars_ = nullptr;
    length_ = 0;
    capacity_ = 0;
    position_ = 0;
    oddByteEnd_ = 0;
}

const wchar_t* StrBuffer::CStr() const
{
    if (length_ == 0)
        return EMPTY_TEXT;
    chars_[length_] = 0;
    return chars_;
}

void StrBuffer::Reverse()
{
    if (length_ > 1)
        std::reverse(chars_, chars_ + length_);
}

namespace {

/// Runs a runtime case function (_wcslwr_s / _wcsupr_s) over every 0-terminated
/// piece of chars[0, length], so that a 0 unit inside the text does not end it.
template <class CaseFunction>
void ChangeCase(wchar_t* chars, uint32_t length, CaseFunction change)
{
    chars[length] = 0;
    uint32_t start = 0;
    while (start < length) {
        const uint32_t piece = uint32_t(wcslen(chars + start));
        if (piece > 0)
            change(chars + start, size_t(piece) + 1);
        start += piece + 1;
    }
}

} // namespace

void StrBuffer::ToLower()
{
    if (length_ > 0)
        ChangeCase(chars_, length_, [](wchar_t* p, size_t n) { _wcslwr_s(p, n); });
}

void StrBuffer::ToUpper()
{
    if (length_ > 0)
        ChangeCase(chars_, length_, [](wchar_t* p, size_t n) { _wcsupr_s(p, n); });
}

void StrBuffer::Capitalize()
{
    ToLower();
    if (length_ > 0 && chars_[0] >= L'a' && chars_[0] <= L'z')
        chars_[0] = FoldUpper(chars_[0]);
}

wchar_t StrBuffer::LowerCharAt(uint32_t i) const
{
    return FoldLower(chars_[i]);
}

wchar_t StrBuffer::UpperCharAt(uint32_t i) const
{
    return FoldUpper(chars_[i]);
}

// --- searches --------------------------------------------------------------------

bool StrBuffer::IndexOf(wchar_t ch, uint32_t* at, uint32_t from) const
{
    if (from >= length_)
        return false;
    const wchar_t* p = wmemchr(chars_ + from, ch, length_ - from);
    if (!p)
        return false;
    if (at)
        *at = uint32_t(p - chars_);
    return true;
}

namespace {

/// The first position at or after from whose unit satisfies match.
template <class Match>
bool ScanForward(const wchar_t* chars, uint32_t length, uint32_t from, uint32_t* at, Match match)
{
    for (uint32_t i = from; i < length; ++i) {
        if (match(chars[i])) {
            if (at)
                *at = i;
            return true;
        }
    }
    return false;
}

/// The last position before min(from, length) whose unit satisfies match.
template <class Match>
bool ScanBackward(const wchar_t* chars, uint32_t length, uint32_t from, uint32_t* at, Match match)
{
    for (uint32_t i = BackwardEnd(from, length); i-- > 0;) {
        if (match(chars[i])) {
            if (at)
                *at = i;
            return true;
        }
    }
    return false;
}

} // namespace

bool StrBuffer::IndexOfIgnoreCase(wchar_t ch, uint32_t* at, uint32_t from) const
{
    const wchar_t folded = FoldLower(ch);
    return ScanForward(chars_, length_, from, at,
                       [folded](wchar_t c) { return FoldLower(c) == folded; });
}

bool StrBuffer::IndexOfAny(const wchar_t* chars, int32_t count, uint32_t* at,
                           uint32_t from) const
{
    const uint32_t n = CountOf(chars, count);
    return ScanForward(chars_, length_, from, at,
                       [chars, n](wchar_t c) { return InSet(c, chars, n, false); });
}

bool StrBuffer::IndexOfAnyIgnoreCase(const wchar_t* chars, int32_t count, uint32_t* at,
                                     uint32_t from) const
{
    const uint32_t n = CountOf(chars, count);
    return ScanForward(chars_, length_, from, at,
                       [chars, n](wchar_t c) { return InSet(c, chars, n, true); });
}

bool StrBuffer::LastIndexOf(wchar_t ch, uint32_t* at, uint32_t from) const
{
    return ScanBackward(chars_, length_, from, at, [ch](wchar_t c) { return c == ch; });
}

bool StrBuffer::LastIndexOfIgnoreCase(wchar_t ch, uint32_t* at, uint32_t from) const
{
    const wchar_t folded = FoldLower(ch);
    return ScanBackward(chars_, length_, from, at,
                        [folded](wchar_t c) { return FoldLower(c) == folded; });
}

bool StrBuffer::LastIndexOfAny(const wchar_t* chars, int32_t count, uint32_t* at,
                               uint32_t from) const
{
    const uint32_t n = CountOf(chars, count);
    return ScanBackward(chars_, length_, from, at,
                        [chars, n](wchar_t c) { return InSet(c, chars, n, false); });
}

bool StrBuffer::LastIndexOfAnyIgnoreCase(const wchar_t* chars, int32_t count, uint32_t* at,
                                         uint32_t from) const
{
    const uint32_t n = CountOf(chars, count);
    return ScanBackward(chars_, length_, from, at,
                        [chars, n](wchar_t c) { return InSet(c, chars, n, true); });
}

bool StrBuffer::FindImpl(const wchar_t* text, uint32_t* at, uint32_t from, bool ignoreCase) const
{
    if (!text || from > length_)
        return false;
    const uint32_t n = uint32_t(wcslen(text));
    if (n == 0) {
        if (at)
            *at = from;
        return true;
    }
    if (n > length_ - from)
        return false;
    const uint32_t last = length_ - n;  // last possible start
    const wchar_t first = ignoreCase ? FoldLower(text[0]) : text[0];
    for (uint32_t i = from; i <= last; ++i) {
        // Only positions holding the first character are tried in full.
        const wchar_t c = ignoreCase ? FoldLower(chars_[i]) : chars_[i];
        if (c == first && UnitsEqual(chars_ + i, text, n, ignoreCase)) {
            if (at)
                *at = i;
            return true;
        }
    }
    return false;
}

bool StrBuffer::FindLastImpl(const wchar_t* text, uint32_t* at, uint32_t from,
                             bool ignoreCase) const
{
    if (!text)
        return false;
    const uint32_t end = BackwardEnd(from, length_);
    const uint32_t n = uint32_t(wcslen(text));
    if (n > end)
        return false;
    for (uint32_t i = end - n + 1; i-- > 0;) {
        if (UnitsEqual(chars_ + i, text, n, ignoreCase)) {
            if (at)
                *at = i;
            return true;
        }
    }
    return false;
}

bool StrBuffer::Find(const wchar_t* text, uint32_t* at, uint32_t from) const
{
    return FindImpl(text, at, from, false);
}

bool StrBuffer::FindIgnoreCase(const wchar_t* text, uint32_t* at, uint32_t from) const
{
    return FindImpl(text, at, from, true);
}

bool StrBuffer::FindLast(const wchar_t* text, uint32_t* at, uint32_t from) const
{
    return FindLastImpl(text, at, from, false);
}

bool StrBuffer::FindLastIgnoreCase(const wchar_t* text, uint32_t* at, uint32_t from) const
{
    return FindLastImpl(text, at, from, true);
}

// --- region tests ----------------------------------------------------------------

namespace {

bool RegionMatchesImpl(const wchar_t* chars, uint32_t length, uint32_t index,
                       const wchar_t* text, uint32_t textIndex, int32_t count, bool ignoreCase)
{
    if (!text || index > length)
        return false;
    uint32_t n;
    if (count < 0) {
        const uint32_t textLength = uint32_t(wcslen(text));
        if (textIndex > textLength)
            return false;
        n = textLength - textIndex;
        if (index + n != length)
            return false;
    } else {
        n = uint32_t(count);
        if (n > length - index)
            return false;
        // The text must hold n units from textIndex (no reading past its end).
        for (uint32_t i = 0; i < textIndex + n; ++i)
            if (text[i] == 0)
                return false;
    }
    return UnitsEqual(chars + index, text + textIndex, n, ignoreCase);
}

} // namespace

bool StrBuffer::RegionMatches(uint32_t index, const wchar_t* text, uint32_t textIndex,
                              int32_t count) const
{
    return RegionMatchesImpl(chars_, length_, index, text, textIndex, count, false);
}

bool StrBuffer::RegionMatchesIgnoreCase(uint32_t index, const wchar_t* text, uint32_t textIndex,
                                        int32_t count) const
{
    return RegionMatchesImpl(chars_, length_, index, text, textIndex, count, true);
}

bool StrBuffer::EndsWith(const wchar_t* text, int32_t count) const
{
    const uint32_t n = CountOf(text, count);
    return n <= length_ && UnitsEqual(chars_ + (length_ - n), text, n, false);
}

bool StrBuffer::EndsWithIgnoreCase(const wchar_t* text, int32_t count) const
{
    const uint32_t n = CountOf(text, count);
    return n <= length_ && UnitsEqual(chars_ + (length_ - n), text, n, true);
}

bool StrBuffer::StartsWith(const wchar_t* text, int32_t count) const
{
    const uint32_t n = CountOf(text, count);
    return n <= length_ && UnitsEqual(chars_, text, n, false);
}

bool StrBuffer::StartsWithIgnoreCase(const wchar_t* text, int32_t count) const
{
    const uint32_t n = CountOf(text, count);
    return n <= length_ && UnitsEqual(chars_, text, n, true);
}

// --- trimming --------------------------------------------------------------------

bool StrBuffer::IsWhitespace(wchar_t ch)
{
    return ch == L' ' || ch == L'\n' || ch == wchar_t(0x3000) || ch == L'\t' || ch == L'\r';
}

void StrBuffer::TrimRight()
{
    TrimRightTo(0);
}

void StrBuffer::TrimRightTo(uint32_t minimum)
{
    while (length_ > minimum && IsWhitespace(chars_[length_ - 1]))
        --length_;
}

void StrBuffer::TrimRightChars(const wchar_t* chars, int32_t count)
{
    TrimRightCharsTo(chars, 0, count);
}

void StrBuffer::TrimRightCharsTo(const wchar_t* chars, uint32_t minimum, int32_t count)
{
    const uint32_t n = CountOf(chars, count);
    while (length_ > minimum && InSet(chars_[length_ - 1], chars, n, false))
        --length_;
}

void StrBuffer::TrimLeft()
{
    uint32_t i = 0;
    while (i < length_ && IsWhitespace(chars_[i]))
        ++i;
    KeepRange(i, length_);
}

void StrBuffer::TrimLeftChars(const wchar_t* chars, int32_t count)
{
    const uint32_t n = CountOf(chars, count);
    uint32_t i = 0;
    while (i < length_ && InSet(chars_[i], chars, n, false))
        ++i;
    KeepRange(i, length_);
}

// --- CompareAt -------------------------------------------------------------------

namespace {

int CompareAtImpl(const wchar_t* chars, uint32_t length, uint32_t index, const wchar_t* text,
                  uint32_t textIndex, int32_t count, bool ignoreCase)
{
    if (index > length)
        return -1;
    const uint32_t textLength = CountOf(text, -1);
    const uint32_t start = std::min(textIndex, textLength);
    uint32_t a = length - index;
    uint32_t b = textLength - start;
    if (count >= 0) {
        a = std::min(a, uint32_t(count));
        b = std::min(b, uint32_t(count));
    }
    const wchar_t* other = text ? text + start : EMPTY_TEXT;
    return ignoreCase ? CompareNoCase(chars + index, a, other, b)
                      : CompareUnits(chars + index, a, other, b);
}

} // namespace

int StrBuffer::CompareAt(uint32_t index, const wchar_t* text, uint32_t textIndex,
                         int32_t count) const
{
    return CompareAtImpl(chars_, length_, index, text, textIndex, count, false);
}

int StrBuffer::CompareAtIgnoreCase(uint32_t index, const wchar_t* text, uint32_t textIndex,
                                   int32_t count) const
{
    return CompareAtImpl(chars_, length_, index, text, textIndex, count, true);
}

// --- appending -------------------------------------------------------------------

void StrBuffer::Prepend(const wchar_t* chars, int32_t count)
{
    const uint32_t n = CountOf(chars, count);
    if (n == 0)
        return;
    if (chars_ && chars >= chars_ && chars < chars_ + capacity_ + 1) {
        // The text comes from this string: copy it out before moving anything.
        StrBuffer* copy = Acquire(chars, int32_t(n));
        if (!copy)
            return;
        Prepend(copy->chars_, int32_t(copy->length_));
        copy->Release();
        return;
    }
    if (!CanAdd(length_, n) || !EnsureRoom(length_ + n))
        return;
    if (length_ > 0)
        memmove(chars_ + n, chars_, size_t(length_) * sizeof(wchar_t));
    memcpy(chars_, chars, size_t(n) * sizeof(wchar_t));
    length_ += n;
}

void StrBuffer::AppendAscii(const char* bytes, int32_t count)
{
    if (!bytes)
        return;
    const uint32_t n = count < 0 ? uint32_t(strlen(bytes)) : uint32_t(count);
    if (n == 0 || !CanAdd(length_, n) || !EnsureRoom(length_ + n))
        return;
    wchar_t* out = chars_ + length_;
    for (uint32_t i = 0; i < n; ++i)
        out[i] = wchar_t(static_cast<unsigned char>(bytes[i]));
    length_ += n;
}

void StrBuffer::Append(const wchar_t* chars, int32_t count)
{
    const uint32_t n = CountOf(chars, count);
    if (n == 0)
        return;
    // Appending a piece of this very string: growing frees the old storage, so
    // remember the piece by its offset.
    const bool inside = chars_ && chars >= chars_ && chars < chars_ + capacity_ + 1;
    const size_t offset = inside ? size_t(chars - chars_) : 0;
    if (!CanAdd(length_, n) || !EnsureRoom(length_ + n))
        return;
    if (inside)
        memmove(chars_ + length_, chars_ + offset, size_t(n) * sizeof(wchar_t));
    else
        memcpy(chars_ + length_, chars, size_t(n) * sizeof(wchar_t));
    length_ += n;
}

void StrBuffer::Append(const wchar_t* text)
{
    Append(text, -1);
}

void StrBuffer::Append(const StrBuffer& text)
{
    Append(text.chars_, int32_t(text.length_));
}

void StrBuffer::Append(const StrBuffer* text)
{
    if (text)
        Append(text->chars_, int32_t(text->length_));
}

void StrBuffer::AppendChar(wchar_t ch)
{
    if (length_ >= capacity_ || !chars_) {
        if (!Reallocate(s::col::NextCapacity(chars_ ? capacity_ : 0)))
            return;
    }
    chars_[length_++] = ch;
}

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

// --- replacing -------------------------------------------------------------------

uint32_t StrBuffer::ReplaceAllImpl(const wchar_t* find, const wchar_t* replacement,
                                   bool ignoreCase)
{
    if (!find)
        return 0;
    const uint32_t findLength = uint32_t(wcslen(find));
    const uint32_t replLength = CountOf(replacement, -1);
    if (findLength == 0 || length_ < findLength)
        return 0;
    uint32_t at = 0;
    if (!FindImpl(find, &at, 0, ignoreCase))
        return 0;

    uint32_t replaced = 0;
    if (replLength == findLength) {
        // Same length: overwrite in place.
        do {
            wmemcpy(chars_ + at, replacement, replLength);
            ++replaced;
        } while (FindImpl(find, &at, at + findLength, ignoreCase));
        return replaced;
    }

    if (replLength < findLength) {
        // Shorter: compact in place; the write position never passes the read position.
        uint32_t write = 0;
        uint32_t read = 0;
        do {
            const uint32_t keep = at - read;
            if (keep > 0 && write != read)
                wmemmove(chars_ + write, chars_ + read, keep);
            write += keep;
            if (replLength > 0)
                wmemcpy(chars_ + write, replacement, replLength);
            write += replLength;
            read = at + findLength;
            ++replaced;
        } while (FindImpl(find, &at, read, ignoreCase));
        const uint32_t tail = length_ - read;
        if (tail > 0)
            wmemmove(chars_ + write, chars_ + read, tail);
        length_ = write + tail;
        return replaced;
    }

    // Longer: build the result in a second pooled string and take over its storage;
    // the old storage goes back to the pool with that string.
    StrBuffer* result = Acquire();
    if (!result)
        return 0;
    uint32_t read = 0;
    do {
        result->Append(chars_ + read, int32_t(at - read));
        result->Append(replacement, int32_t(replLength));
        read = at + findLength;
        ++replaced;
    } while (FindImpl(find, &at, read, ignoreCase));
    result->Append(chars_ + read, int32_t(length_ - read));
    const uint32_t expected = length_ + replaced * (replLength - findLength);
    if (result->length_ != expected) {
        // Memory ran out on the way: keep this text as it was.
        result->Release();
        return 0;
    }
    const uint32_t position = position_;
    SwapStorage(*result);
    position_ = position;
    result->Release();
    return replaced;
}

uint32_t StrBuffer::ReplaceAll(const wchar_t* find, const wchar_t* replacement)
{
    return ReplaceAllImpl(find, replacement, false);
}

uint32_t StrBuffer::ReplaceAllIgnoreCase(const wchar_t* find, const wchar_t* replacement)
{
    return ReplaceAllImpl(find, replacement, true);
}

void StrBuffer::SwapStorage(StrBuffer& other)
{
    std::swap(chars_, other.chars_);
    std::swap(length_, other.length_);
    std::swap(capacity_, other.capacity_);
    position_ = 0;
    other.position_ = 0;
    oddByteEnd_ = 0;
    other.oddByteEnd_ = 0;
}

void StrBuffer::KeepRange(uint32_t from, uint32_t to)
{
    const uint32_t end = std::min(to, length_);
    if (from >= end) {
        length_ = 0;
        return;
    }
    if (from > 0)
        wmemmove(chars_, chars_ + from, end - from);
    length_ = end - from;
}

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

void StrBuffer::Assign(const wchar_t* chars, int32_t count)
{
    const uint32_t n = CountOf(chars, count);
    if (chars_ && chars >= chars_ && chars < chars_ + capacity_ + 1) {
        // A piece of this string: move it to the front.
        if (chars != chars_ && n > 0)
            wmemmove(chars_, chars, n);
        length_ = n;
        return;
    }
    length_ = 0;
    Append(chars, int32_t(n));
}

void StrBuffer::Assign(const wchar_t* text)
{
    Assign(text, -1);
}

void StrBuffer::Assign(const StrBuffer& text)
{
    if (&text != this)
        Assign(text.chars_, int32_t(text.length_));
}

void StrBuffer::Assign(const StrBuffer* text)
{
    if (text)
        Assign(*text);
    else
        Clear();
}

// --- new strings -----------------------------------------------------------------

StrBuffer* StrBuffer::Clone() const
{
    return Acquire(chars_, int32_t(length_));
}

StrBuffer* StrBuffer::Substring(uint32_t from, uint32_t to) const
{
    const uint32_t end = std::min(to, length_);
    if (from >= end)
        return Acquire();
    return Acquire(chars_ + from, int32_t(end - from));
}

StrBuffer* StrBuffer::BeforePosition(bool found, uint32_t at) const
{
    return found ? Substring(0, at) : Acquire();
}

StrBuffer* StrBuffer::BeforeLast(wchar_t ch, uint32_t from) const
{
    uint32_t at = 0;
    const bool found = LastIndexOf(ch, &at, from);
    return BeforePosition(found, at);
}

StrBuffer* StrBuffer::BeforeLastIgnoreCase(wchar_t ch, uint32_t from) const
{
    uint32_t at = 0;
    const bool found = LastIndexOfIgnoreCase(ch, &at, from);
    return BeforePosition(found, at);
}

StrBuffer* StrBuffer::BeforeLastAny(const wchar_t* chars, int32_t count, uint32_t from) const
{
    uint32_t at = 0;
    const bool found = LastIndexOfAny(chars, count, &at, from);
    return BeforePosition(found, at);
}

StrBuffer* StrBuffer::BeforeLastAnyIgnoreCase(const wchar_t* chars, int32_t count,
                                              uint32_t from) const
{
    uint32_t at = 0;
    const bool found = LastIndexOfAnyIgnoreCase(chars, count, &at, from);
    return BeforePosition(found, at);
}

StrBuffer* StrBuffer::BeforeLastText(const wchar_t* text, uint32_t from) const
{
    uint32_t at = 0;
    const bool found = FindLast(text, &at, from);
    return BeforePosition(found, at);
}

StrBuffer* StrBuffer::BeforeLastTextIgnoreCase(const wchar_t* text, uint32_t from) const
{
    uint32_t at = 0;
    const bool found = FindLastIgnoreCase(text, &at, from);
    return BeforePosition(found, at);
}

// --- digest ----------------------------------------------------------------------

bool StrBuffer::Digest(s::sys::IDigest* digest, uint8_t* out) const
{
    return s::sys::Md5Digest::Digest(digest, chars_, size_t(length_) * sizeof(wchar_t), out);
}

bool StrBuffer::Md5HexInto(StrBuffer* target, bool append) const
{
    uint8_t out[s::sys::Md5Digest::SIZE];
    if (!target || !Digest(nullptr, out))
        return false;
    if (!append)
        target->Clear();
    target->AppendHex(out, s::sys::Md5Digest::SIZE);
    return true;
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

// --- iterators -------------------------------------------------------------------

Iterator* StrBuffer::Begin()
{
    return IteratorAt(0);
}

Iterator* StrBuffer::End()
{
    Iterator* it = Iterator::Acquire();
    if (it)
        it->Attach(this, int32_t(length_), length_);
    return it;
}

Iterator* StrBuffer::IteratorAt(uint32_t i)
{
    Iterator* it = Iterator::Acquire();
    if (it)
        it->Attach(this, int32_t(i) - 1, i);
    return it;
}

Iterator* StrBuffer::IteratorFromEnd(uint32_t i)
{
    return IteratorAt(length_ - i);
}

// --- the two stream faces ------------------------------------------------------------

bool StrBuffer::Read(void* buffer, uint32_t n, uint32_t* read)
{
    const uint64_t size = uint64_t(length_) * sizeof(wchar_t);
    uint32_t count = 0;
    if (position_ < size && buffer) {
        count = uint32_t(std::min<uint64_t>(n, size - position_));
        memcpy(buffer, reinterpret_cast<const unsigned char*>(chars_) + position_, count);
        position_ += count;
    }
    if (read)
        *read = count;
    return buffer != nullptr || n == 0;
}

bool StrBuffer::Write(const void* data, uint32_t n, uint32_t* written)
{
    if (written)
        *written = 0;
    if (n == 0)
        return true;
    const uint64_t end = uint64_t(position_) + n;
    if (!data || end > 0xFFFFFFFEull)
        return false;
    const uint32_t units = uint32_t((end + 1) / 2);
    // Bytes taken from this string's own storage would be read after growing
    // freed it; they move along to the same offset (growing keeps the text).
    const unsigned char* source = static_cast<const unsigned char*>(data);
    const unsigned char* own = reinterpret_cast<const unsigned char*>(chars_);
    const bool inside = own && source >= own && source < own + (size_t(capacity_) + 1) * 2;
    const size_t offset = inside ? size_t(source - own) : 0;
    if (!EnsureStreamRoom(units))
        return false;
    unsigned char* bytes = reinterpret_cast<unsigned char*>(chars_);
    if (inside)
        source = bytes + offset;
    ZeroGapBefore(position_);
    memmove(bytes + position_, source, n);
    position_ = uint32_t(end);
    if (position_ / 2 > length_)
        length_ = position_ / 2;
    // An odd end behind the text leaves half a character that is not counted
    // yet; a later write past it must keep it.
    oddByteEnd_ = (position_ & 1) && position_ / 2 == length_ ? position_ : 0;
    if (written)
        *written = n;
    return true;
}

bool StrBuffer::EnsureStreamRoom(uint32_t units)
{
    // Growing keeps the counted text only: a pending odd byte moves along by hand.
    const bool odd = oddByteEnd_ != 0 && oddByteEnd_ == length_ * uint32_t(sizeof(wchar_t)) + 1;
    const unsigned char oddByte = odd ? reinterpret_cast<unsigned char*>(chars_)[oddByteEnd_ - 1] : 0;
    if (!EnsureRoom(units))
        return false;
    if (odd)
        reinterpret_cast<unsigned char*>(chars_)[oddByteEnd_ - 1] = oddByte;
    return true;
}

void StrBuffer::ZeroGapBefore(uint32_t byteOffset)
{
    // A gap behind the text reads as zeros, not as old garbage. The byte right
    // behind the text stays when an earlier (odd-sized) write put it there.
    uint32_t from = length_ * uint32_t(sizeof(wchar_t));
    if (oddByteEnd_ == from + 1)
        from = oddByteEnd_;
    if (byteOffset > from)
        memset(reinterpret_cast<unsigned char*>(chars_) + from, 0, byteOffset - from);
}

bool StrBuffer::SetEnd()
{
    const uint32_t units = position_ / 2;
    if (units > length_) {
        if (!EnsureStreamRoom(units))
            return false;
        ZeroGapBefore(units * uint32_t(sizeof(wchar_t)));
    }
    length_ = units;
    oddByteEnd_ = 0;
    return true;
}

bool StrBuffer::Rewind()
{
    position_ = 0;
    return true;
}

bool StrBuffer::SeekEnd()
{
    position_ = length_ * uint32_t(sizeof(wchar_t));
    return true;
}

bool StrBuffer::SetPosition(int64_t position)
{
    if (position < 0 || position > int64_t(0xFFFFFFFEll))
        return false;
    position_ = uint32_t(position);
    return true;
}

bool StrBuffer::SeekFromEnd(int64_t n)
{
    return SetPosition(int64_t(length_) * 2 - n);
}

bool StrBuffer::Skip(int64_t n)
{
    return SetPosition(int64_t(position_) + n);
}

bool StrBuffer::Back(int64_t n)
{
    return SetPosition(int64_t(position_) - n);
}

} // namespace s::str::strbuffer
