#pragma once
#include "s/gui/IComponent.h"

namespace s::gui
{

// An empty gap of a fixed or a percentage size along its axis (horizontal: width,
// vertical: height); 0 along the other axis. Switching the axis moves the fixed and
// percentage settings over to the new axis.
class ISpacer : public IComponent
{
  public:
    virtual void setHorizontal() = 0;
    virtual void setVertical() = 0;
    // -1 = none; a percentage clears the fixed size of its axis and the other way round.
    virtual void setWidthPercent(int percent) = 0;
    virtual void setHeightPercent(int percent) = 0;
    virtual void setFixedWidth(int pixels) = 0;
    virtual void setFixedHeight(int pixels) = 0;
};

} // namespace s::gui
