// The window under faults that come from outside: another program's messages, resizes
// that cross the screen's edge, and other threads that release the window or change its
// child list while it works.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "FakeWidget.h"
#include "GuiTestSupport.h"
#include "s/gui/win/Box.h"
#include "s/gui/win/Messages.h"

using s::gui::IWindow;
using s::gui::win::Box;
using s::gui::win::Window;
using testgui::FakeWidget;
using testgui::Recorder;
using testgui::TestWindow;

namespace
{

const wchar_t* const FOREIGN_TARGETS = L"KAIRON_FOREIGN_TARGETS";

// The private numbers another program might send: WM_USER+0 … +63 and WM_APP+0 … +63,
// without the two knocks that a second instance sends on purpose (they carry nothing).
std::vector<UINT> foreignNumbers()
{
    std::vector<UINT> numbers;
    for (UINT i = 0; i < 64; ++i)
    {
        if (i != 3 && i != 7)
            numbers.push_back(WM_USER + i);
        numbers.push_back(WM_APP + i);
    }
    return numbers;
}

// Runs this test program again as another process, which sends the foreign messages
// to the windows listed in the environment; answers its exit code.
DWORD runForeignSender(const std::vector<HWND>& targets)
{
    std::wstring list;
    for (HWND h : targets)
        list += std::to_wstring(reinterpret_cast<uintptr_t>(h)) + L" ";
    SetEnvironmentVariableW(FOREIGN_TARGETS, list.c_str());
    wchar_t exe[MAX_PATH];
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring command = L"\"" + std::wstring(exe) + L"\" --gtest_filter=ForeignSenderEnv.*";
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    BOOL started = CreateProcessW(exe, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi);
    SetEnvironmentVariableW(FOREIGN_TARGETS, nullptr);
    if (!started)
        return 0xFFFFFFFF;
    WaitForSingleObject(pi.hProcess, 120000);
    DWORD code = 0xFFFFFFFF;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return code;
}

} // namespace

// The other process's side: only runs when started by the test below.
TEST(ForeignSenderEnv, SendsJunkInEveryPrivateMessage)
{
    wchar_t list[512] = L"";
    if (!GetEnvironmentVariableW(FOREIGN_TARGETS, list, 512))
        GTEST_SKIP() << "started only by WindowFromOutside";
    std::vector<HWND> targets;
    for (wchar_t* p = list; *p;)
    {
        wchar_t* end = nullptr;
        unsigned long long value = wcstoull(p, &end, 10);
        if (end == p)
            break;
        targets.push_back(reinterpret_cast<HWND>(static_cast<uintptr_t>(value)));
        p = end;
        while (*p == L' ')
            ++p;
    }
    ASSERT_FALSE(targets.empty());
    for (HWND h : targets)
    {
        DWORD_PTR ignored = 0;
        // The message that destroyed the window at once, as it was seen.
        SendMessageTimeoutW(h, WM_USER + 15, 0, 0, SMTO_BLOCK, 5000, &ignored);
        for (UINT message : foreignNumbers())
        {
            for (WPARAM w : {WPARAM(0), WPARAM(0x10), WPARAM(0xDEADBEE0)})
                SendMessageTimeoutW(h, message, w, static_cast<LPARAM>(0x5EED0000), SMTO_BLOCK, 5000, &ignored);
        }
        EXPECT_TRUE(IsWindow(h));
    }
}

TEST(WindowFromOutside, AnotherProgramsPrivateMessagesChangeNothing)
{
    TestWindow w;
    Box* box = Box::Acquire();
    box->setFixedWidth(120);
    box->setFixedHeight(40);
    w->add(box);
    w->setBounds(100, 100, 300, 200);
    w->setVisible(true, false);
    Recorder rec;
    for (int kind = 1; kind <= IWindow::EVENT_COUNT; ++kind)
    {
        if (kind != IWindow::EVENT_MOUSE_MOVE) // the pointer is the display's, not the sender's
            w->addListener(kind, &rec);
    }
    testgui::settle(w.handle());
    rec.kinds.clear();
    {
        std::lock_guard<std::mutex> guard(testgui::MessageBoxes::lock());
        testgui::MessageBoxes::texts().clear();
    }

    ASSERT_EQ(0u, runForeignSender({w.handle(), box->getHandle()}));

    testgui::settle(w.handle());
    EXPECT_TRUE(IsWindow(w.handle()));
    EXPECT_TRUE(IsWindowVisible(w.handle()));
    EXPECT_TRUE(IsWindow(box->getHandle()));
    EXPECT_EQ(box->getHandle(), GetWindow(w.handle(), GW_CHILD));
    EXPECT_FALSE(w->isClosed());
    DWORD_PTR answer = 1;
    EXPECT_NE(0, SendMessageTimeoutW(w.handle(), WM_NULL, 0, 0, SMTO_BLOCK, 2000, &answer));
    // Starting the other program may move the focus (activation events are the platform's,
    // not the junk's doing); nothing else may fire.
    std::erase_if(rec.kinds, [](int kind) {
        return kind == s::gui::IWindow::EVENT_ACTIVATED || kind == s::gui::IWindow::EVENT_DEACTIVATED;
    });
    EXPECT_TRUE(rec.kinds.empty()) << "first event fired: " << (rec.kinds.empty() ? 0 : rec.kinds[0]);
    std::lock_guard<std::mutex> guard(testgui::MessageBoxes::lock());
    EXPECT_TRUE(testgui::MessageBoxes::texts().empty());
}

TEST(WindowFromOutside, OwnPrivateMessagesStillWork)
{
    // The same numbers sent by this process through the toolkit are carried out.
    TestWindow w;
    FakeWidget* child = FakeWidget::Make(20, 20);
    w->add(child);
    HWND h = child->getHandle();
    ASSERT_TRUE(IsWindow(h));
    // Unlisted, even from this process, the number is ignored...
    SendMessageW(h, s::gui::win::MSG_DESTROY_NATIVE, 0, 0);
    EXPECT_TRUE(IsWindow(h));
    // ...listed, it is honoured.
    s::gui::win::Toolkit::sendPrivate(h, s::gui::win::MSG_DESTROY_NATIVE, 0, 0);
    EXPECT_FALSE(IsWindow(h));
}

TEST(WindowPlacement, KeepInsideScreenCorrectsResizesAndMoves)
{
    RECT area;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    ASSERT_LT(GetSystemMetrics(SM_CMONITORS), 2);
    const int R = area.right, B = area.bottom, L = area.left, T = area.top;
    struct Case
    {
        const char* name;
        int x, y, w, h;     // placed first (keep inside off)
        int nx, ny, nw, nh; // then asked for
        UINT flags;
        int ex, ey; // expected top-left afterwards
    };
    const Case cases[] = {
        {"resize across the right edge", R - 120, T + 100, 100, 100, 0, 0, 300, 100, SWP_NOMOVE, R - 300, T + 100},
        {"resize across the bottom edge", L + 100, B - 120, 100, 100, 0, 0, 100, 300, SWP_NOMOVE, L + 100, B - 300},
        {"resize across both", R - 120, B - 120, 100, 100, 0, 0, 300, 300, SWP_NOMOVE, R - 300, B - 300},
        {"resize that stays inside", R - 120, T + 100, 100, 100, 0, 0, 110, 100, SWP_NOMOVE, R - 120, T + 100},
        {"move across the right edge", L + 100, T + 100, 200, 100, R - 50, T + 100, 0, 0, SWP_NOSIZE, R - 200,
         T + 100},
        {"move across the top-left corner", L + 100, T + 100, 200, 100, L - 80, T - 60, 0, 0, SWP_NOSIZE, L, T},
        {"move and resize across the left edge", L + 100, T + 100, 200, 100, L - 10, T + 50, 250, 120, 0, L,
         T + 50},
    };
    TestWindow w;
    w->setPopupStyle(true); // no frame limits on the sizes
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        w->setKeepInsideScreen(false);
        SetWindowPos(w.handle(), nullptr, c.x, c.y, c.w, c.h, SWP_NOZORDER | SWP_NOACTIVATE);
        w->setKeepInsideScreen(true);
        SetWindowPos(w.handle(), nullptr, c.nx, c.ny, c.nw, c.nh, c.flags | SWP_NOZORDER | SWP_NOACTIVATE);
        RECT r;
        GetWindowRect(w.handle(), &r);
        EXPECT_EQ(c.ex, r.left);
        EXPECT_EQ(c.ey, r.top);
        EXPECT_LE(r.right, R);
        EXPECT_LE(r.bottom, B);
    }
    // Off, nothing is corrected.
    w->setKeepInsideScreen(false);
    SetWindowPos(w.handle(), nullptr, R - 120, T + 100, 100, 100, SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(w.handle(), nullptr, 0, 0, 300, 100, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT r;
    GetWindowRect(w.handle(), &r);
    EXPECT_EQ(R - 120, r.left);
}

TEST(WindowThread, ReleaseWhileRequestsOfOtherThreadsAreInFlight)
{
    struct SlowAnswerer : s::gui::events::IEventListener
    {
        std::atomic<int> served{0};
        void handleEvent(void*, int kind) override
        {
            if (kind != IWindow::EVENT_REQUEST)
                return;
            ++served;
            Sleep(5); // the other requests wait in their SendMessage meanwhile
        }
    };
    const int rounds = 15, workers = 6;
    for (int round = 0; round < rounds; ++round)
    {
        SlowAnswerer answerer;
        Window* window = Window::Acquire();
        ASSERT_NE(nullptr, window->getHandle());
        window->addListener(IWindow::EVENT_REQUEST, &answerer);
        std::atomic<int> entering{0};
        std::vector<std::thread> threads;
        for (int i = 0; i < workers; ++i)
        {
            threads.emplace_back(
                [&, i]
                {
                    // One request each: a call begun after the release would be the
                    // caller's fault, not the window's.
                    ++entering;
                    window->sendRequest(i, 1, 2, 3);
                });
        }
        // Every worker is inside its first request before the release starts.
        while (entering.load() < workers || answerer.served.load() == 0)
            Sleep(1);
        Sleep(2);
        window->Release();
        for (std::thread& t : threads)
            t.join();
        EXPECT_GE(answerer.served.load(), 1);
    }
}

TEST(WindowThread, NothingFiresOnceTheReleaseHasStarted)
{
    // A listener that is gone by the time its window is released (a local declared
    // after the window) must not be called while the window hides and is destroyed.
    struct Watcher : s::gui::events::IEventListener
    {
        std::atomic<bool> releasing{false};
        std::atomic<int> lateKind{0};
        void handleEvent(void*, int kind) override
        {
            if (releasing.load() && lateKind.load() == 0)
                lateKind.store(kind);
        }
    } watcher;
    Window* window = Window::Acquire();
    ASSERT_NE(nullptr, window->getHandle());
    for (int kind = 1; kind <= IWindow::EVENT_COUNT; ++kind)
        window->addListener(kind, &watcher);
    window->setBounds(150, 150, 200, 120);
    window->setVisible(true, false);
    SetForegroundWindow(window->getHandle());
    testgui::settle(window->getHandle());
    watcher.releasing.store(true);
    window->Release();
    EXPECT_EQ(0, watcher.lateKind.load()) << "fired during the release";
}

TEST(WindowThread, ChildrenAddedFromAWorkerWhileTheWindowIsResized)
{
    const int rounds = 3, perRound = 60;
    for (int round = 0; round < rounds; ++round)
    {
        TestWindow w;
        w->setBounds(50, 50, 300, 400);
        std::atomic<bool> done{false};
        std::thread worker(
            [&]
            {
                for (int i = 0; i < perRound; ++i)
                    w->add(FakeWidget::Make(20 + i % 7, 3 + i % 4, 40 + i % 9, 5 + i % 3));
                done = true;
            });
        for (int i = 0; !done.load(); ++i)
            w->setSize(300 + i % 60, 400 + i % 45);
        worker.join();
        w->setSize(320, 500);

        ASSERT_EQ(perRound, w->getChildCount());
        DWORD ui = GetWindowThreadProcessId(w.handle(), nullptr);
        std::vector<RECT> before;
        for (int i = 0; i < perRound; ++i)
        {
            s::gui::IComponent* child = w->getChild(i);
            HWND h = s::gui::win::Toolkit::handleOf(child);
            ASSERT_TRUE(IsWindow(h)) << i;
            EXPECT_EQ(ui, GetWindowThreadProcessId(h, nullptr));
            before.push_back(RECT{child->getX(), child->getY(), child->getWidth(), child->getHeight()});
        }
        // The column is in list order, and laying out again changes nothing.
        for (int i = 1; i < perRound; ++i)
            EXPECT_GE(before[i].top, before[i - 1].top + before[i - 1].bottom) << i;
        w->doLayout();
        for (int i = 0; i < perRound; ++i)
        {
            s::gui::IComponent* child = w->getChild(i);
            EXPECT_EQ(before[i].left, child->getX()) << i;
            EXPECT_EQ(before[i].top, child->getY()) << i;
            EXPECT_EQ(before[i].right, child->getWidth()) << i;
            EXPECT_EQ(before[i].bottom, child->getHeight()) << i;
        }
    }
}
