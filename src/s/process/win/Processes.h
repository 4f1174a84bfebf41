#pragma once
// Finding this program's own file and other running processes of the same program file,
// and their top-level windows: what the single-instance check of the application services
// needs.
//
// Paths are read whole whatever their length (the buffers grow until the path fits), so a
// program in a deep folder is still recognised as itself. Paths are compared without
// regard to case.
//
// Ownership: a StrBuffer passed in stays with the caller; with a null `out` a new pooled
// StrBuffer is answered that the caller releases. Failures answer null, false or 0.
// Thread affinity: none (no shared state).

#include <windows.h>

#include <cstdint>

namespace s::str::strbuffer {
class StrBuffer;
}

namespace s::process::win {

using s::str::strbuffer::StrBuffer;

/// The full path of `module` (null: the program file), whole at any length. Fills `out`
/// (or a new StrBuffer) and answers it; null when the system gives no path (`out` is then
/// emptied).
StrBuffer* ModuleFileNameInto(HMODULE module, StrBuffer* out = nullptr);
/// The same, asking first with room for `firstSize` characters (the buffer doubles until the
/// path fits); ModuleFileNameInto starts with MAX_PATH.
StrBuffer* ModuleFileNameInto(HMODULE module, StrBuffer* out, uint32_t firstSize);

/// The full path of the program file of process `processId`; false when the process
/// cannot be opened or asked (`out` is then emptied).
bool ProcessImagePathInto(DWORD processId, StrBuffer* out);

/// The id of another running process (not this one) whose program file is `imagePath`;
/// 0 when there is none. Searches the system's process list.
DWORD FindOtherProcessOf(const wchar_t* imagePath);

/// The same among the owners of the top-level windows of the calling thread's desktop.
DWORD FindOtherProcessOnDesktopOf(const wchar_t* imagePath);

/// True when a window title and a program name stand for each other: either is a leading
/// part of the other, without regard to case. Empty texts never match.
bool TitleMatchesName(const wchar_t* title, const wchar_t* name);

/// The first top-level window of process `processId` whose title matches `name` (see
/// TitleMatchesName), or null.
HWND FindWindowOfProcess(DWORD processId, const wchar_t* name);

} // namespace s::process::win
