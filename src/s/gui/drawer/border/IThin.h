#pragma once
#include "s/gui/drawer/IBorder.h"

namespace s::gui::drawer::border
{

// A 1-pixel line around the component, in the hover colour while the pointer is over it.
class IThin : public drawer::IBorder
{
};

} // namespace s::gui::drawer::border
