#include "s/gui/layout/Vertical.h"

#include "s/gui/layout/Arrange.h"

namespace s::gui::layout
{

Vertical* Vertical::Shared()
{
    static Vertical shared;
    return &shared;
}

void Vertical::layout(IComponent* container, int* minWidth, int* minHeight, int* prefWidth, int* prefHeight)
{
    if (container)
        arrangeColumn(container, 0, 0, 0, minWidth, minHeight, prefWidth, prefHeight);
}

} // namespace s::gui::layout
