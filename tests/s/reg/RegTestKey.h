#pragma once
// A key of the test's own under HKEY_CURRENT_USER\Software\KaironTests, unique per process
// and per use, deleted (with everything below it) when the object goes. Uses the Win32
// registry functions, so tests can check what the library wrote with an independent reader.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace regtest {

class TestKey
{
public:
    TestKey()
    {
        static int counter = 0;
        path_ = L"Software\\KaironTests\\reg-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                std::to_wstring(++counter);
        RegDeleteTreeW(HKEY_CURRENT_USER, path_.c_str());
    }
    ~TestKey()
    {
        RegDeleteTreeW(HKEY_CURRENT_USER, path_.c_str());
        RegDeleteKeyW(HKEY_CURRENT_USER, path_.c_str());
    }
    TestKey(const TestKey&) = delete;
    TestKey& operator=(const TestKey&) = delete;

    /// The key's path below HKEY_CURRENT_USER, with an optional sub-path.
    std::wstring Path(const std::wstring& sub = L"") const
    {
        return sub.empty() ? path_ : path_ + L"\\" + sub;
    }

    bool Exists(const std::wstring& sub = L"") const
    {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, Path(sub).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
            return false;
        RegCloseKey(key);
        return true;
    }

    /// Writes a value with the Win32 functions, creating the key.
    bool Write(const std::wstring& sub, const wchar_t* name, DWORD type, const void* data,
               DWORD size) const
    {
        HKEY key = nullptr;
        if (RegCreateKeyExW(HKEY_CURRENT_USER, Path(sub).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                            nullptr, &key, nullptr) != ERROR_SUCCESS)
            return false;
        LONG result = RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size);
        RegCloseKey(key);
        return result == ERROR_SUCCESS;
    }
    bool WriteDword(const std::wstring& sub, const wchar_t* name, DWORD value) const
    {
        return Write(sub, name, REG_DWORD, &value, 4);
    }

    struct Value {
        bool found = false;
        DWORD type = 0;
        std::vector<uint8_t> data;
    };
    /// Reads a value with the Win32 functions.
    Value Read(const std::wstring& sub, const wchar_t* name) const
    {
        Value value;
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, Path(sub).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
            return value;
        DWORD size = 0;
        if (RegQueryValueExW(key, name, nullptr, &value.type, nullptr, &size) == ERROR_SUCCESS) {
            value.data.resize(size);
            value.found = RegQueryValueExW(key, name, nullptr, &value.type,
                                           size ? value.data.data() : nullptr, &size) == ERROR_SUCCESS;
            value.data.resize(size);
        }
        RegCloseKey(key);
        return value;
    }

private:
    std::wstring path_;
};

inline std::vector<uint8_t> Bytes(std::initializer_list<int> values)
{
    std::vector<uint8_t> bytes;
    for (int v : values) bytes.push_back(static_cast<uint8_t>(v));
    return bytes;
}

}  // namespace regtest
