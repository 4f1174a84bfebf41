#pragma once
// Pictures for the date-taken tests: small JPEGs written by libjpeg-turbo, and EXIF blocks
// built byte by byte (so that damage can be put exactly where a test wants it).

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <jpeglib.h>

namespace s::file::meta::test
{

using Bytes = std::vector<uint8_t>;

// A grey 16 x 16 JPEG (SOI, the JFIF APP0 segment, the picture).
inline Bytes SmallJpeg()
{
    jpeg_compress_struct c = {};
    jpeg_error_mgr err = {};
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &out, &size);
    c.image_width = 16;
    c.image_height = 16;
    c.input_components = 1;
    c.in_color_space = JCS_GRAYSCALE;
    jpeg_set_defaults(&c);
    jpeg_start_compress(&c, TRUE);
    std::vector<JSAMPLE> row(16);
    for (int y = 0; y < 16; ++y)
    {
        for (int x = 0; x < 16; ++x)
            row[x] = static_cast<JSAMPLE>(x * 16 + y);
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&c, rows, 1);
    }
    jpeg_finish_compress(&c);
    Bytes jpeg(out, out + size);
    jpeg_destroy_compress(&c);
    free(out);
    return jpeg;
}

// One ASCII tag of the EXIF IFD ("value" without its closing zero; count counts it, unless
// a test gives its own count).
struct AsciiTag
{
    uint16_t tag;
    std::string value;
    uint32_t count = 0; // 0: value.size() + 1
};

constexpr uint16_t TAG_DATE_ORIGINAL = 0x9003;
constexpr uint16_t TAG_DATE_DIGITIZED = 0x9004;
constexpr uint16_t TAG_OFFSET_ORIGINAL = 0x9011;
constexpr uint16_t TAG_OFFSET_DIGITIZED = 0x9012;

// A TIFF structure: IFD0 with the one pointer to the EXIF IFD, which holds `tags` (in
// ascending tag order, as the format wants). Values follow the EXIF IFD.
// exifPointer: where IFD0's pointer says the EXIF IFD is (0: where it really is).
inline Bytes Tiff(const std::vector<AsciiTag>& tags, bool bigEndian = false, uint32_t exifPointer = 0)
{
    Bytes b;
    auto u16 = [&](uint16_t v) {
        if (bigEndian) { b.push_back(uint8_t(v >> 8)); b.push_back(uint8_t(v)); }
        else { b.push_back(uint8_t(v)); b.push_back(uint8_t(v >> 8)); }
    };
    auto u32 = [&](uint32_t v) {
        if (bigEndian) { u16(uint16_t(v >> 16)); u16(uint16_t(v)); }
        else { u16(uint16_t(v)); u16(uint16_t(v >> 16)); }
    };
    b.push_back(bigEndian ? 'M' : 'I');
    b.push_back(bigEndian ? 'M' : 'I');
    u16(42);
    u32(8);
    // IFD0 at 8: one entry, ExifIFDPointer (LONG).
    const uint32_t exifAt = 8 + 2 + 12 + 4;
    u16(1);
    u16(0x8769); u16(4); u32(1); u32(exifPointer != 0 ? exifPointer : exifAt);
    u32(0);
    // The EXIF IFD.
    const uint32_t count = static_cast<uint32_t>(tags.size());
    uint32_t valueAt = exifAt + 2 + 12 * count + 4;
    u16(static_cast<uint16_t>(count));
    std::string values;
    for (const AsciiTag& t : tags)
    {
        const uint32_t n = t.count != 0 ? t.count : static_cast<uint32_t>(t.value.size() + 1);
        u16(t.tag); u16(2); u32(n);
        if (t.value.size() + 1 <= 4)
        {
            std::string inline4 = t.value;
            inline4.resize(4, '\0');
            b.insert(b.end(), inline4.begin(), inline4.end());
        }
        else
        {
            u32(valueAt + static_cast<uint32_t>(values.size()));
            values += t.value;
            values.push_back('\0');
        }
    }
    u32(0);
    b.insert(b.end(), values.begin(), values.end());
    return b;
}

// The APP1 segment carrying `tiff` ("Exif\0\0" and the TIFF structure).
inline Bytes ExifSegment(const Bytes& tiff)
{
    const size_t length = 2 + 6 + tiff.size();
    Bytes s = {0xFF, 0xE1, uint8_t(length >> 8), uint8_t(length), 'E', 'x', 'i', 'f', 0, 0};
    s.insert(s.end(), tiff.begin(), tiff.end());
    return s;
}

// A segment of any kind with `size` bytes of payload (APP2 by default).
inline Bytes Segment(size_t size, uint8_t marker = 0xE2)
{
    Bytes s = {0xFF, marker, uint8_t((size + 2) >> 8), uint8_t(size + 2)};
    s.resize(4 + size, 0x55);
    return s;
}

// `jpeg` with `segments` put in right after its APP0 segment, in order.
inline Bytes WithSegments(Bytes jpeg, const std::vector<Bytes>& segments)
{
    size_t at = 2;
    if (jpeg.size() > 6 && jpeg[2] == 0xFF && jpeg[3] == 0xE0)
        at = 4 + ((size_t(jpeg[4]) << 8) | jpeg[5]);
    for (auto it = segments.rbegin(); it != segments.rend(); ++it)
        jpeg.insert(jpeg.begin() + static_cast<std::ptrdiff_t>(at), it->begin(), it->end());
    return jpeg;
}

} // namespace s::file::meta::test
