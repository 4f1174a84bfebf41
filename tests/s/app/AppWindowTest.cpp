// The main window's settings against a registry store of the test's own.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "s/app/win/AppBase.h"
#include "s/app/win/AppWindow.h"
#include "s/gui/GuiTestSupport.h"
#include "s/gui/win/Window.h"
#include "s/map/IMappedData.h"
#include "s/app/AppTestSupport.h"
#include "s/reg/RegTestKey.h"

using s::app::IAppBase;
using s::app::win::AppBase;
using s::app::win::AppWindow;
using s::gui::win::Window;

using apptest::Text;

namespace {

// Application services and the main window's settings on a key of the test's own.
struct MainWindowSettings
{
    regtest::TestKey key;
    AppBase* app = AppBase::Acquire();
    AppWindow* main = AppWindow::Acquire();

    void start()
    {
        EXPECT_TRUE(app->init(nullptr, key.Path().c_str()));
        main->init(app, L"MainWindow", app->getSoftwareType(), 600, 550, Window::ACTION_CLOSE, app->getSkinner(),
                   nullptr);
    }
    void writeView(const wchar_t* name, const wchar_t* text)
    {
        key.Write(L"SaveData\\MainWindow\\View", name, REG_SZ, text, DWORD((wcslen(text) + 1) * 2));
    }
    ~MainWindowSettings()
    {
        main->Release();
        app->Release();
    }
};

} // namespace

TEST(AppWindow, FirstStartGivesTheDefaults)
{
    MainWindowSettings s;
    s.start();
    EXPECT_STREQ(L"MainWindow", s.main->getName());
    EXPECT_STREQ(L"MainWindow\\View", s.main->getSectionPath(L"View"));
    EXPECT_FALSE(s.main->hasSavedPosition());
    EXPECT_EQ(600, s.main->getWidth());
    EXPECT_EQ(550, s.main->getHeight());
    EXPECT_TRUE(s.main->getKeepOnTop());
    EXPECT_TRUE(s.main->getEasyDrag());
    EXPECT_FALSE(s.main->getMaximized());
    EXPECT_EQ(Window::ACTION_CLOSE, s.main->getMiddleClickAction());
    EXPECT_TRUE(s.main->isMiddleClickClose());
    EXPECT_EQ(500000, s.main->getTitleTextId());
    EXPECT_EQ(500010, s.main->getVersionTextId());
    EXPECT_EQ(s.app->getLocalizer(), s.main->getLocalizer());
    EXPECT_FALSE(s.main->hasOwnSkinner());
    // Reading wrote nothing into the view section.
    EXPECT_FALSE(s.key.Exists(L"SaveData\\MainWindow\\View"));
}

TEST(AppWindow, IdentityIsWrittenUnderTheRootAndTheWindowName)
{
    MainWindowSettings s;
    s.start();
    struct Case
    {
        const wchar_t* section;
        const wchar_t* text;
    } cases[] = {
        {L"SaveData\\SoftwareType", L"Freeware"},
        {L"SaveData\\SoftwareID", L"Vesk Kairon"},
        {L"SaveData\\Version", L"1.16"},
        {L"SaveData\\MainWindow\\SoftwareType", L"Freeware"},
        {L"SaveData\\MainWindow\\SoftwareID", L"Vesk Kairon"},
        {L"SaveData\\MainWindow\\Version", L"1.16"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.text, Text(s.key.Read(c.section, L""))) << c.section;
}

TEST(AppWindow, SavedMiddleClickTextsAreMatchedWithoutRegardToCase)
{
    struct Case
    {
        const wchar_t* saved;
        const wchar_t* action;
    } cases[] = {
        {L"iconize", Window::ACTION_ICONIZE}, {L"ICONIZE", Window::ACTION_ICONIZE},
        {L"Minimize", Window::ACTION_DO_NOTHING}, {L"close", Window::ACTION_CLOSE},
        {L"", Window::ACTION_DO_NOTHING}, {L"DoNothing", Window::ACTION_DO_NOTHING},
    };
    for (const Case& c : cases)
    {
        MainWindowSettings s;
        s.writeView(L"OnMClick", c.saved);
        s.start();
        EXPECT_EQ(c.action, s.main->getMiddleClickAction()) << c.saved;
        EXPECT_EQ(c.action == Window::ACTION_ICONIZE, s.main->isMiddleClickIconize()) << c.saved;
        EXPECT_EQ(c.action == Window::ACTION_CLOSE, s.main->isMiddleClickClose()) << c.saved;
    }
}

TEST(AppWindow, ChangedMiddleClickActionIsWrittenOnce)
{
    MainWindowSettings s;
    s.start();
    s.main->setMiddleClickAction(L"Close"); // the current one: nothing to write
    EXPECT_FALSE(s.key.Read(L"SaveData\\MainWindow\\View", L"OnMClick").found);
    s.main->setMiddleClickAction(L"iconize");
    EXPECT_EQ(L"Iconize", Text(s.key.Read(L"SaveData\\MainWindow\\View", L"OnMClick")));
    s.main->setMiddleClickAction(L"whatever");
    EXPECT_EQ(L"DoNothing", Text(s.key.Read(L"SaveData\\MainWindow\\View", L"OnMClick")));
}

TEST(AppWindow, SizesOutsideTenAndTheVirtualScreenAreInvalid)
{
    const int screenWidth = GetSystemMetrics(SM_CXVIRTUALSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    struct Case
    {
        int width, height;
        bool widthValid, heightValid;
    } cases[] = {
        {5, 550, false, true},  {600, 5, true, false},  {10, 10, true, true},        {9, 9, false, false},
        {screenWidth, screenHeight, true, true},         {screenWidth + 1, screenHeight + 1, false, false},
        {-600, -550, false, false},
    };
    for (const Case& c : cases)
    {
        MainWindowSettings s;
        s.start();
        s.main->setSize(c.width, c.height);
        EXPECT_EQ(c.widthValid, s.main->isWidthValid()) << c.width;
        EXPECT_EQ(c.heightValid, s.main->isHeightValid()) << c.height;
    }
}

TEST(AppWindow, PositionCountsOnlyWithBothXAndY)
{
    MainWindowSettings s;
    s.start();
    s.main->setX(40);
    EXPECT_TRUE(s.main->hasX());
    EXPECT_FALSE(s.main->hasSavedPosition());
    s.main->setY(-30);
    EXPECT_TRUE(s.main->hasSavedPosition());
    EXPECT_EQ(-30, s.main->getY());

    s.main->setBounds(12, 34, 640, 480);
    regtest::TestKey::Value width = s.key.Read(L"SaveData\\MainWindow\\View", L"Width");
    ASSERT_TRUE(width.found);
    EXPECT_EQ(DWORD(REG_DWORD), width.type);
    EXPECT_EQ(640, s.main->getWidth());
    EXPECT_EQ(480, s.main->getHeight());
    EXPECT_EQ(12, s.main->getX());

    s.main->forgetBounds();
    EXPECT_FALSE(s.main->hasX());
    EXPECT_FALSE(s.main->hasY());
    EXPECT_FALSE(s.main->hasWidth());
    EXPECT_FALSE(s.main->hasHeight());
    EXPECT_EQ(600, s.main->getWidth());
}

TEST(AppWindow, OptionsAreWrittenAsBooleans)
{
    MainWindowSettings s;
    s.start();
    s.main->setKeepOnTop(false);
    s.main->setEasyDrag(false);
    s.main->setMaximized(true);
    const regtest::TestKey::Value top = s.key.Read(L"SaveData\\MainWindow\\View", L"KeepOnTop");
    ASSERT_TRUE(top.found);
    EXPECT_EQ(DWORD(REG_DWORD), top.type);
    EXPECT_EQ(regtest::Bytes({0, 0, 0, 0}), top.data);
    EXPECT_FALSE(s.main->getKeepOnTop());
    EXPECT_FALSE(s.main->getEasyDrag());
    EXPECT_TRUE(s.main->getMaximized());
}

TEST(AppWindow, ReleasedObjectIsBackToItsClearState)
{
    AppWindow* window = AppWindow::Acquire();
    {
        MainWindowSettings s;
        s.start();
        window->init(s.app, L"Other", IAppBase::SOFTWARE_PRO, 300, 200, Window::ACTION_ICONIZE, nullptr, nullptr);
        EXPECT_EQ(502000, window->getTextBase());
        window->Release();
    }
    window = AppWindow::Acquire();
    EXPECT_EQ(nullptr, window->getAppBase());
    EXPECT_EQ(500000, window->getTextBase());
    EXPECT_EQ(IAppBase::SOFTWARE_FREEWARE, window->getSoftwareType());
    EXPECT_EQ(500, window->getWidth());
    EXPECT_EQ(500, window->getHeight());
    EXPECT_FALSE(window->getKeepOnTop());
    EXPECT_TRUE(window->getEasyDrag());
    EXPECT_EQ(Window::ACTION_CLOSE, window->getMiddleClickAction());
    EXPECT_STREQ(L"", window->getName());
    window->Release();
}

// The toolkit's window takes its settings from the AppWindow and reports its changes to it.
TEST(AppWindow, WindowOpensWithTheSettingsAndReportsChanges)
{
    MainWindowSettings s;
    s.start();
    testgui::TestWindow w;
    RECT before;
    GetWindowRect(w.handle(), &before);
    w->setSettingsObject(s.main);
    RECT r;
    GetWindowRect(w.handle(), &r);
    // First start: the platform's position, 600 × 550, on top, middle click closes.
    EXPECT_EQ(before.left, r.left);
    EXPECT_EQ(before.top, r.top);
    EXPECT_EQ(600, r.right - r.left);
    EXPECT_EQ(550, r.bottom - r.top);
    EXPECT_TRUE(w->isTopmost());
    EXPECT_EQ(Window::ACTION_CLOSE, w->getMiddleClickAction());
    EXPECT_NE(nullptr, reinterpret_cast<HICON>(SendMessageW(w.handle(), WM_GETICON, ICON_SMALL, 0)));

    w->setTopmost(false);
    const regtest::TestKey::Value top = s.key.Read(L"SaveData\\MainWindow\\View", L"KeepOnTop");
    EXPECT_EQ(regtest::Bytes({0, 0, 0, 0}), top.data);
    w->setMiddleClickAction(Window::ACTION_ICONIZE);
    EXPECT_EQ(L"Iconize", Text(s.key.Read(L"SaveData\\MainWindow\\View", L"OnMClick")));

    w->setVisible(true, false);
    w->setPosition(200, 210);
    w->setVisible(false, false);
    EXPECT_TRUE(s.main->hasSavedPosition());
    EXPECT_EQ(200, s.main->getX());
    EXPECT_EQ(210, s.main->getY());
    EXPECT_EQ(600, s.main->getWidth());
}

// Saved bounds are applied when a window takes the settings.
TEST(AppWindow, WindowTakesSavedBounds)
{
    MainWindowSettings s;
    s.start();
    s.main->setBounds(130, 140, 420, 330);
    testgui::TestWindow w;
    w->setSettingsObject(s.main);
    RECT r;
    GetWindowRect(w.handle(), &r);
    EXPECT_EQ(130, r.left);
    EXPECT_EQ(140, r.top);
    EXPECT_EQ(420, r.right - r.left);
    EXPECT_EQ(330, r.bottom - r.top);
}
