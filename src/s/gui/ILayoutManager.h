#pragma once
#include "s/base/IObject.h"

namespace s::gui
{

class IComponent;

// Sizes and places the children of a container. The managers are stateless; one
// shared instance of each serves every container, so a container never releases its
// manager. The four optional out-values receive the content limits of the pass
// (minimum width and height, preferred width and height); they are left alone when
// the pointers are null.
class ILayoutManager : public base::IObject
{
  public:
    virtual void layout(IComponent* container, int* minWidth = nullptr, int* minHeight = nullptr,
                        int* prefWidth = nullptr, int* prefHeight = nullptr) = 0;
};

} // namespace s::gui
