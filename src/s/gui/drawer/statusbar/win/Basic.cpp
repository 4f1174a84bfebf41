#include "s/gui/drawer/statusbar/win/Basic.h"

#include "s/gui/drawer/Paint.h"

namespace s::gui::drawer::statusbar::win
{

void Basic::draw(HDC dc, int left, int top, int right, int bottom)
{
    Paint::fill(dc, left, top, right, bottom, getBackgroundColour());
}

} // namespace s::gui::drawer::statusbar::win
