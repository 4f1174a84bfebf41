#include "s/gui/win/Spacer.h"

#include <utility>

namespace s::gui::win
{

void Spacer::Reset()
{
    resetWidget();
    vertical_ = false;
    transparent_ = true;
}

void Spacer::swapAxes()
{
    std::swap(fixedWidth_, fixedHeight_);
    std::swap(widthPercent_, heightPercent_);
    sizeRulesChanged();
}

void Spacer::setHorizontal()
{
    if (!vertical_)
        return;
    vertical_ = false;
    swapAxes();
}

void Spacer::setVertical()
{
    if (vertical_)
        return;
    vertical_ = true;
    swapAxes();
}

} // namespace s::gui::win
