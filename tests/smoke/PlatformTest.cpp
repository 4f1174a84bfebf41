// Proves the build-and-test loop on the platform itself: wide characters and file times.
#include <gtest/gtest.h>
#include <windows.h>
#include <string>

TEST(Platform, WideCharactersAreTwoBytes)
{
    static_assert(sizeof(wchar_t) == 2);
    EXPECT_EQ(sizeof(L"ab"), 6u);
}

TEST(Platform, LastWriteTimeSetReadsBackToTheSecond)
{
    wchar_t dir[MAX_PATH];
    ASSERT_NE(GetTempPathW(MAX_PATH, dir), 0u);
    std::wstring path = std::wstring(dir) + L"kairon_smoke_" + std::to_wstring(GetCurrentProcessId()) + L".txt";
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);

    // 2013-06-15 12:34:56 UTC
    SYSTEMTIME st{};
    st.wYear = 2013; st.wMonth = 6; st.wDay = 15; st.wHour = 12; st.wMinute = 34; st.wSecond = 56;
    FILETIME ft{};
    ASSERT_TRUE(SystemTimeToFileTime(&st, &ft));
    EXPECT_TRUE(SetFileTime(h, nullptr, nullptr, &ft));
    CloseHandle(h);

    WIN32_FILE_ATTRIBUTE_DATA data{};
    ASSERT_TRUE(GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data));
    ULARGE_INTEGER want{}, got{};
    want.LowPart = ft.dwLowDateTime; want.HighPart = ft.dwHighDateTime;
    got.LowPart = data.ftLastWriteTime.dwLowDateTime; got.HighPart = data.ftLastWriteTime.dwHighDateTime;
    EXPECT_EQ(got.QuadPart / 10000000ULL, want.QuadPart / 10000000ULL);
    DeleteFileW(path.c_str());
}
