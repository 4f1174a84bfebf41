#pragma once
// The command line's output: lines to standard output and standard error (Unicode on a
// console, UTF-8 when redirected, through the library's ConsoleOutput), error messages in
// one form, the system's reason for an error code, JSON strings, and the exit statuses.

#include <windows.h>

#include <cstdint>
#include <string>

namespace kairon::cli
{

// Exit statuses.
constexpr int EXIT_DONE = 0;        // every item was done
constexpr int EXIT_SOME_FAILED = 1; // some items failed (each listed on standard error)
constexpr int EXIT_USAGE = 2;       // the command line was wrong; nothing was changed

void Out(const std::wstring& text);
void Err(const std::wstring& text);
/// "kairon-cli: " + message + newline, on standard error.
void ErrorLine(const std::wstring& message);
/// The message, the one-line hint "Try 'kairon-cli --help' for more information." and
/// EXIT_USAGE.
int UsageError(const std::wstring& message);

/// The system's text for an error code, one line, without a final full stop ("Access
/// denied"); "error N" when the system has none.
std::wstring SystemReason(uint32_t code);

/// `text` as a JSON string with its quotes (\" \\ and control characters escaped; other
/// characters as they are, the output being UTF-8).
std::wstring JsonString(const wchar_t* text);

/// The absolute form of a path as typed (relative to the current folder, "." and ".."
/// resolved), any length. The text as it was when the system cannot resolve it.
std::wstring FullPathOf(const std::wstring& typed);

} // namespace kairon::cli
