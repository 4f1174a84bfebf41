#include "s/gui/win/Window.h"

#include "s/gui/IWindowSettings.h"
#include "s/gui/win/WindowParts.h"

namespace s::gui::win
{
using namespace windowparts;

namespace
{

// Our edge numbering (1 left, 2 right, 3 top, 4 bottom, 5 top-left, 6 top-right,
// 7 bottom-left, 8 bottom-right) from the platform's WMSZ_ codes.
int edgeFromPlatform(WPARAM wmsz)
{
    switch (wmsz)
    {
    case WMSZ_LEFT:
        return 1;
    case WMSZ_RIGHT:
        return 2;
    case WMSZ_TOP:
        return 3;
    case WMSZ_BOTTOM:
        return 4;
    case WMSZ_TOPLEFT:
        return 5;
    case WMSZ_TOPRIGHT:
        return 6;
    case WMSZ_BOTTOMLEFT:
        return 7;
    case WMSZ_BOTTOMRIGHT:
        return 8;
    default:
        return 0;
    }
}

bool isLeftEdge(int edge)
{
    return edge == 1 || edge == 5 || edge == 7;
}
bool isTopEdge(int edge)
{
    return edge == 3 || edge == 5 || edge == 6;
}
bool isBottomEdge(int edge)
{
    return edge == 4 || edge == 7 || edge == 8;
}

// `window` moved (and, where it is larger, made smaller) so that it lies wholly in `area`.
RECT fitInto(const RECT& window, const RECT& area)
{
    const int w = std::min(static_cast<int>(window.right - window.left), static_cast<int>(area.right - area.left));
    const int h = std::min(static_cast<int>(window.bottom - window.top), static_cast<int>(area.bottom - area.top));
    const int x =
        std::max(static_cast<int>(area.left), std::min(static_cast<int>(window.left), static_cast<int>(area.right) - w));
    const int y =
        std::max(static_cast<int>(area.top), std::min(static_cast<int>(window.top), static_cast<int>(area.bottom) - h));
    return RECT{x, y, x + w, y + h};
}

} // namespace

// --- placement ---------------------------------------------------------------------

void Window::storeGeometry()
{
    if (!settings_ || !handle_)
        return;
    settings_->setMaximized(isMaximized());
    settings_->setBounds(normalX_, normalY_, normalWidth_, normalHeight_);
}

void Window::restoreGeometry()
{
    if (!settings_)
        return;
    int w = settings_->getWidth(), h = settings_->getHeight();
    if (settings_->hasSavedPosition())
        setBounds(settings_->getX(), settings_->getY(), w, h);
    else
        setSize(w, h);
}

void Window::rememberBounds()
{
    if (!handle_ || IsIconic(handle_) || IsZoomed(handle_))
        return;
    RECT r;
    GetWindowRect(handle_, &r);
    normalX_ = r.left;
    normalY_ = r.top;
    normalWidth_ = r.right - r.left;
    normalHeight_ = r.bottom - r.top;
}

bool Window::isPlacementValid()
{
    if (width_ <= 10 || height_ <= 10)
        return false;
    RECT vs = virtualScreen();
    int insideX = std::min(x_ + width_, static_cast<int>(vs.right)) - std::max(x_, static_cast<int>(vs.left));
    int insideY =
        std::min(y_ + height_, static_cast<int>(vs.bottom)) - std::max(y_, static_cast<int>(vs.top));
    return insideX >= 10 && insideY >= 10;
}

void Window::centreOnMonitor()
{
    RECT work;
    HMONITOR monitor = handle_ ? MonitorFromWindow(handle_, MONITOR_DEFAULTTONEAREST) : nullptr;
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (monitor && GetMonitorInfoW(monitor, &info))
        work = info.rcWork;
    else
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    int x = work.left + (work.right - work.left - width_) / 2;
    int y = work.top + (work.bottom - work.top - height_) / 2;
    setPosition(x, y);
}

void Window::moveIntoScreen()
{
    if (isMaximized())
        return;
    // Into the work area of the monitor nearest to the window, made smaller where it is
    // larger: a position saved on a monitor that has gone since (or one in a gap of the
    // virtual screen) comes back on a screen the user has, and the whole window with it.
    RECT r{x_, y_, x_ + width_, y_ + height_};
    RECT area;
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (GetMonitorInfoW(MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST), &info))
        area = info.rcWork;
    else
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    RECT fitted = fitInto(r, area);
    const int w = fitted.right - fitted.left, h = fitted.bottom - fitted.top;
    if (w != width_ || h != height_)
        setBounds(fitted.left, fitted.top, w, h);
    else if (fitted.left != x_ || fitted.top != y_)
        setPosition(fitted.left, fitted.top);
}

// --- hover behaviour ------------------------------------------------------------------------

void Window::setHoverBehaviour(bool enabled, int mode, bool onlyWhileTopmost, int delaySeconds,
                               int targetWidth, int targetHeight, bool shiftSkips)
{
    stopHover(true);
    hoverMode_ = enabled ? mode : 0;
    hoverOnlyTopmost_ = onlyWhileTopmost;
    hoverDelaySeconds_ = delaySeconds;
    shrinkWidth_ = targetWidth;
    shrinkHeight_ = targetHeight;
    hoverShiftSkips_ = shiftSkips;
}

void Window::stopHover(bool toFullState)
{
    if (handle_ && GetWindowThreadProcessId(handle_, nullptr) != GetCurrentThreadId())
    {
        // Timers can only be ended by the thread that set them.
        Toolkit::sendPrivate(handle_, MSG_STOP_HOVER, toFullState ? 1 : 0, 0);
        return;
    }
    if (handle_)
    {
        for (UINT id = TIMER_FADE_WAIT; id <= TIMER_SHRINK; ++id)
            KillTimer(handle_, id);
    }
    hoverRunning_ = false;
    if (!toFullState)
        return;
    if (fullWidth_ >= 0 && fullHeight_ >= 0)
    {
        setSize(fullWidth_, fullHeight_);
        fullWidth_ = fullHeight_ = -1;
    }
    applyAlpha(effectiveOpacity());
}

void Window::startHover()
{
    if (hoverMode_ == 0 || hoverRunning_ || !handle_)
        return;
    if (hoverOnlyTopmost_ && !topmost_)
        return;
    hoverRunning_ = true;
    if (hoverMode_ == 1)
    {
        if (fullWidth_ >= 0)
            setSize(fullWidth_, fullHeight_), fullWidth_ = fullHeight_ = -1;
        SetTimer(handle_, TIMER_FADE_OUT, 10, nullptr);
    }
    else
    {
        if (fullWidth_ < 0)
        {
            fullWidth_ = width_;
            fullHeight_ = height_;
        }
        SetTimer(handle_, TIMER_SHRINK, 10, nullptr);
    }
}

bool Window::pointerInside(const RECT& r) const
{
    POINT p;
    GetCursorPos(&p);
    return PtInRect(&r, p) != FALSE;
}

void Window::hoverTimer(UINT id)
{
    bool skip = hoverShiftSkips_ && (GetKeyState(VK_SHIFT) & 0x8000);
    int full = effectiveOpacity();
    switch (id)
    {
    case TIMER_FADE_OUT:
    {
        int next = skip ? 0 : std::max(0, alphaPercent_ - std::max(full / 5, 1));
        applyAlpha(next);
        if (next == 0)
        {
            KillTimer(handle_, TIMER_FADE_OUT);
            countdownMs_ = hoverDelaySeconds_ * 1000;
            SetTimer(handle_, TIMER_FADE_WAIT, 500, nullptr);
        }
        break;
    }
    case TIMER_FADE_WAIT:
    {
        RECT r;
        GetWindowRect(handle_, &r);
        if (!pointerInside(r))
            countdownMs_ -= 500;
        if (countdownMs_ < 1)
        {
            KillTimer(handle_, TIMER_FADE_WAIT);
            SetTimer(handle_, TIMER_FADE_IN, 25, nullptr);
        }
        break;
    }
    case TIMER_FADE_IN:
    {
        int next = skip ? full : std::min(full, alphaPercent_ + std::max(full / 10, 1));
        applyAlpha(next);
        if (next >= full)
        {
            KillTimer(handle_, TIMER_FADE_IN);
            hoverRunning_ = false;
        }
        break;
    }
    case TIMER_SHRINK:
    {
        // The target size is stated in 96-DPI pixels.
        int targetW = Toolkit::scale(shrinkWidth_, dpi_), targetH = Toolkit::scale(shrinkHeight_, dpi_);
        int w = width_, h = height_;
        if (targetW >= 0 && w > targetW)
            w = skip ? targetW : std::max(targetW, w - std::max(w / 5, 1));
        if (targetH >= 0 && h > targetH)
            h = skip ? targetH : std::max(targetH, h - std::max(h / 5, 1));
        setSize(w, h);
        bool done = (targetW < 0 || w <= targetW) && (targetH < 0 || h <= targetH);
        if (done)
        {
            KillTimer(handle_, TIMER_SHRINK);
            SetTimer(handle_, TIMER_SHRINK_WAIT, std::max(1, hoverDelaySeconds_) * 1000, nullptr);
        }
        break;
    }
    case TIMER_SHRINK_WAIT:
    {
        RECT r{x_, y_, x_ + fullWidth_, y_ + fullHeight_};
        if (!pointerInside(r))
        {
            KillTimer(handle_, TIMER_SHRINK_WAIT);
            SetTimer(handle_, TIMER_GROW, 25, nullptr);
        }
        break;
    }
    case TIMER_GROW:
    {
        int w = skip ? fullWidth_ : std::min(fullWidth_, width_ + std::max(fullWidth_ / 15, 1));
        int h = skip ? fullHeight_ : std::min(fullHeight_, height_ + std::max(fullHeight_ / 15, 1));
        setSize(w, h);
        if (w >= fullWidth_ && h >= fullHeight_)
        {
            KillTimer(handle_, TIMER_GROW);
            fullWidth_ = fullHeight_ = -1;
            hoverRunning_ = false;
            doLayout();
        }
        break;
    }
    default:
        break;
    }
}

// --- hit testing --------------------------------------------------------------------------------

LRESULT Window::frameHitTest(int x, int y, int w, int h, int dpi)
{
    const int border = Toolkit::scale(5, dpi), corner = Toolkit::scale(30, dpi);
    if (x > w - border)
        return y < corner ? HTTOPRIGHT : (y > h - corner ? HTBOTTOMRIGHT : HTRIGHT);
    if (x < border)
        return y < corner ? HTTOPLEFT : (y > h - corner ? HTBOTTOMLEFT : HTLEFT);
    if (y <= border - 1)
        return x < corner ? HTTOPLEFT : (x > w - corner ? HTTOPRIGHT : HTTOP);
    if (y > h - border)
        return x < corner ? HTBOTTOMLEFT : (x > w - corner ? HTBOTTOMRIGHT : HTBOTTOM);
    return HTNOWHERE;
}

LRESULT Window::adjustHitTest(LRESULT defaultHit, bool skinned, int x, int y, int w, int h,
                              bool dragByClientArea, bool rightButtonHeld, int dpi)
{
    LRESULT hit = defaultHit;
    if (skinned)
    {
        LRESULT frame = frameHitTest(x, y, w, h, dpi);
        if (frame != HTNOWHERE)
            return frame;
    }
    if (dragByClientArea && hit == HTCLIENT && !rightButtonHeld)
        hit = HTCAPTION;
    return hit;
}

// --- sizing and placement messages --------------------------------------------------------------

void Window::onSizing(WPARAM wmsz, RECT* rect)
{
    sizingEdge_ = edgeFromPlatform(wmsz);
    // No taller than the monitor that holds the window now.
    RECT current;
    GetWindowRect(handle_, &current);
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (GetMonitorInfoW(MonitorFromRect(&current, MONITOR_DEFAULTTONEAREST), &info))
    {
        int monitorHeight = info.rcMonitor.bottom - info.rcMonitor.top;
        if (rect->bottom - rect->top > monitorHeight)
        {
            if (isBottomEdge(sizingEdge_))
                rect->bottom = rect->top + monitorHeight;
            else
                rect->top = rect->bottom - monitorHeight;
        }
    }
    sizingRect_ = *rect;
    fire(EVENT_SIZING);
    *rect = sizingRect_;
    int minW = getMinWidth(), minH = getMinHeight();
    if (minWidthEnforced_ && rect->right - rect->left < minW)
    {
        if (isLeftEdge(sizingEdge_))
            rect->left = rect->right - minW;
        else
            rect->right = rect->left + minW;
    }
    if (minHeightEnforced_ && rect->bottom - rect->top < minH)
    {
        if (isTopEdge(sizingEdge_))
            rect->top = rect->bottom - minH;
        else
            rect->bottom = rect->top + minH;
    }
    sizingRect_ = *rect;
}

namespace
{
void tellDpiChanged(IComponent* component)
{
    for (int i = 0; i < component->getChildCount(); ++i)
    {
        IComponent* child = component->getChild(i);
        if (NativeTarget* target = Toolkit::targetOf(child))
            target->dpiChanged();
        tellDpiChanged(child);
    }
}
} // namespace

void Window::onDpiChanged(int dpi, const RECT* suggested)
{
    dpi_ = dpi > 0 ? dpi : Toolkit::BASE_DPI;
    tellDpiChanged(self());
    if (suggested)
        SetWindowPos(handle_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
    doLayout();
}

void Window::onPosChanging(WINDOWPOS* pos)
{
    bool moves = !(pos->flags & SWP_NOMOVE), sizes = !(pos->flags & SWP_NOSIZE);
    if (keepInsideScreen_ && (moves || sizes))
    {
        RECT area;
        if (GetSystemMetrics(SM_CMONITORS) >= 2)
            area = virtualScreen();
        else
            SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
        // A resize without a move keeps the current top-left corner; when the new size
        // crosses the edge, the corner moves too and the move flag is cleared.
        RECT current{x_, y_, x_ + width_, y_ + height_};
        if (handle_)
            GetWindowRect(handle_, &current);
        int fromX = moves ? pos->x : static_cast<int>(current.left);
        int fromY = moves ? pos->y : static_cast<int>(current.top);
        int w = sizes ? pos->cx : static_cast<int>(current.right - current.left);
        int h = sizes ? pos->cy : static_cast<int>(current.bottom - current.top);
        int x = std::max(static_cast<int>(area.left), std::min(fromX, static_cast<int>(area.right) - w));
        int y = std::max(static_cast<int>(area.top), std::min(fromY, static_cast<int>(area.bottom) - h));
        if (x != fromX || y != fromY)
        {
            pos->x = x;
            pos->y = y;
            pos->flags &= ~SWP_NOMOVE;
        }
    }
    fire(EVENT_POS_CHANGING);
}

} // namespace s::gui::win
