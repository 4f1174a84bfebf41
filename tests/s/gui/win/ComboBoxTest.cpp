// Combo boxes driven through the native COMBOBOX: the user's selection changes, the
// program's, the open list's width, language changes and the read-only state.
#include <gtest/gtest.h>

#include <thread>

#include "WidgetTestSupport.h"
#include "s/gui/combobox/ComboBoxItem.h"
#include "s/gui/win/ComboBox.h"
#include "s/gui/win/RadioButton.h"

using s::gui::combobox::ComboBoxItem;
using s::gui::win::ComboBox;
using s::gui::win::RadioButton;
using testgui::Recorder;
using testwidgets::Panel;

namespace
{

ComboBox* numbers(int count, int fixedWidth = -1)
{
    ComboBox* c = ComboBox::Acquire();
    wchar_t text[16];
    for (int i = 0; i < count; ++i)
    {
        swprintf(text, 16, L"Entry %02d", i);
        c->addItem(ComboBoxItem::newItem(text, i));
    }
    if (fixedWidth > 0)
        c->setFixedWidth(fixedWidth);
    c->setFixedHeight(23);
    return c;
}

// The user picks an entry: the control's selection, then its notification to the parent.
void userSelects(ComboBox* c, int index)
{
    HWND h = testwidgets::handleOf(c);
    SendMessageW(h, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    testwidgets::notifyParent(h, CBN_SELCHANGE);
}

int openedWidth(ComboBox* c)
{
    HWND h = testwidgets::handleOf(c);
    SendMessageW(h, CB_SHOWDROPDOWN, TRUE, 0);
    int w = static_cast<int>(SendMessageW(h, CB_GETDROPPEDWIDTH, 0, 0));
    SendMessageW(h, CB_SHOWDROPDOWN, FALSE, 0);
    return w;
}

std::wstring nativeText(ComboBox* c, int index)
{
    wchar_t buffer[64] = {};
    SendMessageW(testwidgets::handleOf(c), CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer));
    return buffer;
}

} // namespace

TEST(ComboBox, UserSelectionFiresWithThePreviousSelection)
{
    Panel& p = Panel::get();
    ComboBox* c = p.add(numbers(5));
    Recorder rec;
    c->addSelectionListener(&rec);
    c->setSelection(1, false);
    EXPECT_TRUE(rec.kinds.empty());
    userSelects(c, 3);
    ASSERT_EQ(1u, rec.kinds.size());
    EXPECT_EQ(0, rec.kinds[0]);
    EXPECT_EQ(3, c->getSelection());
    EXPECT_EQ(1, c->getPreviousSelection());
    userSelects(c, 3); // no change: nothing fires
    EXPECT_EQ(1u, rec.kinds.size());
    EXPECT_EQ(static_cast<s::gui::IComponent*>(c), rec.lastSource);
}

TEST(ComboBox, ProgramSelectionFromAnotherThreadFiresOnTheWindowsThread)
{
    Panel& p = Panel::get();
    ComboBox* c = p.add(numbers(5));
    Recorder rec;
    c->addSelectionListener(&rec);
    std::thread worker([&] { c->setSelection(4, true); });
    worker.join();
    ASSERT_EQ(1u, rec.threads.size());
    EXPECT_EQ(GetWindowThreadProcessId(p.handle(), nullptr), rec.threads[0]);
    EXPECT_EQ(4, SendMessageW(testwidgets::handleOf(c), CB_GETCURSEL, 0, 0));
    c->setSelection(99, false); // out of range: nothing selected
    EXPECT_EQ(-1, c->getSelection());
    EXPECT_EQ(4, c->getPreviousSelection());
}

TEST(ComboBox, OpenListWidensByTheScrollBarAbove30Items)
{
    Panel& p = Panel::get();
    ComboBox* thirty = p.add(numbers(30, 40));
    ComboBox* thirtyOne = p.add(numbers(31, 40));
    int w30 = openedWidth(thirty);
    int w31 = openedWidth(thirtyOne);
    EXPECT_EQ(thirty->measureDropWidth(), w30);
    EXPECT_EQ(GetSystemMetrics(SM_CXVSCROLL), w31 - w30);
    int entry = 0, zero = 0;
    thirty->getFont()->measure(L"Entry 00", &entry, nullptr);
    thirty->getFont()->measure(L"0", &zero, nullptr);
    EXPECT_EQ(entry + zero, w30);
}

TEST(ComboBox, HeadingsAreMeasuredBoldAndWider)
{
    ComboBox* c = numbers(3);
    int plain = c->measureDropWidth();
    c->getItem(1)->setWord1(ComboBoxItem::FLAG_HEADER);
    EXPECT_GE(c->measureDropWidth(), plain + 10);
    c->Release();
}

TEST(ComboBox, LanguageChangeRetextsEntriesWithIdsAndKeepsTheSelection)
{
    Panel& p = Panel::get();
    ComboBox* c = ComboBox::Acquire();
    c->addItem(ComboBoxItem::newItemById(103, p.pack, 1));
    c->addItem(ComboBoxItem::newItem(L"Sec", 2));
    c->setSelection(0, false);
    p.add(c);
    p.pack->selectLanguage(L"German");
    p.settle();
    EXPECT_EQ(L"Stunde", nativeText(c, 0));
    EXPECT_EQ(L"Sec", nativeText(c, 1));
    EXPECT_STREQ(L"Stunde", c->getItem(0)->getText());
    EXPECT_EQ(0, SendMessageW(testwidgets::handleOf(c), CB_GETCURSEL, 0, 0));
}

TEST(ComboBox, ReadOnlyIgnoresKeysAndFollowsLinkEditable)
{
    Panel& p = Panel::get();
    RadioButton* on = RadioButton::Acquire();
    on->setText(L"On");
    on->setGroupStart(true);
    RadioButton* off = RadioButton::Acquire();
    off->setText(L"Off");
    p.add(on);
    p.add(off);
    ComboBox* c = p.add(numbers(5));
    on->linkEditable(c);
    c->setSelection(0, false);
    on->setSelected(true, false);
    SendMessageW(testwidgets::handleOf(off), BM_CLICK, 0, 0);
    EXPECT_FALSE(c->isEditable());
    HWND h = testwidgets::handleOf(c);
    SendMessageW(h, WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(0, c->getSelection());
    SendMessageW(testwidgets::handleOf(on), BM_CLICK, 0, 0);
    EXPECT_TRUE(c->isEditable());
    SendMessageW(h, WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(1, c->getSelection());
}

TEST(ComboBox, FieldFitsTheFixedHeight)
{
    Panel& p = Panel::get();
    ComboBox* c = p.add(numbers(3, 80));
    RECT r;
    GetWindowRect(testwidgets::handleOf(c), &r);
    // The control keeps the field height of its font, within the height it was given.
    EXPECT_LE(r.bottom - r.top, 23);
    EXPECT_GE(r.bottom - r.top, 18);
    EXPECT_EQ(23, c->getHeight());
    EXPECT_EQ(80, r.right - r.left);
}
