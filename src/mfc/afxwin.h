#pragma once
// A small stand-in for the parts of the MFC application framework that the program
// uses: the application object (CWinApp with InitInstance), user-interface threads
// (CWinThread, AfxBeginThread), the command-line parser (CCommandLineInfo) and message
// boxes (AfxMessageBox). Names and behaviour follow MFC where the program relies on
// them; nothing else of MFC is provided.
#include <windows.h>

class CWinThread;

// A thread that runs InitInstance, then (when it succeeded) its message loop until
// WM_QUIT, then ExitInstance. With m_bAutoDelete set the thread deletes its own
// object when it ends; otherwise the owner deletes it after the thread has ended.
class CWinThread
{
  public:
    CWinThread();
    virtual ~CWinThread();
    CWinThread(const CWinThread&) = delete;
    CWinThread& operator=(const CWinThread&) = delete;

    // Starts the operating-system thread; FALSE when it could not be made.
    BOOL CreateThread(DWORD createFlags = 0, UINT stackSize = 0);

    // Called on the new thread. FALSE ends the thread without a message loop.
    virtual BOOL InitInstance();
    // Called on the thread when it leaves; answers the thread's exit code.
    virtual int ExitInstance();
    // The message loop; answers the WM_QUIT exit code.
    virtual int Run();
    // Gives the thread a chance to handle a message before it is dispatched; TRUE
    // means handled (not translated or dispatched).
    virtual BOOL PreTranslateMessage(MSG* msg);

    BOOL PostThreadMessage(UINT message, WPARAM wParam, LPARAM lParam);
    DWORD ResumeThread();
    DWORD SuspendThread();
    BOOL SetThreadPriority(int priority);

    HANDLE m_hThread = nullptr;
    DWORD m_nThreadID = 0;
    BOOL m_bAutoDelete = TRUE;

  private:
    static DWORD WINAPI ThreadEntry(LPVOID self);
};

// Starts `thread` (made by the caller with new; see m_bAutoDelete for who deletes it).
// Answers the thread, or null when it could not be started (the object is then
// deleted when m_bAutoDelete is set).
CWinThread* AfxBeginThread(CWinThread* thread, int priority = THREAD_PRIORITY_NORMAL, UINT stackSize = 0,
                           DWORD createFlags = 0);

// Receives the program's arguments one by one from CWinApp::ParseCommandLine.
class CCommandLineInfo
{
  public:
    virtual ~CCommandLineInfo() = default;
    // `param` is the argument without its leading '-' or '/' when `isFlag` is TRUE.
    virtual void ParseParam(const wchar_t* param, BOOL isFlag, BOOL isLast);
};

// The application object: one per program, made as a global. AfxWinMain runs its
// InitInstance on the main thread, then its message loop when InitInstance answers
// TRUE, then ExitInstance.
class CWinApp : public CWinThread
{
  public:
    explicit CWinApp(const wchar_t* appName = nullptr);
    ~CWinApp() override;

    // Feeds every argument after the program's own name to `info` (flags start
    // with '-' or '/').
    void ParseCommandLine(CCommandLineInfo& info);

    const wchar_t* m_pszAppName = nullptr; // caption of AfxMessageBox
    HINSTANCE m_hInstance = nullptr;
    LPWSTR m_lpCmdLine = nullptr;
    int m_nCmdShow = SW_SHOWNORMAL;
};

CWinApp* AfxGetApp();
// The caption of the application's message boxes: the application object's name,
// or the program file's name without folder and extension when there is none.
const wchar_t* AfxGetAppName();
HINSTANCE AfxGetInstanceHandle();

int AfxWinMain(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine, int showCommand);

// Initialises OLE for the calling thread (OleInitialize); FALSE on failure.
BOOL AfxOleInit();
void AfxEnableControlContainer();

// A message box over the active window of the calling thread with the application's
// name as caption; answers the button pressed (IDOK, IDYES, ...).
int AfxMessageBox(const wchar_t* text, UINT type = MB_OK, UINT helpId = 0);

// Every message box of the program and its library goes through here (AfxMessageBox
// too). A hook, when set, is asked instead of the platform; tests set one so that no
// box waits for a person. The hook may be called on any thread.
using AfxMessageBoxHook = int (*)(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type);
int AfxShowMessageBox(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type);
// Answers the previous hook; null removes it.
AfxMessageBoxHook AfxSetMessageBoxHook(AfxMessageBoxHook hook);
