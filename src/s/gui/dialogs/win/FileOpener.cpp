#include "s/gui/dialogs/win/FileOpener.h"

#include "s/gui/IWindow.h"
#include "s/gui/dialogs/win/FileDialogEx.h"
#include "s/gui/win/Toolkit.h"

namespace s::gui::dialogs::win
{

str::strarray::StrArray* FileOpener::open(IWindow* owner)
{
    FileDialogEx dialog(owner ? gui::win::Toolkit::handleOf(owner) : nullptr);
    return dialog.run() ? dialog.takePaths() : nullptr;
}

} // namespace s::gui::dialogs::win
