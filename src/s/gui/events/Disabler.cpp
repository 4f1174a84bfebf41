#include "s/gui/events/Disabler.h"

#include "s/gui/IComponent.h"

namespace s::gui::events
{

void Disabler::apply(IComponent* target)
{
    target->setEnabled(false);
}

} // namespace s::gui::events
