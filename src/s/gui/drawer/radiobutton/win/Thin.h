#pragma once
#include "s/base/ClassId.h"
#include "s/gui/drawer/IRadioButton.h"
#include "s/gui/drawer/MarkColours.h"
#include "s/thread/Pooled.h"

namespace s::gui::drawer::radiobutton::win
{

// A round glyph with a 1-pixel ring and a dot in the mark colour when selected.
class Thin : public MarkColours<IRadioButton>
{
    S_CLASS_ID(L"s_gui_drawer_radiobutton_win_Thin")
    S_POOLED(Thin)

  public:
    void Reset() override { resetColours(); }
    void draw(HDC dc, int left, int top, int right, int bottom, const wchar_t* text, HFONT font, int state,
              unsigned flags, uint32_t textColour) override;
};

} // namespace s::gui::drawer::radiobutton::win
