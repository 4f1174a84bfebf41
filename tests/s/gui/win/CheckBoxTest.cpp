// Check boxes and radio buttons driven by clicks on the native controls: only the
// user's changes fire, and the links follow them.
#include <gtest/gtest.h>

#include "WidgetTestSupport.h"
#include "s/gui/win/Button.h"
#include "s/gui/win/CheckBox.h"
#include "s/gui/win/RadioButton.h"

using s::gui::win::Box;
using s::gui::win::Button;
using s::gui::win::CheckBox;
using s::gui::win::RadioButton;
using testgui::Recorder;
using testwidgets::Panel;

namespace
{

CheckBox* makeBox(const wchar_t* text)
{
    CheckBox* c = CheckBox::Acquire();
    c->setText(text);
    return c;
}

RadioButton* makeRadio(const wchar_t* text)
{
    RadioButton* r = RadioButton::Acquire();
    r->setText(text);
    return r;
}

void click(s::gui::IComponent* c)
{
    SendMessageW(testwidgets::handleOf(c), BM_CLICK, 0, 0);
}

} // namespace

TEST(CheckBox, ClicksFireAndLinkEnabledDrivesTwoTargetsWithOnePair)
{
    Panel& p = Panel::get();
    CheckBox* box = p.add(makeBox(L"Include folders"));
    Button* a = p.add(Button::Acquire());
    Button* b = p.add(Button::Acquire());
    Recorder rec;
    box->addCheckedListener(&rec);
    box->addUncheckedListener(&rec);
    box->linkEnabled(a);
    box->linkEnabled(b);
    click(box);
    EXPECT_TRUE(box->isChecked());
    EXPECT_EQ(BST_CHECKED, SendMessageW(testwidgets::handleOf(box), BM_GETCHECK, 0, 0));
    EXPECT_TRUE(a->isEnabled());
    EXPECT_TRUE(b->isEnabled());
    click(box);
    EXPECT_FALSE(box->isChecked());
    EXPECT_FALSE(a->isEnabled());
    EXPECT_FALSE(b->isEnabled());
    click(box);
    EXPECT_TRUE(a->isEnabled());
    EXPECT_EQ((std::vector<int>{1, 2, 1}), rec.kinds);
    EXPECT_EQ(static_cast<s::gui::IComponent*>(box), rec.lastSource);
}

TEST(CheckBox, ProgramChangesFireNothingAndLinksWaitForTheUser)
{
    Panel& p = Panel::get();
    CheckBox* box = p.add(makeBox(L"Normal files"));
    Button* target = p.add(Button::Acquire());
    Recorder rec;
    box->addCheckedListener(&rec);
    box->addUncheckedListener(&rec);
    box->linkEnabled(target);
    target->setEnabled(false);
    box->setChecked(true);
    EXPECT_TRUE(box->isChecked());
    EXPECT_EQ(BST_CHECKED, SendMessageW(testwidgets::handleOf(box), BM_GETCHECK, 0, 0));
    EXPECT_FALSE(target->isEnabled()); // the link waits for the user
    box->setCheckedSilently(false);
    box->setCheckedSilently(true);
    EXPECT_TRUE(rec.kinds.empty());
    EXPECT_FALSE(target->isEnabled());
    click(box); // the user unchecks
    EXPECT_EQ((std::vector<int>{2}), rec.kinds);
    click(box);
    EXPECT_TRUE(target->isEnabled());
}

TEST(CheckBox, LinkEnabledInverse)
{
    Panel& p = Panel::get();
    CheckBox* box = p.add(makeBox(L"Use system zone"));
    Button* target = p.add(Button::Acquire());
    box->linkEnabledInverse(target);
    click(box);
    EXPECT_FALSE(target->isEnabled());
    click(box);
    EXPECT_TRUE(target->isEnabled());
}

TEST(CheckBox, StateSetWhileDetachedReachesTheNativeBox)
{
    Panel& p = Panel::get();
    CheckBox* box = makeBox(L"Checked before");
    Recorder rec;
    box->addCheckedListener(&rec);
    box->setChecked(true);
    p.add(box);
    EXPECT_EQ(BST_CHECKED, SendMessageW(testwidgets::handleOf(box), BM_GETCHECK, 0, 0));
    EXPECT_TRUE(rec.kinds.empty());
}

TEST(RadioButton, GroupClickDeselectsTheFirstAndFiresKindZero)
{
    Panel& p = Panel::get();
    Box* row = Box::Acquire();
    row->setRowMode();
    RadioButton* first = makeRadio(L"Add");
    RadioButton* second = makeRadio(L"Minus");
    first->setGroupStart(true);
    row->add(first);
    row->add(second);
    p.add(row);
    Recorder firstSelected, firstDeselected, secondSelected;
    first->addSelectedListener(&firstSelected);
    first->addDeselectedListener(&firstDeselected);
    second->addSelectedListener(&secondSelected);
    first->setSelected(true, false);
    EXPECT_TRUE(first->isSelected());
    EXPECT_TRUE(firstSelected.kinds.empty());
    click(second);
    EXPECT_TRUE(second->isSelected());
    EXPECT_FALSE(first->isSelected());
    EXPECT_EQ((std::vector<int>{0}), firstDeselected.kinds);
    EXPECT_EQ((std::vector<int>{0}), secondSelected.kinds);
    EXPECT_TRUE(firstSelected.kinds.empty());
}

TEST(RadioButton, LinkEnabledFollowsTheUsersSelection)
{
    Panel& p = Panel::get();
    Box* row = Box::Acquire();
    row->setRowMode();
    RadioButton* specific = makeRadio(L"Specific:");
    RadioButton* offset = makeRadio(L"By Offset:");
    specific->setGroupStart(true);
    row->add(specific);
    row->add(offset);
    p.add(row);
    Button* forSpecific = p.add(Button::Acquire());
    Button* forOffset = p.add(Button::Acquire());
    specific->linkEnabled(forSpecific);
    specific->linkEnabledInverse(forOffset);
    specific->setSelected(true, true);
    click(offset);
    EXPECT_FALSE(forSpecific->isEnabled());
    EXPECT_TRUE(forOffset->isEnabled());
    click(specific);
    EXPECT_TRUE(forSpecific->isEnabled());
    EXPECT_FALSE(forOffset->isEnabled());
}

TEST(CheckBox, TransparentBoxAnswersWithItsParentsColourAndTheFontsTextColour)
{
    Panel& p = Panel::get();
    Box* row = Box::Acquire();
    row->setBackgroundColour(10, 20, 30, false);
    CheckBox* box = makeBox(L"On a dark row");
    box->setTransparent(false);
    box->setTextColour(250, 250, 250);
    row->add(box);
    p.add(row);
    HWND h = testwidgets::handleOf(box);
    HDC dc = GetDC(h);
    HBRUSH brush = reinterpret_cast<HBRUSH>(
        SendMessageW(GetParent(h), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(h)));
    LOGBRUSH lb{};
    ASSERT_NE(nullptr, brush);
    GetObjectW(brush, sizeof(lb), &lb);
    EXPECT_EQ(RGB(10, 20, 30), lb.lbColor);
    EXPECT_EQ(TRANSPARENT, GetBkMode(dc));
    EXPECT_EQ(RGB(250, 250, 250), GetTextColor(dc));
    ReleaseDC(h, dc);
}

// A run's worker and the window's own handlers may set a box silently at the same time:
// neither fires anything, and afterwards the user's clicks still do.
TEST(CheckBox, SilentChangesFromTwoThreadsAtOnceKeepTheUsersClicksFiring)
{
    Panel& p = Panel::get();
    CheckBox* box = p.add(makeBox(L"Include folders"));
    Recorder rec;
    box->addCheckedListener(&rec);
    box->addUncheckedListener(&rec);
    testwidgets::fromTwoThreadsAtOnce(p, [&](int round) { box->setCheckedSilently(round % 2 == 0); }, 3000);
    EXPECT_TRUE(rec.kinds.empty());
    bool before = box->isChecked();
    EXPECT_EQ(before ? BST_CHECKED : BST_UNCHECKED, SendMessageW(testwidgets::handleOf(box), BM_GETCHECK, 0, 0));
    click(box);
    click(box);
    EXPECT_EQ(before, box->isChecked());
    EXPECT_EQ((before ? std::vector<int>{2, 1} : std::vector<int>{1, 2}), rec.kinds);
}

TEST(RadioButton, SelectionsWithoutNotifyFromTwoThreadsAtOnceKeepTheUsersClicksFiring)
{
    Panel& p = Panel::get();
    RadioButton* first = makeRadio(L"Specific");
    first->setGroupStart(true);
    p.add(first);
    RadioButton* second = p.add(makeRadio(L"Offset"));
    Recorder selected;
    first->addSelectedListener(&selected);
    testwidgets::fromTwoThreadsAtOnce(p, [&](int round) { first->setSelected(round % 2 == 0, false); }, 3000);
    EXPECT_TRUE(selected.kinds.empty());
    first->setSelected(false, false);
    second->setSelected(true, false);
    click(first);
    EXPECT_TRUE(first->isSelected());
    EXPECT_EQ((std::vector<int>{0}), selected.kinds);
}
