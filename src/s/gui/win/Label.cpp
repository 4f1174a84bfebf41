#include "s/gui/win/Label.h"

#include <windowsx.h>

#include "s/gui/drawer/ISkin.h"
#include "s/gui/drawer/Paint.h"
#include "s/gui/win/GdiText.h"

namespace s::gui::win
{

namespace
{
// The gap between the icon and the text.
constexpr int ICON_GAP = 4;
} // namespace

Label::Label()
{
    Reset();
}

Label::~Label()
{
    dropVariants();
    if (icon_ && iconOwned_)
        DestroyIcon(icon_);
}

void Label::Reset()
{
    resetWidget();
    dropVariants();
    if (icon_ && iconOwned_)
        DestroyIcon(icon_);
    icon_ = nullptr;
    iconOwned_ = false;
    hoverEffect_ = false;
    hoverState_ = STATE_NORMAL;
    tracking_ = false;
    alignment_ = drawer::IText::ALIGN_LEFT;
    drawer_ = nullptr;
    skinDrawer_ = nullptr;
    hoverColour_ = -1;
    clickListeners_.clear();
    drawnAsked_ = false; // resetWidget has detached it: no host paints it any more
    drawnAt_ = RECT{};
}

void Label::setText(const wchar_t* text, bool redraw)
{
    (void)redraw; // a changed text is always shown at once
    applyText(text);
}

void Label::setIcon(HICON__* icon, bool owned)
{
    if (icon_ && iconOwned_ && icon_ != icon)
        DestroyIcon(icon_);
    icon_ = icon;
    iconOwned_ = owned;
    // The icon's size, asked once: the measure and every paint need it.
    iconWidth_ = iconHeight_ = 0;
    ICONINFO info{};
    if (icon_ && GetIconInfo(icon_, &info))
    {
        BITMAP bm{};
        HBITMAP shape = info.hbmColor ? info.hbmColor : info.hbmMask;
        if (GetObjectW(shape, sizeof(bm), &bm))
        {
            iconWidth_ = bm.bmWidth;
            iconHeight_ = info.hbmColor ? bm.bmHeight : bm.bmHeight / 2;
        }
        if (info.hbmColor)
            DeleteObject(info.hbmColor);
        if (info.hbmMask)
            DeleteObject(info.hbmMask);
    }
    remeasure();
    redraw();
}

void Label::setHoverEffect(bool on)
{
    hoverEffect_ = on;
    redraw();
}

void Label::setAlignment(int alignment)
{
    alignment_ = alignment;
    redraw();
}

void Label::setHoverTextColour(int r, int g, int b)
{
    hoverColour_ = Colours::pack(r, g, b);
    dropVariants(); // made again with the colour on next use
    redraw();
}

void Label::skinChanged(drawer::ISkin* skin)
{
    skinDrawer_ = skin ? skin->getTextDrawer() : nullptr;
    redraw();
}

void Label::setTextDrawer(drawer::IText* drawer)
{
    drawer_ = drawer;
    redraw();
}

void Label::dropVariants()
{
    for (Font*& f : variants_)
    {
        if (f)
            f->Release();
        f = nullptr;
    }
}

Font* Label::variant(int which)
{
    if (!variants_[which])
    {
        Font* f = Font::Acquire();
        Font* main = getFont();
        f->copyFrom(main);
        switch (which)
        {
        case VARIANT_DISABLED:
            f->setTextColourValue(GetSysColor(COLOR_GRAYTEXT));
            break;
        case VARIANT_HOVER:
            f->setUnderline(true);
            if (hoverColour_ >= 0)
                f->setTextColourValue(static_cast<uint32_t>(hoverColour_));
            break;
        case VARIANT_PRESSED:
        {
            f->setUnderline(true);
            // Half-way to the grey of disabled text: the press shows at once.
            f->setTextColourValue(drawer::Paint::mix(main->getTextColour(), GetSysColor(COLOR_GRAYTEXT)));
            break;
        }
        default:
            break;
        }
        variants_[which] = f;
    }
    return variants_[which];
}

Font* Label::getStateFont()
{
    if (handle_ && !IsWindowEnabled(handle_))
        return variant(VARIANT_DISABLED);
    if (!handle_ && !enabled_)
        return variant(VARIANT_DISABLED);
    if (!hoverEffect_)
        return getFont();
    switch (hoverState_)
    {
    case STATE_HOVER:
        return variant(VARIANT_HOVER);
    case STATE_PRESSED:
        return variant(VARIANT_PRESSED);
    default:
        return variant(VARIANT_NORMAL);
    }
}

void Label::fontChanged()
{
    // The variants copy the main font: made again on next use.
    dropVariants();
    WidgetBase::fontChanged();
}

void Label::iconSize(int* width, int* height) const
{
    *width = icon_ ? iconWidth_ : 0;
    *height = icon_ ? iconHeight_ : 0;
}

void Label::measureContent(int* width, int* height)
{
    int w = 0, h = 0;
    getFont()->measure(text_.c_str(), &w, &h);
    int iw = 0, ih = 0;
    iconSize(&iw, &ih);
    if (iw > 0)
    {
        w += iw + (text_.empty() ? 0 : scaled(ICON_GAP));
        h = std::max(h, ih);
    }
    *width = w;
    *height = h;
}

void Label::paintInto(HDC dc)
{
    RECT client;
    GetClientRect(handle_, &client);
    if (client.right <= 0 || client.bottom <= 0)
        return;
    HDC mem = CreateCompatibleDC(dc);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, client.right, client.bottom);
    HGDIOBJ oldBitmap = SelectObject(mem, bitmap);
    WidgetBase::paintInto(mem); // the background: fill or the parent's backdrop
    int left = 0;
    if (icon_)
    {
        int iw = 0, ih = 0;
        iconSize(&iw, &ih);
        DrawIconEx(mem, 0, (client.bottom - ih) / 2, icon_, iw, ih, 0, nullptr, DI_NORMAL);
        left = iw + scaled(ICON_GAP); // as measured
    }
    drawer::IText* drawer = drawer_ ? drawer_ : skinDrawer_ ? skinDrawer_ : GdiText::Shared();
    drawer->drawText(mem, left, 0, client.right, client.bottom, text_.c_str(), getStateFont(), alignment_);
    BitBlt(dc, 0, 0, client.right, client.bottom, mem, 0, 0, SRCCOPY);
    SelectObject(mem, oldBitmap);
    DeleteObject(bitmap);
    DeleteDC(mem);
}

// --- drawn in the host ---------------------------------------------------------------

bool Label::showsOnlyText()
{
    if (icon_ || hoverEffect_ || clickListeners_.count() > 0 || !parent_)
        return false;
    // A transparent label shows what lies under it: in a host that paints a picture, that is
    // what its own window copies from the backdrop.
    return !transparent_ || parent_->getBackdrop(nullptr, nullptr) == nullptr;
}

bool Label::createNative(HWND parentHandle)
{
    if (drawnAsked_ && showsOnlyText())
    {
        IComponent* host = parent_;
        while (host && !Toolkit::handleOf(host))
            host = host->getParent();
        NativeTarget* target = Toolkit::targetOf(host);
        if (target && target->getHandle() == parentHandle && target->addDrawnPart(this))
        {
            drawnHost_ = target;
            drawnAt_ = RECT{};
            return true; // handle_ stays null
        }
    }
    return WidgetBase::createNative(parentHandle);
}

void Label::nativeCreated()
{
    if (!drawnHost_)
    {
        WidgetBase::nativeCreated();
        return;
    }
    drawnAt_ = placeInHost();
    invalidateInHost(drawnAt_);
}

void Label::detached()
{
    if (drawnHost_)
    {
        invalidateInHost(drawnAt_);
        drawnHost_->removeDrawnPart(this);
        drawnHost_ = nullptr;
    }
    WidgetBase::detached();
}

RECT Label::placeInHost() const
{
    return RECT{x_ + originX_, y_ + originY_, x_ + originX_ + width_, y_ + originY_ + height_};
}

void Label::invalidateInHost(const RECT& r)
{
    HWND host = drawnHost_ ? drawnHost_->getHandle() : nullptr;
    if (host && r.right > r.left && r.bottom > r.top)
        InvalidateRect(host, &r, FALSE);
}

void Label::placeNative(UINT flags)
{
    if (!drawnHost_)
    {
        WidgetBase::placeNative(flags);
        return;
    }
    const RECT now = placeInHost();
    if (EqualRect(&now, &drawnAt_))
        return;
    invalidateInHost(drawnAt_);
    drawnAt_ = now;
    invalidateInHost(drawnAt_);
}

void Label::setVisible(bool show, bool notify)
{
    WidgetBase::setVisible(show, notify);
    if (drawnHost_)
        invalidateInHost(drawnAt_);
}

void Label::setEnabled(bool on)
{
    WidgetBase::setEnabled(on);
    if (drawnHost_)
        redraw();
}

void Label::redraw()
{
    if (!drawnHost_)
    {
        WidgetBase::redraw();
        return;
    }
    invalidateInHost(drawnAt_);
}

void Label::textChanged()
{
    if (drawnHost_)
        redraw();
    else
        WidgetBase::textChanged();
}

bool Label::passTextToOwnThread(const wchar_t* text)
{
    HWND host = drawnHost_ ? drawnHost_->getHandle() : nullptr;
    if (host && GetWindowThreadProcessId(host, nullptr) != GetCurrentThreadId())
    {
        Toolkit::sendPrivate(host, MSG_DRAWN_PART_TEXT, reinterpret_cast<WPARAM>(static_cast<DrawnPart*>(this)),
                             reinterpret_cast<LPARAM>(text));
        return true;
    }
    return WidgetBase::passTextToOwnThread(text);
}

int Label::getScreenX()
{
    return drawnHost_ ? placeOnScreenIn(drawnHost_->getHandle()).x : WidgetBase::getScreenX();
}

int Label::getScreenY()
{
    return drawnHost_ ? placeOnScreenIn(drawnHost_->getHandle()).y : WidgetBase::getScreenY();
}

void Label::drawInHost(HDC dc)
{
    if (!visible_ || !parentLetsShow() || width_ <= 0 || height_ <= 0)
        return;
    const RECT r = placeInHost();
    RECT dirty{};
    if (GetClipBox(dc, &dirty) == NULLREGION || !IntersectRect(&dirty, &dirty, &r))
        return; // nothing of the label is to be painted
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, r.left, r.top, r.right, r.bottom);
    if (!transparent_)
    {
        // Its own colour, where a window of its own would have filled it.
        HBRUSH brush = CreateSolidBrush(shownBackground());
        FillRect(dc, &r, brush);
        DeleteObject(brush);
    }
    drawer::IText* drawer = drawer_ ? drawer_ : skinDrawer_ ? skinDrawer_ : GdiText::Shared();
    drawer->drawText(dc, r.left, r.top, r.right, r.bottom, text_.c_str(), getStateFont(), alignment_);
    RestoreDC(dc, saved);
}

void Label::setHoverState(int state)
{
    if (hoverState_ == state)
        return;
    hoverState_ = state;
    if (hoverEffect_)
        InvalidateRect(handle_, nullptr, FALSE);
}

bool Label::handleMessage(LRESULT* result, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_ENABLE:
        InvalidateRect(handle_, nullptr, FALSE);
        return false;
    case WM_MOUSEMOVE:
        if (!tracking_)
        {
            tracking_ = true;
            TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, handle_, 0};
            TrackMouseEvent(&track);
        }
        if (hoverState_ == STATE_NORMAL)
            setHoverState(STATE_HOVER);
        return false;
    case WM_MOUSELEAVE:
        tracking_ = false;
        setHoverState(STATE_NORMAL);
        return false;
    case WM_LBUTTONDOWN:
        setHoverState(STATE_PRESSED);
        if (clickListeners_.count() > 0)
        {
            *result = 0;
            return true;
        }
        return false;
    case WM_LBUTTONUP:
    {
        bool wasPressed = hoverState_ == STATE_PRESSED;
        POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        RECT client;
        GetClientRect(handle_, &client);
        bool inside = PtInRect(&client, p) != FALSE;
        setHoverState(inside ? STATE_HOVER : STATE_NORMAL);
        if (wasPressed && inside && clickListeners_.count() > 0)
        {
            clickListeners_.fire(self(), EVENT_CLICKED);
            *result = 0;
            return true;
        }
        return false;
    }
    case WM_SETCURSOR:
        if (clickListeners_.count() > 0)
        {
            SetCursor(LoadCursorW(nullptr, IDC_HAND));
            *result = TRUE;
            return true;
        }
        return false;
    default:
        return WidgetBase::handleMessage(result, message, wParam, lParam);
    }
}

} // namespace s::gui::win
