// Start-up: the settings reset by stored version and the operating-system check.
#include <gtest/gtest.h>
#include <windows.h>

#include "kairon/StartupChecks.h"
#include "s/reg/win/RegDir.h"

namespace
{

constexpr wchar_t TEST_KEY[] = L"Software\\KaironTests\\Startup";

struct Key
{
    Key() { wipe(); }
    ~Key() { wipe(); }
    static void wipe() { RegDeleteTreeW(HKEY_CURRENT_USER, TEST_KEY); }
    static void write(const wchar_t* sub, const wchar_t* name, const wchar_t* text)
    {
        HKEY key;
        std::wstring path = std::wstring(TEST_KEY) + sub;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                                 nullptr, &key, nullptr));
        RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                       DWORD((wcslen(text) + 1) * sizeof(wchar_t)));
        RegCloseKey(key);
    }
    static bool exists(const wchar_t* sub)
    {
        HKEY key;
        std::wstring path = std::wstring(TEST_KEY) + sub;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
            return false;
        RegCloseKey(key);
        return true;
    }
};

} // namespace

TEST(StartupReset, OnlyTheThreeOldVersionsDeleteTheSettings)
{
    struct Case
    {
        const wchar_t* stored;
        bool deleted;
    } cases[] = {{L"1.00", true}, {L"1.01", true}, {L"1.02", true}, {L"1.16", false},
                 {L"1.03", false}, {L"", false},   {L"1.01 ", false}};
    for (const Case& c : cases)
    {
        Key key;
        key.write(L"\\SaveData\\Version", L"", c.stored);
        key.write(L"\\SaveData\\MainWindow\\View", L"OnMClick", L"DoNothing");
        key.write(L"", L"Other", L"kept");
        EXPECT_EQ(c.deleted, kairon::resetOutdatedSettings(TEST_KEY)) << c.stored;
        EXPECT_EQ(!c.deleted, key.exists(L"\\SaveData\\MainWindow\\View")) << c.stored;
        EXPECT_TRUE(key.exists(L"")) << c.stored; // the product's own key stays
    }
}

TEST(StartupReset, MissingVersionLeavesEverything)
{
    Key key;
    key.write(L"\\SaveData\\MainWindow\\View", L"OnMClick", L"DoNothing");
    EXPECT_FALSE(kairon::resetOutdatedSettings(TEST_KEY));
    EXPECT_TRUE(key.exists(L"\\SaveData\\MainWindow\\View"));
    Key::wipe();
    EXPECT_FALSE(kairon::resetOutdatedSettings(TEST_KEY));
}

TEST(StartupSystem, XpServer2003AndVistaOnwardAreSupported)
{
    struct Case
    {
        DWORD major, minor, platform;
        bool supported;
    } cases[] = {
        {5, 1, VER_PLATFORM_WIN32_NT, true},  {5, 2, VER_PLATFORM_WIN32_NT, true},
        {6, 0, VER_PLATFORM_WIN32_NT, true},  {10, 0, VER_PLATFORM_WIN32_NT, true},
        {6, 1, 1, true},                      {5, 0, VER_PLATFORM_WIN32_NT, false},
        {4, 0, VER_PLATFORM_WIN32_NT, false}, {4, 10, 1, false},
        {5, 1, 1, false},                     {5, 3, VER_PLATFORM_WIN32_NT, false},
    };
    for (const Case& c : cases)
    {
        OSVERSIONINFOEXW v{};
        v.dwMajorVersion = c.major;
        v.dwMinorVersion = c.minor;
        v.dwPlatformId = c.platform;
        EXPECT_EQ(c.supported, kairon::isSupportedSystem(v)) << c.major << "." << c.minor << " " << c.platform;
    }
    OSVERSIONINFOEXW real{};
    ASSERT_TRUE(kairon::readSystemVersion(&real));
    EXPECT_TRUE(kairon::isSupportedSystem(real));
}
