#pragma once
#include <windows.h>

#include <cstdint>

#include "s/base/IObject.h"
#include "s/thread/IPoolable.h"

namespace s::gui::drawer
{

// Root of every drawer: a pooled object that paints one kind of element into a device
// context, with its colours as state (0x00BBGGRR, red in the low byte). A skin makes one
// drawer of each kind for its colour scheme and keeps it; components borrow it. A
// component that was given a drawer of its own releases that one itself.
//
// Threads: draw operations only read the drawer's state, so one drawer may paint for
// several components of one window; set colours before the drawer is shared. Nothing
// here fills more than the rectangle it is given, and a failed platform call leaves the
// rectangle as it was.
class IDrawer : public base::IObject, public thread::IPoolable
{
  public:
    // A colour argument meaning "the drawer's own colour for this".
    static constexpr uint32_t DEFAULT_COLOUR = 0xFFFFFFFFu;

    // Visual states of widgets that react to the pointer.
    enum State
    {
        STATE_NORMAL = 0,
        STATE_HOVER = 1,
        STATE_PRESSED = 2
    };
    // Flags combined with the state.
    enum Flag : unsigned
    {
        FLAG_DISABLED = 1u,
        FLAG_FOCUSED = 2u,
        FLAG_DEFAULT = 4u,   // the keyboard default of a dialog
        FLAG_CHECKED = 8u,   // checked, selected or toggled on
        FLAG_SEPARATOR = 16u,
        FLAG_RADIO = 32u     // a menu item's radio mark
    };
};

} // namespace s::gui::drawer
