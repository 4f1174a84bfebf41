#include "s/gui/drawer/button/win/Thin.h"

#include "s/gui/drawer/Glyphs.h"
#include "s/gui/drawer/Paint.h"

namespace s::gui::drawer::button::win
{

int Thin::drawFace(HDC dc, int left, int top, int right, int bottom, int state, unsigned flags)
{
    bool disabled = (flags & FLAG_DISABLED) != 0;
    bool down = !disabled && (state == STATE_PRESSED || (flags & FLAG_CHECKED));
    bool marked = !disabled && (state != STATE_NORMAL || (flags & (FLAG_FOCUSED | FLAG_DEFAULT)));
    Paint::fill(dc, left, top, right, bottom, down ? pressed_ : face_);
    Paint::frame(dc, left, top, right, bottom, marked ? hover_ : frame_);
    return !disabled && state == STATE_PRESSED ? 1 : 0;
}

void Thin::draw(HDC dc, int left, int top, int right, int bottom, const wchar_t* text, HFONT font, int state,
                unsigned flags, uint32_t textColour)
{
    if (!dc || right <= left || bottom <= top)
        return;
    int shift = drawFace(dc, left, top, right, bottom, state, flags);
    Paint::text(dc, left + 1 + shift, top + 1 + shift, right - 1 + shift, bottom - 1 + shift, text, font,
                textFor(flags, textColour), DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void Thin::drawImage(HDC dc, int left, int top, int right, int bottom, const wchar_t* image, int state,
                     unsigned flags)
{
    if (!dc || right <= left || bottom <= top)
        return;
    int shift = drawFace(dc, left, top, right, bottom, state, flags);
    Glyphs::paint(dc, left + 1 + shift, top + 1 + shift, right - 1 + shift, bottom - 1 + shift, image,
                  textFor(flags, DEFAULT_COLOUR));
}

void Thin::measure(HDC dc, const wchar_t* text, HFONT font, int* width, int* height)
{
    int w = 0, h = 0;
    Paint::measure(dc, text, font, &w, &h);
    if (width)
        *width = w + 2 * (Paint::scaled(dc, PADDING_X) + 1);
    if (height)
        *height = h + 2 * (Paint::scaled(dc, PADDING_Y) + 1);
}

} // namespace s::gui::drawer::button::win
