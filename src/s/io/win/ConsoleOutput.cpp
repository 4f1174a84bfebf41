#include "s/io/win/ConsoleOutput.h"

#include <cwchar>

#include "s/str/strbuffer/StrBuffer.h"

namespace s::io::win
{

ConsoleOutput& ConsoleOutput::StdOut()
{
    static ConsoleOutput out(STD_OUTPUT_HANDLE);
    return out;
}

ConsoleOutput& ConsoleOutput::StdErr()
{
    static ConsoleOutput err(STD_ERROR_HANDLE);
    return err;
}

ConsoleOutput::ConsoleOutput(DWORD which) : handle_(GetStdHandle(which)), console_(false)
{
    if (handle_ == INVALID_HANDLE_VALUE)
        handle_ = nullptr;
    DWORD mode = 0;
    console_ = handle_ != nullptr && GetConsoleMode(handle_, &mode) != FALSE;
}

bool ConsoleOutput::Write(const s::str::strbuffer::StrBuffer& text)
{
    return Write(text.Data(), static_cast<int32_t>(text.Length()));
}

bool ConsoleOutput::Write(const wchar_t* text, int32_t count)
{
    if (handle_ == nullptr || text == nullptr)
        return false;
    const size_t length = count < 0 ? wcslen(text) : static_cast<size_t>(count);
    if (length == 0)
        return true;
    std::lock_guard<std::mutex> guard(lock_);
    if (console_)
    {
        // A console takes a limited amount per call: write in pieces.
        size_t done = 0;
        while (done < length)
        {
            const DWORD piece = static_cast<DWORD>(length - done > 8192 ? 8192 : length - done);
            DWORD written = 0;
            if (!WriteConsoleW(handle_, text + done, piece, &written, nullptr) || written == 0)
                return false;
            done += written;
        }
        return true;
    }
    // Redirected: UTF-8. A lone surrogate becomes U+FFFD rather than failing the line.
    const int wide = length > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(length);
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, text, wide, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0)
        return false;
    utf8_.resize(static_cast<size_t>(bytes));
    WideCharToMultiByte(CP_UTF8, 0, text, wide, utf8_.data(), bytes, nullptr, nullptr);
    size_t done = 0;
    while (done < utf8_.size())
    {
        DWORD written = 0;
        if (!WriteFile(handle_, utf8_.data() + done, static_cast<DWORD>(utf8_.size() - done), &written,
                       nullptr) ||
            written == 0)
            return false;
        done += written;
    }
    return true;
}

} // namespace s::io::win
