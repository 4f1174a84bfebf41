#pragma once
#include "s/gui/drawer/ICheckBox.h"
#include "s/gui/drawer/IRadioButton.h"
#include "s/gui/drawer/ISkin.h"
#include "s/gui/events/StateLink.h"
#include "s/gui/win/ListenerList.h"
#include "s/gui/win/WidgetBase.h"

namespace s::gui::win
{

// What check boxes and radio buttons share: a BUTTON control of a checkable style, a
// stored on/off state, the "on" and "off" listener lists and the links that follow them.
//
// The native control tells its own window of every change through BM_SETCHECK (the
// user's clicks included). On BM_SETCHECK the stored state is compared: a change is
// stored and, with notifications on, fires the "on" or "off" list after the control
// has taken the new state. The program's own changes (setOn) store the state first,
// so the message finds nothing changed and fires nothing.
template <class I> class CheckableBase : public WidgetBase<I>
{
  public:
    bool getOnState() const { return on_; }

  protected:
    ~CheckableBase() override { releaseLinks(); }

    // kinds: the event kinds of the "on" and "off" lists; style: BS_AUTOCHECKBOX...
    void resetCheckable()
    {
        this->resetWidget();
        on_ = false;
        notify_ = true;
        pendingKind_ = -1;
        groupStart_ = false;
        onListeners_.clear();
        offListeners_.clear();
        releaseLinks();
    }

    virtual int onKind() const = 0;
    virtual int offKind() const = 0;
    virtual DWORD controlStyle() const = 0;

    // Stores the state, then tells the native control (with notifications off when
    // not notifying). Nothing happens when the state is already the stored one. From
    // another thread the whole change is carried to the window's thread: the notify
    // flag switched off around BM_SETCHECK is then never saved and restored by two
    // threads at once (which could leave it off for good).
    void setOn(bool on, bool notify)
    {
        if (this->handle_ && !this->onOwnThread())
        {
            Toolkit::sendPrivate(this->handle_, MSG_WIDGET_SET_QUIETLY, on ? 1 : 0, notify ? 1 : 0);
            return;
        }
        if (on == on_)
            return;
        on_ = on;
        if (this->handle_)
        {
            bool saved = notify_;
            notify_ = notify && saved;
            SendMessageW(this->handle_, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
            notify_ = saved;
        }
    }

    bool wrapsControl() const override { return true; }
    bool fitsText() const override { return true; }
    bool createNative(HWND parentHandle) override
    {
        DWORD style = WS_CHILD | WS_TABSTOP | controlStyle() | (groupStart_ ? WS_GROUP : 0);
        this->handle_ = Toolkit::createControl(this, 0, L"BUTTON", this->text_.c_str(), style, 0, 0, 0, 0,
                                               parentHandle, nullptr);
        return this->handle_ != nullptr;
    }
    void nativeCreated() override
    {
        WidgetBase<I>::nativeCreated();
        bool saved = notify_;
        notify_ = false;
        SendMessageW(this->handle_, BM_SETCHECK, on_ ? BST_CHECKED : BST_UNCHECKED, 0);
        notify_ = saved;
    }
    void measureContent(int* width, int* height) override
    {
        int w = 0, h = 0;
        this->getFont()->measure(this->text_.c_str(), &w, &h);
        int glyph = Toolkit::metric(SM_CXMENUCHECK, this->dpi());
        if (glyph <= 0)
            glyph = this->scaled(13);
        *width = w + glyph + this->scaled(8);
        *height = std::max(h, glyph) + this->scaled(4);
    }

  public:
    bool handleMessage(LRESULT* result, UINT message, WPARAM wParam, LPARAM lParam) override
    {
        switch (message)
        {
        case BM_SETCHECK:
        {
            bool on = wParam == BST_CHECKED;
            pendingKind_ = -1;
            if (on != on_)
            {
                on_ = on;
                if (notify_)
                    pendingKind_ = on ? onKind() : offKind();
            }
            return false; // the control takes the state; the lists fire afterwards
        }
        case MSG_WIDGET_SET_QUIETLY:
            setOn(wParam != 0, lParam != 0);
            *result = 0;
            return true;
        case MSG_REFLECT_CTL_COLOR:
            *result = this->defaultColourAnswer(reinterpret_cast<HDC>(wParam));
            return true;
        case WM_PAINT:
        case WM_PRINTCLIENT:
            if (!this->skin_)
                return WidgetBase<I>::handleMessage(result, message, wParam, lParam);
            paintSkinned(message == WM_PRINTCLIENT ? reinterpret_cast<HDC>(wParam) : nullptr);
            *result = 0;
            return true;
        default:
            return WidgetBase<I>::handleMessage(result, message, wParam, lParam);
        }
    }
    void afterDefault(UINT message, WPARAM, LPARAM, LRESULT) override
    {
        if (message != BM_SETCHECK || pendingKind_ < 0)
            return;
        pendingKind_ = -1;
        if (on_)
            onListeners_.fire(this->self(), onKind());
        else
            offListeners_.fire(this->self(), offKind());
    }

  protected:
    // --- skin ----------------------------------------------------------------
    // In a skinned window the skin's check box or radio button drawer paints the control.
    void skinChanged(drawer::ISkin* skin) override
    {
        this->skin_ = skin;
        if (this->handle_)
            InvalidateRect(this->handle_, nullptr, TRUE);
    }
    // Paints into `target` (a print), or into the window's paint when null.
    void paintSkinned(HDC target)
    {
        PAINTSTRUCT ps{};
        HDC dc = target ? target : BeginPaint(this->handle_, &ps);
        RECT r;
        GetClientRect(this->handle_, &r);
        this->paintInto(dc); // the background: colour, or the parent's backdrop
        DWORD type = controlStyle() & BS_TYPEMASK;
        drawer::ICheckMark* mark = (type == BS_AUTORADIOBUTTON || type == BS_RADIOBUTTON)
                                       ? static_cast<drawer::ICheckMark*>(this->skin_->getRadioButtonDrawer())
                                       : static_cast<drawer::ICheckMark*>(this->skin_->getCheckBoxDrawer());
        LRESULT state = SendMessageW(this->handle_, BM_GETSTATE, 0, 0);
        unsigned flags = (on_ ? drawer::IDrawer::FLAG_CHECKED : 0u) |
                         (IsWindowEnabled(this->handle_) ? 0u : drawer::IDrawer::FLAG_DISABLED) |
                         (GetFocus() == this->handle_ ? drawer::IDrawer::FLAG_FOCUSED : 0u);
        int visual = (state & BST_PUSHED) ? drawer::IDrawer::STATE_PRESSED : drawer::IDrawer::STATE_NORMAL;
        mark->draw(dc, 0, 0, r.right, r.bottom, this->text_.c_str(), this->getFont()->getHandle(), visual, flags,
                   drawer::IDrawer::DEFAULT_COLOUR);
        if (!target)
            EndPaint(this->handle_, &ps);
    }

    // --- links ---------------------------------------------------------------
    enum Role
    {
        ENABLE_ON = 0,   // enabler on the "on" list
        DISABLE_OFF,     // disabler on the "off" list
        ENABLE_OFF,      // enabler on the "off" list
        DISABLE_ON,      // disabler on the "on" list
        EDITABLE_ON,     // editabler on the "on" list
        UNEDITABLE_OFF,  // un-editabler on the "off" list
        ROLE_COUNT
    };
    void link(int role, IComponent* target)
    {
        if (!target)
            return;
        // What each role's link sets, and whether it follows the "on" list.
        static constexpr struct
        {
            events::StateLink::Kind kind;
            bool onList;
        } roles[ROLE_COUNT] = {
            {events::StateLink::ENABLER, true},   {events::StateLink::DISABLER, false},
            {events::StateLink::ENABLER, false},  {events::StateLink::DISABLER, true},
            {events::StateLink::EDITABLER, true}, {events::StateLink::UN_EDITABLER, false},
        };
        events::StateLink*& l = links_[role];
        if (!l)
        {
            l = events::StateLink::Acquire();
            l->setKind(roles[role].kind);
            l->setSource(this->self());
            (roles[role].onList ? onListeners_ : offListeners_).add(l);
        }
        l->addTarget(target);
    }
    void releaseLinks()
    {
        for (events::StateLink*& l : links_)
        {
            if (l)
                l->Release();
            l = nullptr;
        }
    }

    bool on_ = false;
    bool notify_ = true;
    int pendingKind_ = -1;
    bool groupStart_ = false;
    ListenerList onListeners_, offListeners_;
    events::StateLink* links_[ROLE_COUNT] = {}; // owned, made on first use
};

} // namespace s::gui::win
