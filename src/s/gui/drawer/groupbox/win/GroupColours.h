#pragma once
#include "s/gui/drawer/IGroupBox.h"

namespace s::gui::drawer::groupbox::win
{

// The colours every group drawer keeps (black frame and caption, grey when disabled).
class GroupColours : public IGroupBox
{
  public:
    void setFrameColour(uint32_t colour) override { frame_ = colour; }
    void setTextColour(uint32_t colour) override { text_ = colour; }
    void setDisabledColour(uint32_t colour) override { disabled_ = colour; }
    uint32_t getFrameColour() override { return frame_; }
    uint32_t getTextColour() override { return text_; }
    uint32_t getDisabledColour() override { return disabled_; }

  protected:
    void resetColours()
    {
        frame_ = 0;
        text_ = 0;
        disabled_ = 0x808080;
    }
    uint32_t captionColour(unsigned flags, uint32_t textColour) const
    {
        if (flags & FLAG_DISABLED)
            return disabled_;
        return textColour == DEFAULT_COLOUR ? text_ : textColour;
    }

    uint32_t frame_ = 0;
    uint32_t text_ = 0;
    uint32_t disabled_ = 0x808080;
};

} // namespace s::gui::drawer::groupbox::win
