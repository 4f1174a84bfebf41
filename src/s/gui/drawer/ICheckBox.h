#pragma once
#include "s/gui/drawer/ICheckMark.h"

namespace s::gui::drawer
{

// Check boxes: a square glyph box with a tick when checked.
class ICheckBox : public ICheckMark
{
};

} // namespace s::gui::drawer
