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
#include "s/gui/win/Factories.h"
#include "s/gui/win/GroupBox.h"
#include "s/gui/win/StatusBar.h"
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
    s::gui::win::GroupBox* group = s::gui::win::newGroupBox(-1, 2, 2, 4, 4, 100, 0);
    group->setText(L"Options");
    group->setFixedHeight(40);
    window->add(group);
    s::gui::win::StatusBar* bar = s::gui::win::StatusBar::Acquire();
    bar->setText(0, L"Ready");
    window->add(bar);
    window->setStatusBar(bar);
    window->setBounds(140, 140, 240, 220);
    window->setVisible(true, false);
    repaintAndSettle(window);
    EXPECT_GE(skinner->getRegisteredCount(), 7) << "the window, its widgets and their parts";
    const int glyphRow = check->getHeight() / 2;

    // The frame line is the window's edge (the whole window is client area).
    RECT client;
    GetClientRect(window->getHandle(), &client);
    RECT outer;
    GetWindowRect(window->getHandle(), &outer);
    EXPECT_EQ(client.right, outer.right - outer.left);
    EXPECT_EQ(backdropPixel(window, 0, 0), rgb(0x111111));
    EXPECT_EQ(backdropPixel(window, 220, 140), rgb(0x747474)); // C1 of "Classic LG"
    EXPECT_EQ(printedPixel(button, 3, 3), rgb(0x333333));     // C7
    EXPECT_EQ(printedPixel(check, 0, glyphRow), rgb(0x111111)); // C5: the glyph's frame
    EXPECT_EQ(printedPixel(combo, 0, 5), rgb(0x111111));         // C5: the combo's frame
    EXPECT_EQ(printedPixel(combo, 3, 5), rgb(0x333333));         // C7: its face
    EXPECT_EQ(printedPixel(group, 0, group->getHeight() - 1), rgb(0x565656)); // C3: the group's frame
    EXPECT_EQ(printedPixel(bar, bar->getWidth() / 2, 0), rgb(0x565656));    // C3: the status line

    // "White" follows "Classic LG" in the list.
    int next = skinner->getSchemeIndex(L"Classic LG") + 1;
    ASSERT_STREQ(skinner->getSchemeName(next), L"White");
    ASSERT_TRUE(skinner->selectScheme(next));
    testgui::settle(window->getHandle());
    EXPECT_EQ(backdropPixel(window, 220, 140), rgb(0xFFFFFF)); // C1 of "White", repainted
    EXPECT_EQ(backdropPixel(window, 0, 0), rgb(0x444444));
    EXPECT_EQ(printedPixel(button, 3, 3), rgb(0xEEEEEE));
    EXPECT_EQ(printedPixel(check, 0, glyphRow), rgb(0x444444));
    EXPECT_EQ(printedPixel(combo, 3, 5), rgb(0xEEEEEE));
    EXPECT_EQ(printedPixel(group, 0, group->getHeight() - 1), rgb(0xCCCCCC));
    EXPECT_EQ(printedPixel(bar, bar->getWidth() / 2, 0), rgb(0xCCCCCC));
    Canvas picture(window->getWidth(), window->getHeight(), rgb(0x12AB34));
    printTree(window->getHandle(), window->getHandle(), picture.dc());
    EXPECT_TRUE(picture.save("skinned-widgets-white.bmp"));
    HDC screen = GetDC(window->getHandle());
    EXPECT_EQ(GetPixel(screen, 220, 140), rgb(0xFFFFFF)) << "on the display too";
    ReleaseDC(window->getHandle(), screen);

    window->Release();
    EXPECT_EQ(skinner->getRegisteredCount(), 0) << "a released window and its widgets leave the list";
    EXPECT_TRUE(skinner->selectScheme(0)); // nobody left to tell: no dangling listener
    skinner->Release();
}

// The skin draws the window's frame line along its edge, and the whole window is client
// area: children that span the window stay inside that line, and widgets left at the
// default background take the skin's background instead of the system's grey.
TEST(SkinnedWindow, ChildrenStayInsideTheFrameLineAndDefaultBackgroundsTakeTheSkins)
{
    testgui::MessageBoxes::install();
    Skinner* skinner = Skinner::newSkinSet(Skinner::FAMILY_THIN_WINDOW);
    ASSERT_TRUE(skinner->selectScheme(L"Classic LG"));
    Window* window = Window::Acquire();
    Label* spanning = Label::Acquire(); // default background, full width
    spanning->setText(L"Version 1.0", false);
    spanning->setWidthPercent(100);
    Label* white = Label::Acquire(); // a background of its own
    white->setText(L"Release notes", false);
    white->setWidthPercent(100);
    white->setBackgroundWhite(false);
    window->add(spanning);
    window->add(white);
    window->setSkinner(skinner); // after the children: they move inside the line
    window->setBounds(140, 140, 240, 120);
    window->setVisible(true, false);
    repaintAndSettle(window);

    RECT outer, span;
    GetWindowRect(window->getHandle(), &outer);
    GetWindowRect(s::gui::win::Toolkit::handleOf(spanning), &span);
    EXPECT_EQ(span.left - outer.left, 1);
    EXPECT_EQ(outer.right - span.right, 1);
    EXPECT_EQ(span.top - outer.top, 1);
    EXPECT_EQ(window->getClientWidth(), outer.right - outer.left - 2);
    const int row = span.top - outer.top + (span.bottom - span.top) / 2;
    HDC screen = GetDC(window->getHandle());
    EXPECT_EQ(GetPixel(screen, 0, row), rgb(0x111111)) << "the frame line on the left";
    EXPECT_EQ(GetPixel(screen, outer.right - outer.left - 1, row), rgb(0x111111)) << "and on the right";
    EXPECT_EQ(GetPixel(screen, 0, 0), rgb(0x111111));
    ReleaseDC(window->getHandle(), screen);
    EXPECT_EQ(printedPixel(spanning, spanning->getWidth() - 2, 1), rgb(0x747474)) << "C1, not the system's grey";
    EXPECT_EQ(spanning->getBackgroundColour(), rgb(0x747474));
    EXPECT_EQ(printedPixel(white, white->getWidth() - 2, 1), rgb(0xFFFFFF)) << "a colour of its own stays";

    // Another scheme: the default background follows it.
    ASSERT_TRUE(skinner->selectScheme(L"Black"));
    repaintAndSettle(window);
    EXPECT_EQ(printedPixel(spanning, spanning->getWidth() - 2, 1), rgb(0x333333));
    Canvas picture(window->getWidth(), window->getHeight(), rgb(0x12AB34));
    printTree(window->getHandle(), window->getHandle(), picture.dc());
    EXPECT_TRUE(picture.save("skinned-frame-black.bmp"));
    EXPECT_EQ(picture.at(0, row), rgb(0x555555)) << "C2 of \"Black\": the frame line is not covered";

    // Without the skin the children go back to the edge.
    window->setSkinner(nullptr);
    testgui::settle(window->getHandle());
    GetWindowRect(s::gui::win::Toolkit::handleOf(spanning), &span);
    POINT origin{0, 0};
    ClientToScreen(window->getHandle(), &origin);
    EXPECT_EQ(span.left, origin.x);
    window->Release();
    skinner->Release();
}
