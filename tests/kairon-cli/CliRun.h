#pragma once
// Runs the real kairon-cli.exe as a child process with its output captured through pipes,
// and a temporary journal folder for the tests (KAIRON_JOURNAL_DIR).

#include <windows.h>

#include <string>
#include <thread>
#include <vector>

namespace kairon::cli::test
{

struct CliResult
{
    DWORD exitCode = 0xFFFFFFFF;
    std::wstring out; // standard output, decoded from UTF-8
    std::wstring err; // standard error, decoded from UTF-8
    std::string outBytes;
};

inline std::wstring FromUtf8(const std::string& bytes)
{
    if (bytes.empty())
        return std::wstring();
    const int n = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(), int(bytes.size()), nullptr, 0);
    if (n <= 0)
        return L"<not UTF-8>";
    std::wstring out(size_t(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, bytes.data(), int(bytes.size()), out.data(), n);
    return out;
}

/// " " + quoted argument, as the child's command line parser reads it back.
inline std::wstring Quote(const std::wstring& arg)
{
    std::wstring out = L" \"";
    size_t backslashes = 0;
    for (wchar_t c : arg)
    {
        if (c == L'\\')
        {
            ++backslashes;
            continue;
        }
        if (c == L'"')
            out.append(backslashes * 2 + 1, L'\\');
        else
            out.append(backslashes, L'\\');
        backslashes = 0;
        out += c;
    }
    out.append(backslashes * 2, L'\\');
    out += L'"';
    return out;
}

/// The child, started and not waited for; the caller closes the handle.
inline HANDLE StartCli(const std::vector<std::wstring>& args, HANDLE outWrite, HANDLE errWrite)
{
    wchar_t folder[MAX_PATH * 2];
    GetCurrentDirectoryW(MAX_PATH * 2, folder);
    const std::wstring exe = std::wstring(folder) + L"\\kairon-cli.exe";
    std::wstring line = L"\"" + exe + L"\"";
    for (const std::wstring& a : args)
        line += Quote(a);
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    si.hStdOutput = outWrite;
    si.hStdError = errWrite;
    PROCESS_INFORMATION pi = {};
    // Starting a process can fail for a moment when the machine is starting many at once;
    // that is not the program's answer, so the start is tried again a few times.
    bool started = false;
    for (int attempt = 0; attempt < 5 && !started; ++attempt)
    {
        started = CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi) != 0;
        if (!started)
            Sleep(200);
    }
    if (!started)
        return nullptr;
    CloseHandle(pi.hThread);
    return pi.hProcess;
}

inline CliResult RunCli(const std::vector<std::wstring>& args)
{
    CliResult r;
    SECURITY_ATTRIBUTES sa = {sizeof sa, nullptr, TRUE};
    HANDLE outRead, outWrite, errRead, errWrite;
    if (!CreatePipe(&outRead, &outWrite, &sa, 0) || !CreatePipe(&errRead, &errWrite, &sa, 0))
        return r;
    SetHandleInformation(outRead, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(errRead, HANDLE_FLAG_INHERIT, 0);
    HANDLE process = StartCli(args, outWrite, errWrite);
    CloseHandle(outWrite);
    CloseHandle(errWrite);
    std::string errBytes;
    const auto drain = [](HANDLE pipe, std::string* into) {
        char buffer[4096];
        DWORD n = 0;
        while (ReadFile(pipe, buffer, sizeof buffer, &n, nullptr) && n > 0)
            into->append(buffer, n);
    };
    std::thread errReader(drain, errRead, &errBytes);
    drain(outRead, &r.outBytes);
    errReader.join();
    CloseHandle(outRead);
    CloseHandle(errRead);
    if (process == nullptr)
        return r;
    WaitForSingleObject(process, 300000);
    GetExitCodeProcess(process, &r.exitCode);
    CloseHandle(process);
    r.out = FromUtf8(r.outBytes);
    r.err = FromUtf8(errBytes);
    return r;
}

} // namespace kairon::cli::test
