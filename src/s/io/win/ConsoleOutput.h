#pragma once
// Text output to the process's standard output or standard error, right whether the
// stream is a console window or redirected:
//   - a console gets UTF-16 through WriteConsoleW, so every name shows as it is, whatever
//     the console's code page;
//   - a file or pipe gets UTF-8 (no byte-order mark), the form other programs expect.
//
//     ConsoleOutput::StdOut().Write(L"Zürich\n");
//
// Nothing is buffered: every Write reaches the system before it returns, so output is
// never lost when the process ends abruptly.
//
// Threads: any; a Write is never interleaved with another on the same stream.
// Ownership: the two objects belong to the library and live until the process ends; the
// standard handles are the process's and are never closed.
// Failures: Write answers false when the stream is missing (no standard handle) or the
// system refuses the write; nothing is reported otherwise.

#include <windows.h>

#include <cstdint>
#include <mutex>
#include <string>

namespace s::str::strbuffer
{
class StrBuffer;
}

namespace s::io::win
{

class ConsoleOutput
{
  public:
    static ConsoleOutput& StdOut();
    static ConsoleOutput& StdErr();

    /// The stream is a console window (not redirected to a file or a pipe).
    bool IsConsole() const { return console_; }
    /// Writes count characters of text (count < 0: up to its terminator).
    bool Write(const wchar_t* text, int32_t count = -1);
    bool Write(const s::str::strbuffer::StrBuffer& text);

    ConsoleOutput(const ConsoleOutput&) = delete;
    ConsoleOutput& operator=(const ConsoleOutput&) = delete;

  private:
    explicit ConsoleOutput(DWORD which);

    HANDLE handle_;
    bool console_;
    std::mutex lock_;
    std::string utf8_; // reused conversion buffer, guarded by lock_
};

} // namespace s::io::win
