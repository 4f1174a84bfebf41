#pragma once
#include "s/base/ClassId.h"
#include "s/gui/drawer/border/IPlain.h"
#include "s/gui/drawer/border/win/LineBorder.h"
#include "s/thread/Pooled.h"

namespace s::gui::drawer::border::win
{

// A 1-pixel line around the rectangle in its colour, whatever the state.
class Plain : public LineBorder<IPlain>
{
    S_CLASS_ID(L"s_gui_drawer_border_win_Plain")
    S_POOLED(Plain)

  public:
    void Reset() override { resetColours(); }
    void draw(HDC dc, int left, int top, int right, int bottom, int state) override;
};

} // namespace s::gui::drawer::border::win
