#pragma once
#include "s/base/ClassId.h"
#include "s/gui/drawer/IStatusBar.h"
#include "s/thread/Pooled.h"

namespace s::gui::drawer::statusbar::win
{

// The thin status bar: its background, a 1-pixel line in the line colour along the top
// and each pane's text on one line, 4 pixels in, vertically centred, cut with an ellipsis.
class Thin : public IStatusBar
{
    S_CLASS_ID(L"s_gui_drawer_statusbar_win_Thin")
    S_POOLED(Thin)

  public:
    void Reset() override;
    void draw(HDC dc, int left, int top, int right, int bottom) override;
    void drawPane(HDC dc, int left, int top, int right, int bottom, const wchar_t* text, HFONT font,
                  uint32_t textColour) override;

    void setBackgroundColour(uint32_t colour) override { background_ = colour; }
    void setLineColour(uint32_t colour) override { line_ = colour; }
    void setTextColour(uint32_t colour) override { text_ = colour; }
    uint32_t getBackgroundColour() override { return background_; }
    uint32_t getLineColour() override { return line_; }
    uint32_t getTextColour() override { return text_; }

  private:
    uint32_t background_ = 0xF0F0F0;
    uint32_t line_ = 0xA0A0A0;
    uint32_t text_ = 0;
};

} // namespace s::gui::drawer::statusbar::win
