#pragma once
// A fresh folder under the system's temporary folder for one test, removed with
// everything in it when the test ends.
#include <windows.h>

#include <string>

namespace xmltest {

class TempFolder
{
public:
    TempFolder()
    {
        wchar_t base[MAX_PATH];
        GetTempPathW(MAX_PATH, base);
        path_ = std::wstring(base) + L"kairon_xml_" + std::to_wstring(GetCurrentProcessId()) +
                L"_" + std::to_wstring(GetTickCount64()) + L"_" + std::to_wstring(++Counter());
        CreateDirectoryW(path_.c_str(), nullptr);
    }
    ~TempFolder() { Remove(path_); }
    std::wstring File(const wchar_t* relative) const { return path_ + L"\\" + relative; }

private:
    static int& Counter()
    {
        static int counter = 0;
        return counter;
    }

    static void Remove(const std::wstring& folder)
    {
        WIN32_FIND_DATAW found;
        HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                const std::wstring name = found.cFileName;
                if (name == L"." || name == L"..")
                    continue;
                const std::wstring full = folder + L"\\" + name;
                if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    Remove(full);
                else
                    DeleteFileW(full.c_str());
            } while (FindNextFileW(search, &found));
            FindClose(search);
        }
        RemoveDirectoryW(folder.c_str());
    }

    std::wstring path_;
};

} // namespace xmltest
