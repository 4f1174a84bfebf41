#include "s/gui/win/ProgressBar.h"

#include <commctrl.h>

namespace s::gui::win
{

void ProgressBar::Reset()
{
    resetWidget();
    minimum_ = 0;
    maximum_ = 100;
    position_ = 0;
    step_ = DEFAULT_STEP;
}

void ProgressBar::setRange(int minimum, int maximum)
{
    if (maximum < minimum)
        std::swap(minimum, maximum);
    minimum_ = minimum;
    maximum_ = maximum;
    if (handle_)
        SendMessageW(handle_, PBM_SETRANGE32, static_cast<WPARAM>(minimum_), static_cast<LPARAM>(maximum_));
    setPosition(position_);
}

void ProgressBar::setPosition(int position)
{
    position_ = std::max(minimum_, std::min(position, maximum_));
    if (handle_)
        SendMessageW(handle_, PBM_SETPOS, static_cast<WPARAM>(position_), 0);
}

bool ProgressBar::createNative(HWND parentHandle)
{
    static const bool registered = [] {
        INITCOMMONCONTROLSEX init{sizeof(init), ICC_PROGRESS_CLASS};
        return InitCommonControlsEx(&init) != FALSE;
    }();
    (void)registered;
    handle_ = Toolkit::createControl(this, 0, PROGRESS_CLASSW, L"", WS_CHILD, 0, 0, 0, 0, parentHandle, nullptr);
    if (handle_)
    {
        SendMessageW(handle_, PBM_SETRANGE32, static_cast<WPARAM>(minimum_), static_cast<LPARAM>(maximum_));
        SendMessageW(handle_, PBM_SETPOS, static_cast<WPARAM>(position_), 0);
    }
    return handle_ != nullptr;
}

} // namespace s::gui::win
