#include "s/gui/drawer/Glyphs.h"

#include <algorithm>
#include <cwchar>

#include "s/gui/drawer/Paint.h"

namespace s::gui::drawer
{

namespace
{

enum Kind
{
    NONE,
    X,
    RESIZER,
    CHECK,
    DOWN,
    PLUS,
    MINUS,
    NEXT,
    PREV,
    ON_TOP
};

Kind kindOf(const wchar_t* name)
{
    struct Entry
    {
        const wchar_t* name;
        Kind kind;
    };
    static constexpr Entry NAMES[] = {{L"#X", X},         {L"#Resizer", RESIZER}, {L"#Check", CHECK},
                                      {L"#Down", DOWN},   {L"#Plus", PLUS},       {L"#Minus", MINUS},
                                      {L"#Next", NEXT},   {L"#Prev", PREV},       {L"#OnTop", ON_TOP}};
    if (!name)
        return NONE;
    for (const Entry& e : NAMES)
        if (wcscmp(e.name, name) == 0)
            return e.kind;
    return NONE;
}

void dot(HDC dc, int x, int y, int w, uint32_t colour)
{
    Paint::hline(dc, x, y, w, colour);
}

// A triangle pointing down (0), right (1) or left (2) in a square of side `s` at (x, y).
void triangle(HDC dc, int x, int y, int s, int direction, uint32_t colour)
{
    int half = (s + 1) / 2;
    for (int i = 0; i < half; ++i)
    {
        int len = s - 2 * i;
        if (len <= 0)
            break;
        if (direction == 0)
            Paint::hline(dc, x + i, y + (s - half) / 2 + i, len, colour);
        else if (direction == 1)
            Paint::vline(dc, x + (s - half) / 2 + i, y + i, len, colour);
        else
            Paint::vline(dc, x + (s + half) / 2 - 1 - i, y + i, len, colour);
    }
}

} // namespace

bool Glyphs::isKnown(const wchar_t* name)
{
    return kindOf(name) != NONE;
}

void Glyphs::paintResizer(HDC dc, int left, int top, int right, int bottom, uint32_t colour)
{
    // Six 2 × 2 dots in a triangle, 4 pixels apart, 2 pixels from the corner.
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3 - row; ++col)
        {
            int x = right - 4 - col * 4, y = bottom - 4 - row * 4;
            if (x >= left && y >= top)
                Paint::fill(dc, x, y, x + 2, y + 2, colour);
        }
}

void Glyphs::paintTick(HDC dc, int x, int y, int size, uint32_t colour)
{
    if (size < 3)
    {
        Paint::fill(dc, x, y, x + size, y + size, colour);
        return;
    }
    // The short stroke falls from the middle of the left edge to the lowest point (a
    // third of the way across); the long one rises from there to the top-right corner.
    int low = size / 3, lowY = size - 2;
    int startY = lowY - low;
    for (int i = 0; i <= low; ++i)
        Paint::vline(dc, x + i, y + startY + i, 2, colour);
    int run = size - 1 - low;
    for (int i = 1; i <= run; ++i)
        Paint::vline(dc, x + low + i, y + lowY - (lowY * i + run / 2) / run, 2, colour);
}

bool Glyphs::paint(HDC dc, int left, int top, int right, int bottom, const wchar_t* name, uint32_t colour)
{
    Kind kind = kindOf(name);
    if (kind == NONE)
        return false;
    if (kind == RESIZER)
    {
        paintResizer(dc, left, top, right, bottom, colour);
        return true;
    }
    int w = right - left, h = bottom - top;
    int s = std::max(3, std::min(w, h) - 6);
    if (s > w || s > h)
        s = std::max(1, std::min(w, h));
    int x = left + (w - s) / 2, y = top + (h - s) / 2;
    switch (kind)
    {
    case X:
        for (int i = 0; i < s; ++i)
        {
            dot(dc, x + i, y + i, i + 2 <= s ? 2 : 1, colour);
            dot(dc, x + s - 1 - i - (i + 2 <= s ? 1 : 0), y + i, i + 2 <= s ? 2 : 1, colour);
        }
        break;
    case CHECK:
        paintTick(dc, x, y, s, colour);
        break;
    case DOWN:
        triangle(dc, x, y, s, 0, colour);
        break;
    case NEXT:
        triangle(dc, x, y, s, 1, colour);
        break;
    case PREV:
        triangle(dc, x, y, s, 2, colour);
        break;
    case PLUS:
        Paint::fill(dc, x, y + s / 2 - 1, x + s, y + s / 2 + 1, colour);
        Paint::fill(dc, x + s / 2 - 1, y, x + s / 2 + 1, y + s, colour);
        break;
    case MINUS:
        Paint::fill(dc, x, y + s / 2 - 1, x + s, y + s / 2 + 1, colour);
        break;
    case ON_TOP:
    {
        // A bar with an arrow rising to it: the bar, the arrow's head, its stem.
        Paint::fill(dc, x, y, x + s, y + 2, colour);
        int centre = x + s / 2, half = s / 2;
        int i = 0;
        for (; i < half && 3 + i < s; ++i)
            Paint::hline(dc, centre - i, y + 3 + i, 2 * i + 1, colour);
        Paint::fill(dc, centre - 1, y + 3 + i, centre + 1, y + s, colour);
        break;
    }
    default:
        break;
    }
    return true;
}

} // namespace s::gui::drawer
