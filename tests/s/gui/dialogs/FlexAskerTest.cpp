// The confirmation dialog answered as a user answers it: its buttons, Tab and Enter, the
// check box, and the close box.
#include <gtest/gtest.h>

#include <windows.h>

#include <thread>

#include "s/app/win/AppBase.h"
#include "s/app/win/AppWindow.h"
#include "s/gui/GuiTestSupport.h"
#include "s/gui/dialogs/FlexAsker.h"
#include "s/gui/win/Button.h"
#include "s/gui/win/CheckBox.h"
#include "s/gui/win/Toolkit.h"
#include "s/reg/RegTestKey.h"

using s::app::win::AppBase;
using s::app::win::AppWindow;
using s::gui::dialogs::FlexAsker;
using s::gui::win::Window;

namespace
{

HWND handleOf(s::gui::IComponent* c)
{
    return s::gui::win::Toolkit::handleOf(c);
}

// Runs ask on a thread of its own; `answer` acts on the shown dialog as the user would.
struct Asking
{
    regtest::TestKey key;
    AppBase* app = AppBase::Acquire();
    AppWindow* settings = AppWindow::Acquire();
    testgui::TestWindow owner;
    FlexAsker* asker = FlexAsker::Acquire();
    bool result = true;
    bool dontAskAgain = false;
    bool ownerDisabledWhileAsked = false;
    RECT shownRect{};

    Asking()
    {
        EXPECT_TRUE(app->init(nullptr, key.Path().c_str()));
        settings->init(app, L"FlexAskerWindow", app->getSoftwareType(), 400, 200, Window::ACTION_CLOSE,
                       app->getSkinner(), nullptr);
        asker->bind(settings);
        owner->setBounds(100, 100, 500, 400);
        owner->setVisible(true, false);
        testgui::settle(owner.handle());
    }
    ~Asking()
    {
        asker->Release();
        settings->Release();
        app->Release();
    }
    template <class Act> void run(Act act)
    {
        std::thread asking([this] {
            result = asker->ask(owner.window, L"Confirm", L"Change the times of 3 items?", &dontAskAgain);
        });
        Window* shown = nullptr;
        for (int i = 0; i < 500 && !(shown = asker->getWindow()); ++i)
            Sleep(10);
        ASSERT_NE(shown, nullptr);
        testgui::settle(shown->getHandle());
        ownerDisabledWhileAsked = !IsWindowEnabled(owner.handle());
        GetWindowRect(shown->getHandle(), &shownRect);
        act(shown);
        asking.join();
    }
};

} // namespace

TEST(FlexAsker, ClosedByItsCloseBoxAnswersFalse)
{
    Asking a;
    a.run([](Window* shown) { SendMessageW(shown->getHandle(), WM_CLOSE, 0, 0); });
    EXPECT_FALSE(a.result);
    EXPECT_FALSE(a.dontAskAgain);
    EXPECT_TRUE(a.ownerDisabledWhileAsked);
    EXPECT_TRUE(IsWindowEnabled(a.owner.handle()));
    EXPECT_EQ(a.asker->getWindow(), nullptr);
    // 375 wide, centred over the owner (100, 100, 500 × 400).
    EXPECT_EQ(a.shownRect.right - a.shownRect.left, FlexAsker::WIDTH);
    EXPECT_NEAR((a.shownRect.left + a.shownRect.right) / 2, 350, 2);
    EXPECT_NEAR((a.shownRect.top + a.shownRect.bottom) / 2, 300, 2);
}

TEST(FlexAsker, TheButtonsAnswerAndTheCheckBoxIsReturned)
{
    {
        Asking a;
        a.run([&a](Window*) {
            SendMessageW(handleOf(a.asker->getCheckBox()), BM_CLICK, 0, 0);
            SendMessageW(handleOf(a.asker->getFirstButton()), BM_CLICK, 0, 0);
        });
        EXPECT_TRUE(a.result);
        EXPECT_TRUE(a.dontAskAgain);
    }
    {
        Asking a;
        a.run([&a](Window*) { SendMessageW(handleOf(a.asker->getSecondButton()), BM_CLICK, 0, 0); });
        EXPECT_FALSE(a.result);
        EXPECT_FALSE(a.dontAskAgain);
    }
}

TEST(FlexAsker, EnterAnswersWithTheDefaultButtonWhichTabMoves)
{
    {
        Asking a;
        a.run([&a](Window*) {
            HWND first = handleOf(a.asker->getFirstButton());
            SendMessageW(first, WM_KEYDOWN, VK_RETURN, 0);
        });
        EXPECT_TRUE(a.result);
    }
    {
        Asking a;
        a.run([&a](Window*) {
            HWND first = handleOf(a.asker->getFirstButton());
            SendMessageW(first, WM_KEYDOWN, VK_TAB, 0);
            EXPECT_TRUE(a.asker->getSecondButton()->isDefault());
            EXPECT_FALSE(a.asker->getFirstButton()->isDefault());
            SendMessageW(first, WM_KEYDOWN, VK_RETURN, 0);
        });
        EXPECT_FALSE(a.result);
    }
}
