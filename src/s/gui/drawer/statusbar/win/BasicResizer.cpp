#include "s/gui/drawer/statusbar/win/BasicResizer.h"

#include "s/gui/drawer/Glyphs.h"
#include "s/gui/drawer/Paint.h"

namespace s::gui::drawer::statusbar::win
{

void BasicResizer::draw(HDC dc, int left, int top, int right, int bottom, const wchar_t*, HFONT, int state,
                        unsigned flags, uint32_t textColour)
{
    (void)state;
    Glyphs::paintResizer(dc, left, top, right, bottom, textFor(flags, textColour));
}

void BasicResizer::drawImage(HDC dc, int left, int top, int right, int bottom, const wchar_t*, int state,
                             unsigned flags)
{
    draw(dc, left, top, right, bottom, nullptr, nullptr, state, flags, DEFAULT_COLOUR);
}

void BasicResizer::measure(HDC dc, const wchar_t*, HFONT, int* width, int* height)
{
    if (width)
        *width = Paint::scaled(dc, SIZE);
    if (height)
        *height = Paint::scaled(dc, SIZE);
}

} // namespace s::gui::drawer::statusbar::win
