#pragma once
#include "s/gui/drawer/IBorder.h"

namespace s::gui::drawer::border
{

// The line that separates a window's menu bar from the area below it: one row at the top
// of the rectangle, across its whole width.
class IUnderWindowMenu : public drawer::IBorder
{
};

} // namespace s::gui::drawer::border
