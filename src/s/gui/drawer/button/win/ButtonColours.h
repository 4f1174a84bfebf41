#pragma once
#include "s/gui/drawer/IButton.h"

namespace s::gui::drawer::button::win
{

// The colours every button drawer keeps, on top of IButton. Defaults: the platform's
// plain look (white face, black frame and text, grey pressed face and disabled text).
class ButtonColours : public IButton
{
  public:
    void setFaceColour(uint32_t colour) override { face_ = colour; }
    void setFrameColour(uint32_t colour) override { frame_ = colour; }
    void setTextColour(uint32_t colour) override { text_ = colour; }
    void setHoverColour(uint32_t colour) override { hover_ = colour; }
    void setPressedColour(uint32_t colour) override { pressed_ = colour; }
    void setDisabledColour(uint32_t colour) override { disabled_ = colour; }
    uint32_t getFaceColour() override { return face_; }
    uint32_t getFrameColour() override { return frame_; }
    uint32_t getTextColour() override { return text_; }
    uint32_t getHoverColour() override { return hover_; }
    uint32_t getPressedColour() override { return pressed_; }
    uint32_t getDisabledColour() override { return disabled_; }

  protected:
    void resetColours()
    {
        face_ = 0xFFFFFF;
        frame_ = 0;
        text_ = 0;
        hover_ = 0x00A5FF;
        pressed_ = 0xC0C0C0;
        disabled_ = 0x808080;
    }
    // The text colour for `flags` and a caller's colour (DEFAULT_COLOUR: the drawer's).
    uint32_t textFor(unsigned flags, uint32_t textColour) const
    {
        if (flags & FLAG_DISABLED)
            return disabled_;
        return textColour == DEFAULT_COLOUR ? text_ : textColour;
    }

    uint32_t face_ = 0xFFFFFF;
    uint32_t frame_ = 0;
    uint32_t text_ = 0;
    uint32_t hover_ = 0x00A5FF;
    uint32_t pressed_ = 0xC0C0C0;
    uint32_t disabled_ = 0x808080;
};

} // namespace s::gui::drawer::button::win
