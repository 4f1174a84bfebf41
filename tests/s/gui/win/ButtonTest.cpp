// Push buttons driven through the native BUTTON control: clicks, toggles, auto-repeat
// on real timers, the default style, hit testing, keys and the size grip.
#include <gtest/gtest.h>

#include <chrono>
#include <mutex>
#include <vector>

#include "WidgetTestSupport.h"
#include "s/gui/win/Button.h"

using s::gui::win::Button;
using testgui::Recorder;
using testwidgets::Panel;

namespace
{

// Records the toggle state seen by each event.
struct ToggleProbe : s::gui::events::IEventListener
{
    Button* button = nullptr;
    std::vector<std::pair<int, bool>> seen;
    void handleEvent(void*, int kind) override { seen.emplace_back(kind, button->isToggled()); }
};

// Milliseconds since `start` of each event, thread-safe.
struct Stopwatch : s::gui::events::IEventListener
{
    std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();
    std::mutex lock;
    std::vector<long> at;
    void handleEvent(void*, int) override
    {
        std::lock_guard<std::mutex> g(lock);
        at.push_back(static_cast<long>(
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count()));
    }
    std::vector<long> copy()
    {
        std::lock_guard<std::mutex> g(lock);
        return at;
    }
    void restart()
    {
        std::lock_guard<std::mutex> g(lock);
        at.clear();
        start = std::chrono::steady_clock::now();
    }
};

Button* makeButton(const wchar_t* text)
{
    Button* b = Button::Acquire();
    b->setText(text);
    return b;
}

} // namespace

TEST(Button, ClickFiresClickedThenAfterClickWithTheToggleUpdated)
{
    Panel& p = Panel::get();
    Button* b = p.add(makeButton(L"Toggle"));
    ToggleProbe probe;
    probe.button = b;
    b->addClickListener(&probe);
    b->addAfterClickListener(&probe);
    b->setToggle(true);
    SendMessageW(testwidgets::handleOf(b), BM_CLICK, 0, 0);
    ASSERT_EQ(2u, probe.seen.size());
    EXPECT_EQ(std::make_pair(1, false), probe.seen[0]);
    EXPECT_EQ(std::make_pair(2, true), probe.seen[1]);
    SendMessageW(testwidgets::handleOf(b), BM_CLICK, 0, 0);
    EXPECT_FALSE(b->isToggled());
    // A toggle that may not be released stays on and lets clicks pass through.
    b->setToggleLocked(true);
    SendMessageW(testwidgets::handleOf(b), BM_CLICK, 0, 0);
    SendMessageW(testwidgets::handleOf(b), BM_CLICK, 0, 0);
    EXPECT_TRUE(b->isToggled());
    EXPECT_EQ(HTTRANSPARENT, SendMessageW(testwidgets::handleOf(b), WM_NCHITTEST, 0, 0));
}

TEST(Button, TakingNoClicksIsTransparentToHits)
{
    Panel& p = Panel::get();
    Button* b = p.add(makeButton(L"Ghost"));
    HWND h = testwidgets::handleOf(b);
    RECT r;
    GetWindowRect(h, &r);
    LPARAM at = MAKELPARAM(r.left + 3, r.top + 3);
    EXPECT_NE(HTTRANSPARENT, SendMessageW(h, WM_NCHITTEST, 0, at));
    b->setTakesClicks(false);
    EXPECT_EQ(HTTRANSPARENT, SendMessageW(h, WM_NCHITTEST, 0, at));
}

TEST(Button, AutoRepeatFiresAtPressThenEvery100msAfter500ms)
{
    Panel& p = Panel::get();
    Button* b = p.add(makeButton(L"Repeat"));
    b->setAutoRepeat(true);
    Stopwatch watch;
    b->addPressListener(&watch);
    HWND h = testwidgets::handleOf(b);
    RECT r;
    GetWindowRect(h, &r);
    std::vector<long> early, held, after;
    // A held button stops when it loses the capture or the pointer leaves it, as it must;
    // other test programs sharing the display may take the foreground meanwhile, so a
    // disturbed hold is tried again.
    for (int attempt = 0; attempt < 5; ++attempt)
    {
        // The pointer is put on the button as a user's would be: while the button holds
        // the capture, the platform reports the real pointer.
        SetCursorPos(r.left + 4, r.top + 4);
        p.settle();
        watch.restart();
        PostMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
        Sleep(400);
        early = watch.copy();
        Sleep(800);
        GUITHREADINFO gui{};
        gui.cbSize = sizeof(gui);
        GetGUIThreadInfo(GetWindowThreadProcessId(h, nullptr), &gui);
        POINT pointer{};
        GetCursorPos(&pointer);
        const bool undisturbed = gui.hwndCapture == h && PtInRect(&r, pointer);
        PostMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
        p.settle();
        held = watch.copy();
        Sleep(400);
        after = watch.copy();
        if (undisturbed)
            break;
    }

    ASSERT_EQ(1u, early.size()); // the press only: nothing in the first 500 ms
    EXPECT_LT(early[0], 300);
    ASSERT_GE(held.size(), 3u);
    EXPECT_GE(held[1], 500); // the first repeat comes after the delay
    // About six repeats in the 1200 ms hold (600 ... 1100 ms); generous for a busy machine.
    EXPECT_LE(held.size(), 8u);
    for (size_t i = 2; i < held.size(); ++i)
        EXPECT_GE(held[i] - held[i - 1], 50) << i;
    EXPECT_EQ(held.size(), after.size()); // released: no more
}

TEST(Button, AutoRepeatPausesWhileThePointerIsOutside)
{
    Panel& p = Panel::get();
    Button* b = p.add(makeButton(L"Repeat"));
    b->setAutoRepeat(true);
    Stopwatch watch;
    b->addPressListener(&watch);
    HWND h = testwidgets::handleOf(b);
    PostMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
    PostMessageW(h, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(2000, 2000)); // dragged outside
    Sleep(1000);
    EXPECT_EQ(1u, watch.copy().size());
    PostMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(2000, 2000));
    p.settle();
}

TEST(Button, DefaultStyleIsSetOnTheWindowsThread)
{
    Panel& p = Panel::get();
    Button* b = p.add(makeButton(L"OK"));
    HWND h = testwidgets::handleOf(b);
    EXPECT_EQ(BS_PUSHBUTTON, GetWindowLongW(h, GWL_STYLE) & BS_TYPEMASK);
    b->setDefault(true);
    EXPECT_EQ(BS_DEFPUSHBUTTON, GetWindowLongW(h, GWL_STYLE) & BS_TYPEMASK);
    EXPECT_TRUE(b->isDefault());
    b->setDefault(false);
    EXPECT_EQ(BS_PUSHBUTTON, GetWindowLongW(h, GWL_STYLE) & BS_TYPEMASK);
}

TEST(Button, KeysReachTheWindow)
{
    Panel& p = Panel::get();
    Button* b = p.add(makeButton(L"Keys"));
    Recorder& keys = testwidgets::windowEvents(p, s::gui::IWindow::EVENT_KEY_DOWN);
    SendMessageW(testwidgets::handleOf(b), WM_KEYDOWN, 'K', 0);
    ASSERT_EQ(1u, keys.kinds.size());
    EXPECT_EQ('K', p.window->getLastKey());
}

TEST(Button, SizeGripResizesTheTopWindow)
{
    Panel& p = Panel::get();
    Button* grip = Button::Acquire();
    grip->setImage(Button::GLYPH_RESIZER);
    grip->setFixedWidth(16);
    grip->setFixedHeight(16);
    p.add(grip);
    HWND h = testwidgets::handleOf(grip);
    int w0 = p.window->getWidth(), h0 = p.window->getHeight();
    SetCursorPos(300, 300);
    SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(8, 8));
    SetCursorPos(330, 320);
    SendMessageW(h, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(38, 28));
    SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(38, 28));
    POINT now;
    GetCursorPos(&now);
    if (now.x != 330 || now.y != 320)
        GTEST_SKIP() << "the pointer cannot be moved on this display";
    EXPECT_EQ(w0 + 30, p.window->getWidth());
    EXPECT_EQ(h0 + 20, p.window->getHeight());
    EXPECT_EQ(16, grip->getMinWidth());
}

TEST(Button, SizeFromTextAndFixedSizes)
{
    Button* b = makeButton(L"Apply");
    int w = b->getMinWidth(), h = b->getMinHeight();
    int tw = 0, th = 0;
    b->getFont()->measure(L"Apply", &tw, &th);
    EXPECT_GT(w, tw); // the face's margins around the text
    EXPECT_GT(h, th);
    b->setFixedWidth(170);
    EXPECT_EQ(170, b->getMinWidth());
    EXPECT_EQ(170, b->getMaxWidth());
    b->Release();
}

TEST(Button, WheelTurnedOutsideGoesToTheWindow)
{
    Panel& p = Panel::get();
    Button* b = p.add(makeButton(L"Wheel"));
    Recorder& wheel = testwidgets::windowEvents(p, s::gui::IWindow::EVENT_WHEEL);
    RECT r;
    GetWindowRect(testwidgets::handleOf(b), &r);
    SendMessageW(testwidgets::handleOf(b), WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA),
                 MAKELPARAM(r.right + 40, r.bottom + 40));
    ASSERT_EQ(1u, wheel.kinds.size());
    EXPECT_LT(p.window->getWheelLines(), 0);
}
