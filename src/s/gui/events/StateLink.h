#pragma once
#include <vector>

#include "s/gui/events/IEventListener.h"

namespace s::gui
{
class IComponent;
}

namespace s::gui::events
{

// A listener that sets one state (enabled or editable) of its targets whenever its
// source fires the event it is registered for. Only the source is checked: the link is
// added to exactly one of the source's lists, so the kind does not matter.
// Targets are not owned: they belong to the same window tree as the source and must
// outlive the link (the source releases its links when it goes back to its pool).
// Not locked: targets are added while the tree is built, before events flow.
class StateLink : public IEventListener
{
  public:
    void setSource(void* source) { source_ = source; }
    void* getSource() const { return source_; }
    // Null is ignored; a target given twice is driven once.
    void addTarget(IComponent* target);
    int getTargetCount() const { return static_cast<int>(targets_.size()); }
    IComponent* getTarget(int index) const;

    void handleEvent(void* source, int kind) override;

  protected:
    // Sets the state on one target.
    virtual void apply(IComponent* target) = 0;
    void resetLink();

  private:
    void* source_ = nullptr;
    std::vector<IComponent*> targets_;
};

} // namespace s::gui::events
