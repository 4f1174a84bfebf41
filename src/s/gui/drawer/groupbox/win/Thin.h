#pragma once
#include "s/base/ClassId.h"
#include "s/gui/drawer/groupbox/win/GroupColours.h"
#include "s/thread/Pooled.h"

namespace s::gui::drawer::groupbox::win
{

// A 1-pixel frame whose top line runs through the middle of the caption, the caption
// standing in a gap of the line 8 pixels from the left. The caption's gap shows what
// the caller painted there.
class Thin : public GroupColours
{
    S_CLASS_ID(L"s_gui_drawer_groupbox_win_Thin")
    S_POOLED(Thin)

  public:
    void Reset() override { resetColours(); }
    void draw(HDC dc, int left, int top, int right, int bottom, const wchar_t* caption, HFONT font,
              unsigned flags, uint32_t textColour) override;
    int getCaptionHeight(HDC dc, HFONT font) override;
    int getInset() override;
};

} // namespace s::gui::drawer::groupbox::win
