#include "s/gui/drawer/border/win/Plain.h"

#include "s/gui/drawer/Paint.h"

namespace s::gui::drawer::border::win
{

void Plain::draw(HDC dc, int left, int top, int right, int bottom, int state)
{
    (void)state;
    Paint::frame(dc, left, top, right, bottom, colour_);
}

} // namespace s::gui::drawer::border::win
