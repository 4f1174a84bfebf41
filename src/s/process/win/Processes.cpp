#include "s/process/win/Processes.h"

#include <tlhelp32.h>

#include <cwchar>

#include "s/str/strbuffer/StrBuffer.h"

namespace s::process::win {

namespace {

// Longest path the system can hand out (the "\\?\" form of NTFS paths).
constexpr DWORD kLongestPath = 32768;

bool SameImage(DWORD processId, const wchar_t* imagePath, StrBuffer* scratch)
{
    return ProcessImagePathInto(processId, scratch) && scratch->EqualsIgnoreCase(imagePath);
}

struct DesktopSearch
{
    const wchar_t* imagePath;
    DWORD ownId;
    DWORD lastChecked;
    DWORD found;
    StrBuffer* scratch;
};

BOOL CALLBACK CheckDesktopWindow(HWND window, LPARAM context)
{
    DesktopSearch& search = *reinterpret_cast<DesktopSearch*>(context);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    // A program has many windows in a row; ask for each process once in such a run.
    if (processId == 0 || processId == search.ownId || processId == search.lastChecked)
        return TRUE;
    search.lastChecked = processId;
    if (SameImage(processId, search.imagePath, search.scratch))
    {
        search.found = processId;
        return FALSE;
    }
    return TRUE;
}

struct WindowSearch
{
    DWORD processId;
    const wchar_t* name;
    HWND found;
    wchar_t title[512];
};

BOOL CALLBACK CheckWindow(HWND window, LPARAM context)
{
    WindowSearch& search = *reinterpret_cast<WindowSearch*>(context);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId != search.processId)
        return TRUE;
    search.title[0] = 0;
    // The title is asked without sending a message: a hung window must not stop the search.
    InternalGetWindowText(window, search.title, static_cast<int>(sizeof search.title / sizeof search.title[0]));
    if (TitleMatchesName(search.title, search.name))
    {
        search.found = window;
        return FALSE;
    }
    return TRUE;
}

} // namespace

StrBuffer* ModuleFileNameInto(HMODULE module, StrBuffer* out)
{
    return ModuleFileNameInto(module, out, MAX_PATH);
}

StrBuffer* ModuleFileNameInto(HMODULE module, StrBuffer* out, uint32_t firstSize)
{
    StrBuffer* target = out ? out : StrBuffer::Acquire();
    if (!target)
        return nullptr;
    target->Clear();
    for (DWORD size = firstSize < 2 ? 2 : firstSize; size <= kLongestPath; size *= 2)
    {
        target->Reserve(size);
        if (target->Capacity() < size || !target->Data())
            break;
        SetLastError(ERROR_SUCCESS);
        const DWORD n = GetModuleFileNameW(module, target->Data(), size);
        if (n == 0)
            break;
        // A path that filled the buffer may have been cut (the system then reports
        // ERROR_INSUFFICIENT_BUFFER, or on older systems nothing): try a larger one.
        if (n < size && GetLastError() != ERROR_INSUFFICIENT_BUFFER)
        {
            target->SetLength(n);
            return target;
        }
    }
    target->Clear();
    if (!out)
        target->Release();
    return nullptr;
}

bool ProcessImagePathInto(DWORD processId, StrBuffer* out)
{
    if (!out)
        return false;
    out->Clear();
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    if (!process)
        return false;
    bool ok = false;
    for (DWORD size = MAX_PATH; size <= kLongestPath && !ok; size *= 2)
    {
        out->Reserve(size);
        if (out->Capacity() < size || !out->Data())
            break;
        DWORD n = size;
        if (QueryFullProcessImageNameW(process, 0, out->Data(), &n))
        {
            out->SetLength(n);
            ok = true;
        }
        else if (GetLastError() != ERROR_INSUFFICIENT_BUFFER)
        {
            break;
        }
    }
    CloseHandle(process);
    if (!ok)
        out->Clear();
    return ok;
}

DWORD FindOtherProcessOf(const wchar_t* imagePath)
{
    if (!imagePath || !*imagePath)
        return 0;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return 0;
    StrBuffer* scratch = StrBuffer::Acquire();
    const DWORD ownId = GetCurrentProcessId();
    DWORD found = 0;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot, &entry); more && scratch; more = Process32NextW(snapshot, &entry))
    {
        if (entry.th32ProcessID == 0 || entry.th32ProcessID == ownId)
            continue;
        if (SameImage(entry.th32ProcessID, imagePath, scratch))
        {
            found = entry.th32ProcessID;
            break;
        }
    }
    CloseHandle(snapshot);
    if (scratch)
        scratch->Release();
    return found;
}

DWORD FindOtherProcessOnDesktopOf(const wchar_t* imagePath)
{
    if (!imagePath || !*imagePath)
        return 0;
    DesktopSearch search{imagePath, GetCurrentProcessId(), 0, 0, StrBuffer::Acquire()};
    if (!search.scratch)
        return 0;
    EnumDesktopWindows(GetThreadDesktop(GetCurrentThreadId()), &CheckDesktopWindow,
                       reinterpret_cast<LPARAM>(&search));
    search.scratch->Release();
    return search.found;
}

bool TitleMatchesName(const wchar_t* title, const wchar_t* name)
{
    if (!title || !name || !*title || !*name)
        return false;
    const size_t titleLength = wcslen(title);
    const size_t nameLength = wcslen(name);
    const size_t shorter = titleLength < nameLength ? titleLength : nameLength;
    return _wcsnicmp(title, name, shorter) == 0;
}

HWND FindWindowOfProcess(DWORD processId, const wchar_t* name)
{
    if (processId == 0 || !name || !*name)
        return nullptr;
    WindowSearch search{};
    search.processId = processId;
    search.name = name;
    EnumWindows(&CheckWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

} // namespace s::process::win
