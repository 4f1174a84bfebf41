#pragma once
#include "s/gui/drawer/IDrawer.h"

namespace s::gui::drawer
{

// Paints a label's text on the buffer the label prepared.
class IText : public IDrawer
{
  public:
    // `format`: DrawTextW flags for alignment and wrapping (DT_LEFT, DT_CENTER, DT_RIGHT,
    // DT_VCENTER with DT_SINGLELINE, ...); `colour` the font's text colour, or
    // DEFAULT_COLOUR for the drawer's own (the scheme's text colour). FLAG_DISABLED in
    // `flags` paints in the disabled colour instead.
    virtual void draw(HDC dc, int left, int top, int right, int bottom, const wchar_t* text, HFONT font,
                      uint32_t colour, UINT format, unsigned flags) = 0;
    virtual void measure(HDC dc, const wchar_t* text, HFONT font, int* width, int* height) = 0;

    virtual void setTextColour(uint32_t colour) = 0;
    virtual void setDisabledColour(uint32_t colour) = 0;
    virtual uint32_t getTextColour() = 0;
    virtual uint32_t getDisabledColour() = 0;
};

} // namespace s::gui::drawer
