#include "s/gui/drawer/menu/win/Basic.h"

#include <cwchar>
#include <string>

#include "s/gui/drawer/Glyphs.h"
#include "s/gui/drawer/Paint.h"

namespace s::gui::drawer::menu::win
{

void Basic::Reset()
{
    background_ = 0xFFFFFF;
    text_ = 0;
    hover_ = 0xEEEEEE;
    accent_ = 0x00A5FF;
    separator_ = 0xC0C0C0;
    disabled_ = 0x808080;
}

void Basic::drawBar(HDC dc, int left, int top, int right, int bottom)
{
    Paint::fill(dc, left, top, right, bottom, background_);
}

void Basic::drawItem(HDC dc, int left, int top, int right, int bottom, const wchar_t* text, HFONT font, int state,
                     unsigned flags)
{
    if (!dc || right <= left || bottom <= top)
        return;
    bool disabled = (flags & FLAG_DISABLED) != 0;
    bool hot = state != STATE_NORMAL && !(flags & FLAG_SEPARATOR);
    Paint::fill(dc, left, top, right, bottom, hot && !disabled ? hover_ : background_);
    if (flags & FLAG_SEPARATOR)
    {
        const int inset = Paint::scaled(dc, 2);
        Paint::hline(dc, left + inset, top + (bottom - top) / 2, right - left - 2 * inset, separator_);
        return;
    }
    if (hot)
        Paint::fill(dc, left, top, left + Paint::scaled(dc, 3), bottom, accent_);
    uint32_t ink = disabled ? disabled_ : text_;
    const int markWidth = Paint::scaled(dc, MARK_WIDTH);
    const int markSide = Paint::scaled(dc, 7);
    int mx = left + (markWidth - markSide) / 2, my = top + (bottom - top - markSide) / 2;
    if (flags & FLAG_RADIO)
        Paint::fill(dc, mx + 1, my + 1, mx + markSide - 1, my + markSide - 1, ink);
    else if (flags & FLAG_CHECKED)
        Glyphs::paintTick(dc, mx, my, markSide, ink);
    if (!text)
        return;
    const wchar_t* tab = wcschr(text, L'\t');
    std::wstring label = tab ? std::wstring(text, tab) : std::wstring(text);
    UINT format = DT_VCENTER | DT_SINGLELINE;
    Paint::text(dc, left + markWidth, top, right - Paint::scaled(dc, 4), bottom, label.c_str(), font, ink,
                format | DT_LEFT);
    if (tab)
        Paint::text(dc, left + markWidth, top, right - Paint::scaled(dc, 8), bottom, tab + 1, font, ink,
                    format | DT_RIGHT);
}

void Basic::measureItem(HDC dc, const wchar_t* text, HFONT font, unsigned flags, int* width, int* height)
{
    int w = 0, h = 0;
    if (flags & FLAG_SEPARATOR)
    {
        h = Paint::scaled(dc, SEPARATOR_HEIGHT);
    }
    else
    {
        const wchar_t* tab = text ? wcschr(text, L'\t') : nullptr;
        std::wstring label = tab ? std::wstring(text, tab) : std::wstring(text ? text : L"");
        Paint::measure(dc, label.c_str(), font, &w, &h);
        if (tab)
        {
            int keyW = 0;
            Paint::measure(dc, tab + 1, font, &keyW, nullptr);
            w += Paint::scaled(dc, KEY_GAP) + keyW;
        }
        w += Paint::scaled(dc, MARK_WIDTH) + Paint::scaled(dc, 8);
        h += 2 * Paint::scaled(dc, ITEM_PADDING_Y);
    }
    if (width)
        *width = w;
    if (height)
        *height = h;
}

} // namespace s::gui::drawer::menu::win
