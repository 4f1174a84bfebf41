#pragma once
#include "s/gui/drawer/IDrawer.h"

namespace s::gui::drawer
{

// Paints the status bar: its background with a line along the top, and its text panes.
// The resize grip at its right end is a button whose drawer is the skin's grip drawer.
class IStatusBar : public IDrawer
{
  public:
    virtual void draw(HDC dc, int left, int top, int right, int bottom) = 0;
    // One pane's text, left-aligned and vertically centred with a small indent.
    virtual void drawPane(HDC dc, int left, int top, int right, int bottom, const wchar_t* text, HFONT font,
                          uint32_t textColour) = 0;

    virtual void setBackgroundColour(uint32_t colour) = 0;
    virtual void setLineColour(uint32_t colour) = 0;
    virtual void setTextColour(uint32_t colour) = 0;
    virtual uint32_t getBackgroundColour() = 0;
    virtual uint32_t getLineColour() = 0;
    virtual uint32_t getTextColour() = 0;
};

} // namespace s::gui::drawer
