#pragma once
#include "s/gui/drawer/IDrawer.h"

namespace s::gui::drawer
{

// Paints a group's frame and caption. The content lies below getCaptionHeight and
// inside getInset on the other sides.
class IGroupBox : public IDrawer
{
  public:
    virtual void draw(HDC dc, int left, int top, int right, int bottom, const wchar_t* caption, HFONT font,
                      unsigned flags, uint32_t textColour) = 0;
    // Pixels from the top of the group to its content for a caption in `font`.
    virtual int getCaptionHeight(HDC dc, HFONT font) = 0;
    // Pixels between the frame's outer edge and the content on the left, right and bottom.
    virtual int getInset() = 0;

    virtual void setFrameColour(uint32_t colour) = 0;
    virtual void setTextColour(uint32_t colour) = 0;
    virtual void setDisabledColour(uint32_t colour) = 0;
    virtual uint32_t getFrameColour() = 0;
    virtual uint32_t getTextColour() = 0;
    virtual uint32_t getDisabledColour() = 0;
};

} // namespace s::gui::drawer
