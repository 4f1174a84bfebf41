// Text fields driven through the native EDIT control: typing, the program's texts,
// read-only fields, digits only, length limits, focus loss and the colours answered.
#include <gtest/gtest.h>

#include <thread>

#include "WidgetTestSupport.h"
#include "s/gui/win/TextField.h"

using s::gui::win::TextField;
using testgui::Recorder;
using testwidgets::Panel;

namespace
{

void type(TextField* f, const wchar_t* keys)
{
    HWND h = testwidgets::handleOf(f);
    for (const wchar_t* k = keys; *k; ++k)
        SendMessageW(h, WM_CHAR, *k, 1);
}

// What the field answers its parent's WM_CTLCOLOREDIT with: background and text colour.
void coloursOf(TextField* f, COLORREF* background, COLORREF* text)
{
    HWND h = testwidgets::handleOf(f);
    HDC dc = GetDC(h);
    HBRUSH brush = reinterpret_cast<HBRUSH>(
        SendMessageW(GetParent(h), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(h)));
    EXPECT_NE(nullptr, brush);
    *background = GetBkColor(dc);
    *text = GetTextColor(dc);
    ReleaseDC(h, dc);
}

} // namespace

// A run's worker and the window's own handlers may set a field's text without notifying
// at the same time: nothing fires, and afterwards the user's typing still does.
TEST(TextField, QuietTextsFromTwoThreadsAtOnceKeepTheUsersTypingFiring)
{
    Panel& p = Panel::get();
    TextField* f = p.add(TextField::Acquire());
    Recorder rec;
    f->addChangeListener(&rec);
    const wchar_t* texts[] = {L"2026", L"12", L"11"};
    testwidgets::fromTwoThreadsAtOnce(p, [&](int round) { f->setText(texts[round % 3], false); }, 1000);
    EXPECT_TRUE(rec.kinds.empty());
    f->setText(L"", false);
    type(f, L"7");
    EXPECT_STREQ(L"7", f->getText());
    EXPECT_EQ((std::vector<int>{1}), rec.kinds);
}

TEST(TextField, TypingFiresChangedAndTheProgramsTextOnlyWhenAsked)
{
    Panel& p = Panel::get();
    TextField* f = p.add(TextField::Acquire());
    Recorder rec;
    f->addChangeListener(&rec);
    type(f, L"ab");
    EXPECT_STREQ(L"ab", f->getText());
    EXPECT_EQ((std::vector<int>{1, 1}), rec.kinds);
    f->setText(L"quiet", false);
    EXPECT_EQ(2u, rec.kinds.size());
    f->setText(L"loud", true);
    EXPECT_EQ(3u, rec.kinds.size());
    std::thread worker([&] { f->setText(L"from the worker", false); });
    worker.join();
    EXPECT_STREQ(L"from the worker", f->getText());
    wchar_t shown[32] = {};
    GetWindowTextW(testwidgets::handleOf(f), shown, 32);
    EXPECT_STREQ(L"from the worker", shown);
    EXPECT_EQ(3u, rec.kinds.size());
}

TEST(TextField, ReadOnlyIgnoresTypingButStillReportsFocusLoss)
{
    Panel& p = Panel::get();
    TextField* name = p.add(TextField::Acquire());
    TextField* other = p.add(TextField::Acquire());
    name->setText(L"file.txt", false);
    name->setEditable(false);
    EXPECT_FALSE(name->isEditable());
    Recorder rec;
    name->addFocusLostListener(&rec);
    name->addChangeListener(&rec);
    type(name, L"zz");
    EXPECT_STREQ(L"file.txt", name->getText());
    SetForegroundWindow(p.handle());
    name->selectAll();
    p.settle();
    DWORD start = 0, end = 0;
    SendMessageW(testwidgets::handleOf(name), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(0u, start);
    EXPECT_EQ(8u, end);
    other->selectAll(); // the focus moves on
    p.settle();
    EXPECT_EQ((std::vector<int>{3}), rec.kinds);
}

TEST(TextField, DigitsOnlyAndLengthLimit)
{
    Panel& p = Panel::get();
    TextField* f = TextField::Acquire();
    f->setNumbersOnly(true);
    f->setMaxLength(3);
    p.add(f);
    type(f, L"1a2b345");
    EXPECT_STREQ(L"123", f->getText());
}

TEST(TextField, ColoursFollowTheEditableStateAndTheFont)
{
    Panel& p = Panel::get();
    TextField* f = p.add(TextField::Acquire());
    f->setTextColour(200, 0, 0);
    COLORREF background = 0, text = 0;
    coloursOf(f, &background, &text);
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), background);
    EXPECT_EQ(RGB(200, 0, 0), text);
    f->setBackgroundColour(255, 255, 200, false);
    coloursOf(f, &background, &text);
    EXPECT_EQ(RGB(255, 255, 200), background);
    f->setEditable(false);
    coloursOf(f, &background, &text);
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), background);
}

TEST(TextField, SizeDoesNotFollowTheText)
{
    TextField* f = TextField::Acquire();
    int w = f->getMinWidth(), h = f->getMinHeight();
    f->setText(L"a rather long text that would not fit into forty pixels", false);
    EXPECT_EQ(w, f->getMinWidth());
    EXPECT_EQ(h, f->getMinHeight());
    EXPECT_EQ(TextField::MIN_WIDTH, w);
    f->Release();
}
