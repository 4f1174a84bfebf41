// The confirmation dialog answered as a user answers it: its buttons, Tab and Enter, the
// check box, and the close box.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

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
    const wchar_t* title = L"Confirm";
    const wchar_t* question = L"Change the times of 3 items?";
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
            result = asker->ask(owner.window, title, question, &dontAskAgain);
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

// The texts an outside driver reads from the shown dialog: its title, then the window
// text of every window inside it (drawn labels included).
std::vector<std::wstring> shownTexts(HWND top)
{
    std::vector<std::wstring> texts;
    auto read = [](HWND h) {
        wchar_t text[256] = {};
        GetWindowTextW(h, text, 256);
        return std::wstring(text);
    };
    texts.push_back(read(top));
    struct Walk
    {
        static BOOL CALLBACK each(HWND h, LPARAM into)
        {
            wchar_t text[256] = {};
            GetWindowTextW(h, text, 256);
            if (text[0])
                reinterpret_cast<std::vector<std::wstring>*>(into)->push_back(text);
            return TRUE;
        }
    };
    EnumChildWindows(top, &Walk::each, reinterpret_cast<LPARAM>(&texts));
    return texts;
}

// Asked without a title or question, the dialog shows the pack's texts in the process's
// language, every one readable through the platform.
void expectPackTexts(const std::vector<std::wstring>& expected)
{
    Asking a;
    a.title = nullptr;
    a.question = nullptr;
    std::vector<std::wstring> texts;
    a.run([&](Window* shown) {
        texts = shownTexts(shown->getHandle());
        SendMessageW(handleOf(a.asker->getSecondButton()), BM_CLICK, 0, 0);
    });
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(expected[0], texts[0]) << "the title";
    for (size_t i = 1; i < expected.size(); ++i)
        EXPECT_NE(std::find(texts.begin(), texts.end(), expected[i]), texts.end()) << i;
}

} // namespace

TEST(FlexAsker, AskedWithoutTextsItShowsThePacksTexts)
{
    expectPackTexts({L"Confirmation", L"Do you want to continue?", L"Yes", L"No", L"Do not ask again"});
}

// Its own ctest entries, one per language (LC_ALL).
TEST(FlexAskerLanguageEnv, AskedWithoutTextsItShowsThePacksTextsInTheUsersLanguage)
{
    const char* locale = std::getenv("LC_ALL");
    std::string language = locale ? std::string(locale).substr(0, 2) : "";
    if (language == "de")
        expectPackTexts({L"Bestätigung", L"Möchten Sie fortfahren?", L"Ja", L"Nein", L"Nicht mehr fragen"});
    else if (language == "ja")
        expectPackTexts({L"確認", L"続行しますか？", L"はい", L"いいえ", L"今後は確認しない"});
    else
        GTEST_SKIP() << "run by its own ctest entries";
}

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
