#pragma once
#include "s/gui/drawer/IBorder.h"

namespace s::gui::drawer::border::win
{

// The colours every 1-pixel border keeps (line black, hover colour black), on top of
// the border's own interface I.
template <class I> class LineBorder : public I
{
  public:
    void setColour(uint32_t colour) override { colour_ = colour; }
    uint32_t getColour() override { return colour_; }
    void setHoverColour(uint32_t colour) override { hover_ = colour; }
    uint32_t getHoverColour() override { return hover_; }
    int getThickness() override { return 1; }

  protected:
    void resetColours()
    {
        colour_ = 0;
        hover_ = 0;
    }

    uint32_t colour_ = 0;
    uint32_t hover_ = 0;
};

} // namespace s::gui::drawer::border::win
