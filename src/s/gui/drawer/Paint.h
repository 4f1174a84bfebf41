#pragma once
#include <windows.h>

#include <cstdint>

namespace s::gui::drawer
{

// The few painting steps every drawer is made of. Rectangles are (left, top, right,
// bottom) with right and bottom exclusive; empty rectangles paint nothing. Each call
// leaves the device context's selected objects, colours and modes as it found them.
class Paint
{
  public:
    static void fill(HDC dc, int left, int top, int right, int bottom, uint32_t colour);
    // A run of `length` pixels from (x, y) to the right, or downwards.
    static void hline(HDC dc, int x, int y, int length, uint32_t colour);
    static void vline(HDC dc, int x, int y, int length, uint32_t colour);
    // A 1-pixel outline just inside the rectangle.
    static void frame(HDC dc, int left, int top, int right, int bottom, uint32_t colour);
    // `text` (null paints nothing) in `font` (null: the GUI font) with DrawTextW's
    // `format` (DT_NOPREFIX is added), clipped to the rectangle, transparent background.
    static void text(HDC dc, int left, int top, int right, int bottom, const wchar_t* text, HFONT font,
                     uint32_t colour, UINT format);
    // The extent of one line of `text` in `font` (null: the GUI font); 0 × the line
    // height for an empty or null text.
    static void measure(HDC dc, const wchar_t* text, HFONT font, int* width, int* height);
    // The font used where a caller gives none (the system's GUI font; not to be deleted).
    static HFONT defaultFont();
    // A pixel value stated at 96 DPI (a drawer's margins, glyph and mark sizes) in the
    // pixels of `dc`: at the DPI of the window it paints (WindowFromDC), or for a memory
    // context (a widget's buffer) at the context's own DPI, the screen's. Lines of one
    // pixel stay one pixel; values of 0 and below stay as they are.
    static int scaled(HDC dc, int pixels);
    // A colour half-way between two colours, per channel.
    static uint32_t mix(uint32_t a, uint32_t b);
};

} // namespace s::gui::drawer
