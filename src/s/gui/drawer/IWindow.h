#pragma once
#include "s/gui/drawer/IDrawer.h"

namespace s::gui::drawer
{

// Paints a window's background and its 1-pixel frame line.
class IWindow : public IDrawer
{
  public:
    // Fills the rectangle with the background colour (unless transparent) and draws
    // the frame along its edges; nothing for an empty rectangle.
    virtual void draw(HDC dc, int left, int top, int right, int bottom) = 0;
    // Giving a background colour ends transparency.
    virtual void setBackgroundColour(uint32_t colour) = 0;
    virtual uint32_t getBackgroundColour() = 0;
    virtual void setFrameColour(uint32_t colour) = 0;
    virtual uint32_t getFrameColour() = 0;
    // A transparent window drawer leaves the inside of the frame as it is.
    virtual void setTransparent(bool on) = 0;
    virtual bool isTransparent() = 0;
};

} // namespace s::gui::drawer
