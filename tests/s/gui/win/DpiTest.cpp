// Screen density: pixel values stated for 96 DPI come out in the window's physical pixels,
// fonts keep their point size, and a window that changes DPI (WM_DPICHANGED) takes the
// system's rectangle and lays out again. The suites ending in "Env" run at a real 144 DPI
// in a process of their own (see DpiTestSupport.h and tests.cmake).
#include <gtest/gtest.h>
#include <windows.h>

#include "s/gui/DpiTestSupport.h"
#include "s/gui/GuiTestSupport.h"
#include "s/gui/win/Box.h"
#include "s/gui/win/Dpi.h"
#include "s/gui/win/Font.h"
#include "s/gui/win/Label.h"
#include "s/gui/win/Window.h"

using s::gui::IComponent;
using s::gui::win::Box;
using s::gui::win::Dpi;
using s::gui::win::Font;
using s::gui::win::Label;
using s::gui::win::Window;

namespace
{

Box* fixedBox(int width, int height)
{
    Box* box = Box::Acquire();
    box->setFixedWidth(width);
    box->setFixedHeight(height);
    box->setBackgroundColour(40, 90, 160, false);
    return box;
}

// A shown window: a column (insets 8, gap 6) holding a row (insets 4, gap 10) of two
// boxes of fixed width 100 and height 30, and a label in the default 9-point font.
struct Scene
{
    Window* window;
    Box* row;
    Box* first;
    Box* second;
    Label* label;

    Scene()
    {
        testgui::MessageBoxes::install();
        window = Window::Acquire();
        Box* column = Box::Acquire();
        column->fillParent();
        column->setInsets(8);
        column->setVerticalGap(6);
        row = Box::Acquire();
        row->setRowMode();
        row->setInsets(4);
        row->setHorizontalGap(10);
        first = fixedBox(100, 30);
        second = fixedBox(100, 30);
        row->add(first);
        row->add(second);
        label = Label::Acquire();
        label->setText(L"Modified 2026-12-10 15:10:40", false);
        column->add(row);
        column->add(label);
        window->add(column);
        // A window size is given in the window's own pixels.
        window->setBounds(80, 80, window->scaled(360), window->scaled(220));
        window->setVisible(true, false);
        testgui::settle(window->getHandle());
    }
    ~Scene() { window->Release(); }
};

// Where the native window of `c` sits in its parent's client area, in physical pixels.
RECT placed(IComponent* c)
{
    HWND h = s::gui::win::Toolkit::handleOf(c);
    RECT r{};
    GetWindowRect(h, &r);
    MapWindowPoints(nullptr, GetParent(h), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// The character height of a 9-point font made for `dpi`.
int textHeightAt(int dpi)
{
    Font* font = Font::Acquire();
    font->setDpi(dpi);
    int h = 0;
    font->measure(L"Modified", nullptr, &h);
    font->Release();
    return h;
}

// The scene as it must be laid out at `dpi`.
void expectLaidOutAt(Scene& s, int dpi)
{
    SCOPED_TRACE(dpi);
    const double factor = dpi / 96.0;
    EXPECT_EQ(dpi, s.window->getDpi());
    RECT a = placed(s.first), b = placed(s.second);
    EXPECT_EQ(static_cast<int>(100 * factor + 0.5), a.right - a.left); // fixed width
    EXPECT_EQ(static_cast<int>(30 * factor + 0.5), a.bottom - a.top);  // fixed height
    EXPECT_EQ(static_cast<int>(10 * factor + 0.5), b.left - a.right);  // gap
    EXPECT_EQ(static_cast<int>(4 * factor + 0.5), a.left);             // inset
    EXPECT_EQ(a.right - a.left, s.first->getWidth());                  // the stored size is physical too

    // Points stay points: the platform font is as many pixels high as 9 points at this DPI.
    LOGFONTW lf{};
    ASSERT_NE(0, GetObjectW(s.label->getFont()->getHandle(), sizeof(lf), &lf));
    EXPECT_EQ(-MulDiv(9, dpi, 72), lf.lfHeight);
    EXPECT_NEAR(textHeightAt(96) * factor, s.label->getHeight(), 2.0);
    RECT l = placed(s.label);
    EXPECT_EQ(s.label->getHeight(), l.bottom - l.top);
}

} // namespace

TEST(Dpi, StatedPixelsScaleHalfAwayFromZeroAndNoneStaysNone)
{
    struct Case
    {
        int pixels, dpi, scaled;
    } cases[] = {{100, 144, 150}, {10, 144, 15}, {1, 144, 2}, {1, 120, 1}, {3, 120, 4},   {23, 192, 46},
                 {100, 96, 100},  {0, 144, 0},   {-1, 144, -1}, {7, 72, 5}, {450, 168, 788}};
    for (const Case& c : cases)
    {
        EXPECT_EQ(c.scaled, Dpi::scale(c.pixels, c.dpi)) << c.pixels << " at " << c.dpi;
        if (c.pixels > 0 && c.dpi % 48 == 0)
            EXPECT_EQ(c.pixels, Dpi::unscale(c.scaled, c.dpi)) << c.pixels << " at " << c.dpi;
    }
    EXPECT_EQ(12, Dpi::pixelsOfPoints(9, 96));
    EXPECT_EQ(18, Dpi::pixelsOfPoints(9, 144));
    // A component outside a tree has the system DPI.
    Box* loose = Box::Acquire();
    EXPECT_EQ(Dpi::system(), Dpi::of(loose));
    loose->Release();
}

TEST(Dpi, AFontKeepsItsPointSizeAndIsMadeAgainForAnotherDpi)
{
    Font* font = Font::Acquire();
    font->applySizeCode(-103); // 11-point bold
    font->setDpi(96);
    LOGFONTW lf{};
    GetObjectW(font->getHandle(), sizeof(lf), &lf);
    EXPECT_EQ(-15, lf.lfHeight);
    testgui::Recorder owner;
    font->setOwner(&owner);
    font->setDpi(144);
    EXPECT_EQ(1u, owner.kinds.size()); // the owner measures again
    GetObjectW(font->getHandle(), sizeof(lf), &lf);
    EXPECT_EQ(-22, lf.lfHeight);
    EXPECT_EQ(11, font->getPointSize());
    EXPECT_EQ(FW_BOLD, lf.lfWeight);
    Font* copy = Font::Acquire();
    copy->copyFrom(font);
    EXPECT_EQ(144, copy->getDpi()); // variants of a widget's font follow it
    font->setDpi(144);
    EXPECT_EQ(1u, owner.kinds.size()); // no change, no event
    copy->Release();
    font->setOwner(nullptr);
    font->Release();
}

TEST(Dpi, AWindowMovedToAScreenOfAnotherDpiTakesTheSuggestedRectangleAndLaysOutAgain)
{
    if (Dpi::system() != 96)
        GTEST_SKIP() << "the prefix is not at 96 DPI";
    Scene s;
    expectLaidOutAt(s, 96);
    HWND h = s.window->getHandle();
    RECT before;
    GetWindowRect(h, &before);

    // The system's rectangle for the new screen: the same place, 1.5 times the size.
    RECT suggested{before.left + 40, before.top + 30, before.left + 40 + (before.right - before.left) * 3 / 2,
                   before.top + 30 + (before.bottom - before.top) * 3 / 2};
    EXPECT_EQ(0, SendMessageW(h, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested)));
    testgui::settle(h);
    RECT now;
    GetWindowRect(h, &now);
    EXPECT_EQ(suggested.left, now.left);
    EXPECT_EQ(suggested.top, now.top);
    EXPECT_EQ(suggested.right, now.right);
    EXPECT_EQ(suggested.bottom, now.bottom);
    EXPECT_EQ(suggested.right - suggested.left, s.window->getWidth());
    expectLaidOutAt(s, 144);

    // And back: everything as it was.
    SendMessageW(h, WM_DPICHANGED, MAKEWPARAM(96, 96), reinterpret_cast<LPARAM>(&before));
    testgui::settle(h);
    expectLaidOutAt(s, 96);
    GetWindowRect(h, &now);
    EXPECT_EQ(before.right - before.left, now.right - now.left);
}

// Runs the suite below in a process at 144 DPI.
TEST(DpiEnv, TheToolkitAtARealDpiOf144)
{
    EXPECT_EQ(0, testgui::runAtDpi(144, L"At144DpiEnv.*"));
}

TEST(At144DpiEnv, AFixedWidthOf100AndAGapOf10Are150And15AndFontsKeepTheirPoints)
{
    if (testgui::childDpi() != 144)
        GTEST_SKIP() << "runs in the process that DpiEnv starts";
    ASSERT_EQ(144, Dpi::system());
    Scene s;
    EXPECT_EQ(144, Dpi::ofHandle(s.window->getHandle()));
    expectLaidOutAt(s, 144);
}
