#pragma once
#include <vector>

#include "s/gui/events/IEventListener.h"

namespace s::gui::win
{

// The listeners of one event of one source, in the order they were added. Listeners
// are not owned. Not locked: listeners are added while the tree is being built,
// before events flow.
class ListenerList
{
  public:
    void add(events::IEventListener* listener)
    {
        if (listener)
            listeners_.push_back(listener);
    }
    int count() const { return static_cast<int>(listeners_.size()); }
    void clear() { listeners_.clear(); }

    // Calls every listener from the first to the last with (source, kind). The length
    // is read again after every call, so a listener added during the pass is called
    // in the same pass.
    void fire(void* source, int kind)
    {
        for (size_t i = 0; i < listeners_.size(); ++i)
            listeners_[i]->handleEvent(source, kind);
    }

  private:
    std::vector<events::IEventListener*> listeners_;
};

} // namespace s::gui::win
