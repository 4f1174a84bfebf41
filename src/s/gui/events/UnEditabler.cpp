#include "s/gui/events/UnEditabler.h"

#include "s/gui/IComponent.h"

namespace s::gui::events
{

void UnEditabler::apply(IComponent* target)
{
    target->setEditable(false);
}

} // namespace s::gui::events
