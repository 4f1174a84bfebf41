#include "s/image/JpegReader.h"

#include <csetjmp>
#include <cstdio>
#include <new>

#include <jpeglib.h>

#include "s/image/Image.h"

namespace s::image {

namespace {

// libjpeg reports a fatal error by calling error_exit, which must not return: it jumps
// back to decode's set-up point. Only plain data lives across that jump.
struct ErrorManager
{
    jpeg_error_mgr base;
    std::jmp_buf jumpBack;
};

void OnFatalError(j_common_ptr info)
{
    ErrorManager* errors = reinterpret_cast<ErrorManager*>(info->err);
    std::longjmp(errors->jumpBack, 1);
}

// Warnings (level -1: damaged data libjpeg can go on with) are counted, never printed.
void OnMessage(j_common_ptr info, int level)
{
    if (level < 0)
        info->err->num_warnings++;
}

void OnOutput(j_common_ptr) {}

// Copies one decoded row (RGB or CMYK samples) into 0xAARRGGBB words.
void StoreRow(const JSAMPLE* samples, int components, bool adobeInvertedCmyk, uint32_t* row, JDIMENSION width)
{
    for (JDIMENSION x = 0; x < width; ++x, samples += components)
    {
        uint32_t r, g, b;
        if (components == 4)
        {
            // libjpeg leaves CMYK as it is stored; Adobe writes it inverted.
            uint32_t c = samples[0], m = samples[1], y = samples[2], k = samples[3];
            if (!adobeInvertedCmyk)
            {
                c = 255 - c;
                m = 255 - m;
                y = 255 - y;
                k = 255 - k;
            }
            r = c * k / 255;
            g = m * k / 255;
            b = y * k / 255;
        }
        else
        {
            r = samples[0];
            g = samples[1];
            b = samples[2];
        }
        row[x] = 0xFF000000u | (r << 16) | (g << 8) | b;
    }
}

// The decoding proper. Everything that must survive a jump back lives in the caller's
// frame or is reached through `info`; nothing here has a destructor.
Image* DecodeWith(jpeg_decompress_struct& info, ErrorManager& errors, const uint8_t* data, size_t size,
                  Image* volatile& image, JSAMPLE* volatile& rowBuffer)
{
    if (setjmp(errors.jumpBack))
        return nullptr;
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK)
        return nullptr;
    if (info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK)
        info.out_color_space = JCS_CMYK;
    else
        info.out_color_space = JCS_RGB;
    if (info.image_width < 1 || info.image_height < 1 || info.image_width > JDIMENSION(Image::MAX_SIDE) ||
        info.image_height > JDIMENSION(Image::MAX_SIDE) ||
        int64_t(info.image_width) * int64_t(info.image_height) > Image::MAX_PIXELS)
        return nullptr;
    jpeg_start_decompress(&info);
    const int components = info.output_components;
    if (components != 3 && components != 4)
        return nullptr;
    const bool adobeInverted = info.saw_Adobe_marker != 0;

    Image* made = Image::Acquire();
    image = made;
    if (!made || !made->create(int32_t(info.output_width), int32_t(info.output_height)))
        return nullptr;
    JSAMPLE* buffer = new (std::nothrow) JSAMPLE[size_t(info.output_width) * size_t(components)];
    rowBuffer = buffer;
    if (!buffer)
        return nullptr;
    uint32_t* bits = made->getBits();
    while (info.output_scanline < info.output_height)
    {
        JSAMPROW rows[1] = {buffer};
        const JDIMENSION y = info.output_scanline;
        if (jpeg_read_scanlines(&info, rows, 1) != 1)
            return nullptr;
        StoreRow(buffer, components, adobeInverted, bits + size_t(y) * info.output_width, info.output_width);
    }
    jpeg_finish_decompress(&info);
    if (errors.base.num_warnings != 0)
        return nullptr;
    return made;
}

} // namespace

Image* JpegReader::decode(const uint8_t* data, size_t size)
{
    // The smallest JPEG has its two start bytes and an end marker; libjpeg's source takes
    // an unsigned long, so larger data is not ours to cut.
    if (!data || size < 4 || size > 0x7FFFFFFFu || data[0] != 0xFF || data[1] != 0xD8)
        return nullptr;
    jpeg_decompress_struct info{};
    ErrorManager errors{};
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = &OnFatalError;
    errors.base.emit_message = &OnMessage;
    errors.base.output_message = &OnOutput;
    Image* volatile image = nullptr;
    JSAMPLE* volatile rowBuffer = nullptr;
    Image* decoded = DecodeWith(info, errors, data, size, image, rowBuffer);
    jpeg_destroy_decompress(&info);
    delete[] rowBuffer;
    if (!decoded && image)
        image->Release();
    return decoded;
}

} // namespace s::image
