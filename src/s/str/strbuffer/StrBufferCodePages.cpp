// The byte-array conversions of StrBuffer: UTF-8, OEM, any code page, hexadecimal.
#include "s/str/strbuffer/StrBuffer.h"

#include <windows.h>

#include <cstring>

#include "s/col/_array/ArrayU08.h"
#include "s/sys/CodePage.h"

using s::col::_array::ArrayU08;

namespace s::str::strbuffer {

namespace {

/// Makes room for `extra` bytes behind the part of `target` that is kept and
/// stores where they go in *out. False when memory ran out; the caller restores
/// the count then.
bool OpenTail(ArrayU08* target, uint32_t kept, uint64_t extra, uint8_t** out)
{
    if (extra > 0xFFFFFFFFu - uint64_t(kept))
        return false;  // the count would wrap in 32 bits
    target->SetCount(kept + extra);
    if (target->Count() != kept + extra || (extra > 0 && !target->Items()))
        return false;
    *out = extra > 0 ? target->Items() + kept : nullptr;
    return true;
}

/// Length in bytes of a text given as bytes with count -1 meaning "up to the
/// terminator" (a 0 byte, or a 0 unit for the UTF-16 code pages).
uint32_t ByteCount(const void* bytes, int32_t count, bool utf16)
{
    if (!bytes)
        return 0;
    if (count >= 0)
        return uint32_t(count);
    if (utf16) {
        const uint8_t* p = static_cast<const uint8_t*>(bytes);
        uint32_t n = 0;
        while (p[n] != 0 || p[n + 1] != 0)
            n += 2;
        return n;
    }
    return uint32_t(strlen(static_cast<const char*>(bytes)));
}

} // namespace

ArrayU08* StrBuffer::EncodeImpl(uint32_t codePage, ArrayU08* bytes, bool append,
                                bool terminate) const
{
    ArrayU08* target = bytes ? bytes : ArrayU08::Acquire();
    if (!target)
        return nullptr;
    const uint32_t oldCount = target->Count();
    const uint32_t kept = append ? oldCount : 0;
    const bool utf16 = codePage == s::sys::CodePage::UTF16LE || codePage == s::sys::CodePage::UTF16BE;
    const uint32_t terminatorSize = terminate ? (utf16 ? 2u : 1u) : 0u;

    uint64_t size = 0;  // bytes of the converted text, without the terminator
    if (utf16) {
        size = uint64_t(length_) * 2;
    } else if (length_ > 0) {
        const int need = WideCharToMultiByte(codePage, 0, chars_, int(length_), nullptr, 0,
                                             nullptr, nullptr);
        if (need <= 0) {
            if (!bytes)
                target->Release();
            return nullptr;
        }
        size = uint32_t(need);
    }

    uint8_t* out = nullptr;
    if (!OpenTail(target, kept, size + terminatorSize, &out)) {
        if (bytes)
            target->SetCount(oldCount);
        else
            target->Release();
        return nullptr;
    }
    if (codePage == s::sys::CodePage::UTF16LE) {
        if (size > 0)
            memcpy(out, chars_, size_t(size));
    } else if (codePage == s::sys::CodePage::UTF16BE) {
        for (uint32_t i = 0; i < length_; ++i) {
            const uint16_t unit = uint16_t(chars_[i]);
            out[2 * i] = uint8_t(unit >> 8);
            out[2 * i + 1] = uint8_t(unit & 0xFF);
        }
    } else if (size > 0) {
        const int done = WideCharToMultiByte(codePage, 0, chars_, int(length_),
                                             reinterpret_cast<char*>(out), int(size), nullptr,
                                             nullptr);
        if (done != int(size)) {
            if (bytes)
                target->SetCount(oldCount);
            else
                target->Release();
            return nullptr;
        }
    }
    for (uint32_t i = 0; i < terminatorSize; ++i)
        out[size + i] = 0;
    return target;
}

ArrayU08* StrBuffer::ToUtf8(ArrayU08* bytes, bool append) const
{
    return EncodeImpl(s::sys::CodePage::UTF8, bytes, append, true);
}

ArrayU08* StrBuffer::ToUtf8NoTerminator(ArrayU08* bytes, bool append) const
{
    return EncodeImpl(s::sys::CodePage::UTF8, bytes, append, false);
}

ArrayU08* StrBuffer::Encode(uint32_t codePage, ArrayU08* bytes, bool append) const
{
    return EncodeImpl(codePage, bytes, append, true);
}

ArrayU08* StrBuffer::EncodeNoTerminator(uint32_t codePage, ArrayU08* bytes, bool append) const
{
    return EncodeImpl(codePage, bytes, append, false);
}

ArrayU08* StrBuffer::ToOem(ArrayU08* bytes, bool append) const
{
    return EncodeImpl(GetOEMCP(), bytes, append, true);
}

ArrayU08* StrBuffer::ToOemNoTerminator(ArrayU08* bytes, bool append) const
{
    return EncodeImpl(GetOEMCP(), bytes, append, false);
}

bool StrBuffer::Decode(uint32_t codePage, const void* bytes, bool append, int32_t count)
{
    const bool utf16 = codePage == s::sys::CodePage::UTF16LE || codePage == s::sys::CodePage::UTF16BE;
    if (!bytes && count != 0)
        return false;
    const uint32_t size = ByteCount(bytes, count, utf16);
    const uint32_t kept = append ? length_ : 0;
    const uint8_t* in = static_cast<const uint8_t*>(bytes);
    if (size == 0) {
        length_ = kept;
        return true;
    }

    // The result is built in a second string first: the bytes might live in this
    // one, and a failed conversion must leave this text as it was.
    uint32_t units = 0;
    if (utf16) {
        units = size / 2;  // an odd last byte is no character
    } else {
        const int need = MultiByteToWideChar(codePage, 0, reinterpret_cast<const char*>(in),
                                             int(size), nullptr, 0);
        if (need <= 0)
            return false;
        units = uint32_t(need);
    }
    StrBuffer* result = Acquire();
    if (!result)
        return false;
    bool ok = result->EnsureRoom(units);
    if (ok) {
        if (codePage == s::sys::CodePage::UTF16LE) {
            memcpy(result->chars_, in, size_t(units) * 2);
        } else if (codePage == s::sys::CodePage::UTF16BE) {
            for (uint32_t i = 0; i < units; ++i)
                result->chars_[i] = wchar_t(uint16_t((in[2 * i] << 8) | in[2 * i + 1]));
        } else {
            ok = MultiByteToWideChar(codePage, 0, reinterpret_cast<const char*>(in), int(size),
                                     result->chars_, int(units)) == int(units);
        }
    }
    ok = ok && units <= 0xFFFFFFFEu - kept && EnsureRoom(kept + units);  // no 32-bit wrap
    if (ok) {
        memcpy(chars_ + kept, result->chars_, size_t(units) * 2);
        length_ = kept + units;
    }
    result->Release();
    return ok;
}

bool StrBuffer::FromUtf8(const void* bytes, bool append, int32_t count)
{
    return Decode(s::sys::CodePage::UTF8, bytes, append, count);
}

bool StrBuffer::FromOem(const void* bytes, bool append, int32_t count)
{
    return Decode(GetOEMCP(), bytes, append, count);
}

ArrayU08* StrBuffer::HexToBytes(ArrayU08* bytes, bool append) const
{
    ArrayU08* target = bytes ? bytes : ArrayU08::Acquire();
    if (!target)
        return nullptr;
    const uint32_t kept = append ? target->Count() : 0;
    const uint32_t pairs = length_ / 2;  // a last unpaired digit is ignored
    uint8_t* out = nullptr;
    if (!OpenTail(target, kept, pairs, &out)) {
        if (bytes)
            target->SetCount(kept);
        else
            target->Release();
        return nullptr;
    }
    for (uint32_t i = 0; i < pairs; ++i)
        out[i] = uint8_t((HexDigitAt(2 * i) << 4) | HexDigitAt(2 * i + 1));
    return target;
}

} // namespace s::str::strbuffer
