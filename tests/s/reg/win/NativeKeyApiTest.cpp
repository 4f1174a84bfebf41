// The native layer against Wine's registry: the current user's native path must name the
// same key that the Win32 HKEY_CURRENT_USER does, and a missing export must be reported.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "s/reg/win/NativeKeyApi.h"

namespace {

using namespace s::reg::win;

std::wstring g_lastMessage;
void CaptureMessage(const wchar_t* message) { g_lastMessage = message; }

TEST(NativeKeyApi, MissingExportIsReportedWithItsName)
{
    MissingEntryPointHandler previous = SetMissingEntryPointHandler(&CaptureMessage);
    g_lastMessage.clear();
    EXPECT_EQ(LookupNtdllFunction("NtNoSuchKeyFunction"), nullptr);
    SetMissingEntryPointHandler(previous);
    EXPECT_EQ(g_lastMessage, L"Could not find NtNoSuchKeyFunction entry point in NTDLL.DLL");
}

TEST(NativeKeyApi, PresentExportIsFoundSilently)
{
    MissingEntryPointHandler previous = SetMissingEntryPointHandler(&CaptureMessage);
    g_lastMessage.clear();
    EXPECT_NE(LookupNtdllFunction("NtOpenKey"), nullptr);
    SetMissingEntryPointHandler(previous);
    EXPECT_TRUE(g_lastMessage.empty());
}

TEST(NativeKeyApi, CurrentUserPathNamesTheWin32CurrentUserKey)
{
    const RegistryRoot* root = FindRegistryRoot(HKEY_CURRENT_USER);
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(std::wstring(root->name), L"HKEY_CURRENT_USER");
    std::wstring nativePath = root->nativePath;
    ASSERT_EQ(nativePath.rfind(L"\\Registry\\User\\S-1-", 0), 0u) << nativePath;

    std::wstring sub = L"Software\\KaironTests\\NativeKeyApi" + std::to_wstring(GetCurrentProcessId());
    HKEY win32 = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, sub.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &win32, nullptr),
              ERROR_SUCCESS);
    DWORD marker = 0x12345678;
    RegSetValueExW(win32, L"Marker", 0, REG_DWORD, reinterpret_cast<BYTE*>(&marker), 4);
    RegCloseKey(win32);

    std::wstring full = nativePath + L"\\" + sub;
    UNICODE_STRING name;
    ASSERT_TRUE(InitUnicodeString(&name, full.c_str()));
    OBJECT_ATTRIBUTES attributes;
    InitializeObjectAttributes(&attributes, &name, OBJ_CASE_INSENSITIVE, nullptr, nullptr);
    HANDLE key = nullptr;
    ASSERT_TRUE(NtSucceeded(native::OpenKey(&key, kKeyAllAccess, &attributes)));

    UNICODE_STRING valueName;
    InitUnicodeString(&valueName, L"Marker");
    union {
        KeyValuePartialInformation info;
        unsigned char bytes[64];
    } buffer;
    ULONG resultLength = 0;
    EXPECT_TRUE(NtSucceeded(native::QueryValueKey(key, &valueName, kKeyValuePartialInformation,
                                                  &buffer, sizeof(buffer), &resultLength)));
    EXPECT_EQ(buffer.info.Type, static_cast<ULONG>(REG_DWORD));
    ASSERT_EQ(buffer.info.DataLength, 4u);
    DWORD read = 0;
    memcpy(&read, buffer.info.Data, 4);
    EXPECT_EQ(read, marker);
    EXPECT_TRUE(NtSucceeded(native::DeleteKey(key)));
    native::Close(key);

    HKEY gone = nullptr;
    EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, sub.c_str(), 0, KEY_READ, &gone), ERROR_FILE_NOT_FOUND);
}

TEST(NativeKeyApi, RootNamesMatchWithoutRegardToCase)
{
    const wchar_t* rest = nullptr;
    const RegistryRoot* root = MatchRegistryRootName(L"hkey_local_machine\\Software\\X", &rest);
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->key, HKEY_LOCAL_MACHINE);
    EXPECT_EQ(std::wstring(rest), L"Software\\X");

    root = MatchRegistryRootName(L"HKEY_USERS", &rest);
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->key, HKEY_USERS);
    EXPECT_EQ(std::wstring(rest), L"");

    EXPECT_EQ(MatchRegistryRootName(L"HKEY_USERSX\\a", &rest), nullptr);
    EXPECT_EQ(MatchRegistryRootName(L"HKCU\\Software", &rest), nullptr);
    EXPECT_EQ(MatchRegistryRootName(nullptr, &rest), nullptr);
}

TEST(NativeKeyApi, EveryPredefinedRootHasItsNativePath)
{
    EXPECT_EQ(std::wstring(FindRegistryRoot(HKEY_CLASSES_ROOT)->nativePath),
              L"\\Registry\\Machine\\SOFTWARE\\Classes");
    EXPECT_EQ(std::wstring(FindRegistryRoot(HKEY_LOCAL_MACHINE)->nativePath), L"\\Registry\\Machine");
    EXPECT_EQ(std::wstring(FindRegistryRoot(HKEY_USERS)->nativePath), L"\\Registry\\User");
    EXPECT_EQ(std::wstring(FindRegistryRoot(HKEY_CURRENT_CONFIG)->nativePath),
              L"\\Registry\\Machine\\System\\CurrentControlSet\\Hardware Profiles\\Current");
    EXPECT_EQ(FindRegistryRoot(reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x80000004))), nullptr);
}

}  // namespace
