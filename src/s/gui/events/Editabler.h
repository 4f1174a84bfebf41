#pragma once
#include "s/base/ClassId.h"
#include "s/base/IObject.h"
#include "s/gui/events/StateLink.h"
#include "s/thread/IPoolable.h"
#include "s/thread/Pooled.h"

namespace s::gui::events
{

// On any event from its source: makes editable every target (see StateLink).
// Pooled: Editabler::Acquire(); the source that made it releases it.
class Editabler : public base::IObject, public StateLink, public thread::IPoolable
{
    S_CLASS_ID(L"s_gui_events_Editabler")
    S_POOLED(Editabler)

  public:
    void Reset() override { resetLink(); }

  protected:
    void apply(IComponent* target) override;
};

} // namespace s::gui::events
