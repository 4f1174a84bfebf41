#pragma once
#include "s/gui/drawer/IDrawer.h"

namespace s::gui::drawer
{

// Paints a component's border within its rectangle (nothing inside the border).
class IBorder : public IDrawer
{
  public:
    // `state` is an IDrawer::State: a hovered or pressed border takes the hover colour.
    virtual void draw(HDC dc, int left, int top, int right, int bottom, int state) = 0;
    virtual void setColour(uint32_t colour) = 0;
    virtual uint32_t getColour() = 0;
    virtual void setHoverColour(uint32_t colour) = 0;
    virtual uint32_t getHoverColour() = 0;
    // Pixels taken by the border on each side.
    virtual int getThickness() = 0;
};

} // namespace s::gui::drawer
