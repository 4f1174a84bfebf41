// Times from the items themselves, as ratios against a floor measured in the same run:
//   date taken: readDateTaken on 5,000 small JPEGs with an EXIF block, against opening each
//   and reading its first 64 KiB (the I/O floor). Goal: ratio <= 2.0.
//   names: a walk of the same folder that reads the date in every name (dateFromName),
//   against the bare walk. Goal: ratio <= 1.10.
// Alternating, median of 5.
// Run: wine-run.sh bench/itemdate/bench_itemdate.exe [files]

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "s/file/meta/DateTaken.h"
#include "s/file/meta/NameDate.h"
#include "tests/s/file/meta/ExifFixtures.h"

using namespace s::file::meta;
using namespace s::file::meta::test;

namespace
{

volatile int64_t g_sink = 0;

double Millis(std::chrono::steady_clock::time_point a, std::chrono::steady_clock::time_point b)
{
    return std::chrono::duration<double, std::milli>(b - a).count();
}

int64_t ReadFloor(const std::vector<std::wstring>& files)
{
    static std::vector<uint8_t> buffer(64 * 1024);
    int64_t sum = 0;
    for (const std::wstring& f : files)
    {
        HANDLE h = CreateFileW(f.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                               FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
        if (h == INVALID_HANDLE_VALUE)
            continue;
        DWORD got = 0;
        if (ReadFile(h, buffer.data(), DWORD(buffer.size()), &got, nullptr))
            sum += got;
        CloseHandle(h);
    }
    return sum;
}

int64_t ReadTaken(const std::vector<std::wstring>& files)
{
    int64_t sum = 0;
    for (const std::wstring& f : files)
        sum += readDateTaken(f.c_str()).value;
    return sum;
}

// The walk of one folder: every name, with or without the date in it.
int64_t Walk(const std::wstring& folder, bool dates)
{
    int64_t sum = 0;
    WIN32_FIND_DATAW d;
    HANDLE f = FindFirstFileW((folder + L"\\*").c_str(), &d);
    if (f == INVALID_HANDLE_VALUE)
        return 0;
    do
    {
        sum += d.nFileSizeLow + int64_t(wcslen(d.cFileName));
        if (dates)
            g_sink = g_sink + dateFromName(d.cFileName).value;
    } while (FindNextFileW(f, &d));
    FindClose(f);
    return sum;
}

} // namespace

int main(int argc, char** argv)
{
    const int count = argc > 1 ? std::max(100, atoi(argv[1])) : 5000;
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring root = std::wstring(temp) + L"kairon-bench-itemdate-" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(root.c_str(), nullptr);
    const Bytes picture = SmallJpeg();
    std::vector<std::wstring> files;
    for (int i = 0; i < count; ++i)
    {
        char date[32];
        std::snprintf(date, sizeof date, "2024:%02d:%02d %02d:%02d:%02d", 1 + i % 12, 1 + i % 28, i % 24, i % 60,
                      (i / 60) % 60);
        const Bytes photo = WithSegments(picture, {ExifSegment(Tiff({{TAG_DATE_ORIGINAL, date}}))});
        wchar_t name[64];
        std::swprintf(name, 64, L"IMG_2024%02d%02d_%02d%02d%02d_%d.jpg", 1 + i % 12, 1 + i % 28, i % 24, i % 60,
                      (i / 60) % 60, i);
        const std::wstring path = root + L"\\" + name;
        HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (h != INVALID_HANDLE_VALUE)
        {
            DWORD written = 0;
            WriteFile(h, photo.data(), DWORD(photo.size()), &written, nullptr);
            CloseHandle(h);
        }
        files.push_back(path);
    }

    std::vector<double> floor, taken, bare, named;
    int64_t found = 0;
    for (int round = 0; round < 5; ++round)
    {
        auto t0 = std::chrono::steady_clock::now();
        g_sink = g_sink + ReadFloor(files);
        auto t1 = std::chrono::steady_clock::now();
        found = ReadTaken(files);
        auto t2 = std::chrono::steady_clock::now();
        g_sink = g_sink + Walk(root, false);
        auto t3 = std::chrono::steady_clock::now();
        g_sink = g_sink + Walk(root, true);
        auto t4 = std::chrono::steady_clock::now();
        floor.push_back(Millis(t0, t1));
        taken.push_back(Millis(t1, t2));
        bare.push_back(Millis(t2, t3));
        named.push_back(Millis(t3, t4));
    }
    for (auto* v : {&floor, &taken, &bare, &named})
        std::sort(v->begin(), v->end());
    std::printf("date taken of %d JPEGs (%u bytes each): open+read 64 KiB %.1f ms, readDateTaken %.1f ms, "
                "ratio %.2f (goal <= 2.00)%s\n",
                count, unsigned(WithSegments(picture, {ExifSegment(Tiff({{TAG_DATE_ORIGINAL, "2024:01:01 00:00:00"}}))}).size()),
                floor[2], taken[2], taken[2] / floor[2], found > 0 ? "" : " [no dates found]");
    std::printf("dates in %d names: bare walk %.2f ms, walk with dateFromName %.2f ms, ratio %.2f (goal <= 1.10)\n",
                count, bare[2], named[2], named[2] / bare[2]);
    for (const std::wstring& f : files)
        DeleteFileW(f.c_str());
    RemoveDirectoryW(root.c_str());
    return 0;
}
