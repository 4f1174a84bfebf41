#include "s/gui/events/StateLink.h"

#include <algorithm>

#include "s/gui/IComponent.h"

namespace s::gui::events
{

void StateLink::Reset()
{
    kind_ = ENABLER;
    source_ = nullptr;
    targets_.clear();
}

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
    const bool on = kind_ == ENABLER || kind_ == EDITABLER;
    for (IComponent* target : targets_)
    {
        if (kind_ == ENABLER || kind_ == DISABLER)
            target->setEnabled(on);
        else
            target->setEditable(on);
    }
}

} // namespace s::gui::events
