#pragma once
#include "s/base/ClassId.h"
#include "s/gui/ISpacer.h"
#include "s/gui/win/WidgetBase.h"
#include "s/thread/IPoolable.h"
#include "s/thread/Pooled.h"

namespace s::gui::win
{

// An empty gap (see ISpacer), transparent so that its parent shows through.
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

  protected:
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
