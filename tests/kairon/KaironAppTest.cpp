// The application object's start-up and shutdown, in this process (with the system version
// and the settings key replaced) and as the real program started twice.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "kairon/KaironApp.h"
#include "kairon/ProgramRun.h"
#include "kairon/StartupChecks.h"
#include "s/app/win/AppBase.h"
#include "s/gui/GuiTestSupport.h"
#include "s/reg/MappedData.h"

using testgui::MessageBoxes;
using testkairon::waitForWindow;
using testkairon::windowsOf;

namespace
{

constexpr wchar_t TEST_KEY[] = L"Software\\KaironTests\\KaironApp";

bool windows2000(OSVERSIONINFOEXW* v)
{
    *v = OSVERSIONINFOEXW{};
    v->dwMajorVersion = 5;
    v->dwMinorVersion = 0;
    v->dwPlatformId = VER_PLATFORM_WIN32_NT;
    return true;
}

std::vector<std::wstring> openedPages;
bool recordPage(const wchar_t* address)
{
    openedPages.push_back(address);
    return true;
}

void writeString(const wchar_t* sub, const wchar_t* name, const wchar_t* text)
{
    HKEY key;
    const std::wstring path = std::wstring(TEST_KEY) + sub;
    RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), DWORD((wcslen(text) + 1) * 2));
    RegCloseKey(key);
}

void writeDword(const wchar_t* name, DWORD value)
{
    HKEY key;
    RegCreateKeyExW(HKEY_CURRENT_USER, TEST_KEY, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
    RegCloseKey(key);
}

std::wstring readString(const wchar_t* sub, const wchar_t* name)
{
    wchar_t text[256] = L"";
    DWORD size = sizeof(text);
    const std::wstring path = std::wstring(TEST_KEY) + sub;
    if (RegGetValueW(HKEY_CURRENT_USER, path.c_str(), name, RRF_RT_REG_SZ, nullptr, text, &size) != ERROR_SUCCESS)
        return L"<missing>";
    return text;
}

DWORD readDword(const wchar_t* name)
{
    DWORD value = 0xFFFFFFFF, size = sizeof(value);
    RegGetValueW(HKEY_CURRENT_USER, TEST_KEY, name, RRF_RT_REG_DWORD, nullptr, &value, &size);
    return value;
}

class KaironApp : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        MessageBoxes::install();
        std::lock_guard<std::mutex> guard(MessageBoxes::lock());
        MessageBoxes::texts().clear();
        RegDeleteTreeW(HKEY_CURRENT_USER, TEST_KEY);
        openedPages.clear();
        previousOpener = s::app::win::AppBase::setShellOpenFunction(&recordPage);
    }
    void TearDown() override
    {
        for (PROCESS_INFORMATION& pi : started)
        {
            if (WaitForSingleObject(pi.hProcess, 0) != WAIT_OBJECT_0)
                TerminateProcess(pi.hProcess, 1);
            CloseHandle(pi.hThread);
            CloseHandle(pi.hProcess);
        }
        kairon::setVersionSource(nullptr);
        s::app::win::AppBase::setShellOpenFunction(previousOpener);
        RegDeleteTreeW(HKEY_CURRENT_USER, TEST_KEY);
    }
    std::vector<std::wstring> boxes()
    {
        std::lock_guard<std::mutex> guard(MessageBoxes::lock());
        return MessageBoxes::texts();
    }
    // Kairon.exe of the build folder as a process of its own, with the tests' settings key
    // and an argument (which keeps the first-run page out). TearDown ends what still runs
    // and closes the handles.
    bool startProgram(PROCESS_INFORMATION* pi)
    {
        wchar_t folder[MAX_PATH];
        GetCurrentDirectoryW(MAX_PATH, folder);
        const std::wstring program = std::wstring(folder) + L"\\Kairon.exe";
        if (GetFileAttributesW(program.c_str()) == INVALID_FILE_ATTRIBUTES)
        {
            ADD_FAILURE() << "run from the build folder";
            return false;
        }
        SetEnvironmentVariableW(L"KAIRON_TEST_PRODUCT_KEY", TEST_KEY);
        STARTUPINFOW si{};
        si.cb = sizeof(si);
        std::wstring commandLine = L"\"" + program + L"\" /test";
        const bool made = CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                         nullptr, &si, pi) != FALSE;
        SetEnvironmentVariableW(L"KAIRON_TEST_PRODUCT_KEY", nullptr);
        if (made)
            started.push_back(*pi);
        return made;
    }
    s::app::win::AppBase::ShellOpenFunction previousOpener = nullptr;
    std::vector<PROCESS_INFORMATION> started;
};

} // namespace

TEST_F(KaironApp, AnUnsupportedSystemShowsOnlyTheMessage)
{
    writeString(L"\\SaveData\\Version", L"", L"1.01");
    writeString(L"\\SaveData\\MainWindow\\View", L"OnMClick", L"DoNothing");
    kairon::setVersionSource(&windows2000);
    CKaironApp app;
    app.setProductKey(TEST_KEY);
    EXPECT_FALSE(app.InitInstance());
    EXPECT_EQ(CKaironApp::OUTCOME_UNSUPPORTED_SYSTEM, app.getOutcome());
    std::vector<std::wstring> shown = boxes();
    ASSERT_EQ(1u, shown.size());
    EXPECT_NE(std::wstring::npos, shown[0].find(L"|This Operating System is currently not supported by this "
                                                L"Application. We are sorry for the inconvenience."));
    EXPECT_TRUE(windowsOf(GetCurrentProcessId()).empty());
    // "1.01" was reset before the store was opened: the old value is gone, the identity new.
    EXPECT_EQ(L"<missing>", readString(L"\\SaveData\\MainWindow\\View", L"OnMClick"));
    EXPECT_EQ(L"1.16", readString(L"\\SaveData\\Version", L""));
}

TEST_F(KaironApp, TheDialogRunsUntilItsWindowIsClosedAndSilentIsLeftWithArguments)
{
    // This test program is started with arguments: the first-run page is not looked at.
    writeDword(L"Silent", 1);
    writeString(L"\\SaveData\\Version", L"", L"1.16");
    writeString(L"\\SaveData\\MainWindow\\View", L"OnMClick", L"Iconize");
    std::atomic<bool> closed{false};
    std::thread closer(
        [&]
        {
            HWND window = waitForWindow(GetCurrentProcessId(), 30000);
            if (window != nullptr)
            {
                PostMessageW(window, WM_CLOSE, 0, 0);
                closed = true;
            }
        });
    CKaironApp app;
    app.setProductKey(TEST_KEY);
    EXPECT_FALSE(app.InitInstance());
    closer.join();
    EXPECT_TRUE(closed);
    EXPECT_EQ(CKaironApp::OUTCOME_DIALOG_CLOSED, app.getOutcome());
    EXPECT_EQ(1u, readDword(L"Silent"));
    EXPECT_TRUE(openedPages.empty());
    // "1.16" is the program's own version: nothing was deleted.
    EXPECT_EQ(L"Iconize", readString(L"\\SaveData\\MainWindow\\View", L"OnMClick"));
    // The size of the view shown (the file-time dialog's large one: it has no compact view)
    // was stored on closing, and so were the dialog's own settings.
    const std::wstring view = std::wstring(TEST_KEY) + L"\\SaveData\\MainWindow\\View";
    EXPECT_EQ(ERROR_SUCCESS, RegGetValueW(HKEY_CURRENT_USER, view.c_str(), L"LargeWidth", RRF_RT_ANY, nullptr,
                                          nullptr, nullptr));
    EXPECT_NE(ERROR_SUCCESS, RegGetValueW(HKEY_CURRENT_USER, view.c_str(), L"SmallWidth", RRF_RT_ANY, nullptr,
                                          nullptr, nullptr));
    EXPECT_EQ(L"Specific", readString(L"\\SaveData\\View\\Multiple", L"Mode"));
    EXPECT_TRUE(windowsOf(GetCurrentProcessId()).empty());
}

TEST_F(KaironApp, ASecondStartRestoresTheFirstInstanceAndEnds)
{
    PROCESS_INFORMATION first{}, second{};
    ASSERT_TRUE(startProgram(&first));
    HWND window = waitForWindow(first.dwProcessId, 60000);
    ASSERT_NE(nullptr, window);
    ShowWindow(window, SW_MINIMIZE);
    for (int i = 0; i < 100 && !IsIconic(window); ++i)
        Sleep(20);
    ASSERT_TRUE(IsIconic(window));

    ASSERT_TRUE(startProgram(&second));
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(second.hProcess, 60000));
    for (int i = 0; i < 250 && IsIconic(window); ++i)
        Sleep(20);
    EXPECT_FALSE(IsIconic(window));
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_TRUE(windowsOf(second.dwProcessId).empty());

    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(first.hProcess, 30000));
}

// Started again right after the first was closed, while that process is still ending: the
// new start waits for it to end and opens its own window (it once asked the ending one to
// come forward and quit with it, and the user saw nothing).
TEST_F(KaironApp, AStartWhileTheClosedFirstIsEndingOpensItsOwnWindow)
{
    PROCESS_INFORMATION first{}, second{};
    ASSERT_TRUE(startProgram(&first));
    HWND window = waitForWindow(first.dwProcessId, 60000);
    ASSERT_NE(nullptr, window);
    PostMessageW(window, WM_CLOSE, 0, 0);
    for (int i = 0; i < 250 && IsWindowVisible(window); ++i)
        Sleep(20);
    ASSERT_FALSE(IsWindowVisible(window));
    // Held in its ending (its program thread, which releases the window and the gate) for
    // as long as a slow machine might take.
    ASSERT_NE(static_cast<DWORD>(-1), SuspendThread(first.hThread));
    ASSERT_EQ(WAIT_TIMEOUT, WaitForSingleObject(first.hProcess, 0)) << "the first ended before the second start";

    ASSERT_TRUE(startProgram(&second));
    EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(second.hProcess, 3000)) << "the second start gave up";
    ResumeThread(first.hThread);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(first.hProcess, 30000));
    HWND own = waitForWindow(second.dwProcessId, 60000);
    EXPECT_NE(nullptr, own);
    if (own != nullptr)
    {
        PostMessageW(own, WM_CLOSE, 0, 0);
        EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(second.hProcess, 30000));
    }
}

// What an outside driver (a screen reader, UI automation) reads from the running program:
// the texts that tell what to do or how things stand (hints, the status bar) as window
// texts. (Captions beside the controls are drawn in their boxes.)
TEST_F(KaironApp, AnOutsideDriverReadsTheTextsTheWindowShows)
{
    PROCESS_INFORMATION pi{};
    ASSERT_TRUE(startProgram(&pi));
    HWND window = waitForWindow(pi.dwProcessId, 60000);
    ASSERT_NE(nullptr, window);
    Sleep(500); // the first layout and paint
    std::vector<std::wstring> texts;
    EnumChildWindows(
        window,
        [](HWND child, LPARAM into) -> BOOL
        {
            wchar_t text[256] = L"";
            if (IsWindowVisible(child) && GetWindowTextW(child, text, 256) > 0)
                reinterpret_cast<std::vector<std::wstring>*>(into)->push_back(text);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&texts));
    auto shows = [&](const wchar_t* text) { return std::find(texts.begin(), texts.end(), text) != texts.end(); };
    EXPECT_TRUE(shows(L"Please drop file(s) / folder(s) here!")) << "the drop box's hint";
    EXPECT_TRUE(shows(L"<< Please drop a file / folder onto the box.")) << "the panel's hint";
    EXPECT_TRUE(shows(L"Ready")) << "the status bar";

    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(pi.hProcess, 30000));
}
