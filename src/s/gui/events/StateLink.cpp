#include "s/gui/events/StateLink.h"

#include <algorithm>

#include "s/gui/IComponent.h"

namespace s::gui::events
{

void StateLink::addTarget(IComponent* target)
{
    if (target && std::find(targets_.begin(), targets_.end(), target) == targets_.end())
        targets_.push_back(target);
}

IComponent* StateLink::getTarget(int index) const
{
    return index >= 0 && index < getTargetCount() ? targets_[static_cast<size_t>(index)] : nullptr;
}

void StateLink::handleEvent(void* source, int)
{
    if (!source || source != source_)
        return;
    for (size_t i = 0; i < targets_.size(); ++i)
        apply(targets_[i]);
}

void StateLink::resetLink()
{
    source_ = nullptr;
    targets_.clear();
}

} // namespace s::gui::events
