#pragma once

namespace s::gui
{
class IWindow;
}

namespace s::gui::dialogs
{

// Asks the user for a folder with the platform's folder chooser.
class IFolderSelector
{
  public:
    virtual ~IFolderSelector() = default;
    // Shows the chooser over `owner` (may be null), starting at `initialFolder` (null:
    // none) with `title` (null: "Please Select the Destination"). True with the chosen
    // path (getPath); false when cancelled, leaving the previous path.
    virtual bool select(IWindow* owner, const wchar_t* initialFolder, const wchar_t* title) = 0;
    virtual const wchar_t* getPath() = 0;
};

} // namespace s::gui::dialogs
