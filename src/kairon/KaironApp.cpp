#include "kairon/KaironApp.h"

#include <windows.h>
#include <commctrl.h>

#include "kairon/StartupChecks.h"
#include "s/app/win/AppBase.h"
#include "s/app/win/AppWindow.h"
#include "s/file/gui/dialogs/filetime/Dialog.h"
#include "s/gui/dialogs/dragndrop/Dialog.h"
#include "s/gui/win/Window.h"
#include "s/process/commandline/ICommandLine.h"
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
        // 8. Another instance is asked to come forward; this one shows nothing.
        if (app->activateOtherInstance(true, false, true))
        {
            outcome_ = OUTCOME_OTHER_INSTANCE;
        }
        else
        {
            s::sys::StepProfile::mark(L"other instance asked");
            // 9. The main dialog; its release stops a worker that still runs.
            s::gui::dialogs::dragndrop::Dialog* dialog = acquireDialog();
            dialog->bind(mainWindow);
            dialog->buildAndRun();
            dialog->Release();
            outcome_ = OUTCOME_DIALOG_CLOSED;
        }
    }

    // 10. Shutdown: the window's settings, then the services (which flush the store).
    mainWindow->Release();
    app->Release();
    return FALSE;
}
