#pragma once
// A memory bitmap to paint into and read back pixel by pixel (0x00BBGGRR, as drawers
// take their colours), independent of any display.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>

namespace testdraw
{

class Canvas
{
  public:
    Canvas(int width, int height, uint32_t fill) : width_(width), height_(height)
    {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height; // top-down: row 0 first
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        dc_ = CreateCompatibleDC(nullptr);
        void* bits = nullptr;
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        bits_ = static_cast<uint32_t*>(bits);
        old_ = SelectObject(dc_, bitmap_);
        for (int i = 0; i < width * height; ++i)
            bits_[i] = swap(fill);
    }
    ~Canvas()
    {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC dc() const { return dc_; }
    int width() const { return width_; }
    int height() const { return height_; }
    // The pixel at (x, y) as 0x00BBGGRR.
    uint32_t at(int x, int y) const
    {
        GdiFlush();
        return swap(bits_[y * width_ + x] & 0xFFFFFF);
    }
    // How many pixels of the rectangle have `colour`.
    int count(int left, int top, int right, int bottom, uint32_t colour) const
    {
        int n = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x)
                n += at(x, y) == colour;
        return n;
    }
    // Row y as a string of '#' (pixel has `colour`) and '.' (anything else).
    std::string row(int y, uint32_t colour) const
    {
        std::string s;
        for (int x = 0; x < width_; ++x)
            s += at(x, y) == colour ? '#' : '.';
        return s;
    }
    // Writes the canvas as a 24-bit BMP file.
    bool save(const char* path) const
    {
        GdiFlush();
        FILE* f = std::fopen(path, "wb");
        if (!f)
            return false;
        int stride = (width_ * 3 + 3) & ~3;
        BITMAPFILEHEADER file{};
        BITMAPINFOHEADER head{};
        file.bfType = 0x4D42;
        file.bfOffBits = sizeof(file) + sizeof(head);
        file.bfSize = file.bfOffBits + stride * height_;
        head.biSize = sizeof(head);
        head.biWidth = width_;
        head.biHeight = height_;
        head.biPlanes = 1;
        head.biBitCount = 24;
        std::fwrite(&file, sizeof(file), 1, f);
        std::fwrite(&head, sizeof(head), 1, f);
        std::string line(stride, '\0');
        for (int y = height_ - 1; y >= 0; --y)
        {
            for (int x = 0; x < width_; ++x)
            {
                uint32_t p = bits_[y * width_ + x];
                line[x * 3] = static_cast<char>(p & 0xFF);
                line[x * 3 + 1] = static_cast<char>((p >> 8) & 0xFF);
                line[x * 3 + 2] = static_cast<char>((p >> 16) & 0xFF);
            }
            std::fwrite(line.data(), 1, line.size(), f);
        }
        return std::fclose(f) == 0;
    }

    // 0x00RRGGBB (DIB) <-> 0x00BBGGRR (COLORREF).
    static uint32_t swap(uint32_t c) { return ((c >> 16) & 0xFF) | (c & 0xFF00) | ((c & 0xFF) << 16); }

  private:
    int width_, height_;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
    uint32_t* bits_ = nullptr;
};

// A colour written as it is usually named (RRGGBB), packed red-low.
constexpr uint32_t rgb(uint32_t hex)
{
    return ((hex >> 16) & 0xFF) | (hex & 0xFF00) | ((hex & 0xFF) << 16);
}

} // namespace testdraw
