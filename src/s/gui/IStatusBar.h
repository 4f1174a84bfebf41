#pragma once
#include "s/gui/IContainer.h"

namespace s::gui
{

// A bar along the bottom of its window holding text panes from left to right (made as
// they are first named) and any further children added to it (a progress bar). The
// window places it at the bottom, full client width, at its maximum height.
class IStatusBar : public IContainer
{
  public:
    virtual void setText(int pane, const wchar_t* text) = 0;
    virtual void setTextId(int pane, int textId) = 0;
    // The text of a pane, "" for a pane not made.
    virtual const wchar_t* getText(int pane) = 0;
};

} // namespace s::gui
