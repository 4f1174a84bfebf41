// StrBuffer: creation, storage, case, trimming, appending, replacing, assigning,
// new strings, digests and iterators. Comparing and searching live in
// StrBufferSearch.cpp, numbers in StrBufferNumbers.cpp, the stream faces in
// StrBufferStream.cpp.
#include "s/str/strbuffer/StrBuffer.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <wchar.h>

#include "s/col/Growth.h"
#include "s/str/strbuffer/Iterator.h"
#include "s/str/strbuffer/StrBufferUnits.h"
#include "s/sys/IDigest.h"
#include "s/sys/Md5Digest.h"

namespace s::str::strbuffer {

using namespace units;

namespace {

inline wchar_t FoldUpper(wchar_t ch)
{
    return (ch >= L'a' && ch <= L'z') ? wchar_t(ch - (L'a' - L'A')) : ch;
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

} // namespace s::str::strbuffer
