// The comparing face of StrBuffer: comparisons, hashes, searches, region tests
// and CompareAt.
#include "s/str/strbuffer/StrBuffer.h"

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <wchar.h>

#include "s/str/strbuffer/StrBufferUnits.h"

namespace s::str::strbuffer {

using namespace units;

namespace {

/// Where a backward search starts: before min(from, length); FROM_END (and
/// anything above it) means the very end, also for texts longer than FROM_END.
inline uint32_t BackwardEnd(uint32_t from, uint32_t length)
{
    return from >= StrBuffer::FROM_END ? length : std::min(from, length);
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

const StrBuffer* AsStr(const s::base::IComparable* other)
{
    return dynamic_cast<const StrBuffer*>(other);
}

} // namespace

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

} // namespace s::str::strbuffer
