// The picture component: its size rules (own size, or a width percentage with the height
// following the picture's aspect) and what it paints.
#include <gtest/gtest.h>

#include "Canvas.h"
#include "s/gui/GuiTestSupport.h"
#include "s/gui/win/Box.h"
#include "s/gui/win/Image.h"
#include "s/gui/win/Toolkit.h"

using s::gui::win::Box;
using s::gui::win::Image;
using testdraw::Canvas;
using testdraw::rgb;

namespace
{

// A w × h bitmap, left half red and right half blue (the caller deletes it).
HBITMAP halves(int w, int h)
{
    Canvas canvas(w, h, rgb(0xFF0000));
    RECT right{w / 2, 0, w, h};
    HBRUSH blue = CreateSolidBrush(rgb(0x0000FF));
    FillRect(canvas.dc(), &right, blue);
    DeleteObject(blue);
    HDC screen = GetDC(nullptr);
    HBITMAP copy = CreateCompatibleBitmap(screen, w, h);
    ReleaseDC(nullptr, screen);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, copy);
    BitBlt(dc, 0, 0, w, h, canvas.dc(), 0, 0, SRCCOPY);
    SelectObject(dc, old);
    DeleteDC(dc);
    return copy;
}

} // namespace

TEST(ImageComponent, AWidePictureAtFullWidthKeepsItsAspectAndPaintsItself)
{
    testgui::TestWindow w;
    HBITMAP wide = halves(700, 230);
    Box* column = Box::Acquire();
    column->fillParent();
    Image* picture = Image::newImage(wide, 100);
    EXPECT_EQ(picture->getMinWidth(), 0);
    column->add(picture);
    w->add(column);
    w->setClientWidth(340);
    w->setClientHeight(200);
    w->setVisible(true, false);
    testgui::settle(w.handle());
    w->doLayout();
    testgui::settle(w.handle());

    EXPECT_EQ(picture->getWidth(), 340);
    EXPECT_EQ(picture->getHeight(), 112); // 340 × 230 / 700, rounded
    HWND h = s::gui::win::Toolkit::handleOf(picture);
    Canvas canvas(340, 112, rgb(0x12AB34));
    SendMessageW(h, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc()), PRF_CLIENT);
    EXPECT_EQ(canvas.at(20, 50), rgb(0xFF0000));
    EXPECT_EQ(canvas.at(320, 50), rgb(0x0000FF));

    // Without a percentage it takes the picture's own size.
    Image* own = Image::Acquire();
    own->setBitmap(wide);
    EXPECT_EQ(own->getMinWidth(), 700);
    EXPECT_EQ(own->getMaxHeight(), 230);
    own->Release();
    w->removeAll(true);
    DeleteObject(wide);
}

TEST(ImageComponent, AnIconFillsItsFixedPlace)
{
    HICON icon = LoadIconW(nullptr, IDI_INFORMATION);
    Image* image = Image::newIcon(icon, 16, 16);
    EXPECT_EQ(image->getMinWidth(), 16);
    EXPECT_EQ(image->getMaxHeight(), 16);
    image->Release();
}
