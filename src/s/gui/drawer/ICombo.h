#pragma once
#include "s/gui/drawer/IDrawer.h"

namespace s::gui::drawer
{

// Paints the closed face of a combo box: frame, face, the selected item's text at the
// left and a down arrow at the right.
class ICombo : public IDrawer
{
  public:
    virtual void draw(HDC dc, int left, int top, int right, int bottom, const wchar_t* text, HFONT font, int state,
                      unsigned flags, uint32_t textColour) = 0;
    // Width of the arrow area at the right.
    virtual int getArrowWidth() = 0;

    virtual void setFrameColour(uint32_t colour) = 0;
    virtual void setFaceColour(uint32_t colour) = 0;
    virtual void setTextColour(uint32_t colour) = 0;
    virtual void setHoverColour(uint32_t colour) = 0;
    virtual void setDisabledColour(uint32_t colour) = 0;
    virtual uint32_t getFrameColour() = 0;
    virtual uint32_t getFaceColour() = 0;
    virtual uint32_t getTextColour() = 0;
    virtual uint32_t getHoverColour() = 0;
    virtual uint32_t getDisabledColour() = 0;
};

} // namespace s::gui::drawer
