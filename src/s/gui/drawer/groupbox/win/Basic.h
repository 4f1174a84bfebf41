#pragma once
#include "s/base/ClassId.h"
#include "s/gui/drawer/groupbox/win/GroupColours.h"
#include "s/thread/Pooled.h"

namespace s::gui::drawer::groupbox::win
{

// No frame: the caption at the top left and a 1-pixel line from the caption's end to
// the right edge, through the caption's middle.
class Basic : public GroupColours
{
    S_CLASS_ID(L"s_gui_drawer_groupbox_win_Basic")
    S_POOLED(Basic)

  public:
    void Reset() override { resetColours(); }
    void draw(HDC dc, int left, int top, int right, int bottom, const wchar_t* caption, HFONT font,
              unsigned flags, uint32_t textColour) override;
    int getCaptionHeight(HDC dc, HFONT font) override;
    int getInset() override;
};

} // namespace s::gui::drawer::groupbox::win
