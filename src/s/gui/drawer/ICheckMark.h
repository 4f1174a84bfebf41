#pragma once
#include "s/gui/drawer/IDrawer.h"

namespace s::gui::drawer
{

// What check boxes and radio buttons share: a small glyph box at the left, vertically
// centred, and the text to its right. The background around them is the caller's (a
// component prepares it before drawing: its colour, or its parent's backdrop).
class ICheckMark : public IDrawer
{
  public:
    // `flags`: FLAG_CHECKED marks the glyph; FLAG_DISABLED greys the text; FLAG_FOCUSED
    // or a hover/pressed `state` frames the glyph in the hover colour.
    virtual void draw(HDC dc, int left, int top, int right, int bottom, const wchar_t* text, HFONT font, int state,
                      unsigned flags, uint32_t textColour) = 0;
    // The smallest size that shows the glyph and `text` whole.
    virtual void measure(HDC dc, const wchar_t* text, HFONT font, int* width, int* height) = 0;
    // Side of the glyph box in pixels.
    virtual int getGlyphSize() = 0;

    virtual void setFrameColour(uint32_t colour) = 0;
    virtual void setInteriorColour(uint32_t colour) = 0;
    virtual void setMarkColour(uint32_t colour) = 0;
    virtual void setTextColour(uint32_t colour) = 0;
    virtual void setHoverColour(uint32_t colour) = 0;
    virtual void setDisabledColour(uint32_t colour) = 0;
    virtual uint32_t getFrameColour() = 0;
    virtual uint32_t getInteriorColour() = 0;
    virtual uint32_t getMarkColour() = 0;
    virtual uint32_t getTextColour() = 0;
    virtual uint32_t getHoverColour() = 0;
    virtual uint32_t getDisabledColour() = 0;
};

} // namespace s::gui::drawer
