#pragma once
// A temporary folder of one test, removed with everything in it at the end.
// Items are made with the plain system calls so that the code under test does not
// build its own fixtures.

#include <windows.h>

#include <string>
#include <vector>
#include <cstring>

#include "s/file/win/PathWin.h"

namespace s::file::win::test {

/// A PathWin of the test, given back to its pool at the end of the scope.
struct Held
{
    explicit Held(const wchar_t* text) : p(PathWin::FromText(text)) {}
    explicit Held(const std::wstring& text) : p(PathWin::FromText(text.c_str())) {}
    explicit Held(PathWin* path) : p(path) {}
    Held(const Held&) = delete;
    Held& operator=(const Held&) = delete;
    ~Held()
    {
        if (p)
            p->Release();
    }
    PathWin* operator->() const { return p; }
    PathWin* p;
};

class TempTree
{
public:
    TempTree()
    {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        static unsigned counter = 0;
        root_ = std::wstring(temp) + L"kairon-file-" + std::to_wstring(GetCurrentProcessId()) +
                L"-" + std::to_wstring(GetTickCount()) + L"-" + std::to_wstring(++counter);
        if (!root_.empty() && root_.back() == L'\\')
            root_.pop_back();
        CreateDirectoryW(root_.c_str(), nullptr);
    }
    ~TempTree() { RemoveTree(Long(root_)); }
    TempTree(const TempTree&) = delete;
    TempTree& operator=(const TempTree&) = delete;

    const std::wstring& Root() const { return root_; }
    std::wstring Path(const std::wstring& relative) const { return root_ + L"\\" + relative; }

    /// A file with `bytes` bytes of content (made with its folders missing = failure).
    std::wstring File(const std::wstring& relative, size_t bytes = 0, DWORD attributes = 0) const
    {
        const std::wstring p = Path(relative);
        HANDLE h = CreateFileW(Long(p).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h != INVALID_HANDLE_VALUE) {
            std::string data(bytes, 'x');
            DWORD written = 0;
            if (bytes)
                WriteFile(h, data.data(), DWORD(bytes), &written, nullptr);
            CloseHandle(h);
        }
        if (attributes)
            SetFileAttributesW(Long(p).c_str(), attributes);
        return p;
    }

    std::wstring Folder(const std::wstring& relative, DWORD attributes = 0) const
    {
        const std::wstring p = Path(relative);
        CreateDirectoryW(Long(p).c_str(), nullptr);
        if (attributes)
            SetFileAttributesW(Long(p).c_str(), attributes);
        return p;
    }

    /// The "\\?\" form of an absolute path: the system takes it exactly as written, long
    /// or short, trailing dots and device names included.
    static std::wstring Long(const std::wstring& p)
    {
        const bool absolute = p.size() >= 3 && p[1] == L':' && p[2] == L'\\';
        return absolute ? L"\\\\?\\" + p : p;
    }

    static bool Exists(const std::wstring& p)
    {
        return GetFileAttributesW(Long(p).c_str()) != INVALID_FILE_ATTRIBUTES;
    }

    /// Last-write and last-access times as stored (UTC ticks).
    static bool Times(const std::wstring& p, FILETIME* created, FILETIME* accessed, FILETIME* modified)
    {
        WIN32_FILE_ATTRIBUTE_DATA d;
        if (!GetFileAttributesExW(Long(p).c_str(), GetFileExInfoStandard, &d))
            return false;
        if (created)
            *created = d.ftCreationTime;
        if (accessed)
            *accessed = d.ftLastAccessTime;
        if (modified)
            *modified = d.ftLastWriteTime;
        return true;
    }

    static bool SetTimes(const std::wstring& p, const FILETIME* c, const FILETIME* a, const FILETIME* m)
    {
        HANDLE h = CreateFileW(Long(p).c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        if (h == INVALID_HANDLE_VALUE)
            return false;
        const bool ok = SetFileTime(h, c, a, m) != FALSE;
        CloseHandle(h);
        return ok;
    }

    static unsigned long long Ticks(const FILETIME& t)
    {
        return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    }

    static FILETIME FileTime(unsigned long long ticks)
    {
        FILETIME t;
        t.dwLowDateTime = DWORD(ticks & 0xFFFFFFFFu);
        t.dwHighDateTime = DWORD(ticks >> 32);
        return t;
    }

    /// Seconds since 1970 as a FILETIME, written independently of the code under test.
    static FILETIME FromSeconds(long long s)
    {
        return FileTime(static_cast<unsigned long long>(s) * 10000000ULL + 116444736000000000ULL);
    }

    /// Makes `link` a junction (mount point) to the folder `target`. False where the
    /// system makes none (then callers skip).
    static bool Junction(const std::wstring& link, const std::wstring& target)
    {
        if (!CreateDirectoryW(link.c_str(), nullptr))
            return false;
        HANDLE h = CreateFileW(link.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                               FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
        if (h == INVALID_HANDLE_VALUE)
            return false;
        // The mount-point layout: tag, data length, reserved, then the substitute
        // ("\??\" form) and print names, each terminated.
        const std::wstring substitute = L"\\?" L"?\\" + target;
        const size_t subBytes = substitute.size() * 2, printBytes = target.size() * 2;
        std::vector<unsigned char> buffer(8 + 8 + subBytes + 2 + printBytes + 2, 0);
        auto put16 = [&](size_t at, size_t v) {
            buffer[at] = (unsigned char)(v & 0xFF);
            buffer[at + 1] = (unsigned char)(v >> 8);
        };
        const DWORD tag = IO_REPARSE_TAG_MOUNT_POINT;
        memcpy(buffer.data(), &tag, 4);
        put16(4, buffer.size() - 8);
        put16(8, 0);
        put16(10, subBytes);
        put16(12, subBytes + 2);
        put16(14, printBytes);
        memcpy(buffer.data() + 16, substitute.data(), subBytes);
        memcpy(buffer.data() + 16 + subBytes + 2, target.data(), printBytes);
        DWORD returned = 0;
        const bool ok = DeviceIoControl(h, FSCTL_SET_REPARSE_POINT, buffer.data(), DWORD(buffer.size()),
                                        nullptr, 0, &returned, nullptr) != FALSE;
        CloseHandle(h);
        if (!ok)
            RemoveDirectoryW(link.c_str());
        return ok;
    }

private:
    static void RemoveTree(const std::wstring& p)
    {
        const DWORD a = GetFileAttributesW(p.c_str());
        if (a == INVALID_FILE_ATTRIBUTES)
            return;
        SetFileAttributesW(p.c_str(), FILE_ATTRIBUTE_NORMAL);
        if ((a & FILE_ATTRIBUTE_DIRECTORY) && !(a & FILE_ATTRIBUTE_REPARSE_POINT)) {
            WIN32_FIND_DATAW d;
            HANDLE f = FindFirstFileW((p + L"\\*").c_str(), &d);
            if (f != INVALID_HANDLE_VALUE) {
                do {
                    const std::wstring name = d.cFileName;
                    if (name != L"." && name != L"..")
                        RemoveTree(p + L"\\" + name);
                } while (FindNextFileW(f, &d));
                FindClose(f);
            }
            RemoveDirectoryW(p.c_str());
        } else if (a & FILE_ATTRIBUTE_DIRECTORY) {
            RemoveDirectoryW(p.c_str());
        } else {
            DeleteFileW(p.c_str());
        }
    }

    std::wstring root_;
};

} // namespace s::file::win::test
