#include "s/gui/events/Enabler.h"

#include "s/gui/IComponent.h"

namespace s::gui::events
{

void Enabler::apply(IComponent* target)
{
    target->setEnabled(true);
}

} // namespace s::gui::events
