#pragma once
#include "s/base/ClassId.h"
#include "s/base/IObject.h"
#include "s/gui/events/StateLink.h"
#include "s/thread/IPoolable.h"
#include "s/thread/Pooled.h"

namespace s::gui::events
{

// On any event from its source: enables every target (see StateLink).
// Pooled: Enabler::Acquire(); the source that made it releases it.
class Enabler : public base::IObject, public StateLink, public thread::IPoolable
{
    S_CLASS_ID(L"s_gui_events_Enabler")
    S_POOLED(Enabler)

  public:
    void Reset() override { resetLink(); }

  protected:
    void apply(IComponent* target) override;
};

} // namespace s::gui::events
