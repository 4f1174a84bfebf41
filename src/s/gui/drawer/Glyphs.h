#pragma once
#include <windows.h>

#include <cstdint>

namespace s::gui::drawer
{

// The small named pictures that buttons show instead of a text, drawn in one colour
// and centred in the rectangle: "#X", "#Resizer", "#Check", "#Down", "#Plus", "#Minus",
// "#Next", "#Prev", "#OnTop". Names are matched exactly.
class Glyphs
{
  public:
    // True when `name` is a known glyph (and it was painted).
    static bool paint(HDC dc, int left, int top, int right, int bottom, const wchar_t* name, uint32_t colour);
    static bool isKnown(const wchar_t* name);
    // A tick filling the square of side `size` at (x, y), two pixels thick.
    static void paintTick(HDC dc, int x, int y, int size, uint32_t colour);
    // The size-grip dots in the bottom-right corner of the rectangle.
    static void paintResizer(HDC dc, int left, int top, int right, int bottom, uint32_t colour);
};

} // namespace s::gui::drawer
