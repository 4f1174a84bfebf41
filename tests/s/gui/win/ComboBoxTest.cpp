// Combo boxes driven through the native COMBOBOX (and its stand-in until first use): the user's selection changes, the
// program's, the open list's width, language changes and the read-only state.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

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

namespace
{

// The combo box's window now (the stand-in until the control is made), found where the
// combo box sits in its parent: asking the combo box itself would make the control.
HWND windowAt(Panel& p, ComboBox* c)
{
    HWND parent = testwidgets::handleOf(p.box);
    POINT at{c->getScreenX() + 2, c->getScreenY() + 2};
    ScreenToClient(parent, &at);
    return ChildWindowFromPointEx(parent, at, CWP_SKIPINVISIBLE);
}

// The client area of `window` as it prints itself.
std::vector<COLORREF> printed(HWND window)
{
    RECT r;
    GetClientRect(window, &r);
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, r.right, r.bottom);
    HGDIOBJ old = SelectObject(mem, bitmap);
    SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(mem), PRF_CLIENT | PRF_ERASEBKGND);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < r.bottom; ++y)
        for (int x = 0; x < r.right; ++x)
            pixels.push_back(GetPixel(mem, x, y));
    SelectObject(mem, old);
    DeleteObject(bitmap);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    return pixels;
}

// The pixels of `window`'s client area on the screen.
std::vector<COLORREF> onScreen(HWND window)
{
    RECT r;
    GetClientRect(window, &r);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&r), 2);
    HDC screen = GetDC(nullptr);
    std::vector<COLORREF> pixels;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            pixels.push_back(GetPixel(screen, x, y));
    ReleaseDC(nullptr, screen);
    return pixels;
}

std::wstring classOf(HWND window)
{
    wchar_t name[64] = L"";
    GetClassNameW(window, name, 64);
    return name;
}

} // namespace

// Until it is used a combo box shows a stand-in; the control made later looks the same, pixel
// for pixel, in the stand-in's place, size and tab order, with the selection and state kept.
TEST(ComboBox, TheStandInLooksAsTheControlMadeInItsPlace)
{
    struct Case
    {
        const wchar_t* text;
        int width;
        bool enabled;
    } cases[] = {
        {L"2011", 54, true},                                       // a narrow field: the text meets the button
        {L"11", 37, true},                                         // narrower still
        {L"Current System Time Zone - (UTC+00:00)", 150, true},    // cut at the button
        {L"Hour", 80, false},                                      // disabled
        {L"", 60, true},                                           // nothing selected
    };
    for (const Case& k : cases)
    {
        Panel& p = Panel::get();
        ComboBox* c = ComboBox::Acquire();
        c->addItem(ComboBoxItem::newItem(L"first", 0));
        if (k.text[0] != L'\0')
        {
            c->addItem(ComboBoxItem::newItem(k.text, 1));
            c->setSelection(1, false);
        }
        c->setFixedWidth(k.width);
        // The state changes once the stand-in is on the screen too: its face follows.
        c->setEnabled(!k.enabled);
        p.add(c);
        ASSERT_FALSE(c->hasControl()) << k.text;
        HWND stand = windowAt(p, c);
        ASSERT_EQ(L"PellamWindowClass", classOf(stand)) << k.text;
        RECT shownAt;
        GetWindowRect(stand, &shownAt);
        ASSERT_TRUE(testgui::waitUncovered(p.handle(), shownAt));
        const auto showsItsFace = [&] {
            for (int waited = 0; waited < 2000; waited += 50)
            {
                if (onScreen(stand) == printed(stand))
                    return true;
                Sleep(50);
            }
            return false;
        };
        ASSERT_TRUE(showsItsFace()) << k.text;
        c->setEnabled(k.enabled);
        p.settle();
        EXPECT_TRUE(showsItsFace()) << k.text << ": the face on the screen is not the present one";
        HWND before = GetWindow(stand, GW_HWNDPREV);
        RECT standRect;
        GetWindowRect(stand, &standRect);
        const std::vector<COLORREF> face = printed(stand);

        HWND control = testwidgets::handleOf(c); // asking for the handle makes the control
        p.settle();
        EXPECT_TRUE(c->hasControl());
        EXPECT_EQ(L"ComboBox", classOf(control)) << k.text;
        EXPECT_TRUE(testgui::waitGone(stand)) << k.text; // the stand-in goes by a posted message
        EXPECT_EQ(before, GetWindow(control, GW_HWNDPREV)) << k.text << ": not in the stand-in's place";
        EXPECT_EQ(control, windowAt(p, c));
        RECT controlRect;
        GetWindowRect(control, &controlRect);
        EXPECT_TRUE(EqualRect(&standRect, &controlRect) != FALSE) << k.text;
        EXPECT_EQ(k.enabled, IsWindowEnabled(control) != FALSE) << k.text;
        EXPECT_EQ(k.text[0] != L'\0' ? 1 : -1, SendMessageW(control, CB_GETCURSEL, 0, 0)) << k.text;
        EXPECT_EQ(k.text[0] != L'\0' ? 2 : 1, SendMessageW(control, CB_GETCOUNT, 0, 0)) << k.text;
        EXPECT_TRUE(face == printed(control)) << k.text << ": the stand-in's face differs from the control's";
    }
}

// A click on the stand-in opens the control's list, as a click on the control does; a
// read-only combo box neither makes nor opens it. Focus (Tab) lands on the control.
TEST(ComboBox, AClickOrTheFocusMakesTheControl)
{
    Panel& p = Panel::get();
    ComboBox* clicked = p.add(numbers(5, 80));
    ComboBox* focused = p.add(numbers(5, 80));
    ComboBox* readOnly = p.add(numbers(5, 80));
    readOnly->setEditable(false);
    clicked->setSelection(3, false);

    HWND stand = windowAt(p, readOnly);
    SendMessageW(stand, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    p.settle();
    EXPECT_FALSE(readOnly->hasControl());

    SendMessageW(windowAt(p, clicked), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    p.settle();
    ASSERT_TRUE(clicked->hasControl());
    HWND control = windowAt(p, clicked);
    EXPECT_EQ(L"ComboBox", classOf(control));
    EXPECT_TRUE(SendMessageW(control, CB_GETDROPPEDSTATE, 0, 0));
    EXPECT_EQ(3, SendMessageW(control, CB_GETCURSEL, 0, 0));
    SendMessageW(control, CB_SHOWDROPDOWN, FALSE, 0);

    const DWORD ui = GetWindowThreadProcessId(p.handle(), nullptr);
    AttachThreadInput(GetCurrentThreadId(), ui, TRUE);
    SetFocus(windowAt(p, focused));
    p.settle();
    EXPECT_TRUE(focused->hasControl());
    EXPECT_EQ(windowAt(p, focused), GetFocus());
    AttachThreadInput(GetCurrentThreadId(), ui, FALSE);
    EXPECT_FALSE(readOnly->hasControl());
}

// Number entries: their texts and values as items added one by one would have, in the control
// and in the stand-in's face, and among other entries.
TEST(ComboBox, NumberEntriesReadAsItemsAddedOneByOne)
{
    Panel& p = Panel::get();
    ComboBox* c = ComboBox::Acquire();
    c->addItem(ComboBoxItem::newItem(L"first", -5));
    c->addNumbers(1970, 3000, false);
    c->addNumbers(0, 59, true);
    c->addNumbers(3, 2, false); // an empty run adds nothing
    c->addItem(ComboBoxItem::newItem(L"last", -6));
    ASSERT_EQ(1 + 1031 + 60 + 1, c->getItemCount());
    EXPECT_STREQ(L"2011", c->getItem(42)->getText());
    EXPECT_EQ(2011, c->getItem(42)->getValue());
    EXPECT_STREQ(L"07", c->getItem(1 + 1031 + 7)->getText());
    EXPECT_EQ(7, c->getItem(1 + 1031 + 7)->getValue());
    EXPECT_EQ(-6, c->getItem(c->getItemCount() - 1)->getValue());
    EXPECT_EQ(nullptr, c->getItem(c->getItemCount()));
    c->setSelection(1 + 1031 + 9, false);
    c->setFixedWidth(60);
    p.add(c);
    const std::vector<COLORREF> face = printed(windowAt(p, c));

    HWND control = testwidgets::handleOf(c);
    p.settle();
    ASSERT_EQ(c->getItemCount(), SendMessageW(control, CB_GETCOUNT, 0, 0));
    EXPECT_EQ(L"first", nativeText(c, 0));
    EXPECT_EQ(L"1970", nativeText(c, 1));
    EXPECT_EQ(L"3000", nativeText(c, 1031));
    EXPECT_EQ(L"00", nativeText(c, 1032));
    EXPECT_EQ(L"last", nativeText(c, c->getItemCount() - 1));
    EXPECT_EQ(1 + 1031 + 9, SendMessageW(control, CB_GETCURSEL, 0, 0));
    EXPECT_TRUE(face == printed(control));
    c->clear();
    EXPECT_EQ(0, c->getItemCount());
    EXPECT_EQ(0, SendMessageW(control, CB_GETCOUNT, 0, 0));
}
