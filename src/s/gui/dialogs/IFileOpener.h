#pragma once

namespace s::gui
{
class IWindow;
}
namespace s::str::strarray
{
class StrArray;
}

namespace s::gui::dialogs
{

// Asks the user for one or more files to open with the platform's file-open dialog.
class IFileOpener
{
  public:
    virtual ~IFileOpener() = default;
    // Shows the dialog over `owner` (may be null). A new list of the chosen full paths
    // that the caller releases; null when cancelled.
    virtual str::strarray::StrArray* open(IWindow* owner) = 0;
};

} // namespace s::gui::dialogs
