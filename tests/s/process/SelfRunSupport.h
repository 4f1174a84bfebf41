#pragma once
// Runs this test program again as a child process with only some of its tests selected, for
// tests that need a second process (a later start of the program, another instance). The
// selection and the child's values travel in the environment, so that the child's command
// line holds exactly the arguments given.
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

namespace testprocess
{

using Environment = std::vector<std::pair<std::wstring, std::wstring>>;

// Starts the child (disabled tests included, as children are usually marked so that a plain
// run skips them); the caller closes both handles. False when it could not be started.
inline bool startSelf(const wchar_t* filter, const Environment& values, const std::wstring& arguments,
                      PROCESS_INFORMATION* process)
{
    wchar_t own[MAX_PATH];
    GetModuleFileNameW(nullptr, own, MAX_PATH);
    std::wstring commandLine = L"\"" + std::wstring(own) + L"\"";
    if (!arguments.empty())
        commandLine += L" " + arguments;
    SetEnvironmentVariableW(L"GTEST_FILTER", filter);
    SetEnvironmentVariableW(L"GTEST_ALSO_RUN_DISABLED_TESTS", L"1");
    for (const auto& value : values)
        SetEnvironmentVariableW(value.first.c_str(), value.second.c_str());
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    *process = PROCESS_INFORMATION{};
    const BOOL started =
        CreateProcessW(own, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, process);
    SetEnvironmentVariableW(L"GTEST_FILTER", nullptr);
    SetEnvironmentVariableW(L"GTEST_ALSO_RUN_DISABLED_TESTS", nullptr);
    for (const auto& value : values)
        SetEnvironmentVariableW(value.first.c_str(), nullptr);
    return started != FALSE;
}

// Runs the child to its end (at most a minute, then it is ended); answers its exit code, or
// -1 when it could not be started or did not end in time.
inline int runSelf(const wchar_t* filter, const Environment& values, const std::wstring& arguments = L"")
{
    PROCESS_INFORMATION process;
    if (!startSelf(filter, values, arguments, &process))
        return -1;
    int code = -1;
    if (WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0)
    {
        DWORD exitCode = 0;
        GetExitCodeProcess(process.hProcess, &exitCode);
        code = int(exitCode);
    }
    else
    {
        TerminateProcess(process.hProcess, 99);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code;
}

} // namespace testprocess
