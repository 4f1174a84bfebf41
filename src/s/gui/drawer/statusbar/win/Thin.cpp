#include "s/gui/drawer/statusbar/win/Thin.h"

#include "s/gui/drawer/Paint.h"

namespace s::gui::drawer::statusbar::win
{

void Thin::Reset()
{
    background_ = 0xF0F0F0;
    line_ = 0xA0A0A0;
    text_ = 0;
}

void Thin::draw(HDC dc, int left, int top, int right, int bottom)
{
    if (!dc || right <= left || bottom <= top)
        return;
    Paint::fill(dc, left, top, right, bottom, background_);
    Paint::hline(dc, left, top, right - left, line_);
}

void Thin::drawPane(HDC dc, int left, int top, int right, int bottom, const wchar_t* text, HFONT font,
                  uint32_t textColour)
{
    Paint::text(dc, left + 4, top, right - 2, bottom, text, font, textColour == DEFAULT_COLOUR ? text_ : textColour,
                DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
}

} // namespace s::gui::drawer::statusbar::win
