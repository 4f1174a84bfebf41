#pragma once

namespace s::gui::events
{

// Receives the events of components, menus, the language pack and the skinner.
// `source` is the object that fired the event as it passes itself: components pass
// their IComponent face (which is also their own interface's face), so a listener
// recognises a source by comparing pointers. `kind` is numbered per source class.
// Called on the thread that runs the source's message handling (for components the
// user-interface thread of their top-level window).
class IEventListener
{
  public:
    virtual ~IEventListener() = default;
    virtual void handleEvent(void* source, int kind) = 0;
};

} // namespace s::gui::events
