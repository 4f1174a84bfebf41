#pragma once
#include <string>

#include "s/base/ClassId.h"
#include "s/base/IObject.h"
#include "s/gui/IFontSetting.h"
#include "s/thread/IPoolable.h"
#include "s/thread/Pooled.h"

namespace s::gui::win
{

// A font description kept by a skin's drawers (see IFontSetting). Fresh from the pool
// it holds nothing (every property "leave"), so applyTo changes only what was set.
// Pooled: FontSetting::Acquire(), Release(). Not locked: set it up on one thread.
class FontSetting : public base::IObject, public IFontSetting, public thread::IPoolable
{
    S_CLASS_ID(L"s_gui_win_FontSetting")
    S_POOLED(FontSetting)

  public:
    FontSetting() { Reset(); }
    void Reset() override;

    const wchar_t* getFace() override { return hasFace_ ? face_.c_str() : nullptr; }
    void setFace(const wchar_t* face) override;
    int getPointSize() override { return points_; }
    void setPointSize(int points) override { points_ = points; }
    int getWeight() override { return weight_; }
    void setWeight(int weight) override { weight_ = weight; }
    bool isItalic() override { return italic_; }
    void setItalic(bool on) override { italic_ = on; }
    bool isUnderline() override { return underline_; }
    void setUnderline(bool on) override { underline_ = on; }
    bool isStrikeOut() override { return strikeOut_; }
    void setStrikeOut(bool on) override { strikeOut_ = on; }
    uint32_t getTextColour() override { return colour_; }
    void setTextColour(int r, int g, int b) override;
    bool hasShadow() override { return shadow_; }
    uint32_t getShadowColour() override { return shadowColour_; }
    void setShadow(bool on, int r, int g, int b) override;
    bool hasOutline() override { return outline_; }
    uint32_t getOutlineColour() override { return outlineColour_; }
    void setOutline(bool on, int r, int g, int b) override;
    void applyTo(IFont* font) override;
    void takeFrom(IFont* font) override;

  private:
    std::wstring face_;
    bool hasFace_ = false;
    int points_ = -1, weight_ = -1;
    bool italic_ = false, underline_ = false, strikeOut_ = false;
    bool hasColour_ = false;
    uint32_t colour_ = 0;
    bool shadow_ = false, outline_ = false;
    uint32_t shadowColour_ = 0, outlineColour_ = 0;
};

} // namespace s::gui::win
