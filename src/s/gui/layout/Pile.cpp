#include "s/gui/layout/Pile.h"

#include "s/gui/layout/Arrange.h"

namespace s::gui::layout
{

Pile* Pile::Shared()
{
    static Pile shared;
    return &shared;
}

void Pile::layout(IComponent* container, int* minWidth, int* minHeight, int* prefWidth, int* prefHeight)
{
    if (container)
        arrangePile(container, 0, 0, minWidth, minHeight, prefWidth, prefHeight);
}

} // namespace s::gui::layout
