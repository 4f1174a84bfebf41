#include "s/gui/layout/FlowH.h"

#include "s/gui/layout/Arrange.h"

namespace s::gui::layout
{

FlowH* FlowH::Shared()
{
    static FlowH shared;
    return &shared;
}

void FlowH::layout(IComponent* container, int* minWidth, int* minHeight, int* prefWidth, int* prefHeight)
{
    if (container)
        arrangeFlow(container, 0, 0, 0, 0, minWidth, minHeight, prefWidth, prefHeight);
}

} // namespace s::gui::layout
