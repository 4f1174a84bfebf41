// The top-level window on its own user-interface thread.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "FakeWidget.h"
#include "GuiTestSupport.h"
#include "s/gui/IWindowSettings.h"
#include "s/gui/drawer/IFrameDrawer.h"
#include "s/lang/Localizer.h"
#include "s/xml/Node.h"
#include "s/gui/combobox/ComboBoxItem.h"
#include "s/gui/win/Box.h"
#include "s/gui/win/Button.h"
#include "s/gui/win/ComboBox.h"

using s::gui::IWindow;
using s::gui::win::Box;
using s::gui::win::Button;
using s::gui::win::ComboBox;
using s::gui::win::Window;
using testgui::FakeWidget;
using testgui::Recorder;
using testgui::TestWindow;

TEST(WindowThread, CreatedHiddenOnItsOwnThreadWithAHiddenOwner)
{
    TestWindow w;
    ASSERT_NE(nullptr, w.handle());
    EXPECT_FALSE(IsWindowVisible(w.handle()));
    EXPECT_NE(GetCurrentThreadId(), GetWindowThreadProcessId(w.handle(), nullptr));
    HWND owner = GetWindow(w.handle(), GW_OWNER);
    ASSERT_EQ(w->getOwnerHandle(), owner);
    EXPECT_TRUE(GetWindowLongPtrW(owner, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    wchar_t cls[64];
    GetClassNameW(w.handle(), cls, 64);
    EXPECT_STREQ(L"PellamWindowClass", cls);
    EXPECT_TRUE(GetWindowLongPtrW(w.handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
}

TEST(WindowThread, ReleaseStopsTheThreadAndDestroysTheWindow)
{
    Window* window = Window::Acquire();
    HWND h = window->getHandle();
    DWORD tid = GetWindowThreadProcessId(h, nullptr);
    HANDLE thread = OpenThread(SYNCHRONIZE, FALSE, tid);
    ASSERT_NE(nullptr, thread);
    window->Release();
    EXPECT_FALSE(IsWindow(h));
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(thread, 0));
    CloseHandle(thread);
}

TEST(WindowThread, SendRequestFromAWorkerIsAnsweredOnTheUiThread)
{
    struct Answerer : s::gui::events::IEventListener
    {
        Window* window;
        DWORD thread = 0;
        std::atomic<int> sum{0};
        void handleEvent(void*, int kind) override
        {
            if (kind != IWindow::EVENT_REQUEST)
                return;
            thread = GetCurrentThreadId();
            sum = window->getRequestValue1() + window->getRequestValue2() + window->getRequestValue3() +
                  window->getRequestValue4();
            window->setRequestResult(sum * 10);
        }
    };
    TestWindow w;
    Answerer answerer;
    answerer.window = w.window;
    w->addListener(IWindow::EVENT_REQUEST, &answerer);
    intptr_t result = -1;
    DWORD worker = 0;
    std::thread t(
        [&]
        {
            worker = GetCurrentThreadId();
            result = w->sendRequest(1, 2, 3, 4);
        });
    t.join();
    EXPECT_EQ(100, result);
    EXPECT_EQ(GetWindowThreadProcessId(w.handle(), nullptr), answerer.thread);
    EXPECT_NE(worker, answerer.thread);

    ASSERT_TRUE(w->postRequest(5, 5, 5, 5)); // returns at once; answered later
    for (int i = 0; i < 200 && answerer.sum != 20; ++i)
        Sleep(10);
    EXPECT_EQ(20, answerer.sum);

    // Another program sending the same number (a broadcast reaches every top-level
    // window) passes a pointer of its own: never followed, nothing fires.
    const WPARAM foreign = 0x10;
    EXPECT_EQ(0, SendMessageW(w.handle(), WM_USER + 1, foreign, 0));
    EXPECT_EQ(0, SendMessageW(w.handle(), WM_USER + 1, foreign, 1));
    EXPECT_EQ(20, answerer.sum);
    EXPECT_EQ(30, w->sendRequest(0, 1, 1, 1));
}

TEST(WindowHitTest, SkinnedFrameZonesAndDragByClientArea)
{
    struct Case
    {
        int x, y, w, h;
        LRESULT want;
    } cases[] = {
        {197, 10, 200, 100, HTTOPRIGHT}, {197, 40, 200, 100, HTRIGHT}, {197, 80, 200, 100, HTBOTTOMRIGHT},
        {2, 2, 200, 100, HTTOPLEFT},     {2, 50, 200, 100, HTLEFT},    {50, 2, 200, 100, HTTOP},
        {180, 3, 200, 100, HTTOPRIGHT},  {50, 97, 200, 100, HTBOTTOM}, {10, 97, 200, 100, HTBOTTOMLEFT},
        {50, 50, 200, 100, HTCLIENT},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.want, Window::adjustHitTest(HTCLIENT, true, c.x, c.y, c.w, c.h, false, false))
            << c.x << "," << c.y;
    EXPECT_EQ(HTCAPTION, Window::adjustHitTest(HTCLIENT, false, 50, 50, 200, 100, true, false));
    EXPECT_EQ(HTCLIENT, Window::adjustHitTest(HTCLIENT, false, 50, 50, 200, 100, true, true));
    EXPECT_EQ(HTCLIENT, Window::adjustHitTest(HTCLIENT, false, 50, 50, 200, 100, false, false));
    EXPECT_EQ(HTMINBUTTON, Window::adjustHitTest(HTMINBUTTON, false, 50, 50, 200, 100, true, false));
}

TEST(WindowHitTest, ClientAreaDragsTheWindow)
{
    TestWindow w;
    w->setBounds(100, 100, 300, 200);
    w->setVisible(true, false);
    RECT r;
    GetClientRect(w.handle(), &r);
    POINT centre{r.right / 2, r.bottom / 2};
    ClientToScreen(w.handle(), &centre);
    LPARAM at = MAKELPARAM(centre.x, centre.y);
    EXPECT_EQ(HTCLIENT, SendMessageW(w.handle(), WM_NCHITTEST, 0, at));
    w->setDragByClientArea(true);
    EXPECT_EQ(HTCAPTION, SendMessageW(w.handle(), WM_NCHITTEST, 0, at));
}

TEST(WindowOpacity, LayeredWhileBelowFullAndPlainAtFull)
{
    TestWindow w;
    w->setVisible(true, false);
    w->setOpacity(50, false);
    ASSERT_TRUE(GetWindowLongPtrW(w.handle(), GWL_EXSTYLE) & WS_EX_LAYERED);
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(w.handle(), nullptr, &alpha, &flags));
    EXPECT_EQ(127, alpha);
    EXPECT_TRUE(flags & LWA_ALPHA);
    w->setOpacity(100, false);
    EXPECT_FALSE(GetWindowLongPtrW(w.handle(), GWL_EXSTYLE) & WS_EX_LAYERED);

    // Limited to topmost windows: opaque until made topmost.
    w->setOpacity(40, true);
    EXPECT_EQ(100, w->getAlphaPercent());
    w->setTopmost(true);
    EXPECT_EQ(40, w->getAlphaPercent());
    EXPECT_TRUE(GetWindowLongPtrW(w.handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    w->setTopmost(false);
    EXPECT_EQ(100, w->getAlphaPercent());
}

namespace
{
struct Vetoer : s::gui::events::IEventListener
{
    Window* window;
    int asked = 0;
    bool veto = true;
    void handleEvent(void*, int kind) override
    {
        if (kind != IWindow::EVENT_CLOSE)
            return;
        ++asked;
        if (veto)
            window->cancelClose();
    }
};
} // namespace

TEST(WindowClose, VetoKeepsTheWindowAndAsksAgainNextTime)
{
    TestWindow w;
    Vetoer vetoer;
    vetoer.window = w.window;
    w->addListener(IWindow::EVENT_CLOSE, &vetoer);
    w->setVisible(true, false);
    SendMessageW(w.handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(1, vetoer.asked);
    EXPECT_FALSE(w->isClosed());
    EXPECT_TRUE(IsWindowVisible(w.handle()));
    SendMessageW(w.handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(2, vetoer.asked);
    vetoer.veto = false;
    w->close();
    EXPECT_EQ(3, vetoer.asked);
    EXPECT_TRUE(w->isClosed());
    EXPECT_FALSE(IsWindowVisible(w.handle()));
    EXPECT_TRUE(IsWindow(w.handle())); // a close hides; the native window lives on
    w->waitUntilClosed();
    SendMessageW(w.handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(3, vetoer.asked); // closed windows are not asked again
}

TEST(WindowPlacement, OffScreenWindowIsCentredOnShow)
{
    TestWindow w;
    int screenW = GetSystemMetrics(SM_CXSCREEN);
    w->setBounds(screenW + 2000, 100, 400, 300);
    EXPECT_FALSE(w->isPlacementValid());
    w->setCheckPlacementOnShow(true);
    w->setVisible(true, false);
    RECT work;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    RECT r;
    GetWindowRect(w.handle(), &r);
    EXPECT_EQ(work.left + (work.right - work.left - 400) / 2, r.left);
    EXPECT_EQ(work.top + (work.bottom - work.top - 300) / 2, r.top);
    EXPECT_TRUE(w->isPlacementValid());
}

TEST(WindowPlacement, ValidityAndMoveIntoScreen)
{
    TestWindow w;
    int vw = GetSystemMetrics(SM_CXVIRTUALSCREEN), vh = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    int vx = GetSystemMetrics(SM_XVIRTUALSCREEN), vy = GetSystemMetrics(SM_YVIRTUALSCREEN);
    w->setBounds(vx + vw - 10, vy + 50, 200, 100); // exactly 10 pixels inside
    EXPECT_TRUE(w->isPlacementValid());
    w->setBounds(vx + vw - 9, vy + 50, 200, 100);
    EXPECT_FALSE(w->isPlacementValid());
    w->setPopupStyle(true);                  // a framed window cannot be made this narrow
    w->setBounds(vx + 50, vy + 50, 10, 100); // too narrow
    EXPECT_FALSE(w->isPlacementValid());
    w->setBounds(vx + vw - 50, vy + vh - 20, 200, 100);
    w->moveIntoScreen();
    EXPECT_EQ(vx + vw - 200, w->getX());
    EXPECT_EQ(vy + vh - 100, w->getY());
    w->setBounds(vx - 30, vy - 40, 200, 100);
    w->moveIntoScreen();
    EXPECT_EQ(vx, w->getX());
    EXPECT_EQ(vy, w->getY());
}

TEST(WindowInput, MiddleClickDoNothingFiresOnlyNine)
{
    TestWindow w;
    Recorder all;
    for (int kind = 1; kind <= IWindow::EVENT_COUNT; ++kind)
        w->addListener(kind, &all);
    w->setVisible(true, false);
    testgui::settle(w.handle());
    w->setMiddleClickAction(L"donothing");
    EXPECT_EQ(Window::ACTION_DO_NOTHING, w->getMiddleClickAction());
    all.kinds.clear();
    SendMessageW(w.handle(), WM_MBUTTONDOWN, 0, MAKELPARAM(10, 10));
    // Pointer moves and focus changes may come from other programs on the display.
    std::vector<int> kinds;
    for (int k : all.kinds)
    {
        if (k != IWindow::EVENT_MOUSE_MOVE && k != IWindow::EVENT_ACTIVATED &&
            k != IWindow::EVENT_DEACTIVATED)
            kinds.push_back(k);
    }
    ASSERT_EQ(1u, kinds.size());
    EXPECT_EQ(IWindow::EVENT_MIDDLE_DOWN, kinds[0]);
    EXPECT_EQ(static_cast<IWindow*>(w.window), all.lastSource);
    EXPECT_FALSE(w->isClosed());
    EXPECT_TRUE(IsWindowVisible(w.handle()));

    w->setMiddleClickAction(L"CLOSE");
    EXPECT_EQ(Window::ACTION_CLOSE, w->getMiddleClickAction());
    SendMessageW(w.handle(), WM_MBUTTONDOWN, 0, MAKELPARAM(10, 10));
    EXPECT_TRUE(w->isClosed());
    w->setMiddleClickAction(L"Minimize");
    EXPECT_EQ(Window::ACTION_DO_NOTHING, w->getMiddleClickAction());
}

TEST(WindowSizing, BelowTheMinimumFromTheLeftMovesTheLeftSide)
{
    TestWindow w;
    w->add(FakeWidget::Make(400, 150));
    int minW = w->getMinWidth();
    int minH = w->getMinHeight();
    ASSERT_GT(minW, 400);
    ASSERT_GT(minH, 150);
    RECT r{500, 300, 600, 400};
    SendMessageW(w.handle(), WM_SIZING, WMSZ_LEFT, reinterpret_cast<LPARAM>(&r));
    EXPECT_EQ(600, r.right);
    EXPECT_EQ(600 - minW, r.left);
    EXPECT_EQ(1, w->getSizingEdge());
    RECT s{500, 300, 600, 400};
    SendMessageW(w.handle(), WM_SIZING, WMSZ_BOTTOMRIGHT, reinterpret_cast<LPARAM>(&s));
    EXPECT_EQ(500, s.left);
    EXPECT_EQ(500 + minW, s.right);
    EXPECT_EQ(300, s.top);
    EXPECT_EQ(300 + minH, s.bottom);
    RECT t{500, 300, 600, 400};
    SendMessageW(w.handle(), WM_SIZING, WMSZ_TOP, reinterpret_cast<LPARAM>(&t));
    EXPECT_EQ(400, t.bottom);
    EXPECT_EQ(400 - minH, t.top);
    w->setMinimumSizeEnforced(false, false);
    RECT u{500, 300, 600, 400};
    SendMessageW(w.handle(), WM_SIZING, WMSZ_LEFT, reinterpret_cast<LPARAM>(&u));
    EXPECT_EQ(500, u.left);
}

TEST(WindowInput, KeysTimersAndUser7ReachListenersOnTheUiThread)
{
    TestWindow w;
    Recorder rec;
    w->addListener(IWindow::EVENT_KEY_DOWN, &rec);
    w->addListener(IWindow::EVENT_TIMER, &rec);
    w->addListener(IWindow::EVENT_USER7, &rec);
    SendMessageW(w.handle(), WM_KEYDOWN, 'A', 0);
    EXPECT_EQ('A', w->getLastKey());
    SendMessageW(w.handle(), WM_USER + 7, 0, 0);
    w->startTimer(3, 20);
    for (int i = 0; i < 200 && rec.kinds.size() < 3; ++i)
        Sleep(10);
    w->stopTimer(3);
    ASSERT_GE(rec.kinds.size(), 3u);
    EXPECT_EQ(IWindow::EVENT_KEY_DOWN, rec.kinds[0]);
    EXPECT_EQ(IWindow::EVENT_USER7, rec.kinds[1]);
    EXPECT_EQ(IWindow::EVENT_TIMER, rec.kinds[2]);
    EXPECT_EQ(3, w->getLastTimerId());
    DWORD ui = GetWindowThreadProcessId(w.handle(), nullptr);
    for (DWORD t : rec.threads)
        EXPECT_EQ(ui, t);

    // Asked from this thread, the capture is still taken by the window's thread.
    w->beginCapture();
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    ASSERT_TRUE(GetGUIThreadInfo(ui, &info));
    EXPECT_EQ(w.handle(), info.hwndCapture);
}

TEST(WindowMessages, BoxesRunOnTheWindowThreadWithTheAnswer)
{
    TestWindow w;
    {
        std::lock_guard<std::mutex> guard(testgui::MessageBoxes::lock());
        testgui::MessageBoxes::texts().clear();
    }
    w->showMessage(L"hello");
    EXPECT_TRUE(w->askQuestion(L"really?"));
    // The same numbers from another program carry pointers that are not ours.
    EXPECT_EQ(0, SendMessageW(w.handle(), WM_USER + 4, 0x10, 0));
    EXPECT_EQ(0, SendMessageW(w.handle(), WM_USER + 6, 0x10, 0));
    std::lock_guard<std::mutex> guard(testgui::MessageBoxes::lock());
    ASSERT_EQ(2u, testgui::MessageBoxes::texts().size());
    EXPECT_NE(std::wstring::npos, testgui::MessageBoxes::texts()[0].find(L"|hello"));
    EXPECT_NE(std::wstring::npos, testgui::MessageBoxes::texts()[1].find(L"|really?"));
}

TEST(WindowMessages, ActivationMessageRestoresAMinimizedWindow)
{
    TestWindow w;
    w->setVisible(true, false);
    w->minimize();
    EXPECT_TRUE(w->isMinimized());
    SendMessageW(w.handle(), WM_USER + 3, 0, 0);
    EXPECT_FALSE(w->isMinimized());
}

namespace
{
// Settings kept in memory, recording what the window reports.
struct MemorySettings : s::gui::IWindowSettings
{
    bool saved = true;
    int x = 150, y = 120, w = 420, h = 330;
    bool easyDrag = true, maximized = false, keepOnTop = true;
    const wchar_t* action = L"iconize";
    int opacity = 100;
    int boundsReports = 0;
    bool hasSavedPosition() override { return saved; }
    int getX() override { return x; }
    int getY() override { return y; }
    int getWidth() override { return w; }
    int getHeight() override { return h; }
    void setBounds(int nx, int ny, int nw, int nh) override
    {
        x = nx, y = ny, w = nw, h = nh;
        ++boundsReports;
    }
    bool getEasyDrag() override { return easyDrag; }
    void setEasyDrag(bool on) override { easyDrag = on; }
    bool getMaximized() override { return maximized; }
    void setMaximized(bool on) override { maximized = on; }
    bool getKeepOnTop() override { return keepOnTop; }
    void setKeepOnTop(bool on) override { keepOnTop = on; }
    const wchar_t* getMiddleClickAction() override { return action; }
    void setMiddleClickAction(const wchar_t* a) override { action = a; }
    int getOpacity() override { return opacity; }
    void setOpacity(int p) override { opacity = p; }
    int getTitleTextId() override { return 500000; }
    int getVersionTextId() override { return 500010; }
    HICON__* getSmallIcon() override { return nullptr; }
    HICON__* getLargeIcon() override { return nullptr; }
};
} // namespace

TEST(WindowSettings, ReadWhenAttachedAndToldOfChanges)
{
    TestWindow w;
    MemorySettings settings;
    w->setSettingsObject(&settings);
    EXPECT_TRUE(w->isTopmost());
    EXPECT_EQ(Window::ACTION_ICONIZE, w->getMiddleClickAction());
    RECT r;
    GetWindowRect(w.handle(), &r);
    EXPECT_EQ(150, r.left);
    EXPECT_EQ(120, r.top);
    EXPECT_EQ(420, r.right - r.left);
    EXPECT_EQ(330, r.bottom - r.top);

    w->setTopmost(false);
    EXPECT_FALSE(settings.keepOnTop);
    w->setDragByClientArea(false);
    EXPECT_FALSE(settings.easyDrag);
    w->setMiddleClickAction(L"Close");
    EXPECT_EQ(Window::ACTION_CLOSE, settings.action);
    w->setOpacity(80, false);
    EXPECT_EQ(80, settings.opacity);

    // Shown at the saved place; moved by the user; hiding stores the new bounds.
    w->setVisible(true, false);
    w->setPosition(200, 210);
    w->setVisible(false, false);
    EXPECT_GE(settings.boundsReports, 1);
    EXPECT_EQ(200, settings.x);
    EXPECT_EQ(210, settings.y);
    EXPECT_EQ(420, settings.w);
}

TEST(WindowSettings, WithoutSavedPositionOnlyTheSizeIsTaken)
{
    TestWindow w;
    RECT before;
    GetWindowRect(w.handle(), &before);
    MemorySettings settings;
    settings.saved = false;
    settings.w = 600;
    settings.h = 550;
    w->setSettingsObject(&settings);
    RECT r;
    GetWindowRect(w.handle(), &r);
    EXPECT_EQ(before.left, r.left);
    EXPECT_EQ(before.top, r.top);
    EXPECT_EQ(600, r.right - r.left);
    EXPECT_EQ(550, r.bottom - r.top);
}

TEST(WindowHotKeys, ATakenKeyFailsWithTheMessage)
{
    TestWindow a;
    TestWindow b;
    {
        std::lock_guard<std::mutex> guard(testgui::MessageBoxes::lock());
        testgui::MessageBoxes::texts().clear();
    }
    ASSERT_TRUE(a->registerHotKey(true, true, false, false, VK_F24, L"first", true));
    EXPECT_FALSE(b->registerHotKey(true, true, false, false, VK_F24, L"second", true));
    {
        std::lock_guard<std::mutex> guard(testgui::MessageBoxes::lock());
        ASSERT_EQ(1u, testgui::MessageBoxes::texts().size());
        const std::wstring& text = testgui::MessageBoxes::texts()[0];
        EXPECT_NE(std::wstring::npos, text.find(L"|HotKey Alt+Ctrl+")) << text.c_str();
        EXPECT_NE(std::wstring::npos, text.find(L" has been occupied by another application. ("))
            << text.c_str();
    }
    SendMessageW(a.handle(), WM_HOTKEY, GlobalFindAtomW(L"first"), 0);
    EXPECT_TRUE(a->isHotKey(L"first"));
    EXPECT_FALSE(a->isHotKey(L"second"));
    a->unregisterHotKey(L"first");
    EXPECT_TRUE(b->registerHotKey(true, true, false, false, VK_F24, L"second", false));
    b->unregisterAllHotKeys();
}

namespace
{
s::lang::Localizer* twoLanguages()
{
    return testgui::languagePack(L"<pack><languages><entry tagName=\"eng\" engName=\"English\" trueName=\"English\"/>"
                L"<entry tagName=\"deu\" engName=\"German\" trueName=\"Deutsch\"/></languages>"
                L"<entries><entry id=\"500000\"><eng>Kairon</eng><deu>Kairon DE</deu></entry>"
                L"<entry id=\"500010\"><eng>1.16</eng><deu>1,16</deu></entry></entries></pack>");
}
} // namespace

TEST(WindowLanguage, TitleFromIdsFollowsTheLanguageAndChildrenListen)
{
    s::lang::Localizer* pack = twoLanguages();
    {
        TestWindow w;
        Recorder changes;
        w->addListener(IWindow::EVENT_LANGUAGE_CHANGED, &changes);
        w->setLocalizer(pack);
        w->setTitleIds(500000, 500010);
        EXPECT_STREQ(L"Kairon v1.16", w->getTitle());
        wchar_t text[64];
        GetWindowTextW(w.handle(), text, 64);
        EXPECT_STREQ(L"Kairon v1.16", text);
        Box* box = Box::Acquire();
        w->add(box);
        unsigned withBox = pack->getListenerCount();
        pack->selectLanguage(L"German");
        EXPECT_STREQ(L"Kairon DE v1,16", w->getTitle());
        EXPECT_EQ(1u, changes.kinds.size());
        w->setTitleIds(500000, -1);
        EXPECT_STREQ(L"Kairon DE", w->getTitle());
        w->remove(box, true);
        EXPECT_EQ(withBox - 1, pack->getListenerCount());
    }
    EXPECT_EQ(0u, pack->getListenerCount()); // the window left the pack with its tree
    pack->Release();
}

namespace
{
struct FlatFrame : s::gui::drawer::IFrameDrawer
{
    int paints = 0;
    void paintFrame(s::gui::IWindow*, HDC__* dc, int w, int h) override
    {
        ++paints;
        RECT r{0, 0, w, h};
        FillRect(reinterpret_cast<HDC>(dc), &r, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
    }
};
} // namespace

TEST(WindowHitTest, SkinnedWindowHitTestsItsOwnFrame)
{
    TestWindow w;
    FlatFrame frame;
    w->setFrameDrawer(&frame, false);
    w->setBounds(200, 150, 200, 100);
    w->setVisible(true, false);
    RECT client;
    GetClientRect(w.handle(), &client);
    EXPECT_EQ(200, client.right); // the skin draws the whole window
    EXPECT_EQ(100, client.bottom);
    auto hitAt = [&](int x, int y)
    { return SendMessageW(w.handle(), WM_NCHITTEST, 0, MAKELPARAM(200 + x, 150 + y)); };
    EXPECT_EQ(HTTOPRIGHT, hitAt(197, 10));
    EXPECT_EQ(HTRIGHT, hitAt(197, 40));
    EXPECT_EQ(HTTOPLEFT, hitAt(2, 2));
    EXPECT_EQ(HTTOP, hitAt(50, 2));
    EXPECT_EQ(HTCLIENT, hitAt(100, 50));
    w->setFrameDrawer(nullptr, false);
}

TEST(WindowHover, FadeOutWhenEnteredAndBackAfterTheDelay)
{
    TestWindow w;
    // Far from the pointer, so the countdown runs.
    POINT pointer;
    GetCursorPos(&pointer);
    int x = pointer.x > 600 ? 20 : 700;
    w->setBounds(x, 20, 200, 120);
    w->setVisible(true, false);
    w->setHoverBehaviour(true, 1, false, 1, 23, 23, false);
    SendMessageW(w.handle(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    int lowest = 100;
    for (int i = 0; i < 300 && lowest > 0; ++i, Sleep(10))
        lowest = std::min(lowest, w->getAlphaPercent());
    EXPECT_EQ(0, lowest);
    for (int i = 0; i < 400 && w->getAlphaPercent() < 100; ++i)
        Sleep(10);
    EXPECT_EQ(100, w->getAlphaPercent());
    EXPECT_FALSE(GetWindowLongPtrW(w.handle(), GWL_EXSTYLE) & WS_EX_LAYERED);

    // Configured again from this thread in the middle of a fade: the window's thread
    // ends its timers and the window is back at full opacity for good.
    SendMessageW(w.handle(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    for (int i = 0; i < 300 && w->getAlphaPercent() == 100; ++i)
        Sleep(10);
    w->setHoverBehaviour(false, 1, false, 1, 23, 23, false);
    EXPECT_EQ(100, w->getAlphaPercent());
    Sleep(200);
    EXPECT_EQ(100, w->getAlphaPercent());
}

TEST(WindowHover, ShrinkWhenEnteredAndGrowBackAfterTheDelay)
{
    TestWindow w;
    POINT pointer;
    GetCursorPos(&pointer);
    int x = pointer.x > 600 ? 20 : 700;
    w->setPopupStyle(true);
    w->setBounds(x, 20, 300, 200);
    w->setVisible(true, false);
    w->setHoverBehaviour(true, 2, false, 1, 23, 23, false);
    SendMessageW(w.handle(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    int smallest = 300;
    for (int i = 0; i < 300 && smallest > 23; ++i, Sleep(10))
        smallest = std::min(smallest, w->getWidth());
    EXPECT_EQ(23, smallest);
    for (int i = 0; i < 400 && w->getWidth() < 300; ++i)
        Sleep(10);
    EXPECT_EQ(300, w->getWidth());
    EXPECT_EQ(200, w->getHeight());
}

// Its own process (see tests.cmake): the abandoned thread stays suspended until the end.
TEST(WindowHungThreadEnv, ReleaseGivesUpOnAThreadThatNoLongerAnswers)
{
    struct Stuck : s::gui::events::IEventListener
    {
        void handleEvent(void*, int kind) override
        {
            if (kind == IWindow::EVENT_REQUEST)
                Sleep(60000);
        }
    };
    testgui::MessageBoxes::install();
    Window* window = Window::Acquire();
    ASSERT_NE(nullptr, window->getHandle());
    window->add(s::gui::win::Box::Acquire());
    Stuck stuck;
    window->addListener(IWindow::EVENT_REQUEST, &stuck);
    ASSERT_TRUE(window->postRequest(0, 0, 0, 0));
    Sleep(100);
    DWORD started = GetTickCount();
    window->Release();
    DWORD spent = GetTickCount() - started;
    EXPECT_GE(spent, 4500u); // the thread had its 5000 ms
    EXPECT_LT(spent, 9000u);
}

namespace
{
// Counts the placements (WM_WINDOWPOSCHANGED) of one native window, subclassed by the test.
std::atomic<int> g_placements{0};
WNDPROC g_placedProc = nullptr;
LRESULT CALLBACK CountPlacements(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_WINDOWPOSCHANGED)
        ++g_placements;
    return CallWindowProcW(g_placedProc, window, message, wParam, lParam);
}
} // namespace

// Moving, showing, activating or laying out a window whose size stays does not place its
// children again; a new size does. A drop-down list is the child that shows it: it is asked
// for more height than it keeps (its open list), so every placement reaches it as a change.
TEST(WindowLayout, ChildrenArePlacedAgainOnlyWhenTheirPlaceChanges)
{
    TestWindow w;
    Box* column = Box::Acquire();
    column->fillParent();
    ComboBox* list = ComboBox::Acquire();
    list->addItem(s::gui::combobox::ComboBoxItem::newItem(L"one", 1));
    list->setWidthPercent(100);
    column->add(list);
    w->add(column);
    w->setBounds(100, 100, 300, 200);
    w->setVisible(true, false);
    testgui::settle(w.handle());
    HWND child = list->getHandle(); // the control itself
    ASSERT_NE(nullptr, child);
    testgui::settle(w.handle());
    g_placedProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(child, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CountPlacements)));
    g_placements = 0;

    SetWindowPos(w.handle(), nullptr, 140, 130, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    w->doLayout();
    w->setVisible(false, false);
    w->setVisible(true, false);
    SetForegroundWindow(w.handle());
    testgui::settle(w.handle());
    EXPECT_EQ(0, g_placements.load()) << "placed again without a change";

    const int before = list->getWidth();
    SetWindowPos(w.handle(), nullptr, 0, 0, 360, 200, SWP_NOMOVE | SWP_NOZORDER);
    testgui::settle(w.handle());
    EXPECT_EQ(before + 60, list->getWidth());
    EXPECT_GE(g_placements.load(), 1);
    RECT r;
    GetWindowRect(child, &r);
    EXPECT_EQ(list->getWidth(), r.right - r.left);
    SetWindowLongPtrW(child, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_placedProc));
}

// A user who leaves the window and comes back finds the focus where it was: the default
// answer to the activation would give it to the window itself, where Tab reaches nothing.
// A child that has the focus when the window is activated (set before the activation came)
// keeps it.
// Activation moves between windows: in an entry of its own (tests.cmake), as windows of test
// programs running alongside would take the foreground in between.
TEST(WindowFocusEnv, TheFocusedChildHasTheFocusAgainWhenTheWindowIsActivatedAgain)
{
    TestWindow w, other;
    Box* column = Box::Acquire();
    column->fillParent();
    Button* first = Button::Acquire();
    first->setText(L"first");
    Button* second = Button::Acquire();
    second->setText(L"second");
    column->add(first);
    column->add(second);
    w->add(column);
    w->setBounds(100, 100, 300, 200);
    other->setBounds(450, 100, 200, 100);
    w->setVisible(true, false);
    testgui::settle(w.handle());
    const DWORD ui = GetWindowThreadProcessId(w.handle(), nullptr);
    const auto focusOf = [&]
    {
        GUITHREADINFO info{};
        info.cbSize = sizeof(info);
        GetGUIThreadInfo(ui, &info);
        return info.hwndFocus;
    };
    const auto activate = [](HWND window)
    {
        SetForegroundWindow(window);
        for (int i = 0; i < 200 && GetForegroundWindow() != window; ++i)
            Sleep(10);
        testgui::settle(window);
    };
    AttachThreadInput(GetCurrentThreadId(), ui, TRUE);
    SetFocus(second->getHandle());
    AttachThreadInput(GetCurrentThreadId(), ui, FALSE);
    ASSERT_EQ(second->getHandle(), focusOf());

    other->setVisible(true, false);
    activate(other.handle());
    ASSERT_EQ(other.handle(), GetForegroundWindow());
    activate(w.handle());
    ASSERT_EQ(w.handle(), GetForegroundWindow());
    EXPECT_EQ(second->getHandle(), focusOf());

    // Activated again while a child has the focus: the child keeps it.
    SendMessageW(w.handle(), WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_EQ(second->getHandle(), focusOf());

    // A window with a first focus gives it that control when no child has had it yet.
    TestWindow v;
    Button* only = Button::Acquire();
    only->setText(L"only");
    v->add(only);
    v->setBounds(100, 320, 200, 100);
    v->setFirstFocus(only);
    v->setVisible(true, false);
    activate(v.handle());
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    GetGUIThreadInfo(GetWindowThreadProcessId(v.handle(), nullptr), &info);
    EXPECT_EQ(only->getHandle(), info.hwndFocus);
}
