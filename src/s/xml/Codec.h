#pragma once
// The character references of the XML model and the trimming of element text.
//
// Attribute values and element text use different sets (see the table below);
// decoding reverses exactly the references of the same set and keeps any other
// "&..." as it stands. All functions work on raw UTF-16 runs (no terminator
// needed) and write into a caller-given buffer; they never fail.
//
//   character      attribute value   element text
//   &              &amp;             &amp;
//   <              &lt;              &lt;
//   >              kept              &gt;
//   "              &quot;            kept
//   space          kept              &#160;
//   CR             &#13;             &#13;
//   LF             &#10;             &#10;

#include <cstddef>
#include <cstdint>

namespace s::xml::codec {

/// Longest reference written for one character: the buffer of an encode call needs
/// MAX_ENCODED_PER_CHAR * n characters.
constexpr size_t MAX_ENCODED_PER_CHAR = 6;

/// The most characters a string holds (the library's strings count in 32 bits).
constexpr uint64_t MAX_CHARACTERS = 0xFFFFFFFEu;

/// The room an encode call needs for n characters, computed without wrapping;
/// false when that is more than a string holds (the text cannot be encoded then).
bool EncodeRoomFor(uint64_t n, uint32_t* room);

/// Writes the encoded form of text[0..n) to out; answers the characters written.
size_t EncodeAttribute(const wchar_t* text, size_t n, wchar_t* out);
size_t EncodeText(const wchar_t* text, size_t n, wchar_t* out);

/// Writes the decoded value of raw[0..n) to out (at most n characters); answers the
/// characters written. Attribute values are not trimmed.
size_t DecodeAttribute(const wchar_t* raw, size_t n, wchar_t* out);

/// Element text: leading tab, LF, CR and space are skipped, the rest decoded, then
/// trailing white space (space, LF, U+3000, tab, CR) removed, but never what a
/// reference produced: a trailing "&#160;" stays a space.
size_t DecodeText(const wchar_t* raw, size_t n, wchar_t* out);

} // namespace s::xml::codec
