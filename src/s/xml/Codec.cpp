#include "s/xml/Codec.h"

#include <cwchar>

namespace s::xml::codec {

namespace {

struct Reference
{
    wchar_t character;
    const wchar_t* text;
    size_t length;
};

// The order matters only for speed; every reference starts with '&'.
constexpr Reference ATTRIBUTE_REFERENCES[] = {
    {L'&', L"&amp;", 5}, {L'<', L"&lt;", 4}, {L'"', L"&quot;", 6},
    {L'\r', L"&#13;", 5}, {L'\n', L"&#10;", 5},
};
constexpr Reference TEXT_REFERENCES[] = {
    {L'&', L"&amp;", 5}, {L'<', L"&lt;", 4}, {L'>', L"&gt;", 4},
    {L' ', L"&#160;", 6}, {L'\r', L"&#13;", 5}, {L'\n', L"&#10;", 5},
};

template <size_t N>
size_t Encode(const Reference (&table)[N], const wchar_t* text, size_t n, wchar_t* out)
{
    size_t w = 0;
    for (size_t i = 0; i < n; ++i) {
        const wchar_t c = text[i];
        const Reference* hit = nullptr;
        for (const Reference& r : table) {
            if (r.character == c) {
                hit = &r;
                break;
            }
        }
        if (hit) {
            wmemcpy(out + w, hit->text, hit->length);
            w += hit->length;
        } else {
            out[w++] = c;
        }
    }
    return w;
}

// Decodes raw[0..n) into out; *endOfLastReference receives the output length right
// after the last reference that was decoded (0 when none was).
template <size_t N>
size_t Decode(const Reference (&table)[N], const wchar_t* raw, size_t n, wchar_t* out,
              size_t* endOfLastReference)
{
    size_t w = 0;
    size_t lastReferenceEnd = 0;
    size_t i = 0;
    while (i < n) {
        const wchar_t c = raw[i];
        if (c == L'&') {
            const Reference* hit = nullptr;
            for (const Reference& r : table) {
                if (r.length <= n - i && wmemcmp(raw + i, r.text, r.length) == 0) {
                    hit = &r;
                    break;
                }
            }
            if (hit) {
                out[w++] = hit->character;
                lastReferenceEnd = w;
                i += hit->length;
                continue;
            }
        }
        out[w++] = c;
        ++i;
    }
    if (endOfLastReference)
        *endOfLastReference = lastReferenceEnd;
    return w;
}

bool IsLeadingSpace(wchar_t c)
{
    return c == L'\t' || c == L'\n' || c == L'\r' || c == L' ';
}

bool IsTrailingSpace(wchar_t c)
{
    return c == L' ' || c == L'\n' || c == 0x3000 || c == L'\t' || c == L'\r';
}

} // namespace

bool EncodeRoomFor(uint64_t n, uint32_t* room)
{
    if (n > MAX_CHARACTERS / MAX_ENCODED_PER_CHAR)
        return false;
    if (room)
        *room = uint32_t(n * MAX_ENCODED_PER_CHAR);
    return true;
}

size_t EncodeAttribute(const wchar_t* text, size_t n, wchar_t* out)
{
    return Encode(ATTRIBUTE_REFERENCES, text, n, out);
}

size_t EncodeText(const wchar_t* text, size_t n, wchar_t* out)
{
    return Encode(TEXT_REFERENCES, text, n, out);
}

size_t DecodeAttribute(const wchar_t* raw, size_t n, wchar_t* out)
{
    return Decode(ATTRIBUTE_REFERENCES, raw, n, out, nullptr);
}

size_t DecodeText(const wchar_t* raw, size_t n, wchar_t* out)
{
    size_t start = 0;
    while (start < n && IsLeadingSpace(raw[start]))
        ++start;
    size_t lastReferenceEnd = 0;
    size_t w = Decode(TEXT_REFERENCES, raw + start, n - start, out, &lastReferenceEnd);
    while (w > lastReferenceEnd && IsTrailingSpace(out[w - 1]))
        --w;
    return w;
}

} // namespace s::xml::codec
