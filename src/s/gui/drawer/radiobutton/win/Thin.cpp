#include "s/gui/drawer/radiobutton/win/Thin.h"

namespace s::gui::drawer::radiobutton::win
{

namespace
{

// A filled circle with a 1-pixel ring, inside the square at (x, y) of side `size`.
void disc(HDC dc, int x, int y, int size, uint32_t ring, uint32_t inside)
{
    HPEN pen = CreatePen(PS_SOLID, 1, ring);
    HBRUSH brush = CreateSolidBrush(inside);
    if (pen && brush)
    {
        HGDIOBJ oldPen = SelectObject(dc, pen);
        HGDIOBJ oldBrush = SelectObject(dc, brush);
        Ellipse(dc, x, y, x + size, y + size);
        SelectObject(dc, oldBrush);
        SelectObject(dc, oldPen);
    }
    if (brush)
        DeleteObject(brush);
    if (pen)
        DeleteObject(pen);
}

} // namespace

void Thin::draw(HDC dc, int left, int top, int right, int bottom, const wchar_t* text, HFONT font, int state,
                unsigned flags, uint32_t textColour)
{
    if (!dc || right <= left || bottom <= top)
        return;
    const int glyph = Paint::scaled(dc, GLYPH), margin = Paint::scaled(dc, 4);
    int y = top + (bottom - top - glyph) / 2;
    disc(dc, left, y, glyph, frameFor(state, flags), interior_);
    if (flags & FLAG_CHECKED)
    {
        uint32_t dot = (flags & FLAG_DISABLED) ? disabled_ : mark_;
        disc(dc, left + margin, y + margin, glyph - 2 * margin, dot, dot);
    }
    drawText(dc, left, top, right, bottom, text, font, flags, textColour);
}

} // namespace s::gui::drawer::radiobutton::win
