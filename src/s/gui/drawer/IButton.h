#pragma once
#include "s/gui/drawer/IDrawer.h"

namespace s::gui::drawer
{

// Paints push buttons: face, frame and a centred text, or a named glyph instead of the
// text. `state` is an IDrawer::State, `flags` IDrawer::Flag bits (disabled, focused,
// default, checked = toggled on). Fonts are not owned (null: the GUI font).
class IButton : public IDrawer
{
  public:
    // `textColour` DEFAULT_COLOUR: the drawer's text colour.
    virtual void draw(HDC dc, int left, int top, int right, int bottom, const wchar_t* text, HFONT font, int state,
                      unsigned flags, uint32_t textColour) = 0;
    // A glyph that fills the button in the text colour: "#X", "#Resizer", "#Check",
    // "#Down", "#Plus", "#Minus", "#Next", "#Prev", "#OnTop"; another name paints only
    // the face and frame.
    virtual void drawImage(HDC dc, int left, int top, int right, int bottom, const wchar_t* image, int state,
                           unsigned flags) = 0;
    // The smallest size that shows `text` whole with the drawer's frame and padding.
    virtual void measure(HDC dc, const wchar_t* text, HFONT font, int* width, int* height) = 0;

    virtual void setFaceColour(uint32_t colour) = 0;
    virtual void setFrameColour(uint32_t colour) = 0;
    virtual void setTextColour(uint32_t colour) = 0;
    // Frame of a hovered, focused or default button.
    virtual void setHoverColour(uint32_t colour) = 0;
    // Face of a pressed or toggled-on button.
    virtual void setPressedColour(uint32_t colour) = 0;
    virtual void setDisabledColour(uint32_t colour) = 0;
    virtual uint32_t getFaceColour() = 0;
    virtual uint32_t getFrameColour() = 0;
    virtual uint32_t getTextColour() = 0;
    virtual uint32_t getHoverColour() = 0;
    virtual uint32_t getPressedColour() = 0;
    virtual uint32_t getDisabledColour() = 0;
};

} // namespace s::gui::drawer
