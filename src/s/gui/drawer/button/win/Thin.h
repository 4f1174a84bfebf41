#pragma once
#include "s/base/ClassId.h"
#include "s/gui/drawer/button/win/ButtonColours.h"
#include "s/thread/Pooled.h"

namespace s::gui::drawer::button::win
{

// A flat button: the face filled, a 1-pixel frame (the hover colour while hovered,
// pressed, focused or the default), the text centred on one line (moved by one pixel
// while pressed), or a glyph in the text colour.
class Thin : public ButtonColours
{
    S_CLASS_ID(L"s_gui_drawer_button_win_Thin")
    S_POOLED(Thin)

  public:
    // Space between the frame and the text on each side.
    static constexpr int PADDING_X = 8;
    static constexpr int PADDING_Y = 4;

    void Reset() override { resetColours(); }
    void draw(HDC dc, int left, int top, int right, int bottom, const wchar_t* text, HFONT font, int state,
              unsigned flags, uint32_t textColour) override;
    void drawImage(HDC dc, int left, int top, int right, int bottom, const wchar_t* image, int state,
                   unsigned flags) override;
    void measure(HDC dc, const wchar_t* text, HFONT font, int* width, int* height) override;

  private:
    // Face and frame; answers the offset of the content (1 while pressed).
    int drawFace(HDC dc, int left, int top, int right, int bottom, int state, unsigned flags);
};

} // namespace s::gui::drawer::button::win
