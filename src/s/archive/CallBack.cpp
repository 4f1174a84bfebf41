#include "s/archive/CallBack.h"

namespace s::archive
{

void CallBack::setStatus(const wchar_t* text)
{
    if (status_ != nullptr)
    {
        status_->showStatusText(text != nullptr ? text : L"");
    }
}

void CallBack::setRange(int64_t maximum)
{
    const int64_t range = maximum < 0 ? 0 : maximum;
    if (range == range_ && rangeShown_)
    {
        return;
    }
    range_ = range;
    rangeShown_ = false;
    if (progress_ != nullptr && range_ <= MAX_SHOWN_RANGE)
    {
        progress_->showProgressRange(static_cast<int32_t>(range_));
        rangeShown_ = true;
    }
}

void CallBack::setPosition(int64_t position)
{
    position_ = position;
    if (progress_ != nullptr && range_ <= MAX_SHOWN_RANGE)
    {
        const int64_t shown = position < 0 ? 0 : (position > range_ ? range_ : position);
        progress_->showProgressPosition(static_cast<int32_t>(shown));
    }
}

void CallBack::clear()
{
    status_ = nullptr;
    progress_ = nullptr;
    range_ = 0;
    rangeShown_ = false;
    position_ = 0;
}

} // namespace s::archive
