#pragma once
#include "s/gui/drawer/IBorder.h"

namespace s::gui::drawer::border
{

// A 1-pixel line around the component that ignores the pointer.
class IPlain : public drawer::IBorder
{
};

} // namespace s::gui::drawer::border
