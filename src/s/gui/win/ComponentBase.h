#pragma once
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "s/base/IObject.h"
#include "s/gui/IComponent.h"
#include "s/gui/IWindow.h"
#include "s/gui/drawer/ISkin.h"
#include "s/gui/drawer/Skinner.h"
#include "s/lang/Localizer.h"
#include "s/gui/win/Messages.h"
#include "s/gui/win/Toolkit.h"

namespace s::gui::win
{

// Colour helpers shared by every component.
struct Colours
{
    static uint32_t pack(int r, int g, int b)
    {
        return static_cast<uint32_t>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
    }
    // Half-way from `colour` to white, per channel.
    static uint32_t tintOf(uint32_t colour)
    {
        int r = 255 - ((255 - static_cast<int>(colour & 0xFF)) >> 1);
        int g = 255 - ((255 - static_cast<int>((colour >> 8) & 0xFF)) >> 1);
        int b = 255 - ((255 - static_cast<int>((colour >> 16) & 0xFF)) >> 1);
        return pack(r, g, b);
    }
};

// The state and behaviour that every component of the toolkit shares, on top of the
// component's own interface I (IComponent or an interface derived from it). IObject is
// the first base, so the object's own pointer is its IObject pointer (the library's
// layout rule); the I face is what components pass as the source of their events.
//
// A plain component owns one native window of the toolkit class, made when it is
// attached to a parent and destroyed (on its own thread) when it is detached; attached
// from any other thread than the parent's, the parent's thread makes it. Sizes:
// minimum and maximum come from the limits set with setSizeLimits (−1 = none: a minimum
// of 0, a maximum equal to the minimum).
//
// A concrete widget: derives from ComponentBase<ITheWidget> (IObject stays the first
// base), adds IPoolable with S_CLASS_ID/S_POOLED, calls resetComponent() from Reset(),
// overrides getMin*/getMax* for its own size rules, and, when it wraps a platform
// control, overrides createNative with Toolkit::createControl so that its messages and
// its reflected notifications (MSG_REFLECT_*) reach handleMessage. Events go through a
// ListenerList with self() as the source. A component registers with its window's
// language pack when attached (handleEvent with the pack as source means: re-text).
// A hidden component is placed without being shown: layouts may move it, it stays hidden.
template <class I> class ComponentBase : public base::IObject, public I, public NativeTarget
{
  public:
    // --- IComponent --------------------------------------------------------
    int getX() override { return x_; }
    void setX(int x) override { this->setPosition(x, y_); }
    int getY() override { return y_; }
    void setY(int y) override { this->setPosition(x_, y); }
    int getScreenX() override
    {
        if (!handle_)
            return originX_ + x_;
        POINT p{0, 0};
        ClientToScreen(handle_, &p);
        return p.x;
    }
    int getScreenY() override
    {
        if (!handle_)
            return originY_ + y_;
        POINT p{0, 0};
        ClientToScreen(handle_, &p);
        return p.y;
    }
    bool containsScreenPoint(int x, int y) override
    {
        if (!this->isVisible())
            return false;
        int sx = this->getScreenX(), sy = this->getScreenY();
        return sx <= x && x <= sx + this->getWidth() && sy <= y && y <= sy + this->getHeight();
    }
    int getWidth() override { return width_; }
    void setWidth(int w) override { this->setSize(w, height_); }
    int getHeight() override { return height_; }
    void setHeight(int h) override { this->setSize(width_, h); }
    int getClientWidth() override { return this->getWidth(); }
    void setClientWidth(int w) override { this->setWidth(w); }
    int getClientHeight() override { return this->getHeight(); }
    void setClientHeight(int h) override { this->setHeight(h); }

    using I::setPosition; // an interface may add other setPosition overloads (a progress bar's)
    void setPosition(int x, int y) override
    {
        x_ = x;
        y_ = y;
        if (suspended_)
            pending_ = true;
        else
            placeNative(SWP_NOSIZE);
    }
    void setSize(int w, int h) override
    {
        bool changed = w != width_ || h != height_;
        width_ = w;
        height_ = h;
        if (suspended_)
            pending_ = true;
        else
            placeNative(SWP_NOMOVE);
        noteSizeChange(changed);
    }
    void setBounds(int x, int y, int w, int h) override
    {
        bool changed = w != width_ || h != height_;
        x_ = x;
        y_ = y;
        width_ = w;
        height_ = h;
        if (suspended_)
            pending_ = true;
        else
            placeNative(0);
        noteSizeChange(changed);
    }
    void setOrigin(int ox, int oy) override
    {
        originX_ = ox;
        originY_ = oy;
        if (suspended_)
            pending_ = true;
        else
            placeNative(SWP_NOSIZE);
    }
    void moveOrigin(int dx, int dy) override { this->setOrigin(originX_ + dx, originY_ + dy); }

    int getMinWidth() override { return std::max(0, minWidth_); }
    int getMinHeight() override { return std::max(0, minHeight_); }
    int getMinClientWidth() override { return this->getMinWidth(); }
    int getMinClientHeight() override { return this->getMinHeight(); }
    int getMaxWidth() override { return maxWidth_ < 0 ? this->getMinWidth() : maxWidth_; }
    int getMaxHeight() override { return maxHeight_ < 0 ? this->getMinHeight() : maxHeight_; }
    int getMaxClientWidth() override { return this->getMaxWidth(); }
    int getMaxClientHeight() override { return this->getMaxHeight(); }

    bool isVisible() override { return visible_ && handle_ != nullptr; }
    void setVisible(bool show, bool notify) override
    {
        if (show)
        {
            if (visible_)
                return;
            visible_ = true;
            if (handle_ && parentLetsShow())
                ShowWindow(handle_, SW_SHOW);
            if (notify && parent_)
                parent_->childChanged();
        }
        else
        {
            if (!visible_)
                return;
            visible_ = false;
            if (handle_)
            {
                ShowWindow(handle_, SW_HIDE);
                this->setPosition(PARKED_X, PARKED_Y);
            }
        }
    }
    bool isEnabled() override { return handle_ ? IsWindowEnabled(handle_) != FALSE : enabled_; }
    void setEnabled(bool on) override
    {
        enabled_ = on;
        if (handle_)
            EnableWindow(handle_, on ? TRUE : FALSE);
    }
    bool isEditable() override { return false; }
    void setEditable(bool) override {}

    void centreInParent() override { this->setPosition(centredX(), centredY()); }
    void centreHorizontally() override { this->setX(centredX()); }
    void centreVertically() override { this->setY(centredY()); }

    // The colour set, or for a component left at the default, the window's skin's
    // background (the button face without a skin).
    uint32_t getBackgroundColour() override { return shownBackground(); }
    bool isTransparent() override { return transparent_; }
    void setTransparent(bool redraw) override
    {
        transparent_ = true;
        redrawIfAsked(redraw);
    }
    void setBackgroundWhite(bool redraw) override { this->setBackgroundColour(255, 255, 255, redraw); }
    void setBackgroundDefault(bool redraw) override
    {
        transparent_ = false;
        colourSet_ = false;
        background_ = GetSysColor(COLOR_BTNFACE);
        redrawIfAsked(redraw);
    }
    void setBackgroundBlack(bool redraw) override { this->setBackgroundColour(0, 0, 0, redraw); }
    void setBackgroundTint(bool redraw) override
    {
        uint32_t tint = Colours::tintOf(GetSysColor(COLOR_INACTIVECAPTIONTEXT));
        this->setBackgroundColour(tint & 0xFF, (tint >> 8) & 0xFF, (tint >> 16) & 0xFF, redraw);
    }
    void setBackgroundColour(int r, int g, int b, bool redraw) override
    {
        transparent_ = false;
        colourSet_ = true;
        background_ = Colours::pack(r, g, b);
        redrawIfAsked(redraw);
    }

    IWindow* getWindow() override { return window_; }
    IComponent* getParent() override { return parent_; }
    void setParent(IComponent* parent) override
    {
        if (!parent)
        {
            detach();
            return;
        }
        if (parent == parent_ && this->getHostHandle())
            return; // attached already
        if (parent_ && parent_ != parent)
            detach();
        HWND parentHandle = Toolkit::hostOf(parent);
        if (parentHandle && GetWindowThreadProcessId(parentHandle, nullptr) != GetCurrentThreadId())
        {
            // A native window made here would belong to this thread, which may never
            // serve its messages: the parent's thread attaches it instead (to `parent`,
            // which need not be the window's own component: a layout-only box has none).
            Toolkit::sendPrivate(parentHandle, MSG_ATTACH_CHILD, reinterpret_cast<WPARAM>(this->self()),
                                 reinterpret_cast<LPARAM>(parent));
            return;
        }
        parent_ = parent;
        window_ = parent->getWindow();
        // Told about language changes by the window's language pack (the pack
        // ignores a listener it already has).
        if (window_ && window_->hasLocalizer())
            window_->getLocalizer()->addListener(this->self());
        // Told about scheme changes by the window's skinner; takes its drawers now.
        if (drawer::Skinner* skinner = windowSkinner())
        {
            skinner->registerComponent(this->self());
            skinChanged(skinner->getCurrentSkin());
        }
        attached();
        if (!parentHandle)
            return; // created once the parent has its own native window
        if (!createNative(parentHandle))
        {
            handle_ = nullptr;
            Toolkit::showCreationFailed();
            return;
        }
        if (!enabled_)
            EnableWindow(handle_, FALSE);
        nativeCreated();
        parent->childChanged();
    }
    void add(IComponent*) override {}
    void remove(IComponent*, bool) override {}
    void removeAll(bool) override {}
    bool isContainer() override { return false; }
    // Nothing is painted for a native window that cannot be seen (its window not shown
    // yet, or a hidden parent): showing it paints it whole. Without a native window there
    // is nothing to paint either (a null window would mean the whole screen).
    bool canBeSeen() { return this->isVisible() && handle_ && IsWindowVisible(handle_); }
    void redrawRect(int x, int y, int w, int h) override
    {
        if (!canBeSeen())
            return;
        RECT r{x, y, x + w, y + h};
        RedrawWindow(handle_, &r, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    }
    void redraw() override
    {
        if (!canBeSeen())
            return;
        RedrawWindow(handle_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    }
    void setSizeClamped(int w, int h) override
    {
        int minW = this->getMinWidth(), maxW = this->getMaxWidth();
        int minH = this->getMinHeight(), maxH = this->getMaxHeight();
        this->setSize(std::max(minW, std::min(w, maxW)), std::max(minH, std::min(h, maxH)));
    }
    void childChanged() override {}
    int getChildCount() override { return 0; }
    IComponent* getChild(int) override { return nullptr; }
    col::_array::ArrayP* getChildren() override { return nullptr; }
    HDC__* getBackdrop(int* offsetX, int* offsetY) override
    {
        if (offsetX)
            *offsetX = 0;
        if (offsetY)
            *offsetY = 0;
        return nullptr;
    }
    bool isLayoutSuspended() override { return suspended_; }
    void suspendLayout() override { suspended_ = true; }
    // A moved or resized native window is painted afresh anyway (placeNative); one that
    // stays where it is is painted again, later and once, only when it shows its parent's
    // backdrop, which the pass may have changed around it. Painting every child at once after
    // every pass painted a panel several times over while it was laid out.
    void resumeLayout() override
    {
        suspended_ = false;
        if (pending_)
        {
            pending_ = false;
            this->setBounds(x_, y_, width_, height_);
        }
        if (transparent_ && handle_)
            InvalidateRect(handle_, nullptr, FALSE);
    }

    // --- IEventListener: components take only their skinner's events by default --
    void handleEvent(void* source, int) override { takeSkinEvent(source); }

    // --- NativeTarget --------------------------------------------------------
    HWND getHandle() override { return handle_; }
    void bindHandle(HWND handle) override { handle_ = handle; }
    bool handleMessage(LRESULT* result, UINT message, WPARAM wParam, LPARAM lParam) override
    {
        switch (message)
        {
        case WM_PAINT:
            paintBackground();
            *result = 0;
            return true;
        case WM_ERASEBKGND:
            *result = 1;
            return true;
        case WM_PRINTCLIENT:
            if (wParam)
            {
                paintInto(reinterpret_cast<HDC>(wParam));
                paintDrawnParts(reinterpret_cast<HDC>(wParam));
            }
            *result = 0;
            return true;
        case MSG_DRAWN_PART_TEXT:
            if (wParam)
                reinterpret_cast<DrawnPart*>(wParam)->takeText(reinterpret_cast<const wchar_t*>(lParam));
            *result = 0;
            return true;
        case WM_DESTROY:
            handle_ = nullptr;
            placed_ = Placement{};
            return false;
        case MSG_DESTROY_NATIVE:
            if (handle_)
                DestroyWindow(handle_);
            *result = 0;
            return true;
        case MSG_ATTACH_CHILD:
            if (wParam)
                reinterpret_cast<IComponent*>(wParam)->setParent(lParam ? reinterpret_cast<IComponent*>(lParam)
                                                                         : this->self());
            *result = 0;
            return true;
        default:
            return false;
        }
    }

    bool addDrawnPart(DrawnPart* part) override
    {
        if (std::find(drawnParts_.begin(), drawnParts_.end(), part) == drawnParts_.end())
            drawnParts_.push_back(part);
        return true;
    }
    void removeDrawnPart(DrawnPart* part) override
    {
        drawnParts_.erase(std::remove(drawnParts_.begin(), drawnParts_.end(), part), drawnParts_.end());
    }

    // The screen point of the component's place in `host`, the window that holds it when it
    // has none of its own (a layout-only box, a label drawn in its host).
    POINT placeOnScreenIn(HWND host)
    {
        POINT p{originX_ + x_, originY_ + y_};
        ClientToScreen(host, &p);
        return p;
    }

    // The face this component passes as itself (event source, parent of children).
    IComponent* self() { return static_cast<I*>(this); }

    // Sets the size limits (−1 = none).
    void setSizeLimits(int minWidth, int minHeight, int maxWidth, int maxHeight)
    {
        minWidth_ = minWidth;
        minHeight_ = minHeight;
        maxWidth_ = maxWidth;
        maxHeight_ = maxHeight;
    }
    int getOriginX() const { return originX_; }
    int getOriginY() const { return originY_; }
    bool getVisibleFlag() const { return visible_; }

    // Where a hidden component is parked, out of its parent's sight.
    static constexpr int PARKED_X = -10000;
    static constexpr int PARKED_Y = 10000;

  protected:
    ComponentBase() { background_ = GetSysColor(COLOR_BTNFACE); }

    // The pool reset of every component (concrete classes call it from Reset).
    void resetComponent()
    {
        this->setVisible(true, true);
        this->setParent(nullptr);
        skin_ = nullptr;
        placed_ = Placement{};
        suspended_ = false;
        pending_ = false;
        sizeDirty_ = false;
        x_ = y_ = originX_ = originY_ = width_ = height_ = 0;
        minWidth_ = minHeight_ = maxWidth_ = maxHeight_ = -1;
        background_ = GetSysColor(COLOR_BTNFACE);
        colourSet_ = false;
        transparent_ = false;
        enabled_ = true;
    }

    // Makes the native window as a child of `parentHandle`; answers false on failure.
    virtual bool createNative(HWND parentHandle)
    {
        HWND h = Toolkit::create(this, 0, L"", WS_CHILD, 0, 0, 0, 0, parentHandle, nullptr);
        handle_ = h;
        return h != nullptr;
    }
    // False while a parent without a window of its own is hidden (see
    // NativeTarget::letsChildrenShow): this component's window must not show then.
    bool parentLetsShow()
    {
        NativeTarget* parent = Toolkit::targetOf(parent_);
        return parent == nullptr || parent->letsChildrenShow();
    }
    // True when the native window exists and belongs to another thread than the caller's.
    bool onOtherThread() const
    {
        return handle_ && GetWindowThreadProcessId(handle_, nullptr) != GetCurrentThreadId();
    }

    // Runs on the creating thread right after a successful createNative.
    virtual void nativeCreated() {}
    // Runs when the component joins a tree (before its native window is made).
    virtual void attached() {}
    // Runs after the stored size changed (not while layout is suspended).
    virtual void sizeChanged() {}

    // Places the native window at the stored geometry; `flags` adds SWP_NOSIZE or
    // SWP_NOMOVE. A hidden component is placed without being shown.
    virtual void placeNative(UINT flags)
    {
        // Without SWP_NOCOPYBITS the system copies the old pixels to the new place and
        // takes them as valid. When a growing parent moves its children they can already be
        // the parent's erased background (under Wine the label at the end of a row stayed
        // blank until the pointer touched it), and a toolkit window's backdrop differs at a
        // new place anyway: a moved window is painted afresh.
        setNativeBounds(x_ + originX_, y_ + originY_, width_, height_, SWP_NOCOPYBITS | flags);
    }

    // Places the native window (SetWindowPos; `flags` may hold SWP_NOSIZE, SWP_NOMOVE and
    // SWP_NOCOPYBITS) unless it was last placed there and is shown as asked. Layouts place
    // every child again on each pass; a platform control answers a placement that changes
    // nothing with a round of its own messages (a drop-down list also moves its list's
    // top-level window), so only real changes reach the system.
    void setNativeBounds(int x, int y, int w, int h, UINT flags)
    {
        if (!handle_)
            return;
        const bool move = !(flags & SWP_NOMOVE), size = !(flags & SWP_NOSIZE);
        const bool show = visible_ && parentLetsShow();
        const bool shownAsAsked = !show || (GetWindowLongPtrW(handle_, GWL_STYLE) & WS_VISIBLE) != 0;
        if (placed_.handle == handle_ && shownAsAsked && (!move || (placed_.x == x && placed_.y == y)) &&
            (!size || (placed_.width == w && placed_.height == h)))
            return;
        UINT f = SWP_NOZORDER | SWP_NOACTIVATE | flags;
        if (show)
            f |= SWP_SHOWWINDOW;
        SetWindowPos(handle_, nullptr, x, y, w, h, f);
        if (placed_.handle != handle_)
        {
            // First placement of this native window: what was not asked is read back.
            RECT r{};
            GetWindowRect(handle_, &r);
            MapWindowPoints(nullptr, GetParent(handle_), reinterpret_cast<POINT*>(&r), 2);
            placed_ = Placement{handle_, r.left, r.top, r.right - r.left, r.bottom - r.top};
        }
        if (move)
        {
            placed_.x = x;
            placed_.y = y;
        }
        if (size)
        {
            placed_.width = w;
            placed_.height = h;
        }
    }

    void detach()
    {
        if (!parent_ && !handle_ && !window_)
            return;
        if (handle_)
            Toolkit::sendPrivate(handle_, MSG_DESTROY_NATIVE, 0, 0);
        if (window_ && window_->hasLocalizer())
            window_->getLocalizer()->removeListener(this->self());
        if (drawer::Skinner* skinner = windowSkinner())
            skinner->unregisterComponent(this->self());
        handle_ = nullptr;
        parent_ = nullptr;
        window_ = nullptr;
        detached();
    }
    // Runs after the component left its tree.
    virtual void detached() {}

    // The skinner of the component's window, null when it has none.
    drawer::Skinner* windowSkinner() { return window_ && window_->hasSkinner() ? window_->getSkinner() : nullptr; }
    // Runs when the component joins a window with a skinner and whenever that skinner
    // selects another scheme: a widget takes the drawer of its kind from `skin` (unless it
    // was given one of its own) and repaints. By default the skin is kept in skin_, for the
    // widgets that paint through its drawers, and the component repaints.
    virtual void skinChanged(drawer::ISkin* skin)
    {
        skin_ = skin;
        this->redraw();
    }
    // An event from the window's skinner goes to skinChanged; answers whether it was one.
    bool takeSkinEvent(void* source)
    {
        drawer::Skinner* skinner = windowSkinner();
        if (!source || source != static_cast<void*>(skinner))
            return false;
        skinChanged(skinner->getCurrentSkin());
        return true;
    }

    // A size stored while layout is suspended is reported when the layout resumes.
    void noteSizeChange(bool changed)
    {
        if (changed)
            sizeDirty_ = true;
        if (sizeDirty_ && !suspended_)
        {
            sizeDirty_ = false;
            sizeChanged();
        }
    }

    void redrawIfAsked(bool redraw)
    {
        if (redraw)
            this->redraw();
    }

    // Fills the client area with the background colour, or, when transparent, copies the
    // part of the parent's backdrop under this component.
    void paintBackground()
    {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(handle_, &ps);
        paintInto(dc);
        paintDrawnParts(dc);
        EndPaint(handle_, &ps);
    }
    // The parts drawn in this component's window, over its background.
    void paintDrawnParts(HDC dc)
    {
        for (DrawnPart* part : drawnParts_)
            part->drawInHost(dc);
    }

    // Paints the client area into `dc` (a paint or a print of the window).
    virtual void paintInto(HDC dc)
    {
        RECT client;
        GetClientRect(handle_, &client);
        bool painted = false;
        if (transparent_ && parent_)
        {
            int offX = 0, offY = 0;
            HDC backdrop = reinterpret_cast<HDC>(parent_->getBackdrop(&offX, &offY));
            HWND parentHandle = Toolkit::hostOf(parent_);
            if (backdrop && parentHandle)
            {
                RECT r;
                GetWindowRect(handle_, &r);
                MapWindowPoints(nullptr, parentHandle, reinterpret_cast<POINT*>(&r), 2);
                BitBlt(dc, 0, 0, client.right, client.bottom, backdrop, r.left + offX, r.top + offY, SRCCOPY);
                painted = true;
            }
        }
        if (!painted)
        {
            uint32_t colour = shownBackground();
            if (transparent_ && parent_)
                colour = parent_->getBackgroundColour();
            HBRUSH brush = CreateSolidBrush(colour);
            FillRect(dc, &client, brush);
            DeleteObject(brush);
        }
    }

    // The background painted: the colour set, else (the default) the skin's background
    // in a skinned window, so that a plain widget is not a grey patch on the skin.
    uint32_t shownBackground()
    {
        if (!colourSet_)
        {
            if (drawer::Skinner* skinner = windowSkinner())
            {
                if (drawer::ISkin* skin = skinner->getCurrentSkin())
                    return skin->getBackgroundColour();
            }
        }
        return background_;
    }

    int centredX()
    {
        int pw = parent_ ? parent_->getClientWidth() : 0;
        return width_ < pw ? (pw - width_) / 2 : 0;
    }
    int centredY()
    {
        int ph = parent_ ? parent_->getClientHeight() : 0;
        return height_ < ph ? (ph - height_) / 2 : 0;
    }

    IWindow* window_ = nullptr;
    IComponent* parent_ = nullptr;
    drawer::ISkin* skin_ = nullptr; // the window's skin given to skinChanged, not owned
    HWND handle_ = nullptr;
    std::vector<DrawnPart*> drawnParts_; // painted in handle_ after the background; not owned
    // Where the native window was last placed (setNativeBounds); its handle tells a new
    // native window from the one placed.
    struct Placement
    {
        HWND handle = nullptr;
        int x = 0, y = 0, width = 0, height = 0;
    } placed_;
    bool visible_ = true;
    bool suspended_ = false;
    bool pending_ = false;
    bool sizeDirty_ = false;
    bool transparent_ = false;
    bool colourSet_ = false; // a background colour was set (not the default)
    bool enabled_ = true;
    int x_ = 0, y_ = 0;
    int originX_ = 0, originY_ = 0;
    int width_ = 0, height_ = 0;
    uint32_t background_ = 0;
    int minWidth_ = -1, minHeight_ = -1, maxWidth_ = -1, maxHeight_ = -1;
};

} // namespace s::gui::win
