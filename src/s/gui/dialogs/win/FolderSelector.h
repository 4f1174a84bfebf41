#pragma once
#include <windows.h>

#include "s/gui/dialogs/IFolderSelector.h"

namespace s::gui::dialogs::win
{

// The shell's folder chooser (SHBrowseForFolderW) with an edit box and the new dialog
// style; with an initial folder the chooser opens on it. A topmost owner is made
// non-topmost while the chooser is open (it would hide it) and topmost again after.
// Runs on the calling thread, which needs COM (the window's thread has it).
class FolderSelector : public IFolderSelector
{
  public:
    static constexpr const wchar_t* DEFAULT_TITLE = L"Please Select the Destination";

    bool select(IWindow* owner, const wchar_t* initialFolder, const wchar_t* title) override;
    const wchar_t* getPath() override { return path_; }

  private:
    wchar_t path_[MAX_PATH] = L"";
};

} // namespace s::gui::dialogs::win
