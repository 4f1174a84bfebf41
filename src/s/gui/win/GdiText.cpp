#include "s/gui/win/GdiText.h"

#include <windows.h>

#include "s/gui/IFont.h"

namespace s::gui::win
{

GdiText* GdiText::Shared()
{
    static GdiText shared;
    return &shared;
}

void GdiText::drawText(HDC__* dc, int left, int top, int right, int bottom, const wchar_t* text, IFont* font,
                       int alignment)
{
    if (!dc || !text || !*text || !font)
        return;
    HDC hdc = reinterpret_cast<HDC>(dc);
    HGDIOBJ oldFont = SelectObject(hdc, font->getHandle());
    int oldMode = SetBkMode(hdc, TRANSPARENT);
    COLORREF oldColour = GetTextColor(hdc);
    UINT format = DT_NOPREFIX | DT_EXPANDTABS;
    format |= alignment == ALIGN_CENTRE ? DT_CENTER : alignment == ALIGN_RIGHT ? DT_RIGHT : DT_LEFT;
    // Centre the block of lines vertically.
    RECT measure{left, top, right, top};
    DrawTextW(hdc, text, -1, &measure, format | DT_CALCRECT);
    int blockHeight = measure.bottom - measure.top;
    int y = top + (bottom - top - blockHeight) / 2;
    if (y < top)
        y = top;
    int inset = font->hasOutline() ? 1 : 0;
    RECT r{left + inset, y + inset, right - inset, y + inset + blockHeight};
    if (font->hasOutline())
    {
        SetTextColor(hdc, font->getOutlineColour());
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
            {
                if (dx == 0 && dy == 0)
                    continue;
                RECT o{r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
                DrawTextW(hdc, text, -1, &o, format);
            }
    }
    else if (font->hasShadow())
    {
        SetTextColor(hdc, font->getShadowColour());
        RECT s{r.left + 1, r.top + 1, r.right + 1, r.bottom + 1};
        DrawTextW(hdc, text, -1, &s, format);
    }
    SetTextColor(hdc, font->getTextColour());
    DrawTextW(hdc, text, -1, &r, format);
    SetTextColor(hdc, oldColour);
    SetBkMode(hdc, oldMode);
    SelectObject(hdc, oldFont);
}

} // namespace s::gui::win
