#pragma once
// A picture in memory that the toolkit can paint: a top-down 32-bit DIB section (one
// 32-bit word per pixel, 0xAARRGGBB, rows without padding) with its width and height.
//
//     Image* image = Image::Acquire();
//     if (image->create(700, 230)) { fill image->getBits() ...; image->paint(dc, 0, 0); }
//     image->Release();
//
// Alpha: images decoded from pictures without transparency carry 0xFF in every alpha
// byte; paint() copies the pixels as they are (no blending).
//
// Ownership: the DIB section belongs to the image and is deleted by Reset() (and so by
// Release()); getBitmap() lends it: select it into a DC only while the image lives.
// Thread affinity: an image may be painted from any thread, but is changed (create,
// Reset) by one thread while nobody paints it. Failures answer false or 0; nothing throws.
// Class identifier "s_image_Image"; pooled.

#include <windows.h>

#include <cstdint>

#include "s/base/ClassId.h"
#include "s/base/IObject.h"
#include "s/thread/IPoolable.h"
#include "s/thread/Pooled.h"

namespace s::image {

class Image : public s::base::IObject, public s::thread::IPoolable
{
    S_CLASS_ID(L"s_image_Image")
    S_POOLED(Image)

public:
    /// Largest width or height, and largest number of pixels (256 MB), that create() accepts.
    static constexpr int32_t MAX_SIDE = 16384;
    static constexpr int64_t MAX_PIXELS = int64_t(64) * 1024 * 1024;

    /// Deletes the DIB section; width and height become 0.
    void Reset() override;

    /// Makes a new DIB section of width × height pixels, all 0 (transparent black),
    /// replacing any earlier one. False (and an empty image) when a side is below 1 or
    /// above MAX_SIDE, the area above MAX_PIXELS, or the system cannot make the section.
    bool create(int32_t width, int32_t height);

    bool isEmpty() const { return bitmap_ == nullptr; }
    int32_t getWidth() const { return width_; }
    int32_t getHeight() const { return height_; }
    /// The pixels, row after row from the top (width words per row); null when empty.
    uint32_t* getBits() { return bits_; }
    const uint32_t* getBits() const { return bits_; }
    /// The DIB section (lent, see above); null when empty.
    HBITMAP getBitmap() const { return bitmap_; }

    /// The colour at (x, y) packed as RGB with red in the low byte (a COLORREF); 0 outside
    /// the image.
    uint32_t getPixel(int32_t x, int32_t y) const;

    /// Paints the image unscaled with its top-left corner at (x, y) of `dc`. False when
    /// empty or the copy failed.
    bool paint(HDC dc, int32_t x, int32_t y) const;
    /// Paints it scaled into the rectangle (x, y, width, height) with halftone smoothing.
    bool paintScaled(HDC dc, int32_t x, int32_t y, int32_t width, int32_t height) const;

protected:
    Image() = default;
    ~Image() override;

private:
    void fillHeader(BITMAPINFO& info) const;

    HBITMAP bitmap_ = nullptr;
    uint32_t* bits_ = nullptr;
    int32_t width_ = 0;
    int32_t height_ = 0;
};

} // namespace s::image
