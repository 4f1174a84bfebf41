#include "s/gui/drawer/Paint.h"

#include <cwchar>

#include "s/gui/win/Toolkit.h"

namespace s::gui::drawer
{

int Paint::scaled(HDC dc, int pixels)
{
    if (pixels <= 0 || !dc)
        return pixels;
    HWND window = WindowFromDC(dc);
    int dpi = window ? win::Toolkit::dpiOf(window) : GetDeviceCaps(dc, LOGPIXELSY);
    return win::Toolkit::scale(pixels, dpi > 0 ? dpi : win::Toolkit::BASE_DPI);
}

void Paint::fill(HDC dc, int left, int top, int right, int bottom, uint32_t colour)
{
    if (!dc || right <= left || bottom <= top)
        return;
    RECT r{left, top, right, bottom};
    COLORREF old = SetDCBrushColor(dc, colour);
    FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    SetDCBrushColor(dc, old);
}

void Paint::hline(HDC dc, int x, int y, int length, uint32_t colour)
{
    fill(dc, x, y, x + length, y + 1, colour);
}

void Paint::vline(HDC dc, int x, int y, int length, uint32_t colour)
{
    fill(dc, x, y, x + 1, y + length, colour);
}

void Paint::frame(HDC dc, int left, int top, int right, int bottom, uint32_t colour)
{
    if (right <= left || bottom <= top)
        return;
    hline(dc, left, top, right - left, colour);
    hline(dc, left, bottom - 1, right - left, colour);
    vline(dc, left, top, bottom - top, colour);
    vline(dc, right - 1, top, bottom - top, colour);
}

void Paint::text(HDC dc, int left, int top, int right, int bottom, const wchar_t* text, HFONT font,
                 uint32_t colour, UINT format)
{
    if (!dc || !text || !*text || right <= left || bottom <= top)
        return;
    HGDIOBJ oldFont = SelectObject(dc, font ? font : defaultFont());
    COLORREF oldColour = SetTextColor(dc, colour);
    int oldMode = SetBkMode(dc, TRANSPARENT);
    RECT r{left, top, right, bottom};
    DrawTextW(dc, text, -1, &r, format | DT_NOPREFIX);
    SetBkMode(dc, oldMode);
    SetTextColor(dc, oldColour);
    SelectObject(dc, oldFont);
}

void Paint::measure(HDC dc, const wchar_t* text, HFONT font, int* width, int* height)
{
    int w = 0, h = 0;
    if (dc)
    {
        HGDIOBJ oldFont = SelectObject(dc, font ? font : defaultFont());
        TEXTMETRICW metrics;
        if (GetTextMetricsW(dc, &metrics))
            h = metrics.tmHeight;
        if (text && *text)
        {
            SIZE size{0, 0};
            if (GetTextExtentPoint32W(dc, text, static_cast<int>(wcslen(text)), &size))
            {
                w = size.cx;
                h = size.cy > h ? size.cy : h;
            }
        }
        SelectObject(dc, oldFont);
    }
    if (width)
        *width = w;
    if (height)
        *height = h;
}

HFONT Paint::defaultFont()
{
    return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

uint32_t Paint::mix(uint32_t a, uint32_t b)
{
    uint32_t out = 0;
    for (int shift = 0; shift < 24; shift += 8)
        out |= ((((a >> shift) & 0xFF) + ((b >> shift) & 0xFF)) / 2) << shift;
    return out;
}

} // namespace s::gui::drawer
