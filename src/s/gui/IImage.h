#pragma once
#include "s/gui/IComponent.h"

struct HBITMAP__;
struct HICON__;

namespace s::gui
{

// A picture or an icon shown in the component's place, painted by the image drawer of
// the window's skin (or a plain one). Size: the picture's own size, unless a fixed size
// or a width percentage is set; with a width percentage and no fixed height the height
// follows the picture's aspect. Neither the bitmap nor the icon is owned: they must
// outlive the component (or be replaced first).
class IImage : public IComponent
{
  public:
    // How the picture fills the place (drawer::IImage::Fit): 0 stretched, 1 keeping its
    // aspect, 2 at its own size.
    virtual void setFit(int fit) = 0;
    // Null shows nothing.
    virtual void setBitmap(HBITMAP__* bitmap) = 0;
    // Shown scaled to the whole place (replaces a bitmap); null shows nothing.
    virtual void setIcon(HICON__* icon) = 0;
};

} // namespace s::gui
