#include "kairon-cli/Output.h"

#include <cwchar>
#include <vector>

#include "s/io/win/ConsoleOutput.h"
#include "s/str/strbuffer/StrBuffer.h"
#include "s/sys/SystemError.h"

namespace kairon::cli
{

using s::io::win::ConsoleOutput;

void Out(const std::wstring& text)
{
    ConsoleOutput::StdOut().Write(text.c_str(), static_cast<int32_t>(text.size()));
}

void Err(const std::wstring& text)
{
    ConsoleOutput::StdErr().Write(text.c_str(), static_cast<int32_t>(text.size()));
}

void ErrorLine(const std::wstring& message)
{
    Err(L"kairon-cli: " + message + L"\n");
}

int UsageError(const std::wstring& message)
{
    ErrorLine(message);
    Err(L"Try 'kairon-cli --help' for more information.\n");
    return EXIT_USAGE;
}

std::wstring SystemReason(uint32_t code)
{
    s::str::strbuffer::StrBuffer* text = s::str::strbuffer::StrBuffer::Acquire();
    s::sys::AppendSystemErrorText(code, text);
    std::wstring reason = text->CStr();
    text->Release();
    return reason;
}

std::wstring JsonString(const wchar_t* text)
{
    std::wstring out = L"\"";
    for (const wchar_t* p = text; p != nullptr && *p != 0; ++p)
    {
        const wchar_t c = *p;
        if (c == L'"')
            out += L"\\\"";
        else if (c == L'\\')
            out += L"\\\\";
        else if (c == L'\n')
            out += L"\\n";
        else if (c == L'\r')
            out += L"\\r";
        else if (c == L'\t')
            out += L"\\t";
        else if (c < 0x20)
        {
            wchar_t hex[8];
            swprintf(hex, 8, L"\\u%04x", static_cast<unsigned>(c));
            out += hex;
        }
        else
            out += c;
    }
    out += L'"';
    return out;
}

std::wstring FullPathOf(const std::wstring& typed)
{
    const DWORD needed = GetFullPathNameW(typed.c_str(), 0, nullptr, nullptr);
    if (needed == 0)
        return typed;
    std::vector<wchar_t> buffer(needed + 1);
    const DWORD n = GetFullPathNameW(typed.c_str(), needed + 1, buffer.data(), nullptr);
    if (n == 0 || n > needed)
        return typed;
    return std::wstring(buffer.data(), n);
}

} // namespace kairon::cli
