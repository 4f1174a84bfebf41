#pragma once
#include "s/gui/drawer/IDrawer.h"

namespace s::gui::drawer
{

// Paints owner-drawn menus: the bar's background and single items (text, check or
// radio mark, separator). `state` STATE_HOVER marks the item under the pointer or the
// keyboard; `flags` FLAG_CHECKED, FLAG_RADIO, FLAG_SEPARATOR, FLAG_DISABLED.
class IMenu : public IDrawer
{
  public:
    virtual void drawBar(HDC dc, int left, int top, int right, int bottom) = 0;
    // A tab in `text` separates the item's text from its key text (shown at the right).
    virtual void drawItem(HDC dc, int left, int top, int right, int bottom, const wchar_t* text, HFONT font,
                          int state, unsigned flags) = 0;
    virtual void measureItem(HDC dc, const wchar_t* text, HFONT font, unsigned flags, int* width,
                             int* height) = 0;

    virtual void setBackgroundColour(uint32_t colour) = 0;
    virtual void setTextColour(uint32_t colour) = 0;
    virtual void setHoverColour(uint32_t colour) = 0;  // fill of the hovered item
    virtual void setAccentColour(uint32_t colour) = 0; // mark at the hovered item's left
    virtual void setSeparatorColour(uint32_t colour) = 0;
    virtual void setDisabledColour(uint32_t colour) = 0;
    virtual uint32_t getBackgroundColour() = 0;
    virtual uint32_t getTextColour() = 0;
    virtual uint32_t getHoverColour() = 0;
    virtual uint32_t getAccentColour() = 0;
    virtual uint32_t getSeparatorColour() = 0;
    virtual uint32_t getDisabledColour() = 0;
};

} // namespace s::gui::drawer
