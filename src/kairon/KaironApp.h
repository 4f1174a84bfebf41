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

class CKaironApp : public CWinApp
{
  public:
    CKaironApp();

    BOOL InitInstance() override;

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
    };
    Outcome getOutcome() const { return outcome_; }

  protected:
    // The main dialog, taken from its pool (released by InitInstance after its run).
    virtual s::gui::dialogs::dragndrop::Dialog* acquireDialog();

  private:
    wchar_t productKey_[256];
    Outcome outcome_ = OUTCOME_NONE;
};
