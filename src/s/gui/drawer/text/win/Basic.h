#pragma once
#include "s/base/ClassId.h"
#include "s/gui/drawer/IDrawer.h"
#include "s/gui/drawer/IText.h"
#include "s/thread/Pooled.h"

namespace s::gui::drawer::text::win
{

// The skins' text drawer: a label's text in the font chosen for the label's state, in
// that font's colour (with its shadow or outline), aligned as the label asks, on the
// buffer the label prepared. The painting itself is the toolkit's plain GDI text.
class Basic : public IDrawer, public IText
{
    S_CLASS_ID(L"s_gui_drawer_text_win_Basic")
    S_POOLED(Basic)

  public:
    void Reset() override {}
    void drawText(HDC__* dc, int left, int top, int right, int bottom, const wchar_t* text, IFont* font,
                  int alignment) override;
};

} // namespace s::gui::drawer::text::win
