#include "kairon-cli/Output.h"

#include <cwchar>
#include <vector>

#include "s/io/win/ConsoleOutput.h"

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
    wchar_t* text = nullptr;
    const DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                       FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring reason;
    if (n != 0 && text != nullptr)
        reason.assign(text, n);
    if (text != nullptr)
        LocalFree(text);
    while (!reason.empty() && (reason.back() == L'\n' || reason.back() == L'\r' || reason.back() == L' ' ||
                               reason.back() == L'.'))
        reason.pop_back();
    if (reason.empty())
        reason = L"error " + std::to_wstring(code);
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
