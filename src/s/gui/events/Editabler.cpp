#include "s/gui/events/Editabler.h"

#include "s/gui/IComponent.h"

namespace s::gui::events
{

void Editabler::apply(IComponent* target)
{
    target->setEditable(true);
}

} // namespace s::gui::events
