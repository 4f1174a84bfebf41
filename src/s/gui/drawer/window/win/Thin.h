#pragma once
#include "s/base/ClassId.h"
#include "s/gui/drawer/IFrameDrawer.h"
#include "s/gui/drawer/window/IThin.h"
#include "s/thread/Pooled.h"

namespace s::gui::drawer::window::win
{

// The thin window look: a background fill and a 1-pixel frame line, with the corners
// drawn square (0), cut (1: a 2-pixel run inside each corner) or round (2: a staircase
// of 5, 3, 2, 2 and 1 pixels over the five rows inside each corner). Transparent until
// a background colour is given; frame black; square corners.
//
// As a window's frame drawer it paints the whole window (whose client area is the whole
// window): paintFrame draws into (0, 0, width, height).
class Thin : public IThin, public IFrameDrawer
{
    S_CLASS_ID(L"s_gui_drawer_window_win_Thin")
    S_POOLED(Thin)

  public:
    void Reset() override;

    void draw(HDC dc, int left, int top, int right, int bottom) override;
    void setBackgroundColour(uint32_t colour) override;
    uint32_t getBackgroundColour() override { return background_; }
    void setFrameColour(uint32_t colour) override { frame_ = colour; }
    uint32_t getFrameColour() override { return frame_; }
    void setTransparent(bool on) override { transparent_ = on; }
    bool isTransparent() override { return transparent_; }
    void setTopCornerStyle(int style) override { topStyle_ = validStyle(style); }
    int getTopCornerStyle() override { return topStyle_; }
    void setBottomCornerStyle(int style) override { bottomStyle_ = validStyle(style); }
    int getBottomCornerStyle() override { return bottomStyle_; }

    void paintFrame(gui::IWindow* window, HDC__* dc, int width, int height) override;

  private:
    static int validStyle(int style) { return style >= CORNER_SQUARE && style <= CORNER_ROUND ? style : 0; }
    // The corner pixels of one edge: `row(i)` is the y of the i-th row inside the edge.
    void drawCorners(HDC dc, int left, int width, int style, int rowStep, int firstRow);

    uint32_t background_ = 0;
    uint32_t frame_ = 0;
    bool transparent_ = true;
    int topStyle_ = CORNER_SQUARE;
    int bottomStyle_ = CORNER_SQUARE;
};

} // namespace s::gui::drawer::window::win
