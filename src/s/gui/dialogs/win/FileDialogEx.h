#pragma once
#include <windows.h>

#include <vector>

namespace s::str::strarray
{
class StrArray;
}

namespace s::gui::dialogs::win
{

// The platform's file-open dialog (GetOpenFileNameW, explorer style) for several files.
// The answer buffer grows until the whole selection fits.
class FileDialogEx
{
  public:
    explicit FileDialogEx(HWND owner, const wchar_t* filter = nullptr);
    // Shows the dialog; true when the user chose at least one file.
    bool run();
    // The chosen full paths (a new list the caller releases).
    str::strarray::StrArray* takePaths();
    // Splits the dialog's answer (a folder and names, each zero-terminated, ended by an
    // empty text; or one full path) into full paths appended to `out`.
    static void splitSelection(const wchar_t* answer, size_t units, str::strarray::StrArray* out);

  private:
    HWND owner_;
    const wchar_t* filter_;
    std::vector<wchar_t> buffer_;
};

} // namespace s::gui::dialogs::win
