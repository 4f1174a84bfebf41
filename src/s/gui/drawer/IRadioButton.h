#pragma once
#include "s/gui/drawer/ICheckMark.h"

namespace s::gui::drawer
{

// Radio buttons: a round glyph with a dot when selected.
class IRadioButton : public ICheckMark
{
};

} // namespace s::gui::drawer
