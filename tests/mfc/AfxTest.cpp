// The framework stand-in: threads with InitInstance/Run/ExitInstance, the command-line
// parser and the message-box hook.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "mfc/afxwin.h"

namespace
{

struct CountingThread : CWinThread
{
    bool initOk = true;
    int inits = 0, exits = 0;
    DWORD ranOn = 0;
    HANDLE started = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ~CountingThread() override { CloseHandle(started); }
    BOOL InitInstance() override
    {
        ++inits;
        ranOn = GetCurrentThreadId();
        MSG msg;
        PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE); // make the message queue
        SetEvent(started);
        return initOk ? TRUE : FALSE;
    }
    int ExitInstance() override
    {
        ++exits;
        return 7;
    }
};

struct Collector : CCommandLineInfo
{
    std::vector<std::wstring> params;
    std::vector<bool> flags, lasts;
    void ParseParam(const wchar_t* param, BOOL isFlag, BOOL isLast) override
    {
        params.push_back(param);
        flags.push_back(isFlag != FALSE);
        lasts.push_back(isLast != FALSE);
    }
};

std::wstring g_lastBox;
int recordBox(HWND, const wchar_t* text, const wchar_t* caption, UINT type)
{
    g_lastBox = std::wstring(caption) + L"|" + text;
    return (type & MB_YESNO) ? IDNO : IDOK;
}

} // namespace

TEST(AfxThread, RunsTheMessageLoopUntilQuitThenExitInstance)
{
    CountingThread* t = new CountingThread();
    t->m_bAutoDelete = FALSE;
    ASSERT_EQ(t, AfxBeginThread(t));
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(t->started, 5000));
    EXPECT_NE(GetCurrentThreadId(), t->ranOn);
    EXPECT_EQ(t->ranOn, t->m_nThreadID);
    EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(t->m_hThread, 50)); // in its loop
    EXPECT_TRUE(t->PostThreadMessage(WM_QUIT, 0, 0));
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(t->m_hThread, 5000));
    DWORD code = 0;
    GetExitCodeThread(t->m_hThread, &code);
    EXPECT_EQ(7u, code);
    EXPECT_EQ(1, t->inits);
    EXPECT_EQ(1, t->exits);
    delete t;
}

TEST(AfxThread, FailedInitInstanceEndsWithoutALoop)
{
    CountingThread* t = new CountingThread();
    t->m_bAutoDelete = FALSE;
    t->initOk = false;
    ASSERT_EQ(t, AfxBeginThread(t));
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(t->m_hThread, 5000));
    EXPECT_EQ(1, t->exits);
    delete t;
}

TEST(AfxCommandLine, FlagsLoseTheirMarkAndTheLastIsMarked)
{
    // The parser reads this process's own command line: the test program's arguments.
    Collector info;
    CWinApp app(L"Tester");
    app.ParseCommandLine(info);
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    ASSERT_EQ(static_cast<size_t>(argc - 1), info.params.size());
    for (int i = 1; i < argc; ++i)
    {
        bool flag = argv[i][0] == L'-' || argv[i][0] == L'/';
        EXPECT_EQ(flag, info.flags[i - 1]);
        EXPECT_EQ(std::wstring(flag ? argv[i] + 1 : argv[i]), info.params[i - 1]);
        EXPECT_EQ(i == argc - 1, info.lasts[i - 1]);
    }
    LocalFree(argv);
    EXPECT_EQ(&app, AfxGetApp());
    EXPECT_STREQ(L"Tester", AfxGetAppName());
}

TEST(AfxMessageBox, GoesThroughTheHookWithTheApplicationName)
{
    AfxMessageBoxHook previous = AfxSetMessageBoxHook(&recordBox);
    {
        CWinApp app(L"Kairon");
        EXPECT_EQ(IDOK, AfxMessageBox(L"hello", MB_ICONINFORMATION));
        EXPECT_EQ(L"Kairon|hello", g_lastBox);
        EXPECT_EQ(IDNO, AfxShowMessageBox(nullptr, L"sure?", L"Error!", MB_YESNO));
        EXPECT_EQ(L"Error!|sure?", g_lastBox);
    }
    EXPECT_EQ(nullptr, AfxGetApp());
    AfxSetMessageBoxHook(previous);
}
