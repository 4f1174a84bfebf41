#pragma once
#include "s/gui/IComponent.h"

namespace s::gui
{

class ILayoutManager;

// A component with children, laid out by a layout manager. Without a manager of its
// own a container uses a shared default (the column for the top-level window, the
// flow for a box). Managers are shared objects: the container never releases one.
class IContainer : public IComponent
{
  public:
    virtual void doLayout() = 0;
    virtual ILayoutManager* getLayoutManager() = 0;
    // Null returns to the default arrangement.
    virtual void setLayoutManager(ILayoutManager* manager) = 0;
};

} // namespace s::gui
