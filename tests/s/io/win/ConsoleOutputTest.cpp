// Standard error redirected to a pipe gets UTF-8, whatever the characters.
#include "s/io/win/ConsoleOutput.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "s/str/strbuffer/StrBuffer.h"

using s::io::win::ConsoleOutput;

TEST(ConsoleOutput, RedirectedOutputIsUtf8)
{
    HANDLE read = nullptr, write = nullptr;
    ASSERT_TRUE(CreatePipe(&read, &write, nullptr, 1 << 16));
    // The stream takes the standard handle on its first use: redirect before it.
    const HANDLE saved = GetStdHandle(STD_ERROR_HANDLE);
    SetStdHandle(STD_ERROR_HANDLE, write);
    ConsoleOutput& err = ConsoleOutput::StdErr();
    SetStdHandle(STD_ERROR_HANDLE, saved);
    EXPECT_FALSE(err.IsConsole());

    EXPECT_TRUE(err.Write(L"Z\u00fcrich \u65e5\u672c \u2713 \U0001F600\n"));
    EXPECT_TRUE(err.Write(L"abcdef", 3));
    s::str::strbuffer::StrBuffer* text = s::str::strbuffer::StrBuffer::Acquire(L"!");
    EXPECT_TRUE(err.Write(*text));
    text->Release();
    EXPECT_TRUE(err.Write(L""));
    CloseHandle(write);

    std::string bytes;
    char buffer[256];
    DWORD n = 0;
    while (ReadFile(read, buffer, sizeof buffer, &n, nullptr) && n > 0)
        bytes.append(buffer, n);
    CloseHandle(read);
    EXPECT_EQ(bytes, "Z\xC3\xBCrich \xE6\x97\xA5\xE6\x9C\xAC \xE2\x9C\x93 \xF0\x9F\x98\x80\nabc!");
}
