#pragma once
#include "s/gui/dialogs/IFileOpener.h"

namespace s::gui::dialogs::win
{

// Opens the platform's file-open dialog (FileDialogEx) for several files of any type.
class FileOpener : public IFileOpener
{
  public:
    str::strarray::StrArray* open(IWindow* owner) override;
};

} // namespace s::gui::dialogs::win
