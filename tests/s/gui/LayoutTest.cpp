// The arrangements of boxes and the shared managers, on components without native
// windows (pure arithmetic).
#include <gtest/gtest.h>

#include "s/gui/layout/FlowH.h"
#include "s/gui/layout/Pile.h"
#include "s/gui/layout/Vertical.h"
#include "s/gui/win/Box.h"
#include "FakeWidget.h"

using s::gui::win::Box;
using testgui::FakeWidget;

namespace
{

struct BoxHolder
{
    Box* box = Box::Acquire();
    ~BoxHolder() { box->Release(); }
    Box* operator->() { return box; }
};

} // namespace

TEST(ColumnLayout, ChildGrowsToTheContainerWithinItsMaximum)
{
    struct Case
    {
        int maxHeight, vAlign, wantHeight, wantY;
    } cases[] = {
        {100, 0, 60, 0}, // grows from 20 to fill the 60 pixels
        {40, 0, 40, 0},  // stops at its maximum
        {40, 1, 40, 10}, // and is centred in what is left
        {40, 2, 40, 20},
    };
    for (const Case& c : cases)
    {
        BoxHolder box;
        box->setColumnMode();
        if (c.vAlign == 1)
            box->alignMiddle();
        if (c.vAlign == 2)
            box->alignBottom();
        FakeWidget* child = FakeWidget::Make(10, 20, 10, c.maxHeight);
        box->add(child);
        box->setSize(50, 60);
        EXPECT_EQ(c.wantHeight, child->getHeight()) << c.maxHeight;
        EXPECT_EQ(c.wantY, child->getY()) << c.maxHeight << "/" << c.vAlign;
    }
}

TEST(ColumnLayout, NoGapAfterAChildWithoutHeight)
{
    BoxHolder box;
    box->setVerticalGap(5);
    box->add(FakeWidget::Make(10, 10));
    box->add(FakeWidget::Make(10, 0));
    box->setSize(50, 0);
    EXPECT_EQ(10, box->getContentMinHeight());
    EXPECT_EQ(10, box->getMinHeight());
}

TEST(ColumnLayout, GrowthIsSharedByRatioAndTheRemainderGoesToTheFirst)
{
    BoxHolder box;
    FakeWidget* a = FakeWidget::Make(10, 10, 10, 30);
    FakeWidget* b = FakeWidget::Make(10, 10, 10, 50);
    box->add(a);
    box->add(b);
    box->setSize(10, 40); // 20 extra pixels for 60 of growth room
    EXPECT_EQ(10 + 6 + 1, a->getHeight());
    EXPECT_EQ(10 + 13, b->getHeight());
    EXPECT_EQ(0, a->getY());
    EXPECT_EQ(17, b->getY());
    EXPECT_EQ(20, box->getContentMinHeight());
    EXPECT_EQ(80, box->getContentPrefHeight());
}

TEST(FlowLayout, WrapsAndAlignsEachRow)
{
    for (int align : {0, 1, 2})
    {
        BoxHolder box;
        box->setFlowMode();
        box->setHorizontalGap(5);
        if (align == 1)
            box->alignCentre();
        if (align == 2)
            box->alignRight();
        FakeWidget* w[3];
        for (auto& p : w)
        {
            p = FakeWidget::Make(40, 10);
            box->add(p);
        }
        box->setSize(100, 50);
        EXPECT_EQ(w[0]->getY(), w[1]->getY());
        EXPECT_EQ(10, w[2]->getY());
        int firstRowStart[] = {0, 7, 15};
        int secondRowStart[] = {0, 30, 60};
        EXPECT_EQ(firstRowStart[align], w[0]->getX()) << align;
        EXPECT_EQ(firstRowStart[align] + 45, w[1]->getX()) << align;
        EXPECT_EQ(secondRowStart[align], w[2]->getX()) << align;
        EXPECT_EQ(20, box->getContentMinHeight());
        EXPECT_EQ(130, box->getContentPrefWidth()); // one row: 3 × 40 + 2 gaps
    }
}

TEST(PileLayout, BottomAlignmentAndVisibleChildrenOnly)
{
    BoxHolder box;
    box->setPileMode();
    box->alignBottom();
    box->alignCentre();
    FakeWidget* shown = FakeWidget::Make(20, 10, 20, 20);
    FakeWidget* hidden = FakeWidget::Make(30, 30, 30, 30);
    box->add(shown);
    box->add(hidden);
    hidden->setVisible(false, true);
    hidden->setPosition(1, 2);
    box->setSize(100, 100);
    EXPECT_EQ(20, shown->getHeight());
    EXPECT_EQ(80, shown->getY());
    EXPECT_EQ(40, shown->getX());
    EXPECT_EQ(1, hidden->getX()); // left alone
    EXPECT_EQ(2, hidden->getY());
    EXPECT_EQ(20, box->getContentMinWidth());
}

TEST(RowLayout, WidthsGrowAndHeightsFillTheRow)
{
    BoxHolder box;
    box->setRowMode();
    box->setHorizontalGap(4);
    box->alignMiddle();
    FakeWidget* a = FakeWidget::Make(10, 10, 30, 10);
    FakeWidget* b = FakeWidget::Make(10, 5, 10, 40);
    box->add(a);
    box->add(b);
    box->setSize(200, 30);
    EXPECT_EQ(30, a->getWidth()); // room for every preferred width
    EXPECT_EQ(10, b->getWidth());
    EXPECT_EQ(34, b->getX());
    EXPECT_EQ(30, b->getHeight()); // the row height within its limits
    EXPECT_EQ(10, a->getHeight());
    EXPECT_EQ(10, a->getY()); // centred in the 30-pixel row
    EXPECT_EQ(24, box->getContentMinWidth());
    EXPECT_EQ(44, box->getContentPrefWidth());
    EXPECT_EQ(10, box->getContentMinHeight());
}

TEST(BoxLimits, CollapseFixedPercentAndOverride)
{
    BoxHolder outer;
    outer->setSize(201, 100);
    Box* inner = Box::Acquire();
    inner->add(FakeWidget::Make(50, 30));
    inner->setInsets(5);
    outer->add(inner);
    EXPECT_EQ(60, inner->getMinWidth());
    EXPECT_EQ(50, inner->getMinClientWidth());
    inner->setMinWidthOverride(80);
    EXPECT_EQ(80, inner->getMinWidth());
    EXPECT_EQ(70, inner->getMinClientWidth());
    inner->setCollapseWidth(true);
    EXPECT_EQ(0, inner->getMinWidth());
    inner->setWidthPercent(50); // 100.5 rounds away from zero
    EXPECT_EQ(101, inner->getMaxWidth());
    EXPECT_EQ(91, inner->getMaxClientWidth());
    inner->setFixedWidth(33);
    EXPECT_EQ(33, inner->getMaxWidth());
    EXPECT_EQ(0, inner->getMinWidth()); // collapse still wins
    inner->setCollapseWidth(false);
    EXPECT_EQ(33, inner->getMinWidth());
}

TEST(BoxLayout, InsetsBecomeTheChildrensOrigin)
{
    BoxHolder box;
    FakeWidget* child = FakeWidget::Make(10, 10);
    box->add(child);
    box->setInsetLeft(7);
    box->setInsetTop(3);
    EXPECT_EQ(7, child->getOriginX());
    EXPECT_EQ(3, child->getOriginY());
    box->setSize(40, 40);
    EXPECT_EQ(33, box->getClientWidth());
}

namespace
{
// Lays its box out again from inside the box's layout event.
struct Relayouter : s::gui::events::IEventListener
{
    Box* box = nullptr;
    int calls = 0;
    void handleEvent(void*, int kind) override
    {
        if (kind != Box::EVENT_LAID_OUT)
            return;
        ++calls;
        box->doLayout();
    }
};
} // namespace

TEST(BoxLayout, NestedLayoutRunsOneLevelDeep)
{
    BoxHolder box;
    box->add(FakeWidget::Make(10, 10));
    Relayouter listener;
    listener.box = box.box;
    box->addLayoutListener(&listener);
    box->doLayout();
    EXPECT_EQ(2, listener.calls); // the outer pass and one nested pass; a third is skipped
}

TEST(SharedManagers, ColumnFlowAndPile)
{
    BoxHolder box;
    box->setSize(100, 100);
    FakeWidget* a = FakeWidget::Make(30, 10);
    FakeWidget* b = FakeWidget::Make(30, 10);
    box->add(a);
    box->add(b);
    box->setLayoutManager(s::gui::layout::Vertical::Shared());
    box->doLayout();
    EXPECT_EQ(10, b->getY());
    EXPECT_EQ(20, box->getContentMinHeight());
    box->setLayoutManager(s::gui::layout::FlowH::Shared());
    box->doLayout();
    EXPECT_EQ(0, b->getY());
    EXPECT_EQ(30, b->getX());
    box->setLayoutManager(s::gui::layout::Pile::Shared());
    box->doLayout();
    EXPECT_EQ(0, b->getX());
    EXPECT_EQ(s::gui::layout::Pile::Shared(), box->getLayoutManager());
}
