// PathWin's walk against a bare loop, as a ratio (PathWin / bare):
//   a tree of 10,000 files in 100 folders; PathWin::ListEntries (recursive, Explorer
//   visibility applied) followed by the three time getters and the attribute word of
//   every entry, against a recursive FindFirstFileW walk that converts the same
//   find records. The times come from the search record, so PathWin must not ask the
//   system again per entry. Alternating, median of 5. Goal: ratio <= 2.0.
// Run: wine-run.sh bench/walk/bench_walk.exe [files]

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "s/col/_array/ArrayP.h"
#include "s/file/win/PathWin.h"

using s::file::win::PathWin;

namespace {

volatile int64_t g_sink = 0;

int64_t Seconds(const FILETIME& t)
{
    const uint64_t ticks = (uint64_t(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    return int64_t((ticks - 116444736000000000ULL) / 10000000ULL);
}

int64_t BareWalk(const std::wstring& folder)
{
    int64_t sum = 0;
    WIN32_FIND_DATAW d;
    HANDLE f = FindFirstFileW((folder + L"\\*").c_str(), &d);
    if (f == INVALID_HANDLE_VALUE)
        return 0;
    do {
        if (d.cFileName[0] == L'.' && (!d.cFileName[1] || (d.cFileName[1] == L'.' && !d.cFileName[2])))
            continue;
        if (d.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
            continue;
        const std::wstring path = folder + L"\\" + d.cFileName;
        // Access times are read but not summed: reading a folder may move its own.
        g_sink = g_sink + Seconds(d.ftLastAccessTime);
        sum += Seconds(d.ftCreationTime) + Seconds(d.ftLastWriteTime) + d.dwFileAttributes +
               int64_t(path.size());
        if (d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            sum += BareWalk(path);
    } while (FindNextFileW(f, &d));
    FindClose(f);
    return sum;
}

int64_t PathWinWalk(const std::wstring& folder)
{
    PathWin* root = PathWin::FromText(folder.c_str());
    s::col::_array::ArrayP* list = root->ListEntries(false, true);
    int64_t sum = 0;
    for (uint32_t i = 0; i < list->Count(); ++i) {
        PathWin* p = static_cast<PathWin*>(list->Get(i));
        g_sink = g_sink + p->GetAccessTime();
        sum += p->GetCreationTime() + p->GetModifiedTime() + p->GetAttributes() + p->GetLength();
    }
    list->Release();
    root->Release();
    return sum;
}

void RemoveTree(const std::wstring& p)
{
    WIN32_FIND_DATAW d;
    HANDLE f = FindFirstFileW((p + L"\\*").c_str(), &d);
    if (f != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = d.cFileName;
            if (name == L"." || name == L"..")
                continue;
            const std::wstring child = p + L"\\" + name;
            if (d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(child);
            else
                DeleteFileW(child.c_str());
        } while (FindNextFileW(f, &d));
        FindClose(f);
    }
    RemoveDirectoryW(p.c_str());
}

} // namespace

int main(int argc, char** argv)
{
    const int files = argc > 1 ? std::max(100, atoi(argv[1])) : 10000;
    const int folders = 100;
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring root = std::wstring(temp) + L"kairon-bench-walk-" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(root.c_str(), nullptr);
    for (int d = 0; d < folders; ++d) {
        const std::wstring folder = root + L"\\folder" + std::to_wstring(d);
        CreateDirectoryW(folder.c_str(), nullptr);
        for (int i = 0; i < files / folders; ++i) {
            HANDLE h = CreateFileW((folder + L"\\file" + std::to_wstring(i) + L".txt").c_str(), GENERIC_WRITE, 0,
                                   nullptr, CREATE_ALWAYS, 0, nullptr);
            if (h != INVALID_HANDLE_VALUE)
                CloseHandle(h);
        }
    }

    std::vector<double> bare, walk;
    int64_t check = 0;
    for (int round = 0; round < 5; ++round) {
        auto t0 = std::chrono::steady_clock::now();
        const int64_t a = BareWalk(root);
        auto t1 = std::chrono::steady_clock::now();
        const int64_t b = PathWinWalk(root);
        auto t2 = std::chrono::steady_clock::now();
        bare.push_back(std::chrono::duration<double, std::milli>(t1 - t0).count());
        walk.push_back(std::chrono::duration<double, std::milli>(t2 - t1).count());
        check += a - b;
    }
    std::sort(bare.begin(), bare.end());
    std::sort(walk.begin(), walk.end());
    const double ratio = walk[2] / bare[2];
    std::printf("walk of %d files in %d folders: bare %.1f ms, PathWin %.1f ms, ratio %.2f (goal <= 2.00)%s\n",
                files, folders, bare[2], walk[2], ratio, check == 0 ? "" : " [sums differ]");
    RemoveTree(root);
    return 0;
}
