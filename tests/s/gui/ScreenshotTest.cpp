// Shows a window built of nested boxes (a column holding a row, a flow and a pile, each
// with insets and gaps) and saves a screenshot of it as gui-nested-boxes.bmp in the
// working folder (the build folder under CTest) for a person to look at.
#include <gtest/gtest.h>

#include <cstdio>

#include "GuiTestSupport.h"
#include "ScreenshotSupport.h"
#include "s/gui/win/Box.h"

using s::gui::win::Box;
using testgui::TestWindow;

namespace
{

Box* leaf(int w, int h, int r, int g, int b)
{
    Box* box = Box::Acquire();
    box->setFixedWidth(w);
    box->setFixedHeight(h);
    box->setBackgroundColour(r, g, b, false);
    return box;
}

Box* panel(int mode, int r, int g, int b)
{
    Box* box = Box::Acquire();
    switch (mode)
    {
    case 0:
        box->setRowMode();
        break;
    case 2:
        box->setFlowMode();
        break;
    case 3:
        box->setPileMode();
        break;
    default:
        box->setColumnMode();
        break;
    }
    box->setInsets(6);
    box->setHorizontalGap(6);
    box->setVerticalGap(6);
    box->setWidthPercent(100);
    box->setBackgroundColour(r, g, b, false);
    return box;
}

} // namespace

TEST(Screenshot, NestedBoxes)
{
    TestWindow w;
    w->setTitle(L"Nested boxes");
    w->setBackgroundColour(240, 240, 240, false);
    Box* outer = panel(1, 40, 60, 90); // column
    outer->fillParent();

    Box* row = panel(0, 200, 220, 240);
    row->add(leaf(60, 40, 220, 60, 60));
    row->add(leaf(80, 30, 60, 180, 60));
    row->add(leaf(40, 50, 60, 60, 220));
    row->alignMiddle();

    Box* flow = panel(2, 250, 240, 200);
    for (int i = 0; i < 9; ++i)
        flow->add(leaf(50, 20 + (i % 3) * 6, 230 - i * 20, 120 + i * 10, 40 + i * 20));
    flow->alignCentre();

    Box* pile = panel(3, 180, 180, 180);
    pile->add(leaf(120, 60, 255, 200, 0));
    pile->add(leaf(60, 30, 120, 0, 160));
    pile->alignCentre();
    pile->alignMiddle();

    outer->add(row);
    outer->add(flow);
    outer->add(pile);
    w->add(outer);

    w->setBounds(100, 100, 420, 360);
    w->setTopmost(true);
    w->setVisible(true, false);
    testgui::settle(w.handle());
    Sleep(300);
    RedrawWindow(w.handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    testgui::settle(w.handle());
    Sleep(300);

    // The outer box fills the client area; its children are placed inside its insets.
    RECT client;
    GetClientRect(w.handle(), &client);
    EXPECT_EQ(client.right, outer->getWidth());
    EXPECT_EQ(6, row->getOriginX());
    EXPECT_EQ(client.right - 12, row->getWidth());
    EXPECT_EQ(0, row->getY());
    EXPECT_EQ(row->getHeight() + 6, flow->getY());

    COLORREF sample = 0;
    // A pixel inside the first leaf of the row.
    POINT leafPoint{10, 10};
    MapWindowPoints(s::gui::win::Toolkit::handleOf(row->getChild(0)), w.handle(), &leafPoint, 1);
    bool saved = testgui::saveBitmap(w.handle(), client.right, client.bottom, "gui-nested-boxes.bmp", &sample,
                            leafPoint.x, leafPoint.y);
    EXPECT_TRUE(saved);
    EXPECT_EQ(RGB(220, 60, 60), sample);
}
