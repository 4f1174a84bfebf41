#pragma once
// Shared pieces of the GUI tests: message boxes answered without a person, an event
// recorder, and a window that is released at the end of a test.
#include <windows.h>

#include <mutex>
#include <string>
#include <vector>

#include "mfc/afxwin.h"
#include "s/gui/events/IEventListener.h"
#include "s/gui/win/Window.h"

namespace testgui
{

// Every message box of the test program is recorded and answered with IDYES/IDOK.
struct MessageBoxes
{
    static std::mutex& lock()
    {
        static std::mutex m;
        return m;
    }
    static std::vector<std::wstring>& texts()
    {
        static std::vector<std::wstring> t;
        return t;
    }
    static int answer(HWND, const wchar_t* text, const wchar_t* caption, UINT type)
    {
        std::lock_guard<std::mutex> guard(lock());
        texts().push_back(std::wstring(caption) + L"|" + text);
        return (type & MB_YESNO) ? IDYES : IDOK;
    }
    static void install() { AfxSetMessageBoxHook(&MessageBoxes::answer); }
};

// Records the kinds, sources and threads of the events it receives.
struct Recorder : s::gui::events::IEventListener
{
    std::vector<int> kinds;
    std::vector<DWORD> threads;
    void* lastSource = nullptr;
    void handleEvent(void* source, int kind) override
    {
        kinds.push_back(kind);
        threads.push_back(GetCurrentThreadId());
        lastSource = source;
    }
};

// A window for one test, released (destroyed with its thread) at the end.
struct TestWindow
{
    s::gui::win::Window* window;
    TestWindow()
    {
        MessageBoxes::install();
        window = s::gui::win::Window::Acquire();
    }
    ~TestWindow() { window->Release(); }
    s::gui::win::Window* operator->() { return window; }
    HWND handle() { return window->getHandle(); }
};

// Waits until the window's thread has answered a message sent now (its loop is running).
inline void settle(HWND h)
{
    SendMessageTimeoutW(h, WM_NULL, 0, 0, SMTO_BLOCK, 2000, nullptr);
}

} // namespace testgui
