#include "s/sys/StepProfile.h"

#include <windows.h>

#include <mutex>
#include <string>

namespace s::sys
{

namespace
{
constexpr int MAX_MARKS = 256;

struct Mark
{
    const wchar_t* name;
    double sinceCreation;
};

struct State
{
    std::mutex lock;
    bool active = false;
    std::wstring path;
    Mark marks[MAX_MARKS];
    int count = 0;
};

State& state()
{
    static State s;
    return s;
}

// Milliseconds since the process was created: the system's clock of file times, which
// is the one the creation time is kept in, read at its finest.
double millisSinceCreation()
{
    FILETIME created, exited, kernel, user, now;
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user))
    {
        return 0;
    }
    GetSystemTimePreciseAsFileTime(&now);
    const ULONGLONG c = (ULONGLONG(created.dwHighDateTime) << 32) | created.dwLowDateTime;
    const ULONGLONG n = (ULONGLONG(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    return n > c ? double(n - c) / 10000.0 : 0.0;
}

void appendNumber(std::wstring& out, double millis)
{
    wchar_t text[32];
    swprintf(text, 32, L"%.1f", millis);
    out += text;
}
} // namespace

void StepProfile::start(const wchar_t* path)
{
    State& s = state();
    std::lock_guard<std::mutex> guard(s.lock);
    s.count = 0;
    s.active = path != nullptr && path[0] != L'\0';
    s.path = s.active ? path : L"";
}

bool StepProfile::startFromEnvironment(const wchar_t* variable)
{
    wchar_t path[MAX_PATH] = L"";
    const DWORD length = GetEnvironmentVariableW(variable, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
    {
        return false;
    }
    start(path);
    return true;
}

bool StepProfile::isActive()
{
    State& s = state();
    std::lock_guard<std::mutex> guard(s.lock);
    return s.active;
}

void StepProfile::mark(const wchar_t* name)
{
    State& s = state();
    std::lock_guard<std::mutex> guard(s.lock);
    if (!s.active || s.count >= MAX_MARKS)
    {
        return;
    }
    s.marks[s.count++] = Mark{name != nullptr ? name : L"?", millisSinceCreation()};
}

bool StepProfile::finish()
{
    State& s = state();
    std::wstring text;
    std::wstring path;
    {
        std::lock_guard<std::mutex> guard(s.lock);
        if (!s.active)
        {
            return false;
        }
        s.active = false;
        path = s.path;
        double previous = 0;
        for (int i = 0; i < s.count; ++i)
        {
            text += s.marks[i].name;
            text += L'\t';
            appendNumber(text, s.marks[i].sinceCreation - previous);
            text += L'\t';
            appendNumber(text, s.marks[i].sinceCreation);
            text += L"\r\n";
            previous = s.marks[i].sinceCreation;
        }
        text += L"total\t";
        appendNumber(text, previous);
        text += L"\r\n";
        s.count = 0;
    }
    OutputDebugStringW(text.c_str());
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), int(text.size()), nullptr, 0, nullptr, nullptr);
    std::string utf8(size_t(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), int(text.size()), utf8.data(), bytes, nullptr, nullptr);
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
    {
        return false;
    }
    DWORD written = 0;
    const bool ok = WriteFile(file, utf8.data(), DWORD(utf8.size()), &written, nullptr) && written == utf8.size();
    CloseHandle(file);
    return ok;
}

} // namespace s::sys
