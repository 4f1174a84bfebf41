#include "s/image/Image.h"

#include <cstring>

namespace s::image {

Image::~Image()
{
    Reset();
}

void Image::Reset()
{
    if (bitmap_)
        DeleteObject(bitmap_);
    bitmap_ = nullptr;
    bits_ = nullptr;
    width_ = 0;
    height_ = 0;
}

void Image::fillHeader(BITMAPINFO& info) const
{
    std::memset(&info, 0, sizeof info);
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width_;
    info.bmiHeader.biHeight = -height_; // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
}

bool Image::create(int32_t width, int32_t height)
{
    Reset();
    if (width < 1 || height < 1 || width > MAX_SIDE || height > MAX_SIDE || int64_t(width) * height > MAX_PIXELS)
        return false;
    width_ = width;
    height_ = height;
    BITMAPINFO info;
    fillHeader(info);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap || !bits)
    {
        if (bitmap)
            DeleteObject(bitmap);
        width_ = 0;
        height_ = 0;
        return false;
    }
    bitmap_ = bitmap;
    bits_ = static_cast<uint32_t*>(bits);
    // Sections start zeroed, but the rule is ours to keep whatever the system does.
    std::memset(bits_, 0, size_t(width) * size_t(height) * 4);
    return true;
}

uint32_t Image::getPixel(int32_t x, int32_t y) const
{
    if (!bits_ || x < 0 || y < 0 || x >= width_ || y >= height_)
        return 0;
    const uint32_t argb = bits_[size_t(y) * size_t(width_) + size_t(x)];
    return ((argb >> 16) & 0xFF) | (argb & 0xFF00) | ((argb & 0xFF) << 16);
}

bool Image::paint(HDC dc, int32_t x, int32_t y) const
{
    if (!bits_ || !dc)
        return false;
    BITMAPINFO info;
    fillHeader(info);
    return SetDIBitsToDevice(dc, x, y, DWORD(width_), DWORD(height_), 0, 0, 0, UINT(height_), bits_, &info,
                             DIB_RGB_COLORS) != 0;
}

bool Image::paintScaled(HDC dc, int32_t x, int32_t y, int32_t width, int32_t height) const
{
    if (!bits_ || !dc || width <= 0 || height <= 0)
        return false;
    if (width == width_ && height == height_)
        return paint(dc, x, y);
    BITMAPINFO info;
    fillHeader(info);
    const int oldMode = SetStretchBltMode(dc, HALFTONE);
    POINT origin;
    SetBrushOrgEx(dc, 0, 0, &origin);
    const int lines =
        StretchDIBits(dc, x, y, width, height, 0, 0, width_, height_, bits_, &info, DIB_RGB_COLORS, SRCCOPY);
    const bool ok = lines != 0 && lines != int(GDI_ERROR);
    SetBrushOrgEx(dc, origin.x, origin.y, nullptr);
    if (oldMode)
        SetStretchBltMode(dc, oldMode);
    return ok;
}

} // namespace s::image
