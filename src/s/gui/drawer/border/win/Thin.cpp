#include "s/gui/drawer/border/win/Thin.h"

#include "s/gui/drawer/Paint.h"

namespace s::gui::drawer::border::win
{

void Thin::draw(HDC dc, int left, int top, int right, int bottom, int state)
{
    Paint::frame(dc, left, top, right, bottom, state == STATE_NORMAL ? colour_ : hover_);
}

} // namespace s::gui::drawer::border::win
