#pragma once
#include "s/base/ClassId.h"
#include "s/gui/drawer/IText.h"
#include "s/thread/Pooled.h"

namespace s::gui::drawer::text::win
{

// A label's text as DrawTextW lays it out, in the colour given (the font's) or the
// drawer's text colour, on whatever the label painted before.
class Basic : public IText
{
    S_CLASS_ID(L"s_gui_drawer_text_win_Basic")
    S_POOLED(Basic)

  public:
    void Reset() override;
    void draw(HDC dc, int left, int top, int right, int bottom, const wchar_t* text, HFONT font, uint32_t colour,
              UINT format, unsigned flags) override;
    void measure(HDC dc, const wchar_t* text, HFONT font, int* width, int* height) override;

    void setTextColour(uint32_t colour) override { text_ = colour; }
    void setDisabledColour(uint32_t colour) override { disabled_ = colour; }
    uint32_t getTextColour() override { return text_; }
    uint32_t getDisabledColour() override { return disabled_; }

  private:
    uint32_t text_ = 0;
    uint32_t disabled_ = 0x808080;
};

} // namespace s::gui::drawer::text::win
