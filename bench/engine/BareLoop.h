#pragma once
// The baselines of the change benchmarks: a tree of files made and removed with plain system
// calls; the limit loop (the least the system needs per item: a FindFirstFileW walk, one
// minimal open for FILE_WRITE_ATTRIBUTES, SetFileTime, CloseHandle, contents before their
// folder); and the older loop of the engine's first form, for comparison.

#include <windows.h>

#include <string>

namespace kairon::bench
{

inline bool MakeTree(const std::wstring& root, int files, int folders)
{
    CreateDirectoryW(root.c_str(), nullptr);
    const int perFolder = files / folders;
    for (int d = 0; d < folders; ++d)
    {
        const std::wstring dir = root + L"\\d" + std::to_wstring(d);
        CreateDirectoryW(dir.c_str(), nullptr);
        for (int f = 0; f < perFolder; ++f)
        {
            const std::wstring path = dir + L"\\f" + std::to_wstring(f) + L".txt";
            HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
            if (h == INVALID_HANDLE_VALUE)
            {
                return false;
            }
            CloseHandle(h);
        }
    }
    return true;
}

inline void RemoveTree(const std::wstring& path)
{
    WIN32_FIND_DATAW d;
    HANDLE h = FindFirstFileW((path + L"\\*").c_str(), &d);
    if (h != INVALID_HANDLE_VALUE)
    {
        do
        {
            const std::wstring name = d.cFileName;
            if (name == L"." || name == L"..")
            {
                continue;
            }
            const std::wstring child = path + L"\\" + name;
            if (d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            {
                RemoveTree(child);
            }
            else
            {
                DeleteFileW(child.c_str());
            }
        } while (FindNextFileW(h, &d));
        FindClose(h);
    }
    RemoveDirectoryW(path.c_str());
}

inline bool IsDots(const wchar_t* n)
{
    return n[0] == L'.' && (n[1] == 0 || (n[1] == L'.' && n[2] == 0));
}

// The older way, per item: contents before the folder.
inline void OldLoopItem(const std::wstring& path, const FILETIME& t)
{
    const DWORD a = GetFileAttributesW(path.c_str());
    if (a == INVALID_FILE_ATTRIBUTES)
    {
        return;
    }
    if (a & FILE_ATTRIBUTE_DIRECTORY)
    {
        WIN32_FIND_DATAW d;
        HANDLE f = FindFirstFileW((path + L"\\*").c_str(), &d);
        if (f != INVALID_HANDLE_VALUE)
        {
            do
            {
                if (!IsDots(d.cFileName))
                {
                    OldLoopItem(path + L"\\" + d.cFileName, t);
                }
            } while (FindNextFileW(f, &d));
            FindClose(f);
        }
    }
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h != INVALID_HANDLE_VALUE)
    {
        SetFileTime(h, &t, &t, &t);
        CloseHandle(h);
    }
    SetFileAttributesW(path.c_str(), a);
}

// The least the system needs per item: one minimal open, SetFileTime, CloseHandle; what an
// entry is comes from its folder's find data.
inline void LimitWrite(const std::wstring& path, bool isFolder, const FILETIME& t)
{
    if (isFolder)
    {
        WIN32_FIND_DATAW d;
        HANDLE f = FindFirstFileW((path + L"\\*").c_str(), &d);
        if (f != INVALID_HANDLE_VALUE)
        {
            do
            {
                if (!IsDots(d.cFileName) && !(d.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
                {
                    LimitWrite(path + L"\\" + d.cFileName, (d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0, t);
                }
            } while (FindNextFileW(f, &d));
            FindClose(f);
        }
    }
    HANDLE h = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (h != INVALID_HANDLE_VALUE)
    {
        SetFileTime(h, &t, &t, &t);
        CloseHandle(h);
    }
}

} // namespace kairon::bench
