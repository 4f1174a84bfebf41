#pragma once
#include <cstdint>

#include "s/gui/events/IEventListener.h"

struct HDC__;     // the platform's device-context handle type (HDC)
struct HBITMAP__; // the platform's bitmap handle type (HBITMAP)

namespace s::col::_array
{
class ArrayP;
}

namespace s::gui
{

class IWindow;

// A visible element in the tree under one top-level window. Geometry is in pixels
// relative to the parent's client area; the native window sits at (x + origin x,
// y + origin y). Colours are 0x00BBGGRR.
//
// Threads: any thread may call these operations. State is stored at once; native
// windows are made and destroyed only on the top-level window's user-interface thread
// (other threads are routed there by messages). Calls on a component without a native
// window change only its stored state.
//
// Ownership: a container owns its children; a removed child goes back to its pool.
class IComponent : public events::IEventListener
{
  public:
    virtual int getX() = 0;
    virtual void setX(int x) = 0;
    virtual int getY() = 0;
    virtual void setY(int y) = 0;
    // Screen position of the client origin (origin + position without a native window).
    virtual int getScreenX() = 0;
    virtual int getScreenY() = 0;
    // False when not visible; both bounds inclusive.
    virtual bool containsScreenPoint(int x, int y) = 0;
    virtual int getWidth() = 0;
    virtual void setWidth(int w) = 0;
    virtual int getHeight() = 0;
    virtual void setHeight(int h) = 0;
    virtual int getClientWidth() = 0;
    virtual void setClientWidth(int w) = 0;
    virtual int getClientHeight() = 0;
    virtual void setClientHeight(int h) = 0;
    virtual void setPosition(int x, int y) = 0;
    virtual void setSize(int w, int h) = 0;
    virtual void setBounds(int x, int y, int w, int h) = 0;
    virtual void setOrigin(int ox, int oy) = 0;
    virtual void moveOrigin(int dx, int dy) = 0;
    virtual int getMinWidth() = 0;
    virtual int getMinHeight() = 0;
    virtual int getMinClientWidth() = 0;
    virtual int getMinClientHeight() = 0;
    virtual int getMaxWidth() = 0;
    virtual int getMaxHeight() = 0;
    virtual int getMaxClientWidth() = 0;
    virtual int getMaxClientHeight() = 0;
    // Visible flag set and a native window exists.
    virtual bool isVisible() = 0;
    virtual void setVisible(bool show, bool notify) = 0;
    virtual bool isEnabled() = 0;
    virtual void setEnabled(bool on) = 0;
    virtual bool isEditable() = 0;
    virtual void setEditable(bool on) = 0;
    virtual void centreInParent() = 0;
    virtual void centreHorizontally() = 0;
    virtual void centreVertically() = 0;
    virtual uint32_t getBackgroundColour() = 0;
    virtual bool isTransparent() = 0;
    virtual void setTransparent(bool redraw) = 0;
    virtual void setBackgroundWhite(bool redraw) = 0;
    virtual void setBackgroundDefault(bool redraw) = 0;
    virtual void setBackgroundBlack(bool redraw) = 0;
    // Half-way from the system's inactive-caption-text colour to white.
    virtual void setBackgroundTint(bool redraw) = 0;
    virtual void setBackgroundColour(int r, int g, int b, bool redraw) = 0;
    // The top-level window of the tree, null while detached (a window answers itself).
    virtual IWindow* getWindow() = 0;
    virtual IComponent* getParent() = 0;
    // Non-null attaches (creates the native window as a child of the parent's);
    // null detaches (destroys it on its own thread). Detaching twice does nothing.
    virtual void setParent(IComponent* parent) = 0;
    // Containers only: `add` takes ownership of the child.
    virtual void add(IComponent* child) = 0;
    // Containers only: the child goes back to its pool; a stranger changes nothing.
    virtual void remove(IComponent* child, bool recursive) = 0;
    virtual void removeAll(bool recursive) = 0;
    virtual bool isContainer() = 0;
    virtual void redrawRect(int x, int y, int w, int h) = 0;
    virtual void redraw() = 0;
    // setSize within [min, max] per axis; the minimum wins over a smaller maximum.
    virtual void setSizeClamped(int w, int h) = 0;
    virtual void childChanged() = 0;
    virtual int getChildCount() = 0;
    // Null when out of range or for widgets.
    virtual IComponent* getChild(int index) = 0;
    // The container's own list (not a copy; do not release); null for widgets.
    virtual col::_array::ArrayP* getChildren() = 0;
    // The device context holding the painted background of this component and the
    // offset of this component within it; null (offsets 0) when it keeps none.
    // The context stays owned by the component.
    virtual HDC__* getBackdrop(int* offsetX, int* offsetY) = 0;
    virtual bool isLayoutSuspended() = 0;
    virtual void suspendLayout() = 0;
    // Applies the stored geometry once when a change is pending.
    virtual void resumeLayout() = 0;
};

} // namespace s::gui
