#include "s/gui/drawer/skin/ThinWindow.h"

#include "s/gui/drawer/groupbox/win/Thin.h"
#include "s/gui/drawer/statusbar/win/Thin.h"

namespace s::gui::drawer::skin
{

void ThinWindow::build(const Scheme* scheme)
{
    SkinBase::build(scheme, groupbox::win::Thin::Acquire(), statusbar::win::Thin::Acquire());
}

} // namespace s::gui::drawer::skin
