// Widgets at another screen density: fonts keep their point size and are made for the
// window's DPI, fixed widget sizes and decorations are stated in 96-DPI pixels, and a
// window moved to a screen of another DPI (WM_DPICHANGED) measures its widgets again.
// The same at a real DPI of the prefix: tests/s/gui/DpiTest.cpp.
#include <gtest/gtest.h>
#include <windows.h>

#include "s/gui/GuiTestSupport.h"
#include "s/gui/drawer/Canvas.h"
#include "s/gui/win/Box.h"
#include "s/gui/win/Button.h"
#include "s/gui/win/Factories.h"
#include "s/gui/win/GroupBox.h"
#include "s/gui/win/Font.h"
#include "s/gui/win/Label.h"
#include "s/gui/win/Window.h"

using s::gui::win::Box;
using s::gui::win::Button;
using s::gui::win::Font;
using s::gui::win::Label;
using s::gui::win::Toolkit;
using s::gui::win::Window;

namespace
{

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

int fontPixels(Font* font)
{
    LOGFONTW lf{};
    GetObjectW(font->getHandle(), sizeof(lf), &lf);
    return lf.lfHeight;
}

int nativeWidth(s::gui::IComponent* c)
{
    RECT r{};
    GetWindowRect(Toolkit::handleOf(c), &r);
    return r.right - r.left;
}

// The first column at or right of `from` where the label, printed as it paints, has ink
// (a dark pixel); -1 when none.
int firstInkColumn(Label* label, int from)
{
    HWND h = Toolkit::handleOf(label);
    RECT r;
    GetClientRect(h, &r);
    testdraw::Canvas canvas(r.right, r.bottom, 0xFFFFFF);
    SendMessageW(h, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc()), PRF_CLIENT);
    for (int x = from; x < r.right; ++x)
        for (int y = 0; y < r.bottom; ++y)
        {
            uint32_t c = canvas.at(x, y);
            if ((c & 0xFF) < 0x60 && ((c >> 8) & 0xFF) < 0x60 && ((c >> 16) & 0xFF) < 0x60)
                return x;
        }
    return -1;
}

} // namespace

TEST(FontDpi, AFontKeepsItsPointSizeAndIsMadeAgainForAnotherDpi)
{
    Font* font = Font::Acquire();
    font->applySizeCode(-103); // 11-point bold
    font->setDpi(96);
    EXPECT_EQ(-15, fontPixels(font));
    testgui::Recorder owner;
    font->setOwner(&owner);
    font->setDpi(144);
    EXPECT_EQ(1u, owner.kinds.size()); // the owner measures again
    EXPECT_EQ(-22, fontPixels(font));
    EXPECT_EQ(11, font->getPointSize());
    LOGFONTW lf{};
    GetObjectW(font->getHandle(), sizeof(lf), &lf);
    EXPECT_EQ(FW_BOLD, lf.lfWeight);
    Font* copy = Font::Acquire();
    copy->copyFrom(font);
    EXPECT_EQ(144, copy->getDpi()); // a widget's state fonts copy its main font
    font->setDpi(144);
    EXPECT_EQ(1u, owner.kinds.size()); // no change, no event
    copy->Release();
    font->setOwner(nullptr);
    font->Release();
}

TEST(WidgetDpi, AWindowMovedToAScreenOfAnotherDpiMeasuresItsWidgetsAgain)
{
    testgui::TestWindow w;
    const int dpi = w->getDpi();
    Box* column = Box::Acquire();
    column->fillParent();
    column->setInsets(8);
    column->setVerticalGap(6);
    Label* label = Label::Acquire();
    label->setText(L"Modified 2026-12-10 15:10:40", false);
    Button* button = Button::Acquire();
    button->setText(L"Apply");
    button->setFixedWidth(100);
    column->add(label);
    column->add(button);
    // A label with an icon before its text, and a group box of a stated width.
    Label* withIcon = Label::Acquire();
    withIcon->setText(L"Modified", false);
    withIcon->setIcon(LoadIconW(nullptr, IDI_APPLICATION), false);
    column->add(withIcon);
    s::gui::win::GroupBox* group = s::gui::win::newGroupBox(-1, 2, 2, 0, 0, -1, 0);
    group->setText(L"Options");
    group->setFixedWidth(200);
    column->add(group);
    w->add(column);
    w->setSize(Toolkit::scale(360, dpi), Toolkit::scale(220, dpi));
    w->setVisible(true, false);
    testgui::settle(w.handle());

    struct Case
    {
        int dpi;
    } cases[] = {{dpi}, {dpi * 3 / 2}, {dpi * 2}, {dpi}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.dpi);
        RECT r;
        GetWindowRect(w.handle(), &r);
        SendMessageW(w.handle(), WM_DPICHANGED, MAKEWPARAM(c.dpi, c.dpi), reinterpret_cast<LPARAM>(&r));
        testgui::settle(w.handle());
        ASSERT_EQ(c.dpi, w->getDpi());
        // Points stay points: the label's font is as many pixels high as 9 points here.
        EXPECT_EQ(-MulDiv(9, c.dpi, 72), fontPixels(label->getFont()));
        EXPECT_NEAR(textHeightAt(96) * c.dpi / 96.0, label->getHeight(), 2.0);
        // The button's fixed width of 100 and its stated margins.
        EXPECT_EQ(Toolkit::scale(100, c.dpi), button->getWidth());
        EXPECT_EQ(button->getWidth(), nativeWidth(button));
        int textHeight = 0;
        button->getFont()->measure(L"Apply", nullptr, &textHeight);
        EXPECT_EQ(textHeight + Toolkit::scale(10, c.dpi), button->getMinHeight());
        // The icon's gap is painted as it is measured: the text starts after the scaled gap.
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(LoadIconW(nullptr, IDI_APPLICATION), &info));
        BITMAP bm{};
        GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof(bm), &bm);
        if (info.hbmColor)
            DeleteObject(info.hbmColor);
        if (info.hbmMask)
            DeleteObject(info.hbmMask);
        const int iconWidth = bm.bmWidth;
        int textWidth = 0;
        withIcon->getFont()->measure(L"Modified", &textWidth, nullptr);
        EXPECT_EQ(iconWidth + Toolkit::scale(4, c.dpi) + textWidth, withIcon->getMinWidth());
        EXPECT_GE(firstInkColumn(withIcon, iconWidth), iconWidth + Toolkit::scale(4, c.dpi));
        // The group box's stated width and its frame margins.
        EXPECT_EQ(Toolkit::scale(200, c.dpi), group->getWidth());
        EXPECT_EQ(group->getWidth(), nativeWidth(group));
        EXPECT_EQ(Toolkit::scale(6, c.dpi), dynamic_cast<Box*>(group->getContent())->getOriginX());
        EXPECT_EQ(group->getWidth() - 2 * Toolkit::scale(6, c.dpi), group->getContent()->getWidth());
    }
}
