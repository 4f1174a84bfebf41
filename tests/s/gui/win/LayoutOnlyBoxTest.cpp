// Boxes that only lay out their children, without a native window of their own: where the
// children's windows go, that they follow the box, hide with it, go with it, and that the
// window looks the same as with windowed boxes.
#include <gtest/gtest.h>

#include "WidgetTestSupport.h"

#include <functional>
#include <vector>

#include "s/gui/win/Factories.h"
#include "s/gui/win/GroupBox.h"

using namespace s::gui::win;
using testwidgets::handleOf;
using testwidgets::Panel;

namespace
{
Box* layoutRow(int insets)
{
    Box* row = newBox(100, -1, 0, 1, 5, -1, insets, insets, s::gui::IBox::MODE_ROW);
    row->setLayoutOnly();
    return row;
}

// The place of a native window in the client area of `host`.
POINT placeIn(HWND host, HWND window)
{
    RECT r;
    GetWindowRect(window, &r);
    POINT p{r.left, r.top};
    ScreenToClient(host, &p);
    return p;
}
} // namespace

TEST(LayoutOnlyBox, ItsChildrenLiveInTheHostsWindowAtItsOffsetAndFollowIt)
{
    Panel& p = Panel::get();
    Label* above = newLabel(L"above", false, false, 1000);
    above->setFixedHeight(20);
    p.add(above);
    Box* outer = layoutRow(5);
    Button* first = newButtonSized(L"First", 80, -1);
    Box* inner = newBox(-1, -1, 0, 0, -1, 3, 2, 4, s::gui::IBox::MODE_COLUMN);
    inner->setLayoutOnly();
    Button* second = newButtonSized(L"Second", 80, -1);
    outer->add(first);
    inner->add(second);
    outer->add(inner);
    p.add(outer);

    ASSERT_TRUE(outer->isWindowless());
    ASSERT_TRUE(inner->isWindowless());
    EXPECT_EQ(nullptr, handleOf(outer));
    EXPECT_TRUE(outer->isVisible());
    HWND host = handleOf(p.box);
    ASSERT_NE(nullptr, handleOf(first));
    ASSERT_NE(nullptr, handleOf(second));
    EXPECT_EQ(host, GetParent(handleOf(first)));
    EXPECT_EQ(host, GetParent(handleOf(second)));

    // Where a windowed box would have put them: the box's place, its insets, the child's place.
    const auto expectPlaced = [&]
    {
        POINT a = placeIn(host, handleOf(first));
        EXPECT_EQ(outer->getOriginX() + outer->getX() + 5 + first->getX(), a.x);
        EXPECT_EQ(outer->getOriginY() + outer->getY() + 5 + first->getY(), a.y);
        POINT b = placeIn(host, handleOf(second));
        EXPECT_EQ(outer->getOriginX() + outer->getX() + 5 + inner->getX() + 2 + second->getX(), b.x);
        EXPECT_EQ(outer->getOriginY() + outer->getY() + 5 + inner->getY() + 4 + second->getY(), b.y);
        RECT screen;
        GetWindowRect(handleOf(first), &screen);
        EXPECT_EQ(outer->getScreenX() + 5 + first->getX(), screen.left);
        EXPECT_EQ(outer->getScreenY() + 5 + first->getY(), screen.top);
    };
    expectPlaced();
    const int before = placeIn(host, handleOf(second)).y;
    above->setFixedHeight(50); // the row moves down
    p.settle();
    EXPECT_EQ(before + 30, placeIn(host, handleOf(second)).y);
    expectPlaced();

    // Hidden with the box; a child hidden on its own stays hidden when the box shows again.
    second->setVisible(false, true);
    outer->setVisible(false, true);
    p.settle();
    EXPECT_FALSE(IsWindowVisible(handleOf(first)));
    outer->setVisible(true, true);
    p.settle();
    EXPECT_TRUE(IsWindowVisible(handleOf(first)));
    EXPECT_FALSE(IsWindowVisible(handleOf(second)));

    // Removed and released: the children's windows go with it.
    HWND gone = handleOf(first);
    p.box->remove(outer, true);
    p.settle();
    EXPECT_FALSE(IsWindow(gone));
}

TEST(LayoutOnlyBox, ABoxThatDrawsOrTakesSomethingOfItsOwnKeepsItsWindow)
{
    struct Case
    {
        const char* name;
        std::function<void(Box*)> setUp;
        bool windowless;
    };
    struct Clicks : s::gui::events::IEventListener
    {
        void handleEvent(void*, int) override {}
    } clicks;
    const std::vector<Case> cases = {
        {"plain", [](Box*) {}, true},
        {"a colour of its own", [](Box* b) { b->setBackgroundColour(200, 10, 10, false); }, false},
        {"transparent", [](Box* b) { b->setTransparent(false); }, false},
        {"takes dropped files", [](Box* b) { b->setAcceptFiles(true); }, false},
        {"listens to clicks", [&](Box* b) { b->addClickListener(&clicks); }, false},
        {"a fixed width", [](Box* b) { b->setFixedWidth(40); }, false},
        {"a pile", [](Box* b) { b->setPileMode(); }, false},
        {"holds a radio button", [](Box* b) { b->add(newRadioButton(100, true)); }, false},
    };
    for (const Case& c : cases)
    {
        Panel& p = Panel::get();
        Box* box = layoutRow(0);
        box->add(newLabel(L"text", false, false, 1000));
        c.setUp(box);
        p.add(box);
        EXPECT_EQ(c.windowless, box->isWindowless()) << c.name;
        EXPECT_EQ(c.windowless, handleOf(box) == nullptr) << c.name;
    }
    // In a parent of another colour the parent's background would show: it keeps its window.
    Panel& p = Panel::get();
    Box* white = newBox(100, -1, 0, 0, -1, -1, 4, 4, s::gui::IBox::MODE_COLUMN);
    white->setBackgroundWhite(false);
    Box* box = layoutRow(0);
    box->add(newLabel(L"text", false, false, 1000));
    white->add(box);
    p.add(white);
    EXPECT_FALSE(box->isWindowless());
}

TEST(LayoutOnlyBox, AWindowLooksTheSameAsWithWindowedBoxes)
{
    // The same rows, group and nested column, once as layout-only boxes, once windowed.
    const auto build = [](bool layoutOnly)
    {
        Box* column = newBox(100, -1, 0, 0, -1, 4, -1, -1, s::gui::IBox::MODE_COLUMN);
        Box* row = newBox(100, -1, 0, 1, 5, -1, 3, 3, s::gui::IBox::MODE_ROW);
        row->add(newLabel(L"Name:", false, false, 1000));
        row->add(newTextField(100));
        row->add(newButtonSized(L"Copy", 60, -1));
        GroupBox* group = GroupBox::Acquire();
        group->setText(L"Group");
        group->setWidthPercent(100);
        Box* content = newBox(100, 100, 0, 0, 6, 6, 7, 3, s::gui::IBox::MODE_COLUMN);
        Box* checks = newBox(100, -1, 0, 0, 10, -1, -1, -1, s::gui::IBox::MODE_ROW);
        checks->add(newCheckBox(100, true));
        checks->add(newCheckBox(102, false));
        content->add(checks);
        content->add(newLabel(L"A line of text under the boxes", false, false, 1000));
        if (layoutOnly)
        {
            column->setLayoutOnly();
            row->setLayoutOnly();
            content->setLayoutOnly();
            checks->setLayoutOnly();
        }
        group->setContent(content);
        column->add(row);
        column->add(group);
        return column;
    };
    Panel& p = Panel::get();
    std::vector<unsigned char> shots[2];
    for (int layoutOnly = 0; layoutOnly < 2; ++layoutOnly)
    {
        Panel& again = Panel::get();
        Box* column = build(layoutOnly == 1);
        again.add(column);
        EXPECT_EQ(layoutOnly == 1, column->isWindowless());
        RECT r;
        GetWindowRect(handleOf(again.box), &r);
        ASSERT_TRUE(testgui::waitUncovered(again.handle(), r));
        BITMAPINFOHEADER header{};
        testgui::grabScreen(r, &header, &shots[layoutOnly]);
        if (layoutOnly == 1)
            testgui::saveScreen(r, "layout-only-boxes.bmp");
    }
    SetWindowPos(p.handle(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ASSERT_FALSE(shots[0].empty());
    EXPECT_TRUE(shots[0] == shots[1]) << "the layout-only boxes changed what the window shows";
}
