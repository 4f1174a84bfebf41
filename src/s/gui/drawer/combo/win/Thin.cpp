#include "s/gui/drawer/combo/win/Thin.h"

#include "s/gui/drawer/Glyphs.h"
#include "s/gui/drawer/Paint.h"

namespace s::gui::drawer::combo::win
{

void Thin::Reset()
{
    frame_ = 0;
    face_ = 0xFFFFFF;
    text_ = 0;
    hover_ = 0x00A5FF;
    disabled_ = 0x808080;
}

void Thin::draw(HDC dc, int left, int top, int right, int bottom, const wchar_t* text, HFONT font, int state,
                unsigned flags, uint32_t textColour)
{
    if (!dc || right <= left || bottom <= top)
        return;
    bool disabled = (flags & FLAG_DISABLED) != 0;
    bool marked = !disabled && (state != STATE_NORMAL || (flags & FLAG_FOCUSED));
    uint32_t ink = disabled ? disabled_ : textColour == DEFAULT_COLOUR ? text_ : textColour;
    Paint::fill(dc, left, top, right, bottom, face_);
    Paint::frame(dc, left, top, right, bottom, marked ? hover_ : frame_);
    int arrowLeft = right - Paint::scaled(dc, ARROW);
    if (arrowLeft > left + 1)
    {
        Paint::vline(dc, arrowLeft, top + 1, bottom - top - 2, marked ? hover_ : frame_);
        Glyphs::paint(dc, arrowLeft + 1, top + 1, right - 1, bottom - 1, L"#Down", ink);
    }
    Paint::text(dc, left + Paint::scaled(dc, 4), top + 1, (arrowLeft > left + 1 ? arrowLeft : right) - 2, bottom - 1, text, font, ink,
                DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
}

} // namespace s::gui::drawer::combo::win
