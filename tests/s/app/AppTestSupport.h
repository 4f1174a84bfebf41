#pragma once
// Shared pieces of the application-services tests.
#include <windows.h>

#include <string>

#include "s/reg/RegTestKey.h"

namespace apptest {

// The text of a REG_SZ value read with the Win32 functions; "<none>" for anything else.
inline std::wstring Text(const regtest::TestKey::Value& value)
{
    if (!value.found || value.type != REG_SZ || value.data.size() < 2)
        return L"<none>";
    return std::wstring(reinterpret_cast<const wchar_t*>(value.data.data()), value.data.size() / 2 - 1);
}

} // namespace apptest
