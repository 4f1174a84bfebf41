#pragma once
#include "s/base/ClassId.h"
#include "s/gui/drawer/border/IUnderWindowMenu.h"
#include "s/gui/drawer/border/win/LineBorder.h"
#include "s/thread/Pooled.h"

namespace s::gui::drawer::border::win
{

// The row at the top of the rectangle, across its width: the line under a menu bar.
class UnderWindowMenu : public LineBorder<IUnderWindowMenu>
{
    S_CLASS_ID(L"s_gui_drawer_border_win_UnderWindowMenu")
    S_POOLED(UnderWindowMenu)

  public:
    void Reset() override { resetColours(); }
    void draw(HDC dc, int left, int top, int right, int bottom, int state) override;
};

} // namespace s::gui::drawer::border::win
