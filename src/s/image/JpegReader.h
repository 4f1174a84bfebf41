#pragma once
// Decodes JPEG pictures with libjpeg (libjpeg-turbo) into Images.
//
// Any JPEG that libjpeg reads (baseline or progressive; grey, YCbCr, RGB or CMYK) becomes
// a 32-bit image with opaque pixels. Data that libjpeg reports as damaged, even when it
// could go on (a truncated or corrupt stream), is refused: the answer is then null, never
// a half-grey picture, and nothing is thrown or shown.
//
// Ownership: the bytes stay with the caller; a new Image from its pool goes to the caller,
// who releases it. Thread affinity: none; any number of threads may decode at once.

#include <cstddef>
#include <cstdint>

namespace s::image {

class Image;

class JpegReader
{
public:
    /// The picture in `data` (size bytes), or null when it is missing, not a JPEG, damaged
    /// or larger than an Image may be (Image::MAX_SIDE, Image::MAX_PIXELS). The size is
    /// checked from the header, before any pixel memory is taken.
    static Image* decode(const uint8_t* data, size_t size);
};

} // namespace s::image
