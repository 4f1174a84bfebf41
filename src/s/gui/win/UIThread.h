#pragma once
#include <atomic>

#include "mfc/afxwin.h"

namespace s::gui::win
{

class Window;

// The user-interface thread of one top-level window: it initialises the common
// controls and OLE, waits for the window to host, creates the window's hidden owner
// and the window, reports ready and serves their messages until WM_QUIT.
//
// Owned by its Window (m_bAutoDelete is off): the Window starts it with start(),
// stops it with stop() and then deletes it.
class UIThread : public CWinThread
{
  public:
    UIThread();
    ~UIThread() override;

    // Starts the thread and hands it `window`; waits until the thread has made the
    // window (true) or ended without making it (false).
    bool start(Window* window);

    // Posts WM_QUIT every 10 ms until accepted or `limitMs` have passed, waits for the
    // thread for what is left of them and suspends it if it still runs.
    // Answers true when the thread ended. Called on the thread itself, it only asks the
    // loop to end and answers false; the thread then deletes this object itself, so
    // the caller must not delete it.
    bool stop(DWORD limitMs = STOP_LIMIT_MS);

    static constexpr DWORD STOP_LIMIT_MS = 5000;

    BOOL InitInstance() override;
    int ExitInstance() override;
    // Tab and Shift+Tab move the focus among the window's tab stops in their order, as in a
    // dialog (the next enabled, shown WS_TABSTOP window; containers with
    // WS_EX_CONTROLPARENT are looked into); a control that takes Tab itself keeps it.
    BOOL PreTranslateMessage(MSG* msg) override;

    bool isReady() const { return ready_.load(); }

  private:
    std::atomic<Window*> window_{nullptr};
    std::atomic<bool> ready_{false};
    std::atomic<bool> ended_{false};
    HANDLE settled_ = nullptr; // set once the thread is ready or has ended; start() owns it
    bool oleInitialised_ = false;
};

} // namespace s::gui::win
