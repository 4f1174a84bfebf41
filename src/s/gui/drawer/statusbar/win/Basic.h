#pragma once
#include "s/base/ClassId.h"
#include "s/gui/drawer/statusbar/win/Thin.h"
#include "s/thread/Pooled.h"

namespace s::gui::drawer::statusbar::win
{

// The plain status bar: the thin one without the line along its top (the line colour is
// kept for callers that ask).
class Basic : public Thin
{
    S_CLASS_ID(L"s_gui_drawer_statusbar_win_Basic")
    S_POOLED(Basic)

  public:
    void draw(HDC dc, int left, int top, int right, int bottom) override;
};

} // namespace s::gui::drawer::statusbar::win
