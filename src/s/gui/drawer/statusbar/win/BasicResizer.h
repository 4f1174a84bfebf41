#pragma once
#include "s/base/ClassId.h"
#include "s/gui/drawer/button/win/ButtonColours.h"
#include "s/thread/Pooled.h"

namespace s::gui::drawer::statusbar::win
{

// The status bar's resize grip, painted by the grip button (showing "#Resizer"): six
// dots in the bottom-right corner in the text colour, on the background the button
// prepared (no face, no frame, whatever the text or image asked).
class BasicResizer : public button::win::ButtonColours
{
    S_CLASS_ID(L"s_gui_drawer_statusbar_win_BasicResizer")
    S_POOLED(BasicResizer)

  public:
    // The grip's own size.
    static constexpr int SIZE = 14;

    void Reset() override { resetColours(); }
    void draw(HDC dc, int left, int top, int right, int bottom, const wchar_t* text, HFONT font, int state,
              unsigned flags, uint32_t textColour) override;
    void drawImage(HDC dc, int left, int top, int right, int bottom, const wchar_t* image, int state,
                   unsigned flags) override;
    void measure(HDC dc, const wchar_t* text, HFONT font, int* width, int* height) override;
};

} // namespace s::gui::drawer::statusbar::win
