#pragma once
#include "s/base/ClassId.h"
#include "s/gui/drawer/ICheckBox.h"
#include "s/gui/drawer/MarkColours.h"
#include "s/thread/Pooled.h"

namespace s::gui::drawer::checkbox::win
{

// A square glyph box with a 1-pixel frame and a tick in the mark colour when checked.
class Thin : public MarkColours<ICheckBox>
{
    S_CLASS_ID(L"s_gui_drawer_checkbox_win_Thin")
    S_POOLED(Thin)

  public:
    void Reset() override { resetColours(); }
    void draw(HDC dc, int left, int top, int right, int bottom, const wchar_t* text, HFONT font, int state,
              unsigned flags, uint32_t textColour) override;
};

} // namespace s::gui::drawer::checkbox::win
