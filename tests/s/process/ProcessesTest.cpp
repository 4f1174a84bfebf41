#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "s/process/commandline/win/CommandLine.h"
#include "s/process/win/Processes.h"
#include "s/str/strbuffer/StrBuffer.h"

using s::process::commandline::win::CommandLine;
using s::str::strbuffer::StrBuffer;
namespace proc = s::process::win;

TEST(CommandLine, FlagsAreKeptWithADashOtherArgumentsAsTheyStand)
{
    CommandLine* line = CommandLine::Acquire();
    struct Case
    {
        const wchar_t* param;
        bool isFlag;
        const wchar_t* kept;
    } cases[] = {
        {L"silent", true, L"-silent"},  // given as "-silent" or "/silent"
        {L"C:\\a b\\c.txt", false, L"C:\\a b\\c.txt"},
        {L"", true, L"-"},
        {L"-x", false, L"-x"},          // the parser only strips flags; others stay whole
    };
    for (const Case& c : cases)
        line->addParam(c.param, c.isFlag);
    ASSERT_EQ(4u, line->getArgumentCount());
    for (uint32_t i = 0; i < 4; ++i)
        EXPECT_STREQ(cases[i].kept, line->getArgument(i)) << i;
    EXPECT_EQ(nullptr, line->getArgument(4));
    line->Release();
    line = CommandLine::Acquire();
    EXPECT_EQ(0u, line->getArgumentCount());
    line->Release();
}

TEST(CommandLine, ParsedFromTheProcessAsTheFrameworkSplitsIt)
{
    // ctest starts the test program with its filter: at least one argument, as a flag.
    CommandLine* line = CommandLine::Acquire();
    line->parse(nullptr);
    int count = 0;
    LPWSTR* args = CommandLineToArgvW(GetCommandLineW(), &count);
    ASSERT_NE(nullptr, args);
    ASSERT_EQ(uint32_t(count - 1), line->getArgumentCount());
    EXPECT_NE(0u, line->getArgumentCount());
    for (int i = 1; i < count; ++i)
    {
        std::wstring expected = args[i];
        if (!expected.empty() && expected[0] == L'/')
            expected[0] = L'-';
        EXPECT_EQ(expected, line->getArgument(uint32_t(i - 1)));
    }
    LocalFree(args);
    // Parsing again replaces the list.
    line->parse(nullptr);
    EXPECT_EQ(uint32_t(count - 1), line->getArgumentCount());
    line->Release();
}

TEST(Processes, OwnPathIsReadWhole)
{
    wchar_t own[MAX_PATH];
    ASSERT_NE(0u, GetModuleFileNameW(nullptr, own, MAX_PATH));
    StrBuffer* path = proc::ModuleFileNameInto(nullptr);
    ASSERT_NE(nullptr, path);
    EXPECT_STREQ(own, path->CStr());
    StrBuffer* image = StrBuffer::Acquire(L"old text");
    ASSERT_TRUE(proc::ProcessImagePathInto(GetCurrentProcessId(), image));
    EXPECT_EQ(0, lstrcmpiW(own, image->CStr()));
    EXPECT_FALSE(proc::ProcessImagePathInto(0xFFFFFFF0u, image));
    EXPECT_TRUE(image->IsEmpty());
    image->Release();
    path->Release();
}

TEST(Processes, PathLongerThanTheFirstBufferIsReadWhole)
{
    wchar_t own[MAX_PATH];
    GetModuleFileNameW(nullptr, own, MAX_PATH);
    for (uint32_t first : {2u, 7u, uint32_t(wcslen(own)), uint32_t(wcslen(own) + 1)})
    {
        StrBuffer* path = proc::ModuleFileNameInto(nullptr, nullptr, first);
        ASSERT_NE(nullptr, path) << first;
        EXPECT_STREQ(own, path->CStr()) << first;
        path->Release();
    }
}

TEST(Processes, OwnProcessIsNeverTheOtherOne)
{
    StrBuffer* path = proc::ModuleFileNameInto(nullptr);
    ASSERT_NE(nullptr, path);
    EXPECT_EQ(0u, proc::FindOtherProcessOf(path->CStr()));
    EXPECT_EQ(0u, proc::FindOtherProcessOf(L""));
    EXPECT_EQ(0u, proc::FindOtherProcessOf(nullptr));
    path->Release();
}

TEST(Processes, TitleAndNameStandForEachOtherByTheirLeadingPart)
{
    struct Case
    {
        const wchar_t* title;
        const wchar_t* name;
        bool matches;
    } cases[] = {
        {L"Kairon v1.16", L"Kairon", true}, // the main window's title
        {L"kairon", L"Kairon", true},
        {L"Kai", L"Kairon", true},          // a leading part of the name
        {L"Karo", L"Kairon", false},
        {L"", L"Kairon", false},
        {L"Kairon", L"", false},
        {nullptr, L"Kairon", false},
        {L"Other Kairon", L"Kairon", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.matches, proc::TitleMatchesName(c.title, c.name)) << (c.title ? c.title : L"null");
}

// A program in a folder deeper than the old 260-character limit still knows its own path.
TEST(Processes, ProgramInADeepFolderReadsItsWholePath)
{
    wchar_t own[MAX_PATH];
    GetModuleFileNameW(nullptr, own, MAX_PATH);
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    std::wstring base = std::wstring(L"\\\\?\\") + temp + L"kairon-deep-" + std::to_wstring(GetCurrentProcessId());
    std::wstring folder = base;
    CreateDirectoryW(folder.c_str(), nullptr);
    while (folder.size() < 320)
    {
        folder += L"\\a-rather-long-folder-name-for-the-test";
        CreateDirectoryW(folder.c_str(), nullptr);
    }
    const std::wstring copy = folder + L"\\test_s_process.exe";
    ASSERT_TRUE(CopyFileW(own, copy.c_str(), FALSE));
    const std::wstring expected = copy.substr(4);
    SetEnvironmentVariableW(L"GTEST_FILTER", L"ProcessesChild.*");
    SetEnvironmentVariableW(L"GTEST_ALSO_RUN_DISABLED_TESTS", L"1");
    SetEnvironmentVariableW(L"KAIRON_EXPECTED_PATH", expected.c_str());
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::wstring commandLine = L"\"" + expected + L"\"";
    // Some systems take the long form of the program's path, others only the plain one.
    BOOL started = FALSE;
    for (const std::wstring* application : {&copy, &expected})
    {
        if (!started)
            started = CreateProcessW(application->c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                     nullptr, &startup, &process);
    }
    for (const wchar_t* name : {L"GTEST_FILTER", L"GTEST_ALSO_RUN_DISABLED_TESTS", L"KAIRON_EXPECTED_PATH"})
        SetEnvironmentVariableW(name, nullptr);
    DWORD exitCode = 99;
    if (started)
    {
        WaitForSingleObject(process.hProcess, 60000);
        GetExitCodeProcess(process.hProcess, &exitCode);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    DeleteFileW(copy.c_str());
    while (folder.size() > base.size())
    {
        RemoveDirectoryW(folder.c_str());
        folder.resize(folder.rfind(L'\\'));
    }
    RemoveDirectoryW(base.c_str());
    if (!started)
        GTEST_SKIP() << "the system does not start programs from a path this long";
    EXPECT_EQ(0u, exitCode);
}

TEST(ProcessesChild, DISABLED_ReadsItsWholePath)
{
    wchar_t expected[1024];
    ASSERT_NE(0u, GetEnvironmentVariableW(L"KAIRON_EXPECTED_PATH", expected, 1024));
    StrBuffer* path = proc::ModuleFileNameInto(nullptr);
    ASSERT_NE(nullptr, path);
    EXPECT_GT(path->Length(), uint32_t(MAX_PATH));
    // The system may hand the path out in its long form ("\\?\"); the rest is the same.
    std::wstring got = path->CStr();
    if (got.rfind(L"\\\\?\\", 0) == 0)
        got = got.substr(4);
    EXPECT_EQ(0, lstrcmpiW(expected, got.c_str()));
    path->Release();
}
