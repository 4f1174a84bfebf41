#include "s/gui/layout/Tree.h"

#include "s/gui/IComponent.h"
#include "s/gui/IContainer.h"

namespace s::gui::layout
{

void layoutFromInside(IComponent* root)
{
    if (!root)
        return;
    for (int i = 0; i < root->getChildCount(); ++i)
        layoutFromInside(root->getChild(i));
    if (auto* container = dynamic_cast<IContainer*>(root))
        container->doLayout();
}

} // namespace s::gui::layout
