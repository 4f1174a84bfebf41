#pragma once
#include "s/base/ClassId.h"
#include "s/gui/IProgressBar.h"
#include "s/gui/win/WidgetBase.h"
#include "s/thread/IPoolable.h"
#include "s/thread/Pooled.h"

namespace s::gui::win
{

// A progress bar on the platform's progress control (msctls_progress32), see
// IProgressBar. Range and position are kept by the bar and given to the control when
// it is made. Size: at least 60 x 14; give it a width percentage to let it stretch.
// Pooled: ProgressBar::Acquire(). Threads: as every component (the control takes its
// position from any thread).
class ProgressBar : public WidgetBase<IProgressBar>, public thread::IPoolable
{
    S_CLASS_ID(L"s_gui_win_ProgressBar")
    S_POOLED(ProgressBar)

  public:
    static constexpr int DEFAULT_STEP = 10;

    ProgressBar() { Reset(); }
    void Reset() override;

    using WidgetBase::setPosition; // (x, y): the component's place
    void setRange(int minimum, int maximum) override;
    void setPosition(int position) override;
    int getPosition() override { return position_; }
    void step() override { setPosition(position_ + step_); }
    void setStep(int amount) { step_ = amount; }
    int getMinimum() const { return minimum_; }
    int getMaximum() const { return maximum_; }

  protected:
    bool wrapsControl() const override { return true; }
    bool createNative(HWND parentHandle) override;
    void measureContent(int* width, int* height) override
    {
        *width = 60;
        *height = 14;
    }

  private:
    int minimum_ = 0, maximum_ = 100, position_ = 0, step_ = DEFAULT_STEP;
};

} // namespace s::gui::win
