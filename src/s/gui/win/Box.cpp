#include "s/gui/win/Box.h"

#include <windows.h>
#include <shellapi.h>
#include <windowsx.h>

#include <cmath>

#include "s/gui/layout/Arrange.h"
#include "s/gui/win/RadioButton.h"
#include "s/gui/win/UrlDropTarget.h"

namespace s::gui::win
{

Box::Box()
{
    resetBox();
}

Box::~Box()
{
    clearDrops();
}

void Box::Reset()
{
    resetContainer();
    resetBox();
}

void Box::resetBox()
{
    stated_ = Stated{};
    mode_ = MODE_COLUMN;
    hAlign_ = vAlign_ = 0;
    hGap_ = vGap_ = 0;
    insetLeft_ = insetRight_ = insetTop_ = insetBottom_ = 0;
    fixedWidth_ = fixedHeight_ = -1;
    widthPercent_ = heightPercent_ = -1;
    minWidthOverride_ = -1;
    collapseWidth_ = collapseHeight_ = false;
    contentMinWidth_ = contentMinHeight_ = contentPrefWidth_ = contentPrefHeight_ = 0;
    resetPanel();
    acceptFiles_ = dropTarget_ = false;
    clearDrops();
    hover_ = false;
    wheelLines_ = 0;
    image_ = nullptr;
    hasOverride_ = false;
    override_ = 0;
    layoutOnly_ = windowless_ = false;
    dropListeners_.clear();
    urlDropListeners_.clear();
    wheelListeners_.clear();
    layoutListeners_.clear();
    clickListeners_.clear();
}

// --- size limits -------------------------------------------------------------

int Box::percentOf(int parentSize, int percent, int less) const
{
    double v = static_cast<double>(parentSize) * percent / 100.0 - less;
    return static_cast<int>(v >= 0 ? std::floor(v + 0.5) : std::ceil(v - 0.5));
}

int Box::getMinWidth()
{
    if (collapseWidth_)
        return 0;
    if (fixedWidth_ >= 0)
        return fixedWidth_;
    int w = insetLeft_ + insetRight_ + contentMinWidth_;
    if (minWidthOverride_ >= 0)
        w = std::max(w, minWidthOverride_);
    return w;
}

int Box::getMinHeight()
{
    if (collapseHeight_)
        return 0;
    if (fixedHeight_ >= 0)
        return fixedHeight_;
    return insetTop_ + insetBottom_ + contentMinHeight_;
}

int Box::getMinClientWidth()
{
    if (fixedWidth_ >= 0)
        return fixedWidth_ - insetLeft_ - insetRight_;
    int w = contentMinWidth_;
    if (minWidthOverride_ >= 0)
        w = std::max(w, minWidthOverride_ - insetLeft_ - insetRight_);
    return w;
}

int Box::getMinClientHeight()
{
    if (fixedHeight_ >= 0)
        return fixedHeight_ - insetTop_ - insetBottom_;
    return contentMinHeight_;
}

int Box::getMaxWidth()
{
    if (fixedWidth_ >= 0)
        return fixedWidth_;
    if (widthPercent_ >= 0 && parent_)
        return percentOf(parent_->getClientWidth(), widthPercent_, 0);
    return insetLeft_ + insetRight_ + std::max(contentMinWidth_, contentPrefWidth_);
}

int Box::getMaxHeight()
{
    if (fixedHeight_ >= 0)
        return fixedHeight_;
    if (heightPercent_ >= 0 && parent_)
        return percentOf(parent_->getClientHeight(), heightPercent_, 0);
    return insetTop_ + insetBottom_ + std::max(contentMinHeight_, contentPrefHeight_);
}

int Box::getMaxClientWidth()
{
    int insets = insetLeft_ + insetRight_;
    if (fixedWidth_ >= 0)
        return fixedWidth_ - insets;
    if (widthPercent_ >= 0 && parent_)
        return percentOf(parent_->getClientWidth(), widthPercent_, insets);
    return std::max(contentMinWidth_, contentPrefWidth_);
}

int Box::getMaxClientHeight()
{
    int insets = insetTop_ + insetBottom_;
    if (fixedHeight_ >= 0)
        return fixedHeight_ - insets;
    if (heightPercent_ >= 0 && parent_)
        return percentOf(parent_->getClientHeight(), heightPercent_, insets);
    return std::max(contentMinHeight_, contentPrefHeight_);
}

// --- children and layout -------------------------------------------------------

void Box::add(IComponent* child)
{
    if (!child)
        return;
    if (onOtherThread())
    {
        Toolkit::sendPrivate(handle_, MSG_ADD_CHILD, reinterpret_cast<WPARAM>(child), 0);
        return;
    }
    children()->Add(ChildFaces::objectOf(child));
    if (!handle_ && !windowless_)
    {
        // Known as the parent at once; the native window follows with the box's own.
        child->setParent(self());
        return;
    }
    attachChild(child);
    doLayout();
    tellParent();
}

void Box::tellParent()
{
    if (!parent_)
        return;
    parent_->childChanged();
    // A flow's height depends on the width the parent gives it, which depends on the
    // first pass: a second pass settles it.
    if (mode_ == MODE_FLOW)
        parent_->childChanged();
}

void Box::doLayout()
{
    if (!layoutAllowed() || carryLayout())
        return;
    ++depth_;
    contentMinWidth_ = contentMinHeight_ = contentPrefWidth_ = contentPrefHeight_ = 0;
    if (getChildCount() > 0)
    {
        IComponent* me = self();
        int* out[4] = {&contentMinWidth_, &contentMinHeight_, &contentPrefWidth_, &contentPrefHeight_};
        if (manager_)
        {
            manager_->layout(me, out[0], out[1], out[2], out[3]);
        }
        else
        {
            switch (mode_)
            {
            case MODE_ROW:
                layout::arrangeRow(me, hAlign_, vAlign_, hGap_, out[0], out[1], out[2], out[3]);
                break;
            case MODE_FLOW:
                layout::arrangeFlow(me, hAlign_, vAlign_, hGap_, vGap_, out[0], out[1], out[2], out[3]);
                break;
            case MODE_PILE:
                layout::arrangePile(me, hAlign_, vAlign_, out[0], out[1], out[2], out[3]);
                break;
            default:
                layout::arrangeColumn(me, hAlign_, vAlign_, vGap_, out[0], out[1], out[2], out[3]);
                break;
            }
        }
    }
    layoutListeners_.fire(self(), EVENT_LAID_OUT);
    --depth_;
}

bool Box::createNative(HWND parentHandle)
{
    if (layoutOnly_ && drawsNothingOfItsOwn())
    {
        windowless_ = true; // handle_ stays null: the children's windows go into parentHandle
        return true;
    }
    if (!PanelContainer::createNative(parentHandle))
        return false;
    if (acceptFiles_)
        DragAcceptFiles(handle_, TRUE);
    return true;
}

void Box::nativeCreated()
{
    if (!windowless_)
    {
        PanelContainer::nativeCreated();
        updateDropTarget();
        return;
    }
    // The children's windows are made in the host's (hidden while this box is: see
    // letsChildrenShow).
    creating_ = true;
    for (int i = 0; i < getChildCount(); ++i)
        attachChild(getChild(i));
    creating_ = false;
    doLayout();
    tellParent();
}

void Box::attachChild(IComponent* child)
{
    child->setOrigin(childOriginX(), childOriginY());
    if (handle_)
        Toolkit::sendPrivate(handle_, MSG_ATTACH_CHILD, reinterpret_cast<WPARAM>(child), 0);
    else
        child->setParent(self()); // its window goes into the host's
}

bool Box::drawsNothingOfItsOwn()
{
    if (colourSet_ || transparent_ || hasOverride_ || image_ || acceptFiles_ || dropTarget_ ||
        clickListeners_.count() > 0 || wheelListeners_.count() > 0 || mode_ == MODE_PILE)
        return false;
    // A box's window clips its children: one held smaller than its content (a fixed or
    // collapsed size) keeps it.
    if (stated_.fixedWidth >= 0 || stated_.fixedHeight >= 0 || collapseWidth_ || collapseHeight_)
        return false;
    // The system groups radio buttons by their sibling windows (the ones it unchecks when one
    // is checked, walked at every check): a box that holds some keeps them among themselves.
    for (int i = 0; i < getChildCount(); ++i)
    {
        if (dynamic_cast<RadioButton*>(getChild(i)) != nullptr)
            return false;
    }
    // Where the box has no window its parent's background shows: it must be what the box
    // would have painted. (The window itself paints a skin's frame and background.)
    if (parent_ == nullptr || parent_ == static_cast<IComponent*>(window_) || parent_->isTransparent())
        return false;
    if (Box* parent = dynamic_cast<Box*>(parent_); parent != nullptr && (parent->hasOverride_ || parent->image_))
        return false;
    return parent_->getBackgroundColour() == getBackgroundColour();
}

HWND Box::getHostHandle()
{
    if (handle_)
        return handle_;
    return windowless_ && parent_ ? Toolkit::hostOf(parent_) : nullptr;
}

bool Box::letsChildrenShow()
{
    return !windowless_ || (visible_ && parentLetsShow());
}

bool Box::isVisible()
{
    return windowless_ ? visible_ && getHostHandle() != nullptr : PanelContainer::isVisible();
}

void Box::setVisible(bool show, bool notify)
{
    const bool was = visible_;
    PanelContainer::setVisible(show, notify);
    if (windowless_ && was != visible_)
        showNativesOf(self(), visible_);
}

void Box::showNativesOf(IComponent* component, bool show)
{
    Box* box = dynamic_cast<Box*>(component);
    if (box != nullptr && box->windowless_)
    {
        for (int i = 0; i < box->getChildCount(); ++i)
        {
            IComponent* child = box->getChild(i);
            showNativesOf(child, show && child->isVisible());
        }
        return;
    }
    if (HWND h = Toolkit::handleOf(component))
        ShowWindow(h, show ? SW_SHOWNA : SW_HIDE);
}

int Box::getScreenX()
{
    return windowless_ ? placeOnScreenIn(getHostHandle()).x : PanelContainer::getScreenX();
}

int Box::getScreenY()
{
    return windowless_ ? placeOnScreenIn(getHostHandle()).y : PanelContainer::getScreenY();
}

void Box::placeNative(UINT flags)
{
    if (!windowless_)
    {
        PanelContainer::placeNative(flags);
        return;
    }
    // The children's windows sit at this box's offset in the host's: they follow it.
    if (!(flags & SWP_NOMOVE))
    {
        for (int i = 0; i < getChildCount(); ++i)
            getChild(i)->setOrigin(childOriginX(), childOriginY());
    }
}

void Box::detached()
{
    PanelContainer::detached();
    windowless_ = false;
}

HDC__* Box::getBackdrop(int* offsetX, int* offsetY)
{
    // A transparent box shows its parent's backdrop: hand that on, shifted by where
    // this box sits in it.
    if (transparent_ && parent_)
    {
        int ox = 0, oy = 0;
        HDC__* dc = parent_->getBackdrop(&ox, &oy);
        if (dc && handle_)
        {
            HWND parentHandle = Toolkit::hostOf(parent_);
            RECT r;
            GetWindowRect(handle_, &r);
            MapWindowPoints(nullptr, parentHandle, reinterpret_cast<POINT*>(&r), 2);
            if (offsetX)
                *offsetX = ox + r.left;
            if (offsetY)
                *offsetY = oy + r.top;
            return dc;
        }
    }
    return ComponentBase<IBox>::getBackdrop(offsetX, offsetY);
}

// --- settings ----------------------------------------------------------------------

void Box::applyStated()
{
    int dpi = window_ ? window_->getDpi() : Toolkit::BASE_DPI;
    hGap_ = Toolkit::scale(stated_.hGap, dpi);
    vGap_ = Toolkit::scale(stated_.vGap, dpi);
    insetLeft_ = Toolkit::scale(stated_.left, dpi);
    insetRight_ = Toolkit::scale(stated_.right, dpi);
    insetTop_ = Toolkit::scale(stated_.top, dpi);
    insetBottom_ = Toolkit::scale(stated_.bottom, dpi);
    fixedWidth_ = Toolkit::scale(stated_.fixedWidth, dpi);
    fixedHeight_ = Toolkit::scale(stated_.fixedHeight, dpi);
    minWidthOverride_ = Toolkit::scale(stated_.minWidthOverride, dpi);
}

void Box::attached()
{
    applyStated(); // the window's DPI is known from here on
}

void Box::dpiChanged()
{
    applyStated();
    insetsChanged();
}

void Box::setHorizontalGap(int pixels)
{
    stated_.hGap = pixels;
    applyStated();
}
void Box::setVerticalGap(int pixels)
{
    stated_.vGap = pixels;
    applyStated();
}

void Box::insetsChanged()
{
    for (int i = 0; i < getChildCount(); ++i)
        getChild(i)->setOrigin(childOriginX(), childOriginY());
    doLayout();
}

void Box::setInsetLeft(int pixels)
{
    stated_.left = pixels;
    applyStated();
    insetsChanged();
}
void Box::setInsetRight(int pixels)
{
    stated_.right = pixels;
    applyStated();
    insetsChanged();
}
void Box::setInsetTop(int pixels)
{
    stated_.top = pixels;
    applyStated();
    insetsChanged();
}
void Box::setInsetBottom(int pixels)
{
    stated_.bottom = pixels;
    applyStated();
    insetsChanged();
}

void Box::setInsetsHorizontal(int pixels)
{
    stated_.left = stated_.right = pixels;
    applyStated();
    insetsChanged();
}

void Box::setInsetsVertical(int pixels)
{
    stated_.top = stated_.bottom = pixels;
    applyStated();
    insetsChanged();
}

void Box::setInsets(int pixels)
{
    stated_.left = stated_.right = stated_.top = stated_.bottom = pixels;
    applyStated();
    insetsChanged();
}

void Box::setMinWidthOverride(int pixels)
{
    stated_.minWidthOverride = pixels;
    applyStated();
}

void Box::fillParent()
{
    setWidthPercent(100);
    setHeightPercent(100);
}

void Box::setWidthPercent(int percent)
{
    widthPercent_ = percent;
    stated_.fixedWidth = fixedWidth_ = -1;
    if (handle_ && parent_)
        parent_->childChanged();
}

void Box::setHeightPercent(int percent)
{
    heightPercent_ = percent;
    stated_.fixedHeight = fixedHeight_ = -1;
    if (handle_ && parent_)
        parent_->childChanged();
}

void Box::setFixedWidth(int pixels)
{
    stated_.fixedWidth = pixels;
    widthPercent_ = -1;
    applyStated();
}

void Box::setFixedHeight(int pixels)
{
    stated_.fixedHeight = pixels;
    heightPercent_ = -1;
    applyStated();
}

void Box::setBackgroundImage(HBITMAP__* bitmap)
{
    image_ = bitmap;
    redraw();
}

void Box::setBackgroundOverride(int r, int g, int b)
{
    hasOverride_ = true;
    override_ = Colours::pack(r, g, b);
    redraw();
}

bool Box::acceptsWheel(IComponent* component)
{
    Box* box = dynamic_cast<Box*>(component);
    return box && box->wheelListeners_.count() > 0;
}

void Box::showOnly(int index)
{
    int n = getChildCount();
    for (int i = 0; i < n; ++i)
    {
        if (i != index)
            getChild(i)->setVisible(false, true);
    }
    if (IComponent* shown = getChild(index))
        shown->setVisible(true, true);
}

void Box::showOnlyParked(int index)
{
    int n = getChildCount();
    for (int i = 0; i < n; ++i)
    {
        if (i == index)
            continue;
        IComponent* c = getChild(i);
        c->setVisible(false, true);
        c->setOrigin(0, 3000);
    }
    if (IComponent* shown = getChild(index))
    {
        shown->setOrigin(0, 0);
        shown->setVisible(true, true);
    }
}

// --- messages ------------------------------------------------------------------------

void Box::paintInto(HDC dc)
{
    if (!hasOverride_ && !image_)
    {
        PanelContainer<IBox>::paintInto(dc);
        return;
    }
    RECT client;
    GetClientRect(handle_, &client);
    if (image_)
    {
        HDC mem = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(mem, reinterpret_cast<HBITMAP>(image_));
        BITMAP bm{};
        GetObjectW(reinterpret_cast<HBITMAP>(image_), sizeof(bm), &bm);
        StretchBlt(dc, 0, 0, client.right, client.bottom, mem, 0, 0, bm.bmWidth, bm.bmHeight, SRCCOPY);
        SelectObject(mem, old);
        DeleteDC(mem);
    }
    else
    {
        HBRUSH brush = CreateSolidBrush(override_);
        FillRect(dc, &client, brush);
        DeleteObject(brush);
    }
}

bool Box::handleMessage(LRESULT* result, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_MOUSEMOVE:
        // Tracking the leave instead of capturing the pointer keeps the children
        // (buttons inside the box) clickable.
        if (!hover_)
        {
            hover_ = true;
            TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, handle_, 0};
            TrackMouseEvent(&track);
        }
        return false;
    case WM_MOUSELEAVE:
        hover_ = false;
        return false;
    case WM_LBUTTONDOWN:
        if (clickListeners_.count() > 0)
        {
            clickListeners_.fire(self(), EVENT_CLICKED);
            *result = 0;
            return true;
        }
        return false;
    case WM_MOUSEWHEEL:
    {
        POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        for (int i = 0; i < getChildCount(); ++i)
        {
            IComponent* child = getChild(i);
            HWND ch = acceptsWheel(child) ? Toolkit::handleOf(child) : nullptr;
            if (ch && child->isVisible() && child->containsScreenPoint(p.x, p.y) &&
                SendMessageW(ch, message, wParam, lParam) == 0)
            {
                *result = 0;
                return true;
            }
        }
        if (wheelListeners_.count() > 0)
        {
            UINT lines = 3;
            SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
            int delta = GET_WHEEL_DELTA_WPARAM(wParam);
            wheelLines_ = delta < 0 ? -static_cast<int>(lines) : static_cast<int>(lines);
            wheelListeners_.fire(self(), EVENT_WHEEL);
            *result = 0;
            return true;
        }
        // The window offers it only to children that take the wheel, which this box
        // does not, so it does not come back here.
        if (HWND top = Toolkit::handleOf(window_))
        {
            *result = SendMessageW(top, message, wParam, lParam);
            return true;
        }
        return false;
    }
    case WM_KEYDOWN:
        if (HWND top = Toolkit::handleOf(window_))
        {
            *result = SendMessageW(top, message, wParam, lParam);
            return true;
        }
        return false;
    case WM_GETDLGCODE:
        *result = DefWindowProcW(handle_, message, wParam, lParam) | DLGC_WANTALLKEYS;
        return true;
    case WM_DROPFILES:
        onDropFiles(reinterpret_cast<HDROP>(wParam));
        *result = 0;
        return true;
    case MSG_URL_DROPPED:
        onUrlDropped();
        *result = 0;
        return true;
    case MSG_UPDATE_DROP_TARGET:
        updateDropTarget();
        *result = 0;
        return true;
    case WM_DESTROY:
        // OLE must not keep a target for a window that is gone.
        if (urlTarget_)
        {
            urlTarget_->Release();
            urlTarget_ = nullptr;
        }
        return PanelContainer<IBox>::handleMessage(result, message, wParam, lParam);
    default:
        return PanelContainer<IBox>::handleMessage(result, message, wParam, lParam);
    }
}

} // namespace s::gui::win
