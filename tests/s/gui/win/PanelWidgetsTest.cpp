// Spacers, group boxes, the status bar and the progress bar in a real window.
#include <gtest/gtest.h>

#include "WidgetTestSupport.h"

#include <commctrl.h>

#include "s/gui/win/Factories.h"
#include "s/gui/win/ProgressBar.h"
#include "s/gui/win/StatusBar.h"

using namespace s::gui::win;
using testwidgets::Panel;

TEST(Spacer, SwitchingTheAxisMovesItsSettings)
{
    Spacer* s = newSpacer(0, 15);
    EXPECT_EQ(15, s->getMinWidth());
    EXPECT_EQ(0, s->getMinHeight());
    s->setVertical();
    EXPECT_EQ(0, s->getMinWidth());
    EXPECT_EQ(15, s->getMinHeight());
    EXPECT_EQ(15, s->getMaxHeight());
    s->Release();
    Spacer* flexible = newSpacerPercent(100);
    EXPECT_EQ(0, flexible->getMinWidth());
    EXPECT_EQ(100, flexible->getWidthPercent());
    flexible->setVertical();
    EXPECT_EQ(100, flexible->getHeightPercent());
    EXPECT_EQ(-1, flexible->getWidthPercent());
    flexible->Release();
}

TEST(Spacer, FlexibleGapPushesTheNextWidgetRight)
{
    Panel& p = Panel::get();
    Box* row = newBox(100, -1, 0, 0, -1, -1, -1, -1, s::gui::IBox::MODE_ROW);
    Button* restore = newButtonSized(L"Restore", 95, -1);
    Button* apply = newButtonSized(L"Apply", 170, -1);
    row->add(restore);
    row->add(newSpacerPercent(100));
    row->add(apply);
    p.add(row);
    EXPECT_EQ(0, restore->getX());
    EXPECT_EQ(row->getClientWidth() - 170, apply->getX());
}

TEST(GroupBox, ContentSitsInsideTheFrameBelowTheCaption)
{
    Panel& p = Panel::get();
    GroupBox* group = newGroupBox(-1, 10, 10, 7, 3, 100, s::gui::IBox::MODE_ROW);
    group->setText(L"Fields to Change");
    CheckBox* created = CheckBox::Acquire();
    created->setText(L"Created");
    group->getContent()->add(created);
    p.add(group);
    Box* content = dynamic_cast<Box*>(group->getContent());
    ASSERT_NE(nullptr, content);
    // The content only lays out (no window of its own); its children got their native
    // windows in the group's with it.
    EXPECT_TRUE(content->isWindowless());
    EXPECT_NE(nullptr, created->getHandle());
    EXPECT_EQ(group->getHandle(), GetParent(created->getHandle()));
    EXPECT_TRUE(IsWindowVisible(created->getHandle()));
    EXPECT_EQ(GroupBox::SIDE, content->getOriginX());
    int caption = 0;
    group->getFont()->measure(L"Fields to Change", nullptr, &caption);
    EXPECT_GE(content->getOriginY(), caption);
    EXPECT_EQ(p.box->getClientWidth(), group->getWidth());
    EXPECT_EQ(group->getWidth() - 2 * GroupBox::SIDE, content->getWidth());
    EXPECT_GE(group->getHeight(), caption + created->getHeight() + 6);
    // The caption's width is a minimum of the group.
    int captionWidth = 0;
    group->getFont()->measure(L"Fields to Change", &captionWidth, nullptr);
    EXPECT_GT(group->getMinWidth(), captionWidth);
    // A language pack gives the caption by id.
    group->setTextId(102);
    EXPECT_STREQ(L"Created", group->getText());
}

TEST(StatusBar, SitsAtTheBottomWithPanesAndAProgressBar)
{
    Panel& p = Panel::get();
    StatusBar* bar = StatusBar::Acquire();
    ProgressBar* progress = ProgressBar::Acquire();
    progress->setWidthPercent(40);
    bar->setText(0, L"Ready");
    bar->add(progress);
    p.window->add(bar);
    p.window->setStatusBar(bar);
    p.settle();
    EXPECT_STREQ(L"Ready", bar->getText(0));
    EXPECT_STREQ(L"", bar->getText(3));
    EXPECT_EQ(p.window->getClientHeight() - bar->getHeight(), bar->getY());
    EXPECT_EQ(p.window->getClientWidth(), bar->getWidth());
    Label* pane = bar->getPane(0);
    EXPECT_GE(bar->getHeight(), pane->getHeight() + StatusBar::INSET_TOP + StatusBar::INSET_BOTTOM);
    EXPECT_GT(progress->getX(), pane->getX() + pane->getWidth());
    bar->setTextId(1, 100);
    EXPECT_STREQ(L"Hello", bar->getText(1));
    p.window->setStatusBar(nullptr);
    p.window->remove(bar, true);
}

TEST(ProgressBar, RangeAndPositionReachTheControlAndStayInRange)
{
    Panel& p = Panel::get();
    ProgressBar* bar = ProgressBar::Acquire();
    bar->setRange(0, 1000);
    bar->setPosition(400); // before the control exists
    p.add(bar);
    HWND h = testwidgets::handleOf(bar);
    EXPECT_EQ(400, SendMessageW(h, PBM_GETPOS, 0, 0));
    EXPECT_EQ(1000, SendMessageW(h, PBM_GETRANGE, FALSE, 0));
    bar->step();
    EXPECT_EQ(410, bar->getPosition());
    bar->setPosition(5000);
    EXPECT_EQ(1000, bar->getPosition());
    EXPECT_EQ(1000, SendMessageW(h, PBM_GETPOS, 0, 0));
    bar->step();
    EXPECT_EQ(1000, bar->getPosition());
    bar->setPosition(-3);
    EXPECT_EQ(0, SendMessageW(h, PBM_GETPOS, 0, 0));
}
