#include "mfc/afxwin.h"

#include <ole2.h>
#include <shellapi.h>

#include <atomic>
#include <cwchar>

namespace
{
CWinApp* g_app = nullptr;
std::atomic<AfxMessageBoxHook> g_messageBoxHook{nullptr};
wchar_t g_programName[MAX_PATH] = L"";
} // namespace

// --- CWinThread -----------------------------------------------------------

CWinThread::CWinThread() = default;

CWinThread::~CWinThread()
{
    if (m_hThread)
        CloseHandle(m_hThread);
}

BOOL CWinThread::CreateThread(DWORD createFlags, UINT stackSize)
{
    if (m_hThread)
        return FALSE;
    m_hThread = ::CreateThread(nullptr, stackSize, &CWinThread::ThreadEntry, this, createFlags, &m_nThreadID);
    return m_hThread != nullptr;
}

BOOL CWinThread::InitInstance()
{
    return FALSE;
}

int CWinThread::ExitInstance()
{
    return 0;
}

BOOL CWinThread::PreTranslateMessage(MSG*)
{
    return FALSE;
}

int CWinThread::Run()
{
    MSG msg;
    for (;;)
    {
        BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0)
            return static_cast<int>(msg.wParam);
        if (got == -1)
            return -1;
        if (PreTranslateMessage(&msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

BOOL CWinThread::PostThreadMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    return m_nThreadID != 0 && ::PostThreadMessageW(m_nThreadID, message, wParam, lParam);
}

DWORD CWinThread::ResumeThread()
{
    return m_hThread ? ::ResumeThread(m_hThread) : (DWORD)-1;
}

DWORD CWinThread::SuspendThread()
{
    return m_hThread ? ::SuspendThread(m_hThread) : (DWORD)-1;
}

BOOL CWinThread::SetThreadPriority(int priority)
{
    return m_hThread && ::SetThreadPriority(m_hThread, priority);
}

DWORD WINAPI CWinThread::ThreadEntry(LPVOID self)
{
    CWinThread* thread = static_cast<CWinThread*>(self);
    if (thread->InitInstance())
        thread->Run();
    int code = thread->ExitInstance();
    if (thread->m_bAutoDelete)
        delete thread;
    return static_cast<DWORD>(code);
}

CWinThread* AfxBeginThread(CWinThread* thread, int priority, UINT stackSize, DWORD createFlags)
{
    if (!thread)
        return nullptr;
    if (!thread->CreateThread(createFlags | CREATE_SUSPENDED, stackSize))
    {
        if (thread->m_bAutoDelete)
            delete thread;
        return nullptr;
    }
    thread->SetThreadPriority(priority);
    if (!(createFlags & CREATE_SUSPENDED))
        thread->ResumeThread();
    return thread;
}

// --- CCommandLineInfo and CWinApp ----------------------------------------

void CCommandLineInfo::ParseParam(const wchar_t*, BOOL, BOOL) {}

CWinApp::CWinApp(const wchar_t* appName) : m_pszAppName(appName)
{
    g_app = this;
}

CWinApp::~CWinApp()
{
    if (g_app == this)
        g_app = nullptr;
    // The main thread's handle is not ours to close.
    m_hThread = nullptr;
}

void CWinApp::ParseCommandLine(CCommandLineInfo& info)
{
    int count = 0;
    LPWSTR* args = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!args)
        return;
    for (int i = 1; i < count; ++i)
    {
        const wchar_t* arg = args[i];
        BOOL isFlag = (arg[0] == L'-' || arg[0] == L'/') ? TRUE : FALSE;
        info.ParseParam(isFlag ? arg + 1 : arg, isFlag, i == count - 1);
    }
    LocalFree(args);
}

CWinApp* AfxGetApp()
{
    return g_app;
}

const wchar_t* AfxGetAppName()
{
    if (g_app && g_app->m_pszAppName)
        return g_app->m_pszAppName;
    if (g_programName[0] == 0)
    {
        wchar_t path[MAX_PATH];
        DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
        if (n == 0 || n >= MAX_PATH)
            return L"";
        const wchar_t* name = path;
        for (const wchar_t* p = path; *p; ++p)
        {
            if (*p == L'\\' || *p == L'/')
                name = p + 1;
        }
        wchar_t local[MAX_PATH];
        wcsncpy(local, name, MAX_PATH - 1);
        local[MAX_PATH - 1] = 0;
        if (wchar_t* dot = wcsrchr(local, L'.'))
            *dot = 0;
        wcscpy(g_programName, local);
    }
    return g_programName;
}

HINSTANCE AfxGetInstanceHandle()
{
    if (g_app && g_app->m_hInstance)
        return g_app->m_hInstance;
    return GetModuleHandleW(nullptr);
}

int AfxWinMain(HINSTANCE instance, HINSTANCE, LPWSTR commandLine, int showCommand)
{
    CWinApp* app = AfxGetApp();
    if (!app)
        return -1;
    app->m_hInstance = instance;
    app->m_lpCmdLine = commandLine;
    app->m_nCmdShow = showCommand;
    app->m_nThreadID = GetCurrentThreadId();
    if (app->InitInstance())
        app->Run();
    return app->ExitInstance();
}

BOOL AfxOleInit()
{
    HRESULT hr = OleInitialize(nullptr);
    return SUCCEEDED(hr) ? TRUE : FALSE;
}

void AfxEnableControlContainer() {}

// --- message boxes --------------------------------------------------------

int AfxShowMessageBox(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type)
{
    if (AfxMessageBoxHook hook = g_messageBoxHook.load())
        return hook(owner, text ? text : L"", caption ? caption : L"", type);
    return MessageBoxW(owner, text ? text : L"", caption ? caption : L"", type);
}

AfxMessageBoxHook AfxSetMessageBoxHook(AfxMessageBoxHook hook)
{
    return g_messageBoxHook.exchange(hook);
}

int AfxMessageBox(const wchar_t* text, UINT type, UINT)
{
    return AfxShowMessageBox(GetActiveWindow(), text, AfxGetAppName(), type);
}
