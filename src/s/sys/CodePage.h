#pragma once
// Code-page numbers as Windows knows them, with the two UTF-16 variants that the
// text conversions treat specially (s::str::strbuffer::StrBuffer::Encode/Decode).

#include <cstdint>

namespace s::sys {

struct CodePage
{
    static constexpr uint32_t UTF16LE = 1200;
    static constexpr uint32_t UTF16BE = 1201;
    static constexpr uint32_t UTF8 = 65001;
    static constexpr uint32_t ANSI = 0;   // CP_ACP: the system's ANSI code page
    static constexpr uint32_t OEM = 1;    // CP_OEMCP: the system's OEM code page
};

} // namespace s::sys
