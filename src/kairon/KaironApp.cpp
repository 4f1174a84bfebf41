#include "kairon/KaironApp.h"

#include <windows.h>
#include <commctrl.h>

#include "kairon/StartupChecks.h"
#include "s/app/win/AppBase.h"
#include "s/app/win/AppWindow.h"
#include "s/file/gui/dialogs/filetime/Dialog.h"
#include "s/gui/dialogs/dragndrop/Dialog.h"
#include "s/gui/win/Window.h"
#include "s/app/win/HandOver.h"
#include "s/app/win/ShellIntegration.h"
#include "s/file/win/PathWin.h"
#include "s/lang/Localizer.h"
#include "s/process/commandline/ICommandLine.h"
#include "s/str/strarray/StrArray.h"
#include "s/sys/StepProfile.h"

CKaironApp::CKaironApp() : CWinApp(L"Kairon")
{
    setProductKey(kairon::PRODUCT_KEY);
}

void CKaironApp::setProductKey(const wchar_t* key)
{
    lstrcpynW(productKey_, key != nullptr && key[0] != L'\0' ? key : kairon::PRODUCT_KEY,
              static_cast<int>(sizeof(productKey_) / sizeof(productKey_[0])));
}

s::gui::dialogs::dragndrop::Dialog* CKaironApp::acquireDialog()
{
    return s::file::gui::dialogs::filetime::Dialog::Acquire();
}

int CKaironApp::ExitInstance()
{
    CWinApp::ExitInstance();
    return outcome_ == OUTCOME_HAND_OVER_FAILED ? 1 : 0;
}

void CKaironApp::handOver(s::app::win::InstanceGate& gate, const s::str::strarray::StrArray* paths)
{
    // The first instance may still be building its window (Explorer starts one process per
    // selected item, all at once).
    HWND first = gate.waitForFirstWindow(HAND_OVER_WAIT_MS);
    if (first == nullptr)
    {
        // Either the first ended meanwhile (this process is the first now and runs), or it
        // never showed its window: the items cannot be handed over.
        if (!gate.isFirst())
        {
            outcome_ = OUTCOME_HAND_OVER_FAILED;
        }
        return;
    }
    const bool taken = s::app::win::SendHandOver(first, paths, HAND_OVER_SEND_MS);
    gate.markHandedOver(); // the paths are there (or never will be): the gathering may end
    bringForward(first);
    outcome_ = taken ? OUTCOME_HANDED_OVER : OUTCOME_HAND_OVER_FAILED;
}

void CKaironApp::askFirstToComeForward(s::app::win::InstanceGate& gate)
{
    // The gate answers the first's window only while it is shown: a first that is closing
    // is waited for until it has ended, and this start then runs as the first.
    HWND first = gate.waitForFirstWindow(HAND_OVER_WAIT_MS);
    if (first != nullptr)
    {
        bringForward(first);
        outcome_ = OUTCOME_OTHER_INSTANCE;
    }
    else if (!gate.isFirst())
    {
        // The first never showed its window: it is there, and this start stays out of its way.
        outcome_ = OUTCOME_OTHER_INSTANCE;
    }
}

void CKaironApp::bringForward(HWND first)
{
    DWORD firstProcess = 0;
    GetWindowThreadProcessId(first, &firstProcess);
    // The first instance may come to the front: the user started this one.
    AllowSetForegroundWindow(firstProcess);
    DWORD_PTR answer = 0;
    SendMessageTimeoutW(first, s::app::IAppBase::MSG_ACTIVATE_INSTANCE, 0, 0, SMTO_BLOCK | SMTO_ABORTIFHUNG,
                        HAND_OVER_SEND_MS, &answer);
}

void CKaironApp::repairShellEntries(s::gui::dialogs::dragndrop::Dialog* dialog, s::app::win::AppWindow* mainWindow)
{
    s::app::IAppBase* app = mainWindow->getAppBase();
    s::lang::Localizer* pack = mainWindow->getLocalizer();
    if (app == nullptr || app->getProgramPath() == nullptr || pack == nullptr)
    {
        return;
    }
    const wchar_t* verb = pack->getText(s::gui::dialogs::dragndrop::Dialog::TEXT_SHELL_VERB);
    const int result = s::app::win::ShellIntegration::repairMoved(dialog->getShellEntryName(),
                                                                  app->getProgramPath()->GetFullPath(), verb, verb);
    if (result & (s::app::win::ShellIntegration::FAILED_SEND_TO | s::app::win::ShellIntegration::FAILED_CONTEXT_MENU))
    {
        AfxMessageBox(pack->getText(kairon::TEXT_EXPLORER_REPAIR_FAILED), MB_ICONINFORMATION);
    }
}

BOOL CKaironApp::InitInstance()
{
    outcome_ = OUTCOME_NONE;

    // 1. Common controls: size 8, every class of the mask 0xFF.
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = 8;
    controls.dwICC = 0xFF;
    InitCommonControlsEx(&controls);
    s::sys::StepProfile::mark(L"common controls");

    // 2.
    CWinApp::InitInstance();

    // 3. Settings of versions whose values are no longer read start afresh.
    kairon::resetOutdatedSettings(productKey_);
    s::sys::StepProfile::mark(L"framework and outdated settings");

    // 4. Application services; 5. the main window's settings object.
    s::app::win::AppBase* app = s::app::win::AppBase::Acquire();
    app->init(this, productKey_);
    s::app::win::AppWindow* mainWindow = s::app::win::AppWindow::Acquire();
    mainWindow->init(app, L"MainWindow", app->getSoftwareType(), 600, 550, s::gui::win::Window::ACTION_CLOSE,
                     app->getSkinner(), nullptr);
    s::sys::StepProfile::mark(L"application services and window settings");

    // 6. The operating system.
    OSVERSIONINFOEXW version{};
    if (!kairon::readSystemVersion(&version) || !kairon::isSupportedSystem(version))
    {
        AfxMessageBox(kairon::UNSUPPORTED_SYSTEM_TEXT, MB_ICONINFORMATION);
        outcome_ = OUTCOME_UNSUPPORTED_SYSTEM;
    }
    else
    {
        // 7. The first-run page, only when started without arguments.
        s::process::commandline::ICommandLine* commandLine = app->getCommandLine();
        if (commandLine == nullptr || commandLine->getArgumentCount() == 0)
        {
            app->showFirstRunPage();
        }
        s::sys::StepProfile::mark(L"system check and first-run page");
        // 8. Another instance: items on the command line are handed to it, otherwise it is
        // only asked to come forward; this one shows nothing. An instance that is ending is
        // waited for, and this one runs: a start right after a close is not lost.
        s::str::strarray::StrArray* paths = kairon::pathsOfCommandLine(commandLine);
        s::app::win::InstanceGate gate(app->getProgramPath() != nullptr ? app->getProgramPath()->GetFullPath() : L"");
        if (paths->IsEmpty())
        {
            gate.markHandedOver(); // nothing of this start is on its way
        }
        if (!paths->IsEmpty() && !gate.isFirst())
        {
            handOver(gate, paths);
        }
        else if (paths->IsEmpty() && !gate.isFirst())
        {
            askFirstToComeForward(gate);
        }
        if (outcome_ == OUTCOME_NONE)
        {
            s::sys::StepProfile::mark(L"other instance asked");
            // 9. The main dialog; its release stops a worker that still runs. The items of
            // the command line reach it as every later start's do, through its window.
            s::gui::dialogs::dragndrop::Dialog* dialog = acquireDialog();
            dialog->bind(mainWindow);
            dialog->setHandOverGate(&gate);
            repairShellEntries(dialog, mainWindow);
            if (dialog->buildAndShow())
            {
                HWND window = dialog->getWindow()->getHandle();
                // Its own items first, so that they lead the drop that later starts join.
                if (!paths->IsEmpty())
                {
                    s::app::win::SendHandOver(window, paths, INFINITE);
                }
                gate.waitForFirstWindow(0); // takes the gate over when its first has ended
                gate.publishWindow(window);
                dialog->getWindow()->waitUntilClosed();
            }
            gate.publishWindow(nullptr);
            dialog->setHandOverGate(nullptr);
            dialog->Release();
            outcome_ = OUTCOME_DIALOG_CLOSED;
        }
        paths->Release();
    }

    // 10. Shutdown: the window's settings, then the services (which flush the store).
    mainWindow->Release();
    app->Release();
    return FALSE;
}
