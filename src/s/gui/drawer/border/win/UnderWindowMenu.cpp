#include "s/gui/drawer/border/win/UnderWindowMenu.h"

#include "s/gui/drawer/Paint.h"

namespace s::gui::drawer::border::win
{

void UnderWindowMenu::draw(HDC dc, int left, int top, int right, int bottom, int state)
{
    (void)state;
    if (bottom > top)
        Paint::hline(dc, left, top, right - left, colour_);
}

} // namespace s::gui::drawer::border::win
