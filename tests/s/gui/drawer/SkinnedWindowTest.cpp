// A window with a skinner: its background and frame painted by the skin's window drawer,
// its widgets painted by the skin's drawers, and all of them repainted in the new colours
// when the skinner selects another scheme.
#include <gtest/gtest.h>

#include "Canvas.h"
#include "s/gui/GuiTestSupport.h"
#include "s/gui/drawer/ISkin.h"
#include "s/gui/drawer/Skinner.h"
#include "s/gui/win/Button.h"
#include "s/gui/win/CheckBox.h"
#include "s/gui/win/ComboBox.h"
#include "s/gui/win/Label.h"
#include "s/gui/win/Toolkit.h"
#include "s/gui/win/Window.h"

using s::gui::drawer::Skinner;
using s::gui::win::Button;
using s::gui::win::Label;
using s::gui::win::Window;
using testdraw::Canvas;
using testdraw::rgb;

namespace
{

// The colour at (x, y) of the window's background buffer (what WM_ERASEBKGND painted).
uint32_t backdropPixel(Window* window, int x, int y)
{
    HDC backdrop = reinterpret_cast<HDC>(window->getBackdrop(nullptr, nullptr));
    return backdrop ? GetPixel(backdrop, x, y) : CLR_INVALID;
}

// A component's client area as it paints it now (WM_PRINTCLIENT into a memory bitmap).
uint32_t printedPixel(s::gui::IComponent* component, int x, int y)
{
    HWND h = s::gui::win::Toolkit::handleOf(component);
    RECT r;
    GetClientRect(h, &r);
    Canvas canvas(r.right, r.bottom, rgb(0x12AB34));
    SendMessageW(h, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc()), PRF_CLIENT);
    return canvas.at(x, y);
}

// The window and its children as they paint themselves, into `canvas` (client origin).
void printTree(HWND top, HWND window, HDC dc)
{
    POINT origin{0, 0};
    MapWindowPoints(window, top, &origin, 1);
    POINT old;
    SetViewportOrgEx(dc, origin.x, origin.y, &old);
    SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_ERASEBKGND);
    SetViewportOrgEx(dc, old.x, old.y, nullptr);
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (IsWindowVisible(child))
            printTree(top, child, dc);
}

void repaintAndSettle(Window* window)
{
    testgui::settle(window->getHandle());
    RedrawWindow(window->getHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    testgui::settle(window->getHandle());
}

} // namespace

TEST(SkinnedWindow, ASchemeSwitchRepaintsTheWindowAndItsWidgetsInTheNextSchemesColours)
{
    testgui::MessageBoxes::install();
    Skinner* skinner = Skinner::newSkinSet(Skinner::FAMILY_THIN_WINDOW);
    ASSERT_TRUE(skinner->selectScheme(L"Classic LG"));
    Window* window = Window::Acquire();
    window->setSkinner(skinner);
    Button* button = Button::Acquire();
    button->setText(L"Close");
    button->setFixedWidth(100);
    button->setFixedHeight(20);
    Label* label = Label::Acquire();
    label->setText(L"Version:", false);
    s::gui::win::CheckBox* check = s::gui::win::CheckBox::Acquire();
    check->setText(L"Keep on Top");
    check->setChecked(true);
    check->setTransparent(false);
    window->add(button);
    window->add(label);
    window->add(check);
    s::gui::win::ComboBox* combo = s::gui::win::ComboBox::Acquire();
    combo->setFixedWidth(120);
    window->add(combo);
    window->setBounds(140, 140, 240, 160);
    window->setVisible(true, false);
    repaintAndSettle(window);
    EXPECT_EQ(skinner->getRegisteredCount(), 5) << "the window and its four widgets";
    const int glyphRow = check->getHeight() / 2;

    // The frame line is the window's edge (the whole window is client area).
    RECT client;
    GetClientRect(window->getHandle(), &client);
    RECT outer;
    GetWindowRect(window->getHandle(), &outer);
    EXPECT_EQ(client.right, outer.right - outer.left);
    EXPECT_EQ(backdropPixel(window, 0, 0), rgb(0x111111));
    EXPECT_EQ(backdropPixel(window, 120, 140), rgb(0x747474)); // C1 of "Classic LG"
    EXPECT_EQ(printedPixel(button, 3, 3), rgb(0x333333));     // C7
    EXPECT_EQ(printedPixel(check, 0, glyphRow), rgb(0x111111)); // C5: the glyph's frame
    EXPECT_EQ(printedPixel(combo, 0, 5), rgb(0x111111));         // C5: the combo's frame
    EXPECT_EQ(printedPixel(combo, 3, 5), rgb(0x333333));         // C7: its face

    // "White" follows "Classic LG" in the list.
    int next = skinner->getSchemeIndex(L"Classic LG") + 1;
    ASSERT_STREQ(skinner->getSchemeName(next), L"White");
    ASSERT_TRUE(skinner->selectScheme(next));
    testgui::settle(window->getHandle());
    EXPECT_EQ(backdropPixel(window, 120, 140), rgb(0xFFFFFF)); // C1 of "White", repainted
    EXPECT_EQ(backdropPixel(window, 0, 0), rgb(0x444444));
    EXPECT_EQ(printedPixel(button, 3, 3), rgb(0xEEEEEE));
    EXPECT_EQ(printedPixel(check, 0, glyphRow), rgb(0x444444));
    EXPECT_EQ(printedPixel(combo, 3, 5), rgb(0xEEEEEE));
    Canvas picture(window->getWidth(), window->getHeight(), rgb(0x12AB34));
    printTree(window->getHandle(), window->getHandle(), picture.dc());
    EXPECT_TRUE(picture.save("skinned-widgets-white.bmp"));
    HDC screen = GetDC(window->getHandle());
    EXPECT_EQ(GetPixel(screen, 120, 140), rgb(0xFFFFFF)) << "on the display too";
    ReleaseDC(window->getHandle(), screen);

    window->Release();
    EXPECT_EQ(skinner->getRegisteredCount(), 0) << "a released window and its widgets leave the list";
    EXPECT_TRUE(skinner->selectScheme(0)); // nobody left to tell: no dangling listener
    skinner->Release();
}
