#pragma once
#include "s/gui/drawer/IDrawer.h"

namespace s::gui::drawer
{

// Paints pictures into a rectangle. The bitmap or icon stays the caller's.
class IImage : public IDrawer
{
  public:
    enum Fit
    {
        FIT_STRETCH = 0, // fills the rectangle
        FIT_KEEP_ASPECT, // as large as fits, centred, the rest in the background colour
        FIT_NATURAL      // at its own size, centred and clipped
    };
    // Nothing but the background for a null or unreadable bitmap.
    virtual void draw(HDC dc, int left, int top, int right, int bottom, HBITMAP bitmap, int fit) = 0;
    // The icon scaled to the rectangle (a 64 × 64 icon shown at 16 × 16 is smoothed by
    // the platform) over what the caller painted (no background).
    virtual void drawIcon(HDC dc, int left, int top, int right, int bottom, HICON icon) = 0;

    // Fill around a picture that does not cover the rectangle; transparent leaves it.
    virtual void setBackgroundColour(uint32_t colour) = 0;
    virtual uint32_t getBackgroundColour() = 0;
    virtual void setTransparent(bool on) = 0;
    virtual bool isTransparent() = 0;
};

} // namespace s::gui::drawer
