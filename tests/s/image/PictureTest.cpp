#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "s/image/Image.h"
#include "s/image/JpegReader.h"
#include "s/image/Picture.h"

using s::image::Image;
using s::image::JpegReader;
using s::image::Picture;

namespace {

struct Probe
{
    int x, y;
    uint32_t rgb; // red in the low byte
};

constexpr uint32_t Rgb(int r, int g, int b)
{
    return uint32_t(r) | (uint32_t(g) << 8) | (uint32_t(b) << 16);
}

// Flat areas of the artwork (scripts/make-art.py): background, then the three time bars.
const Probe kWide[] = {{10, 10, Rgb(20, 33, 61)},
                       {385, 62, Rgb(34, 197, 94)},
                       {505, 116, Rgb(249, 115, 22)},
                       {445, 170, Rgb(139, 92, 246)}};
const Probe kTall[] = {{10, 10, Rgb(20, 33, 61)},
                       {60, 385, Rgb(34, 197, 94)},
                       {100, 485, Rgb(249, 115, 22)},
                       {80, 585, Rgb(139, 92, 246)}};

// JPEG is lossy: a channel may be a few steps off.
void ExpectNear(uint32_t expected, uint32_t actual, int x, int y)
{
    for (int shift = 0; shift < 24; shift += 8)
    {
        const int e = int((expected >> shift) & 0xFF), a = int((actual >> shift) & 0xFF);
        EXPECT_LE(std::abs(e - a), 8) << "at " << x << "," << y << " channel " << shift / 8 << ": " << a
                                      << " instead of " << e;
    }
}

// Writes a 32-bit DIB section as a BMP file (build folder; for a look at what was painted).
void SaveBmp(const char* name, HBITMAP bitmap, int width, int height)
{
    std::vector<uint32_t> pixels(size_t(width) * size_t(height));
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    HDC screen = GetDC(nullptr);
    GetDIBits(screen, bitmap, 0, UINT(height), pixels.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info.bmiHeader;
    file.bfSize = DWORD(file.bfOffBits + pixels.size() * 4);
    if (FILE* out = std::fopen(name, "wb"))
    {
        std::fwrite(&file, sizeof file, 1, out);
        std::fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, out);
        std::fwrite(pixels.data(), 4, pixels.size(), out);
        std::fclose(out);
    }
}

} // namespace

TEST(Picture, BothPicturesDecodeToTheirSizeAndColours)
{
    struct Case
    {
        int number, width, height;
        const Probe* probes;
    } cases[] = {{131, 700, 230, kWide}, {132, 230, 700, kTall}};
    for (const Case& c : cases)
    {
        Picture* picture = Picture::fromResource(nullptr, Picture::TYPE_JPEG, c.number);
        ASSERT_NE(nullptr, picture) << c.number;
        ASSERT_EQ(1u, picture->getImageCount());
        Image* image = picture->getFirstImage();
        EXPECT_EQ(c.width, image->getWidth());
        EXPECT_EQ(c.height, image->getHeight());
        EXPECT_NE(nullptr, image->getBitmap());
        for (int i = 0; i < 4; ++i)
            ExpectNear(c.probes[i].rgb, image->getPixel(c.probes[i].x, c.probes[i].y), c.probes[i].x, c.probes[i].y);
        // Opaque everywhere.
        EXPECT_EQ(0xFF000000u, image->getBits()[0] & 0xFF000000u);
        EXPECT_EQ(0u, image->getPixel(-1, 0));
        EXPECT_EQ(0u, image->getPixel(c.width, 0));
        EXPECT_EQ(nullptr, picture->getImage(1));
        picture->Release();
    }
}

TEST(Picture, UnreadablePicturesGiveNull)
{
    struct Case
    {
        int number;
        const char* what;
    } cases[] = {{133, "truncated"}, {134, "damaged frame header"}, {135, "text"}, {136, "missing"}};
    for (const Case& c : cases)
        EXPECT_EQ(nullptr, Picture::fromResource(nullptr, Picture::TYPE_JPEG, c.number)) << c.what;
    EXPECT_EQ(nullptr, Picture::fromResource(nullptr, L"IDR_GIF", 131));
    EXPECT_EQ(nullptr, Picture::fromBytes(nullptr, 0));
    const uint8_t start[] = {0xFF, 0xD8, 0xFF, 0xD9};
    EXPECT_EQ(nullptr, Picture::fromBytes(start, sizeof start));
    EXPECT_EQ(nullptr, JpegReader::decode(start, 2));
}

// A header that announces a picture larger than an image may be is refused before any
// pixel memory is taken.
TEST(Picture, OversizedHeaderIsRefused)
{
    HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(131), L"IDR_JPG");
    ASSERT_NE(nullptr, found);
    const uint8_t* bytes = static_cast<const uint8_t*>(LockResource(LoadResource(nullptr, found)));
    std::vector<uint8_t> data(bytes, bytes + SizeofResource(nullptr, found));
    size_t frame = 0;
    for (size_t i = 2; i + 9 < data.size() && !frame; ++i)
    {
        if (data[i] == 0xFF && (data[i + 1] == 0xC0 || data[i + 1] == 0xC2))
            frame = i;
    }
    ASSERT_NE(0u, frame);
    struct Case
    {
        int width, height;
    } cases[] = {{16000, 16000}, {Image::MAX_SIDE + 1, 10}, {700, 230}};
    for (const Case& c : cases)
    {
        data[frame + 5] = uint8_t(c.height >> 8);
        data[frame + 6] = uint8_t(c.height);
        data[frame + 7] = uint8_t(c.width >> 8);
        data[frame + 8] = uint8_t(c.width);
        Image* image = JpegReader::decode(data.data(), data.size());
        EXPECT_EQ(c.width == 700, image != nullptr) << c.width << "x" << c.height;
        if (image)
            image->Release();
    }
}

TEST(Image, CreateRefusesSidesOutOfRange)
{
    Image* image = Image::Acquire();
    struct Case
    {
        int width, height;
        bool made;
    } cases[] = {{1, 1, true}, {0, 5, false}, {5, -1, false}, {Image::MAX_SIDE + 1, 1, false}, {64, 32, true},
                   {Image::MAX_SIDE, Image::MAX_SIDE, false}}; // 1 GB of pixels: over MAX_PIXELS
    for (const Case& c : cases)
    {
        EXPECT_EQ(c.made, image->create(c.width, c.height)) << c.width << "x" << c.height;
        EXPECT_EQ(c.made ? c.width : 0, image->getWidth());
        EXPECT_EQ(!c.made, image->isEmpty());
    }
    image->Release();
    image = Image::Acquire();
    EXPECT_TRUE(image->isEmpty());
    EXPECT_FALSE(image->paint(nullptr, 0, 0));
    image->Release();
}

// The decoded picture painted as the toolkit paints it: into a device context, unscaled
// and scaled. build/picture-paint.bmp shows the result.
TEST(Image, PaintsIntoADeviceContext)
{
    Picture* wide = Picture::fromResource(nullptr, Picture::TYPE_JPEG, 131);
    Picture* tall = Picture::fromResource(nullptr, Picture::TYPE_JPEG, 132);
    ASSERT_NE(nullptr, wide);
    ASSERT_NE(nullptr, tall);
    Image* target = Image::Acquire();
    ASSERT_TRUE(target->create(1000, 720));
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, target->getBitmap());
    RECT all{0, 0, 1000, 720};
    HBRUSH white = CreateSolidBrush(RGB(255, 255, 255));
    FillRect(dc, &all, white);
    DeleteObject(white);
    EXPECT_TRUE(wide->getFirstImage()->paint(dc, 10, 10));
    EXPECT_TRUE(tall->getFirstImage()->paint(dc, 760, 10));
    EXPECT_TRUE(wide->getFirstImage()->paintScaled(dc, 10, 300, 350, 115));
    GdiFlush();
    for (const Probe& p : kWide)
        ExpectNear(p.rgb, target->getPixel(p.x + 10, p.y + 10), p.x, p.y);
    for (const Probe& p : kTall)
        ExpectNear(p.rgb, target->getPixel(p.x + 760, p.y + 10), p.x, p.y);
    // Scaled to half: the green bar's middle lands at half its place.
    ExpectNear(Rgb(34, 197, 94), target->getPixel(10 + 385 / 2, 300 + 62 / 2), 385, 62);
    ExpectNear(Rgb(255, 255, 255), target->getPixel(500, 600), 500, 600);
    SelectObject(dc, old);
    DeleteDC(dc);
    SaveBmp("picture-paint.bmp", target->getBitmap(), 1000, 720);
    target->Release();
    wide->Release();
    tall->Release();
}
