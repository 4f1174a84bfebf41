#include "s/sys/SystemError.h"

#include <windows.h>

#include "s/str/strbuffer/StrBuffer.h"

namespace s::sys
{

s::str::strbuffer::StrBuffer* AppendSystemErrorText(uint32_t code, s::str::strbuffer::StrBuffer* out)
{
    wchar_t* text = nullptr;
    DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                 FORMAT_MESSAGE_IGNORE_INSERTS,
                             nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    // The system ends its texts with a full stop and a line break: the caller goes on.
    while (n > 0 && text != nullptr &&
           (text[n - 1] == L'\n' || text[n - 1] == L'\r' || text[n - 1] == L' ' || text[n - 1] == L'.'))
    {
        --n;
    }
    if (n > 0 && text != nullptr)
    {
        out->Append(text, static_cast<int32_t>(n));
    }
    else
    {
        out->Append(L"error ");
        out->AppendNumber(static_cast<int64_t>(code));
    }
    if (text != nullptr)
    {
        LocalFree(text);
    }
    return out;
}

} // namespace s::sys
