// The component model on real native windows under a top-level window.
#include <gtest/gtest.h>

#include "FakeWidget.h"
#include "GuiTestSupport.h"
#include "s/gui/win/Box.h"

using s::gui::win::Box;
using s::gui::win::Colours;
using testgui::FakeWidget;
using testgui::TestWindow;

TEST(Component, ResumeLayoutAppliesPendingGeometryOnce)
{
    TestWindow w;
    FakeWidget* child = FakeWidget::Make(10, 10);
    w->add(child);
    ASSERT_NE(nullptr, child->getHandle());
    child->suspendLayout();
    child->moves = 0;
    child->setPosition(3, 4);
    child->setSize(20, 30);
    child->setOrigin(1, 1);
    EXPECT_EQ(0, child->moves);
    child->resumeLayout();
    EXPECT_EQ(1, child->moves);
    RECT r;
    GetWindowRect(child->getHandle(), &r);
    MapWindowPoints(nullptr, w.handle(), reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(4, r.left);
    EXPECT_EQ(5, r.top);
    EXPECT_EQ(20, r.right - r.left);
    child->resumeLayout(); // nothing pending
    EXPECT_EQ(1, child->moves);
}

TEST(Component, HidingParksAwayAndShowingLaysOutAgain)
{
    TestWindow w;
    FakeWidget* first = FakeWidget::Make(50, 20);
    FakeWidget* second = FakeWidget::Make(50, 20);
    w->add(first);
    w->add(second);
    EXPECT_EQ(20, second->getY());
    second->setVisible(false, true);
    EXPECT_EQ(-10000, second->getX());
    EXPECT_EQ(10000, second->getY());
    EXPECT_FALSE(IsWindowVisible(second->getHandle()));
    second->setVisible(true, true);
    EXPECT_EQ(0, second->getX());
    EXPECT_EQ(20, second->getY());
}

TEST(Component, HiddenChildStaysHiddenThroughLayouts)
{
    TestWindow w;
    FakeWidget* child = FakeWidget::Make(50, 20);
    w->add(child);
    w->setVisible(true, false);
    child->setVisible(false, true);
    w->doLayout(); // places the hidden child like the others
    EXPECT_FALSE(IsWindowVisible(child->getHandle()));
}

TEST(Component, SetSizeClampedMinimumWins)
{
    FakeWidget* a = FakeWidget::Make(10, 10, 40, 40);
    a->setSizeClamped(5, 5);
    EXPECT_EQ(10, a->getWidth());
    EXPECT_EQ(10, a->getHeight());
    a->setSizeClamped(100, 20);
    EXPECT_EQ(40, a->getWidth());
    EXPECT_EQ(20, a->getHeight());
    a->setSizeLimits(10, 10, 6, 6); // maximum below the minimum
    a->setSizeClamped(100, 100);
    EXPECT_EQ(10, a->getWidth());
    EXPECT_EQ(10, a->getHeight());
    a->Release();
}

TEST(Component, CentreInParent)
{
    Box* box = Box::Acquire();
    box->setLayoutManager(nullptr);
    box->setSize(200, 100);
    FakeWidget* wide = FakeWidget::Make(0, 0);
    FakeWidget* small = FakeWidget::Make(0, 0);
    box->add(wide);
    box->add(small);
    wide->setSize(300, 20);
    small->setSize(51, 21);
    wide->centreInParent();
    small->centreInParent();
    EXPECT_EQ(0, wide->getX());
    EXPECT_EQ(40, wide->getY());
    EXPECT_EQ(74, small->getX()); // (200 − 51) / 2 rounded down
    EXPECT_EQ(39, small->getY());
    box->Release();
}

TEST(Component, BackgroundColours)
{
    EXPECT_EQ(Colours::pack(128, 128, 128), Colours::tintOf(Colours::pack(0, 0, 0)));
    EXPECT_EQ(Colours::pack(255, 255, 255), Colours::tintOf(Colours::pack(255, 255, 255)));
    EXPECT_EQ(Colours::pack(128, 255, 192), Colours::tintOf(Colours::pack(0, 255, 128)));
    FakeWidget* c = FakeWidget::Make(1, 1);
    c->setBackgroundTint(false);
    EXPECT_EQ(Colours::tintOf(GetSysColor(COLOR_INACTIVECAPTIONTEXT)), c->getBackgroundColour());
    c->setTransparent(false);
    c->setBackgroundColour(1, 2, 3, false);
    EXPECT_FALSE(c->isTransparent());
    EXPECT_EQ(0x030201u, c->getBackgroundColour());
    c->setBackgroundDefault(false);
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), c->getBackgroundColour());
    c->Release();
}

TEST(Component, RemovingAStrangerChangesNothing)
{
    Box* box = Box::Acquire();
    FakeWidget* a = FakeWidget::Make(1, 1);
    FakeWidget* b = FakeWidget::Make(1, 1);
    FakeWidget* stranger = FakeWidget::Make(1, 1);
    box->add(a);
    box->add(b);
    box->remove(stranger, true);
    ASSERT_EQ(2, box->getChildCount());
    EXPECT_EQ(a, box->getChild(0));
    EXPECT_EQ(b, box->getChild(1));
    box->remove(a, true);
    ASSERT_EQ(1, box->getChildCount());
    EXPECT_EQ(b, box->getChild(0));
    stranger->Release();
    box->Release();
}

TEST(Component, ContainsScreenPointOnlyWhileVisible)
{
    TestWindow w;
    FakeWidget* child = FakeWidget::Make(50, 20);
    w->add(child);
    w->setVisible(true, false);
    int sx = child->getScreenX(), sy = child->getScreenY();
    EXPECT_TRUE(child->containsScreenPoint(sx + 5, sy + 5));
    EXPECT_TRUE(child->containsScreenPoint(sx + 50, sy + 20)); // both bounds inclusive
    EXPECT_FALSE(child->containsScreenPoint(sx + 51, sy + 5));
    child->setVisible(false, true);
    EXPECT_FALSE(child->containsScreenPoint(sx + 5, sy + 5));
}

TEST(Component, NativeWindowsBelongToTheWindowThread)
{
    TestWindow w;
    Box* box = Box::Acquire();
    FakeWidget* inner = FakeWidget::Make(10, 10);
    box->add(inner); // before the box has a native window
    w->add(box);     // from this (test) thread
    ASSERT_NE(nullptr, box->getHandle());
    ASSERT_NE(nullptr, inner->getHandle());
    DWORD uiThread = GetWindowThreadProcessId(w.handle(), nullptr);
    EXPECT_NE(GetCurrentThreadId(), uiThread);
    EXPECT_EQ(uiThread, GetWindowThreadProcessId(box->getHandle(), nullptr));
    EXPECT_EQ(uiThread, GetWindowThreadProcessId(inner->getHandle(), nullptr));
    EXPECT_EQ(box->getHandle(), GetParent(inner->getHandle()));
    EXPECT_EQ(static_cast<s::gui::IWindow*>(w.window), inner->getWindow());
    // Attached straight through setParent from this thread: still made by the UI thread.
    FakeWidget* direct = FakeWidget::Make(10, 10);
    direct->setParent(box);
    ASSERT_NE(nullptr, direct->getHandle());
    EXPECT_EQ(uiThread, GetWindowThreadProcessId(direct->getHandle(), nullptr));
    EXPECT_EQ(box->getHandle(), GetParent(direct->getHandle()));
    direct->Release();
    HWND innerHandle = inner->getHandle();
    w->remove(box, true); // destroys both native windows on the UI thread
    EXPECT_FALSE(IsWindow(innerHandle));
}

TEST(Component, EventDispatchCallsListenersAddedDuringThePass)
{
    struct Adder : s::gui::events::IEventListener
    {
        Box* box;
        testgui::Recorder* late;
        bool added = false;
        void handleEvent(void*, int) override
        {
            if (!added)
            {
                added = true;
                box->addLayoutListener(late);
            }
        }
    };
    Box* box = Box::Acquire();
    testgui::Recorder late;
    Adder adder;
    adder.box = box;
    adder.late = &late;
    box->addLayoutListener(&adder);
    box->doLayout();
    ASSERT_EQ(1u, late.kinds.size());
    EXPECT_EQ(Box::EVENT_LAID_OUT, late.kinds[0]);
    EXPECT_EQ(static_cast<s::gui::IComponent*>(box), late.lastSource);
    box->Release();
}

namespace
{
// A widget whose native window can never be made.
class Unmakeable : public FakeWidget
{
    S_CLASS_ID(L"testgui_Unmakeable")
    S_POOLED(Unmakeable)
  protected:
    bool createNative(HWND) override { return false; }
};
} // namespace

TEST(Component, CreationFailureIsReportedAndTheComponentStaysUsable)
{
    TestWindow w;
    {
        std::lock_guard<std::mutex> guard(testgui::MessageBoxes::lock());
        testgui::MessageBoxes::texts().clear();
    }
    Unmakeable* c = Unmakeable::Acquire();
    c->setSizeLimits(30, 10, -1, -1);
    w->add(c);
    EXPECT_EQ(nullptr, c->getHandle());
    EXPECT_EQ(30, c->getWidth()); // geometry is still stored
    {
        std::lock_guard<std::mutex> guard(testgui::MessageBoxes::lock());
        ASSERT_EQ(1u, testgui::MessageBoxes::texts().size());
        EXPECT_EQ(L"Error!|Window Creation Failed!", testgui::MessageBoxes::texts()[0]);
    }
    w->remove(c, true);
}

TEST(BoxInput, WheelGoesToTheBoxThatTakesItElseToTheWindow)
{
    TestWindow w;
    testgui::Recorder windowWheel, boxWheel;
    w->addListener(s::gui::IWindow::EVENT_WHEEL, &windowWheel);
    Box* plain = Box::Acquire();
    plain->add(FakeWidget::Make(100, 40));
    Box* taker = Box::Acquire();
    taker->add(FakeWidget::Make(100, 40));
    taker->addWheelListener(&boxWheel);
    w->add(plain);
    w->add(taker);
    w->setBounds(50, 50, 300, 200);
    w->setVisible(true, false);
    POINT inTaker{5, 5}, inPlain{5, 5};
    ClientToScreen(taker->getHandle(), &inTaker);
    ClientToScreen(plain->getHandle(), &inPlain);
    // Towards the user: negative lines.
    SendMessageW(plain->getHandle(), WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA),
                 MAKELPARAM(inPlain.x, inPlain.y));
    EXPECT_EQ(1u, windowWheel.kinds.size());
    EXPECT_LT(w->getWheelLines(), 0);
    SendMessageW(w.handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(inTaker.x, inTaker.y));
    EXPECT_EQ(1u, windowWheel.kinds.size());
    ASSERT_EQ(1u, boxWheel.kinds.size());
    EXPECT_EQ(Box::EVENT_WHEEL, boxWheel.kinds[0]);
    EXPECT_GT(taker->getWheelLines(), 0);
}

TEST(BoxInput, ClickListenersTakeTheLeftButton)
{
    TestWindow w;
    testgui::Recorder clicks, windowDown;
    w->addListener(s::gui::IWindow::EVENT_LEFT_DOWN, &windowDown);
    Box* box = Box::Acquire();
    box->add(FakeWidget::Make(50, 20));
    box->addClickListener(&clicks);
    w->add(box);
    SendMessageW(box->getHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    ASSERT_EQ(1u, clicks.kinds.size());
    EXPECT_EQ(Box::EVENT_CLICKED, clicks.kinds[0]);
    EXPECT_EQ(static_cast<s::gui::IComponent*>(box), clicks.lastSource);
    EXPECT_TRUE(windowDown.kinds.empty());
}

namespace
{
// A push button of the platform, wrapped the way the widgets wrap their controls.
class FakeButton : public FakeWidget
{
    S_CLASS_ID(L"testgui_FakeButton")
    S_POOLED(FakeButton)

  public:
    int clicks = 0;
    bool handleMessage(LRESULT* result, UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == s::gui::win::MSG_REFLECT_CLICKED)
        {
            ++clicks;
            *result = 0;
            return true;
        }
        return FakeWidget::handleMessage(result, message, wParam, lParam);
    }

  protected:
    bool createNative(HWND parent) override
    {
        handle_ = s::gui::win::Toolkit::createControl(this, 0, L"BUTTON", L"Press", WS_CHILD | BS_PUSHBUTTON,
                                                      0, 0, 0, 0, parent, nullptr);
        return handle_ != nullptr;
    }
};
} // namespace

TEST(Relay, AControlHearsItsOwnNotificationsThroughItsParent)
{
    TestWindow w;
    Box* box = Box::Acquire();
    FakeButton* button = FakeButton::Acquire();
    button->setSizeLimits(80, 24, -1, -1);
    box->add(button);
    w->add(box);
    ASSERT_NE(nullptr, button->getHandle());
    wchar_t cls[32];
    GetClassNameW(button->getHandle(), cls, 32);
    EXPECT_EQ(0, lstrcmpiW(L"Button", cls));
    // What a button tells its parent when clicked comes back to the button.
    SendMessageW(box->getHandle(), WM_COMMAND, MAKEWPARAM(0, BN_CLICKED),
                 reinterpret_cast<LPARAM>(button->getHandle()));
    EXPECT_EQ(1, button->clicks);
    SendMessageW(button->getHandle(), BM_CLICK, 0, 0); // the platform's own click
    EXPECT_EQ(2, button->clicks);
    // A code without a relay goes to default processing.
    SendMessageW(box->getHandle(), WM_COMMAND, MAKEWPARAM(0, 0x1234),
                 reinterpret_cast<LPARAM>(button->getHandle()));
    EXPECT_EQ(2, button->clicks);
}
