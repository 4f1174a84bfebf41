#pragma once
#include "s/base/ClassId.h"
#include "s/gui/ISpacer.h"
#include "s/gui/win/WidgetBase.h"
#include "s/thread/IPoolable.h"
#include "s/thread/Pooled.h"

namespace s::gui::win
{

// An empty gap (see ISpacer): it only takes room in its parent's layout, so it has no native
// window of its own (its parent's background is what shows where it is); it counts as
// visible while it is shown and its parent has its window.
// Pooled: Spacer::Acquire() or newSpacer / newSpacerPercent.
class Spacer : public WidgetBase<ISpacer>, public thread::IPoolable
{
    S_CLASS_ID(L"s_gui_win_Spacer")
    S_POOLED(Spacer)

  public:
    Spacer() { Reset(); }
    void Reset() override;

    void setHorizontal() override;
    void setVertical() override;
    void setWidthPercent(int percent) override { WidgetBase::setWidthPercent(percent); }
    void setHeightPercent(int percent) override { WidgetBase::setHeightPercent(percent); }
    void setFixedWidth(int pixels) override { WidgetBase::setFixedWidth(pixels); }
    void setFixedHeight(int pixels) override { WidgetBase::setFixedHeight(pixels); }
    bool isVertical() const { return vertical_; }
    bool isVisible() override { return visible_ && parent_ != nullptr && Toolkit::hostOf(parent_) != nullptr; }

  protected:
    bool createNative(HWND) override { return true; }
    void measureContent(int* width, int* height) override
    {
        *width = 0;
        *height = 0;
    }

  private:
    void swapAxes();
    bool vertical_ = false;
};

} // namespace s::gui::win
