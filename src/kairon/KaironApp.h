#pragma once
// The application object. All of the program's work happens in InitInstance, on the main
// thread: common controls, the reset of outdated settings, the application services, the
// main window's settings object, the operating-system check, the first-run page, the hand-
// over to an instance that already runs, the main dialog (which returns when its window has
// been closed), and shutdown. InitInstance answers FALSE, so the framework ends the process
// without a message loop of its own; the window's messages are served by its own thread.

#include "mfc/afxwin.h"

namespace s::gui::dialogs::dragndrop
{
class Dialog;
}
namespace s::app::win
{
class InstanceGate;
class AppWindow;
} // namespace s::app::win
namespace s::str::strarray
{
class StrArray;
}

class CKaironApp : public CWinApp
{
  public:
    CKaironApp();

    BOOL InitInstance() override;
    // The process's exit code: 1 when items could not be handed to the running instance,
    // otherwise 0.
    int ExitInstance() override;

    // How long a later start waits for the first instance's window, and for each answer.
    static constexpr DWORD HAND_OVER_WAIT_MS = 60000;
    static constexpr DWORD HAND_OVER_SEND_MS = 10000;

    // The product's registry key below HKEY_CURRENT_USER ("Software\Vesk\Vesk Kairon"
    // unless set); tests give one of their own. Copied.
    void setProductKey(const wchar_t* key);
    const wchar_t* getProductKey() const { return productKey_; }

    // How the last InitInstance ended.
    enum Outcome
    {
        OUTCOME_NONE = 0,
        OUTCOME_DIALOG_CLOSED,
        OUTCOME_UNSUPPORTED_SYSTEM,
        OUTCOME_OTHER_INSTANCE,
        // Items on the command line went to the instance that runs.
        OUTCOME_HANDED_OVER,
        OUTCOME_HAND_OVER_FAILED,
    };
    Outcome getOutcome() const { return outcome_; }

  protected:
    // The main dialog, taken from its pool (released by InitInstance after its run).
    virtual s::gui::dialogs::dragndrop::Dialog* acquireDialog();

  private:
    void handOver(s::app::win::InstanceGate& gate, const s::str::strarray::StrArray* paths);
    // A start without items while another runs: the first instance is asked to come forward
    // once its window is up. A first that is ending (its window already closed) is waited
    // for instead, and this start then runs as the first; the outcome stays OUTCOME_NONE.
    void askFirstToComeForward(s::app::win::InstanceGate& gate);
    // Lets the first instance's window come to the front and asks it to (restored when
    // minimised).
    static void bringForward(HWND first);
    // Explorer entries left behind by a moved or renamed program file point at this one;
    // what cannot be repaired is reported.
    void repairShellEntries(s::gui::dialogs::dragndrop::Dialog* dialog, s::app::win::AppWindow* mainWindow);

    wchar_t productKey_[256];
    Outcome outcome_ = OUTCOME_NONE;
};
