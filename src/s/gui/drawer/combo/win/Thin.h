#pragma once
#include "s/base/ClassId.h"
#include "s/gui/drawer/ICombo.h"
#include "s/thread/Pooled.h"

namespace s::gui::drawer::combo::win
{

// A flat combo face: the face filled, a 1-pixel frame (the hover colour while hovered
// or focused), the text left-aligned on one line and a down arrow in the text colour
// in an area of ARROW pixels at the right, set off by a line in the frame colour.
class Thin : public ICombo
{
    S_CLASS_ID(L"s_gui_drawer_combo_win_Thin")
    S_POOLED(Thin)

  public:
    static constexpr int ARROW = 17;

    void Reset() override;
    void draw(HDC dc, int left, int top, int right, int bottom, const wchar_t* text, HFONT font, int state,
              unsigned flags, uint32_t textColour) override;
    int getArrowWidth() override { return ARROW; }

    void setFrameColour(uint32_t colour) override { frame_ = colour; }
    void setFaceColour(uint32_t colour) override { face_ = colour; }
    void setTextColour(uint32_t colour) override { text_ = colour; }
    void setHoverColour(uint32_t colour) override { hover_ = colour; }
    void setDisabledColour(uint32_t colour) override { disabled_ = colour; }
    uint32_t getFrameColour() override { return frame_; }
    uint32_t getFaceColour() override { return face_; }
    uint32_t getTextColour() override { return text_; }
    uint32_t getHoverColour() override { return hover_; }
    uint32_t getDisabledColour() override { return disabled_; }

  private:
    uint32_t frame_ = 0;
    uint32_t face_ = 0xFFFFFF;
    uint32_t text_ = 0;
    uint32_t hover_ = 0x00A5FF;
    uint32_t disabled_ = 0x808080;
};

} // namespace s::gui::drawer::combo::win
