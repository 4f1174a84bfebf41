#include "s/gui/win/UIThread.h"

#include <commctrl.h>
#include <objbase.h>
#include <ole2.h>

#include "s/gui/win/Window.h"

namespace s::gui::win
{

UIThread::UIThread()
{
    m_bAutoDelete = FALSE;
}

UIThread::~UIThread() = default;

bool UIThread::start(Window* window)
{
    settled_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!settled_)
        return false;
    window_.store(window);
    if (!AfxBeginThread(this))
    {
        CloseHandle(settled_);
        settled_ = nullptr;
        return false;
    }
    // The thread's handle ends the wait too, should the thread die before it reports.
    HANDLE waits[2] = {settled_, m_hThread};
    WaitForMultipleObjects(2, waits, FALSE, INFINITE);
    CloseHandle(settled_);
    settled_ = nullptr;
    return ready_.load();
}

bool UIThread::stop(DWORD limitMs)
{
    if (!m_hThread)
        return true;
    if (GetCurrentThreadId() == m_nThreadID)
    {
        // Asked from its own thread (a listener released the window): the loop ends
        // when this message comes back, and the thread deletes its own object.
        m_bAutoDelete = TRUE;
        window_.store(nullptr);
        PostQuitMessage(0);
        return false;
    }
    DWORD started = GetTickCount();
    while (ready_.load() && !PostThreadMessage(WM_QUIT, 0, 0))
    {
        if (GetTickCount() - started >= limitMs)
            break;
        Sleep(10);
    }
    DWORD spent = GetTickCount() - started;
    DWORD left = spent < limitMs ? limitMs - spent : 0;
    if (WaitForSingleObject(m_hThread, left) == WAIT_OBJECT_0)
        return true;
    SuspendThread();
    return false;
}

BOOL UIThread::InitInstance()
{
    INITCOMMONCONTROLSEX controls{sizeof(controls), 0xFF};
    InitCommonControlsEx(&controls);
    oleInitialised_ = AfxOleInit() != FALSE;
    // Allowed once per process; later threads get RPC_E_TOO_LATE, which is harmless.
    CoInitializeSecurity(nullptr, -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_PKT, RPC_C_IMP_LEVEL_IMPERSONATE,
                         nullptr, EOAC_NONE, nullptr);
    AfxEnableControlContainer();
    Window* window = window_.load();
    if (!window->createOnThread())
    {
        window->destroyOwner();
        ended_.store(true);
        SetEvent(settled_);
        return FALSE;
    }
    if (HWND h = window->getHandle())
        ShowWindow(h, SW_HIDE);
    ready_.store(true);
    SetEvent(settled_);
    return TRUE;
}

BOOL UIThread::PreTranslateMessage(MSG* msg)
{
    if (msg->message != WM_KEYDOWN || msg->wParam != VK_TAB)
        return FALSE;
    Window* window = window_.load();
    HWND root = window ? window->getHandle() : nullptr;
    HWND focus = GetFocus();
    // The window itself takes its keys (its listeners hear Tab too).
    if (!root || !focus || focus == root || GetAncestor(focus, GA_ROOT) != root)
        return FALSE;
    if (SendMessageW(focus, WM_GETDLGCODE, VK_TAB, reinterpret_cast<LPARAM>(msg)) & (DLGC_WANTTAB | DLGC_WANTALLKEYS))
        return FALSE;
    HWND next = GetNextDlgTabItem(root, focus, GetKeyState(VK_SHIFT) < 0 ? TRUE : FALSE);
    if (next && next != focus)
        SetFocus(next);
    return TRUE;
}

int UIThread::ExitInstance()
{
    ready_.store(false);
    if (Window* window = window_.load())
        window->destroyOwner();
    if (oleInitialised_)
        OleUninitialize();
    oleInitialised_ = false;
    ended_.store(true);
    return 0;
}

} // namespace s::gui::win
