#pragma once
#include "s/gui/drawer/IWindow.h"

namespace s::gui::drawer::window
{

// The thin window look: square, cut or round corners drawn as frame-coloured pixels
// inside the corners.
class IThin : public drawer::IWindow
{
  public:
    enum CornerStyle
    {
        CORNER_SQUARE = 0,
        CORNER_CUT = 1,
        CORNER_ROUND = 2
    };
    // Styles outside 0..2 are taken as square.
    virtual void setTopCornerStyle(int style) = 0;
    virtual int getTopCornerStyle() = 0;
    virtual void setBottomCornerStyle(int style) = 0;
    virtual int getBottomCornerStyle() = 0;
};

} // namespace s::gui::drawer::window
