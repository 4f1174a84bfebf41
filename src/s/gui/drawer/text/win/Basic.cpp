#include "s/gui/drawer/text/win/Basic.h"

#include "s/gui/drawer/Paint.h"

namespace s::gui::drawer::text::win
{

void Basic::Reset()
{
    text_ = 0;
    disabled_ = 0x808080;
}

void Basic::draw(HDC dc, int left, int top, int right, int bottom, const wchar_t* text, HFONT font,
                 uint32_t colour, UINT format, unsigned flags)
{
    uint32_t ink = (flags & FLAG_DISABLED) ? disabled_ : colour == DEFAULT_COLOUR ? text_ : colour;
    Paint::text(dc, left, top, right, bottom, text, font, ink, format);
}

void Basic::measure(HDC dc, const wchar_t* text, HFONT font, int* width, int* height)
{
    Paint::measure(dc, text, font, width, height);
}

} // namespace s::gui::drawer::text::win
