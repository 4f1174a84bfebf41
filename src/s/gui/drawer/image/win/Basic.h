#pragma once
#include "s/base/ClassId.h"
#include "s/gui/drawer/IImage.h"
#include "s/thread/Pooled.h"

namespace s::gui::drawer::image::win
{

// Pictures and icons scaled into a rectangle with the platform's smoothing (HALFTONE
// for bitmaps, DrawIconEx for icons). Transparent until a background colour is given.
class Basic : public IImage
{
    S_CLASS_ID(L"s_gui_drawer_image_win_Basic")
    S_POOLED(Basic)

  public:
    void Reset() override;
    void draw(HDC dc, int left, int top, int right, int bottom, HBITMAP bitmap, int fit) override;
    void drawIcon(HDC dc, int left, int top, int right, int bottom, HICON icon) override;

    void setBackgroundColour(uint32_t colour) override;
    uint32_t getBackgroundColour() override { return background_; }
    void setTransparent(bool on) override { transparent_ = on; }
    bool isTransparent() override { return transparent_; }

  private:
    uint32_t background_ = 0xFFFFFF;
    bool transparent_ = true;
};

} // namespace s::gui::drawer::image::win
