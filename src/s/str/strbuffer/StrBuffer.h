#pragma once
// The library's string: a pooled, growable run of UTF-16 units.
//
// Getting and giving back:
//     StrBuffer* s = StrBuffer::Acquire(L"text");   // from the pool; the caller owns it
//     s->Append(L" more");
//     SetWindowTextW(hwnd, s->CStr());              // terminated text for Win32
//     s->Release();                                  // back to the pool, emptied
// Never new/delete a StrBuffer. Every StrBuffer* / StrArray* / Iterator* that an
// operation returns is new and belongs to the caller, who releases it; arguments
// stay with their owner.
//
// Storage: malloc'ed for Capacity() + 1 units so that a terminator always fits.
// The text is NOT kept terminated: Data() is raw, CStr() (and EndPointer()) write
// the 0 unit first. Released strings keep their storage for the next user.
// Growth from capacity k: 100 below 100, then 3k, 2k, 1.5k, 1.2k (s/col/Growth.h).
//
// Positions are unit indexes. Searches answer true and store the position in
// *at (at may be null), or answer false. `from` starts a forward search; the
// backward searches look at positions before min(from, Length()), FROM_END
// meaning the end. Text arguments given as (chars, count) take count -1 for "up
// to the terminating 0". Out-of-range indexes are the caller's responsibility
// except where a comment says otherwise.
//
// Case: the "IgnoreCase" text comparisons use the runtime's _wcsnicmp; the
// single-character ones (IndexOfIgnoreCase, LowerCharAt...) fold only A-Z.
//
// Faces: IStr (IObject), IInputStream and IOutputStream over the UTF-16LE bytes
// at one shared byte position, IPoolable.
// Thread affinity: one thread at a time per string; the pool is thread-safe.

#include <cstddef>
#include <cstdint>

#include "s/base/ClassId.h"
#include "s/base/IComparator.h"
#include "s/io/IInputStream.h"
#include "s/io/IOutputStream.h"
#include "s/str/IStr.h"
#include "s/thread/IPoolable.h"
#include "s/thread/Pooled.h"

namespace s::sys {
class IDigest;
}
namespace s::col::_array {
class ArrayU08;
}
namespace s::str::strarray {
class StrArray;
}

namespace s::str::strbuffer {

class Iterator;

class StrBuffer : public s::str::IStr,
                  public s::io::IInputStream,
                  public s::io::IOutputStream,
                  public s::thread::IPoolable
{
    S_CLASS_ID(L"s_str_strbuffer_StrBuffer")
    S_POOLED(StrBuffer)

public:
    /// "From the end" for the backward searches.
    static constexpr uint32_t FROM_END = 0xFFFFFF;

    // --- creation shortcuts (all from the pool; the caller releases) ---------
    static StrBuffer* Acquire(const wchar_t* text);
    static StrBuffer* Acquire(const wchar_t* chars, int32_t count);
    static StrBuffer* Acquire(const StrBuffer& text);

    // --- IComparable / IObject (slots 1-8) -----------------------------------
    /// With a comparator: its answer. Else, for another StrBuffer: the UTF-16LE
    /// bytes compared unsigned over the common length, then the shorter is
    /// smaller (so "B" < "a", and U+0101 < "a" because its low byte comes first).
    /// A non-string `other` is ordered as IObject does (by address).
    int Compare(const s::base::IComparable* other,
                const s::base::IComparator* comparator = nullptr) const override;
    /// _wcsnicmp over the common length, then the shorter is smaller.
    int CompareIgnoreCase(const s::base::IComparable* other,
                          const s::base::IComparator* comparator = nullptr) const override;
    /// Without comparator: same length and same units.
    bool Equals(const s::base::IComparable* other,
                const s::base::IComparator* comparator = nullptr) const override;
    /// Without comparator: same length and _wcsnicmp == 0.
    bool EqualsIgnoreCase(const s::base::IComparable* other,
                          const s::base::IComparator* comparator = nullptr) const override;
    /// h = 0; per unit: h += h, bit 31 set -> bit 0 set too, h ^= unit ("abc" -> 291).
    uint32_t HashCode() const override;
    /// HashCode() with A-Z folded to lower case.
    uint32_t HashCodeIgnoreCase() const override;

    // Non-virtual forms for the common cases.
    int Compare(const StrBuffer& other) const;
    int Compare(const wchar_t* text) const;
    int CompareIgnoreCase(const StrBuffer& other) const;
    int CompareIgnoreCase(const wchar_t* text) const;
    bool Equals(const StrBuffer& other) const;
    bool Equals(const wchar_t* text) const;
    bool EqualsIgnoreCase(const StrBuffer& other) const;
    bool EqualsIgnoreCase(const wchar_t* text) const;

    /// The hash codes of a raw run of units (the same as a StrBuffer holding them).
    static uint32_t HashOf(const wchar_t* chars, uint32_t count);
    static uint32_t HashIgnoreCaseOf(const wchar_t* chars, uint32_t count);

    // --- storage (slots 9-21) ------------------------------------------------
    /// Terminates the text and answers the terminator's address; null when empty.
    wchar_t* EndPointer();
    uint32_t Length() const override { return length_; }
    bool IsEmpty() const { return length_ == 0; }
    /// Sets the length without checking it against the capacity.
    void SetLength(uint32_t n)
    {
        length_ = n;
        oddByteEnd_ = 0;
    }
    uint32_t Capacity() const { return capacity_; }
    /// Exactly n units of capacity when the capacity is smaller.
    void Reserve(uint32_t n);
    /// One growth step.
    void Grow();
    /// Growth steps until n units fit.
    void ReserveGrow(uint32_t n);
    /// Length and stream position 0; storage kept.
    void Clear();
    /// Storage freed; length, capacity and position 0.
    void Free();
    /// Raw units, not terminated (null before the first allocation).
    const wchar_t* Data() const override { return chars_; }
    wchar_t* Data() { return chars_; }
    /// Terminated text; a static empty text when empty. Never null.
    const wchar_t* CStr() const override;
    /// Reverses the units in place.
    void Reverse();
    /// In place with _wcslwr_s / _wcsupr_s.
    void ToLower();
    void ToUpper();
    /// ToLower(), then an initial a-z becomes upper case.
    void Capitalize();

    // --- characters (25-27, 106) ---------------------------------------------
    wchar_t CharAt(uint32_t i) const { return chars_[i]; }
    /// The unit with only A-Z (resp. a-z) folded.
    wchar_t LowerCharAt(uint32_t i) const;
    wchar_t UpperCharAt(uint32_t i) const;
    wchar_t* PointerAt(uint32_t i) { return chars_ + i; }
    const wchar_t* PointerAt(uint32_t i) const { return chars_ + i; }

    // --- searches (28-39) ------------------------------------------------------
    bool IndexOf(wchar_t ch, uint32_t* at = nullptr, uint32_t from = 0) const;
    bool IndexOfIgnoreCase(wchar_t ch, uint32_t* at = nullptr, uint32_t from = 0) const;
    bool IndexOfAny(const wchar_t* chars, int32_t count, uint32_t* at = nullptr,
                    uint32_t from = 0) const;
    bool IndexOfAnyIgnoreCase(const wchar_t* chars, int32_t count, uint32_t* at = nullptr,
                              uint32_t from = 0) const;
    bool LastIndexOf(wchar_t ch, uint32_t* at = nullptr, uint32_t from = FROM_END) const;
    bool LastIndexOfIgnoreCase(wchar_t ch, uint32_t* at = nullptr,
                               uint32_t from = FROM_END) const;
    bool LastIndexOfAny(const wchar_t* chars, int32_t count, uint32_t* at = nullptr,
                        uint32_t from = FROM_END) const;
    bool LastIndexOfAnyIgnoreCase(const wchar_t* chars, int32_t count, uint32_t* at = nullptr,
                                  uint32_t from = FROM_END) const;
    /// A terminated text at or after from. An empty text is found at from (<= Length()).
    bool Find(const wchar_t* text, uint32_t* at = nullptr, uint32_t from = 0) const;
    bool FindIgnoreCase(const wchar_t* text, uint32_t* at = nullptr, uint32_t from = 0) const;
    /// The last occurrence that ends no later than min(from, Length()).
    bool FindLast(const wchar_t* text, uint32_t* at = nullptr, uint32_t from = FROM_END) const;
    bool FindLastIgnoreCase(const wchar_t* text, uint32_t* at = nullptr,
                            uint32_t from = FROM_END) const;
    bool Contains(const wchar_t* text) const { return Find(text); }

    // --- region tests (40-45) ----------------------------------------------------
    /// The count units from index equal text[textIndex .. textIndex + count). Count -1:
    /// the rest of text, which must then end exactly at the end of this string.
    /// False (never a read out of range) when either side is too short.
    bool RegionMatches(uint32_t index, const wchar_t* text, uint32_t textIndex,
                       int32_t count) const;
    bool RegionMatchesIgnoreCase(uint32_t index, const wchar_t* text, uint32_t textIndex,
                                 int32_t count) const;
    /// The first count units of text (-1: all of it) end this string.
    bool EndsWith(const wchar_t* text, int32_t count = -1) const;
    bool EndsWithIgnoreCase(const wchar_t* text, int32_t count = -1) const;
    bool StartsWith(const wchar_t* text, int32_t count = -1) const;
    bool StartsWithIgnoreCase(const wchar_t* text, int32_t count = -1) const;

    // --- trimming (46-51) -------------------------------------------------------
    /// Whitespace: space, line feed, U+3000, tab, carriage return (not U+00A0).
    static bool IsWhitespace(wchar_t ch);
    void TrimRight();
    void TrimRightTo(uint32_t minimum);
    void TrimRightChars(const wchar_t* chars, int32_t count = -1);
    void TrimRightCharsTo(const wchar_t* chars, uint32_t minimum, int32_t count = -1);
    void TrimLeft();
    void TrimLeftChars(const wchar_t* chars, int32_t count = -1);
    void Trim()
    {
        TrimRight();
        TrimLeft();
    }

    // --- CompareAt (52, 53) -------------------------------------------------------
    /// This text from index against text from textIndex (count -1: to their ends,
    /// else at most count units), unit by unit; the shorter is smaller.
    /// Answers -1 when index lies beyond this text.
    int CompareAt(uint32_t index, const wchar_t* text, uint32_t textIndex = 0,
                  int32_t count = -1) const;
    int CompareAtIgnoreCase(uint32_t index, const wchar_t* text, uint32_t textIndex = 0,
                            int32_t count = -1) const;

    // --- appending (54-68, 107-119) -----------------------------------------------
    void Prepend(const wchar_t* chars, int32_t count = -1);
    /// Each byte becomes one unit (count -1: up to the terminating 0 byte).
    void AppendAscii(const char* bytes, int32_t count = -1);
    void Append(const wchar_t* chars, int32_t count);
    void Append(const wchar_t* text);
    void Append(const StrBuffer& text);
    /// Null is ignored.
    void Append(const StrBuffer* text);
    void AppendChar(wchar_t ch);
    /// Lower-case hexadecimal, per value: 2 digits per byte, 4 per 16-bit, 8 per
    /// 32-bit, 16 per 64-bit value; no separators.
    void AppendHex(const uint8_t* values, uint32_t count);
    void AppendHex(const int8_t* values, uint32_t count);
    void AppendHex(const uint16_t* values, uint32_t count);
    void AppendHex(const int16_t* values, uint32_t count);
    void AppendHex(const uint32_t* values, uint32_t count);
    void AppendHex(const int32_t* values, uint32_t count);
    void AppendHex(const uint64_t* values, uint32_t count);
    void AppendHex(const int64_t* values, uint32_t count);
    /// The runtime's swprintf_s: "%I64d"/"%I64u", "%u", "%d", "%f" (long and
    /// unsigned long, such as DWORD, with "%ld"/"%lu").
    void AppendNumber(int64_t value);
    void AppendNumber(uint64_t value);
    void AppendNumber(uint32_t value);
    void AppendNumber(uint16_t value);
    void AppendNumber(uint8_t value);
    void AppendNumber(int32_t value);
    void AppendNumber(int16_t value);
    void AppendNumber(int8_t value);
    void AppendNumber(float value);
    void AppendNumber(double value);
    void AppendNumber(long value);
    void AppendNumber(unsigned long value);

    // --- replacing (69-73, 120-131) ------------------------------------------------
    /// Replaces every occurrence, left to right, never searching replaced text.
    /// Answers the number of replacements; nothing happens for an empty or null
    /// find; a null replacement removes the occurrences.
    uint32_t ReplaceAll(const wchar_t* find, const wchar_t* replacement);
    uint32_t ReplaceAllIgnoreCase(const wchar_t* find, const wchar_t* replacement);
    /// Keeps [from, min(to, Length())) in place; empty when from is past that end.
    void KeepRange(uint32_t from, uint32_t to);
    void SetNumber(int64_t value);
    void SetNumber(uint64_t value);
    void SetNumber(uint32_t value);
    void SetNumber(uint16_t value);
    void SetNumber(uint8_t value);
    void SetNumber(int32_t value);
    void SetNumber(int16_t value);
    void SetNumber(int8_t value);
    void SetNumber(float value);
    void SetNumber(double value);
    void SetNumber(long value);
    void SetNumber(unsigned long value);
    void Assign(const wchar_t* chars, int32_t count);
    void Assign(const wchar_t* text);
    void Assign(const StrBuffer& text);
    /// Null empties this string.
    void Assign(const StrBuffer* text);

    // --- new strings (71, 73-79; the caller releases the result) -------------------
    StrBuffer* Clone() const;
    /// [from, min(to, Length())); empty when from is at or past that end.
    StrBuffer* Substring(uint32_t from, uint32_t to = FROM_END) const;
    /// The text before what the matching backward search finds; empty when it finds nothing.
    StrBuffer* BeforeLast(wchar_t ch, uint32_t from = FROM_END) const;
    StrBuffer* BeforeLastIgnoreCase(wchar_t ch, uint32_t from = FROM_END) const;
    StrBuffer* BeforeLastAny(const wchar_t* chars, int32_t count,
                             uint32_t from = FROM_END) const;
    StrBuffer* BeforeLastAnyIgnoreCase(const wchar_t* chars, int32_t count,
                                       uint32_t from = FROM_END) const;
    StrBuffer* BeforeLastText(const wchar_t* text, uint32_t from = FROM_END) const;
    StrBuffer* BeforeLastTextIgnoreCase(const wchar_t* text, uint32_t from = FROM_END) const;

    // --- digest (80) -------------------------------------------------------------------
    /// Feeds the 2 x Length() bytes to digest (a pooled MD5 when null) and writes
    /// its DigestSize() bytes to out. False on failure (out untouched).
    bool Digest(s::sys::IDigest* digest, uint8_t* out) const;
    /// Lower-case hexadecimal MD5 of the UTF-16LE bytes into target (appended when
    /// append, else replacing). False on failure (target unchanged).
    bool Md5HexInto(StrBuffer* target, bool append = false) const;

    // --- code pages (81-89) -----------------------------------------------------------
    // The byte-array forms answer the array that holds the bytes: `bytes` itself, or a
    // new pooled ArrayU08 (the caller releases it) when bytes is null; append adds
    // after its current content, else it is replaced. On failure they answer null
    // and leave a given array as it was.
    s::col::_array::ArrayU08* ToUtf8(s::col::_array::ArrayU08* bytes = nullptr,
                                     bool append = false) const;
    s::col::_array::ArrayU08* ToUtf8NoTerminator(s::col::_array::ArrayU08* bytes = nullptr,
                                                 bool append = false) const;
    /// count -1: up to the first 0 byte. Invalid sequences become U+FFFD; false only
    /// when the conversion fails (unknown code page, no memory), the text unchanged.
    bool FromUtf8(const void* bytes, bool append = false, int32_t count = -1);
    /// codePage: a Windows code-page number (s/sys/CodePage.h); UTF-16LE copies the
    /// bytes, UTF-16BE swaps each pair, any other goes through WideCharToMultiByte.
    s::col::_array::ArrayU08* Encode(uint32_t codePage, s::col::_array::ArrayU08* bytes = nullptr,
                                     bool append = false) const;
    s::col::_array::ArrayU08* EncodeNoTerminator(uint32_t codePage,
                                                 s::col::_array::ArrayU08* bytes = nullptr,
                                                 bool append = false) const;
    /// The inverse of Encode; count -1: up to the first 0 byte (a 0 unit for UTF-16).
    /// Null bytes (with a count other than 0) answer false.
    bool Decode(uint32_t codePage, const void* bytes, bool append = false, int32_t count = -1);
    s::col::_array::ArrayU08* ToOem(s::col::_array::ArrayU08* bytes = nullptr,
                                    bool append = false) const;
    s::col::_array::ArrayU08* ToOemNoTerminator(s::col::_array::ArrayU08* bytes = nullptr,
                                                bool append = false) const;
    bool FromOem(const void* bytes, bool append = false, int32_t count = -1);

    // --- numbers (90-99): what the runtime's converters yield (0 for no digits) --------
    int32_t ToInt() const;        // _wtoi
    uint32_t ToUInt() const;      // base 10, the full unsigned 32-bit range
    int16_t ToInt16() const;
    uint16_t ToUInt16() const;
    int8_t ToInt8() const;
    uint8_t ToUInt8() const;
    int64_t ToInt64() const;      // _wcstoi64, base 10
    uint64_t ToUInt64() const;    // _wcstoui64, base 10
    float ToFloat() const;        // _wtof
    double ToDouble() const;      // _wtof

    // --- hexadecimal and integer tests (100-103) ----------------------------------
    /// Non-empty and only 0-9, a-f, A-F.
    bool IsHex() const;
    /// The value of the hexadecimal digit at i; 0 for any other unit.
    uint8_t HexDigitAt(uint32_t i) const;
    /// Each digit pair becomes a byte, high digit first; a last odd digit is ignored.
    s::col::_array::ArrayU08* HexToBytes(s::col::_array::ArrayU08* bytes = nullptr,
                                         bool append = false) const;
    /// Non-empty, all 0-9, with one leading "-" allowed when more follows.
    bool IsInteger() const;

    // --- lists (104, 105; the caller releases the result) ------------------------------
    /// The non-empty pieces between occurrences of ch, in order.
    s::str::strarray::StrArray* Split(wchar_t ch) const;
    /// The distinct words (ignoring case), in order of first appearance; "the", "of"
    /// and "and" are left out when skipCommon.
    s::str::strarray::StrArray* Words(bool skipCommon = false) const;

    // --- iterators (132-135; pooled, the caller releases) -------------------------------
    Iterator* Begin();
    Iterator* End();
    Iterator* IteratorAt(uint32_t i);
    Iterator* IteratorFromEnd(uint32_t i);

    // --- IPoolable -------------------------------------------------------------------
    /// Clear(): the storage stays for the next user.
    void Reset() override;

    // --- IInputStream / IOutputStream over the UTF-16LE bytes ---------------------------
    /// Reads up to 2 x Length() - position bytes.
    bool Read(void* buffer, uint32_t n, uint32_t* read) override;
    /// Writes at the position, growing as needed; the length rises to position / 2.
    bool Write(const void* data, uint32_t n, uint32_t* written) override;
    bool Flush() override { return true; }
    /// Length = position / 2 (growing when the position lies beyond the text).
    bool SetEnd() override;
    void Close() override {}
    int64_t GetPosition() const override { return position_; }
    bool IsSeekable() const override { return true; }
    bool Rewind() override;
    bool SeekEnd() override;
    bool SetPosition(int64_t position) override;
    /// Position = 2 x Length() - n.
    bool SeekFromEnd(int64_t n) override;
    bool Skip(int64_t n) override;
    bool Back(int64_t n) override;

    /// Exchanges the storage of two strings (text, length, capacity); positions reset.
    void SwapStorage(StrBuffer& other);

protected:
    StrBuffer() = default;
    ~StrBuffer() override;

private:
    StrBuffer(const StrBuffer&) = delete;
    StrBuffer& operator=(const StrBuffer&) = delete;

    /// Makes room for n units, growing by steps; false when memory ran out.
    bool EnsureRoom(uint32_t n);
    bool Reallocate(uint32_t capacity);
    /// EnsureRoom for the output stream, keeping a pending odd byte.
    bool EnsureStreamRoom(uint32_t units);
    /// Zeros the bytes between the text (and a pending odd byte) and byteOffset.
    void ZeroGapBefore(uint32_t byteOffset);
    uint32_t ReplaceAllImpl(const wchar_t* find, const wchar_t* replacement, bool ignoreCase);
    bool FindImpl(const wchar_t* text, uint32_t* at, uint32_t from, bool ignoreCase) const;
    bool FindLastImpl(const wchar_t* text, uint32_t* at, uint32_t from, bool ignoreCase) const;
    StrBuffer* BeforePosition(bool found, uint32_t at) const;
    template <class T>
    void AppendHexValues(const T* values, uint32_t count);
    /// Formats one number behind the text with room for `room` units.
    void AppendFormatted(uint32_t room, const wchar_t* format, ...);
    s::col::_array::ArrayU08* EncodeImpl(uint32_t codePage, s::col::_array::ArrayU08* bytes,
                                         bool append, bool terminate) const;

    wchar_t* chars_ = nullptr;
    uint32_t length_ = 0;
    uint32_t capacity_ = 0;
    uint32_t position_ = 0;
    /// Byte offset just past a byte that the output stream wrote right behind the
    /// text (half a character, not counted yet); 0 when there is none.
    uint32_t oddByteEnd_ = 0;
};

} // namespace s::str::strbuffer
