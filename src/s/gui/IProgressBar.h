#pragma once
#include "s/gui/IComponent.h"

namespace s::gui
{

// A progress bar over a range (0..100 by default). Positions outside the range are
// held at its ends.
class IProgressBar : public IComponent
{
  public:
    using IComponent::setPosition; // (x, y): the component's place
    virtual void setRange(int minimum, int maximum) = 0;
    virtual void setPosition(int position) = 0;
    virtual int getPosition() = 0;
    // Advances by the step (10 by default), held at the maximum.
    virtual void step() = 0;
};

} // namespace s::gui
