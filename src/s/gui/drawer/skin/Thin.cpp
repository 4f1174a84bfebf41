#include "s/gui/drawer/skin/Thin.h"

#include "s/gui/drawer/groupbox/win/Basic.h"
#include "s/gui/drawer/statusbar/win/Basic.h"

namespace s::gui::drawer::skin
{

void Thin::build(const Scheme* scheme)
{
    SkinBase::build(scheme, groupbox::win::Basic::Acquire(), statusbar::win::Basic::Acquire());
}

} // namespace s::gui::drawer::skin
