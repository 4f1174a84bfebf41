#include "s/gui/drawer/checkbox/win/Thin.h"

#include "s/gui/drawer/Glyphs.h"

namespace s::gui::drawer::checkbox::win
{

void Thin::draw(HDC dc, int left, int top, int right, int bottom, const wchar_t* text, HFONT font, int state,
                unsigned flags, uint32_t textColour)
{
    if (!dc || right <= left || bottom <= top)
        return;
    const int glyph = Paint::scaled(dc, GLYPH), margin = Paint::scaled(dc, 3);
    int y = top + (bottom - top - glyph) / 2;
    Paint::fill(dc, left, y, left + glyph, y + glyph, interior_);
    Paint::frame(dc, left, y, left + glyph, y + glyph, frameFor(state, flags));
    if (flags & FLAG_CHECKED)
        Glyphs::paintTick(dc, left + margin, y + margin, glyph - 2 * margin, (flags & FLAG_DISABLED) ? disabled_ : mark_);
    drawText(dc, left, top, right, bottom, text, font, flags, textColour);
}

} // namespace s::gui::drawer::checkbox::win
