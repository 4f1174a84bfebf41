// Scaling to the screen's DPI. The DPI is the Wine prefix's (LogPixels), read when a
// process starts: DpiEnv (its own ctest entries, one per DPI, run alone) sets it, runs
// DpiChildEnv in a new process of this program and puts the old value back.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "DpiTestSupport.h"
#include "GuiTestSupport.h"
#include "s/gui/drawer/Paint.h"
#include "s/gui/drawer/checkbox/win/Thin.h"
#include "s/gui/drawer/menu/win/Basic.h"
#include "s/gui/win/Box.h"
#include "s/gui/win/Label.h"

using s::gui::win::Box;
using s::gui::win::Toolkit;
using testgui::TestWindow;

namespace
{

int wantedDpi()
{
    const char* value = std::getenv("KAIRON_DPI");
    return value ? std::atoi(value) : 0;
}

Box* leaf(int w, int h)
{
    Box* box = Box::Acquire();
    box->setFixedWidth(w);
    box->setFixedHeight(h);
    return box;
}

// Makes this process aware of the monitor's DPI, as the program's manifest does.
void becomeDpiAware()
{
    using SetContextFn = BOOL(WINAPI*)(HANDLE);
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    auto setContext = reinterpret_cast<SetContextFn>(
        reinterpret_cast<void*>(GetProcAddress(user32, "SetProcessDpiAwarenessContext")));
    if (!setContext || !setContext(reinterpret_cast<HANDLE>(static_cast<intptr_t>(-4)))) // per monitor v2
        SetProcessDPIAware();
}

} // namespace

TEST(DpiScale, StatedPixelsScaleInOnePlace)
{
    EXPECT_EQ(100, Toolkit::scale(100, 96));
    EXPECT_EQ(150, Toolkit::scale(100, 144));
    EXPECT_EQ(15, Toolkit::scale(10, 144));
    EXPECT_EQ(200, Toolkit::scale(100, 192));
    EXPECT_EQ(-1, Toolkit::scale(-1, 144)); // "none" stays none
    EXPECT_EQ(0, Toolkit::scale(0, 144));
}

TEST(DpiScale, TheSkinnedFrameGrowsWithTheDpi)
{
    using s::gui::win::Window;
    // 5-pixel border and 30-pixel corners at 96 DPI; 7 and 45 at 144 DPI.
    EXPECT_EQ(HTNOWHERE, Window::frameHitTest(194, 50, 200, 100, 96));
    EXPECT_EQ(HTRIGHT, Window::frameHitTest(194, 50, 200, 100, 144));
    EXPECT_EQ(HTRIGHT, Window::frameHitTest(197, 40, 200, 100, 96));
    EXPECT_EQ(HTTOPRIGHT, Window::frameHitTest(197, 40, 200, 100, 144));
}

// The child's side: only runs when DpiEnv starts it.
TEST(DpiChildEnv, BoxesLayOutAtTheScreensDpi)
{
    int dpi = wantedDpi();
    if (!std::getenv("KAIRON_DPI_CHILD") || dpi <= 0)
        GTEST_SKIP() << "started only by DpiEnv";
    becomeDpiAware();
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(dpi, GetDeviceCaps(screen, LOGPIXELSY));
    ReleaseDC(nullptr, screen);

    TestWindow w;
    EXPECT_EQ(dpi, w->getDpi());
    // A new window starts at its stated 240 × 120, scaled.
    RECT r;
    GetWindowRect(w.handle(), &r);
    EXPECT_EQ(Toolkit::scale(240, dpi), r.right - r.left);
    EXPECT_EQ(Toolkit::scale(120, dpi), r.bottom - r.top);
    Box* row = Box::Acquire();
    row->setRowMode();
    row->setHorizontalGap(10);
    row->setInsets(6);
    row->add(leaf(100, 20));
    row->add(leaf(100, 20));
    w->add(row);
    w->setSize(Toolkit::scale(400, dpi), Toolkit::scale(200, dpi));
    testgui::settle(w.handle());
    s::gui::IComponent* first = row->getChild(0);
    s::gui::IComponent* second = row->getChild(1);
    EXPECT_EQ(Toolkit::scale(100, dpi), first->getWidth());
    EXPECT_EQ(Toolkit::scale(20, dpi), first->getHeight());
    EXPECT_EQ(Toolkit::scale(100, dpi) + Toolkit::scale(10, dpi), second->getX());
    GetWindowRect(Toolkit::handleOf(second), &r);
    EXPECT_EQ(Toolkit::scale(100, dpi), r.right - r.left); // physical pixels on the screen
    Box* firstBox = dynamic_cast<Box*>(first);
    ASSERT_NE(nullptr, firstBox);
    EXPECT_EQ(Toolkit::scale(6, dpi), firstBox->getOriginX()); // the inset

    // Moved to a monitor of twice the base DPI, the window takes the suggested rectangle
    // and its tree scales again.
    RECT suggested{50, 60, 50 + 800, 60 + 400};
    SendMessageW(w.handle(), WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(192, w->getDpi());
    GetWindowRect(w.handle(), &r);
    EXPECT_EQ(suggested.left, r.left);
    EXPECT_EQ(800, r.right - r.left);
    EXPECT_EQ(200, first->getWidth());
    EXPECT_EQ(220, second->getX());
    EXPECT_EQ(12, firstBox->getOriginX());
}

TEST(DpiChildEnv, ALabelKeepsItsPointSize)
{
    int dpi = wantedDpi();
    if (!std::getenv("KAIRON_DPI_CHILD") || dpi <= 0)
        GTEST_SKIP() << "started only by DpiEnv";
    becomeDpiAware();
    // The height of a 9-point text at 96 DPI, from a font made for 96 DPI here.
    s::gui::win::Font* font96 = s::gui::win::Font::Acquire();
    font96->setDpi(96);
    int height96 = 0;
    font96->measure(L"Modified", nullptr, &height96);
    font96->Release();

    TestWindow w;
    s::gui::win::Label* label = s::gui::win::Label::Acquire();
    label->setText(L"Modified 2026-12-10", false);
    w->add(label);
    w->setVisible(true, false);
    testgui::settle(w.handle());
    LOGFONTW lf{};
    GetObjectW(label->getFont()->getHandle(), sizeof(lf), &lf);
    EXPECT_EQ(-MulDiv(9, dpi, 72), lf.lfHeight); // 12 pixels at 96 DPI, 18 at 144
    EXPECT_NEAR(height96 * dpi / 96.0, label->getHeight(), 2.0);
    RECT r;
    GetWindowRect(Toolkit::handleOf(label), &r);
    EXPECT_EQ(label->getHeight(), r.bottom - r.top);
}

// The skins' drawers state their margins and glyphs at 96 DPI and measure and paint them
// at the DPI of the context they are given.
TEST(DpiChildEnv, SkinDrawersMeasureAtTheScreensDpi)
{
    int dpi = wantedDpi();
    if (!std::getenv("KAIRON_DPI_CHILD") || dpi <= 0)
        GTEST_SKIP() << "started only by DpiEnv";
    becomeDpiAware();
    HDC dc = CreateCompatibleDC(nullptr);
    ASSERT_EQ(dpi, GetDeviceCaps(dc, LOGPIXELSY));
    EXPECT_EQ(Toolkit::scale(13, dpi), s::gui::drawer::Paint::scaled(dc, 13));

    // Owner-drawn menu items: the mark column, the key gap, the padding, the separator.
    using Menu = s::gui::drawer::menu::win::Basic;
    Menu* menu = Menu::Acquire();
    int textW = 0, textH = 0, keyW = 0;
    s::gui::drawer::Paint::measure(dc, L"Keep on Top", nullptr, &textW, &textH);
    s::gui::drawer::Paint::measure(dc, L"Ctrl+T", nullptr, &keyW, nullptr);
    int w = 0, h = 0;
    menu->measureItem(dc, L"Keep on Top\tCtrl+T", nullptr, 0, &w, &h);
    EXPECT_EQ(textW + Toolkit::scale(24, dpi) + keyW + Toolkit::scale(20, dpi) + Toolkit::scale(8, dpi), w);
    EXPECT_EQ(textH + 2 * Toolkit::scale(3, dpi), h);
    menu->measureItem(dc, nullptr, nullptr, s::gui::drawer::IDrawer::FLAG_SEPARATOR, &w, &h);
    EXPECT_EQ(Toolkit::scale(7, dpi), h);
    menu->Release();

    // A check box's glyph and the gap before its text.
    using Check = s::gui::drawer::checkbox::win::Thin;
    Check* check = Check::Acquire();
    check->measure(dc, L"Keep on Top", nullptr, &w, &h);
    EXPECT_EQ(Toolkit::scale(13, dpi) + Toolkit::scale(5, dpi) + textW + 1, w);
    check->Release();
    DeleteDC(dc);
}

TEST(DpiEnv, RunsTheLayoutAtThePrefixDpi)
{
    int dpi = wantedDpi();
    if (dpi <= 0 || std::getenv("KAIRON_DPI_CHILD"))
        GTEST_SKIP() << "run by its own ctest entries";
    EXPECT_EQ(0, testgui::runAtDpi(dpi, L"DpiChildEnv.*"));
}
