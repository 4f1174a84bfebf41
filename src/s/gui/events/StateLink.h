#pragma once
#include <vector>

#include "s/base/ClassId.h"
#include "s/base/IObject.h"
#include "s/gui/events/IEventListener.h"
#include "s/thread/IPoolable.h"
#include "s/thread/Pooled.h"

namespace s::gui
{
class IComponent;
}

namespace s::gui::events
{

// A listener that sets one state of its targets whenever its source fires the event it
// is registered for. What it sets is its kind: ENABLER enables, DISABLER disables,
// EDITABLER makes editable and UN_EDITABLER makes read-only every target.
// Only the source is checked: the link is added to exactly one of the source's lists,
// so the event's kind does not matter.
// Targets are not owned: they belong to the same window tree as the source and must
// outlive the link (the source releases its links when it goes back to its pool).
// Pooled: StateLink::Acquire() gives an ENABLER without source or targets; the source
// that made it releases it.
// Not locked: targets are added while the tree is built, before events flow.
class StateLink : public base::IObject, public IEventListener, public thread::IPoolable
{
    S_CLASS_ID(L"s_gui_events_StateLink")
    S_POOLED(StateLink)

  public:
    enum Kind
    {
        ENABLER = 0,
        DISABLER,
        EDITABLER,
        UN_EDITABLER,
    };

    void Reset() override;

    void setKind(Kind kind) { kind_ = kind; }
    Kind getKind() const { return kind_; }
    void setSource(void* source) { source_ = source; }
    void* getSource() const { return source_; }
    // Null is ignored; a target given twice is driven once.
    void addTarget(IComponent* target);
    int getTargetCount() const { return static_cast<int>(targets_.size()); }
    IComponent* getTarget(int index) const;

    void handleEvent(void* source, int kind) override;

  private:
    Kind kind_ = ENABLER;
    void* source_ = nullptr;
    std::vector<IComponent*> targets_;
};

} // namespace s::gui::events
