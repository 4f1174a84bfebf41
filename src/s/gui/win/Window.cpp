#include "s/gui/win/Window.h"

#include <shellapi.h>
#include <windowsx.h>

#include "mfc/afxwin.h"
#include "s/gui/IWindowSettings.h"
#include "s/gui/drawer/IFrameDrawer.h"
#include "s/gui/layout/Vertical.h"
#include "s/gui/win/Box.h"
#include "s/gui/win/UIThread.h"
#include "s/lang/Localizer.h"
#include "s/thread/ObjLocker.h"

namespace s::gui::win
{
namespace
{

// Hover animation timers.
enum : UINT
{
    TIMER_FADE_WAIT = 1,
    TIMER_FADE_IN = 2,
    TIMER_FADE_OUT = 3,
    TIMER_SHRINK_WAIT = 4,
    TIMER_GROW = 5,
    TIMER_SHRINK = 6,
    USER_TIMER_BASE = 10000,
};

// A cross-thread request: the four values travel with the message, so requests of
// several threads never overwrite each other.
struct RequestBlock
{
    int values[4];
};

struct HotKeyBlock
{
    UINT modifiers;
    UINT key;
    const wchar_t* name;
    bool report;
    bool alt, ctrl, shift, win;
};

// One process-wide lock for the working-set trim.
thread::ObjLocker& workingSetLock()
{
    static thread::ObjLocker lock;
    return lock;
}

using SetLayeredWindowAttributesFn = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);

// user32's SetLayeredWindowAttributes, looked up once; null (after the message) when
// the library cannot be loaded.
SetLayeredWindowAttributesFn layeredAttributes()
{
    static SetLayeredWindowAttributesFn fn = nullptr;
    static bool looked = false;
    static thread::ObjLocker lock;
    thread::ObjLocker::Guard guard(lock);
    if (!looked)
    {
        HMODULE user32 = LoadLibraryW(L"user32.dll");
        if (!user32)
        {
            wchar_t text[128];
            wsprintfW(text, L"Failed to Load user32Dll.dll!!\nError Code - %lu", GetLastError());
            AfxMessageBox(text, MB_ICONERROR);
            return nullptr;
        }
        fn = reinterpret_cast<SetLayeredWindowAttributesFn>(
            reinterpret_cast<void*>(GetProcAddress(user32, "SetLayeredWindowAttributes")));
        looked = true;
    }
    return fn;
}

RECT virtualScreen()
{
    int x = GetSystemMetrics(SM_XVIRTUALSCREEN);
    int y = GetSystemMetrics(SM_YVIRTUALSCREEN);
    return RECT{x, y, x + GetSystemMetrics(SM_CXVIRTUALSCREEN), y + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

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

} // namespace

// --- life -------------------------------------------------------------------------

Window::Window()
{
    resetWindow();
    manager_ = nullptr;
    thread_ = new UIThread();
    if (!thread_->start(this))
    {
        // The thread ended without a window; it has reported the failure.
        thread_->stop();
        delete thread_;
        thread_ = nullptr;
    }
}

Window::~Window()
{
    if (thread_ && handle_ && !threadAnswers())
        abandonHungThread();
    if (children_)
        removeAll(true);
    setLocalizer(nullptr);
    unregisterAllHotKeys();
    if (handle_)
    {
        removeTrayIcon();
        SendMessageW(handle_, MSG_CLOSE_QUIETLY, 0, 0);
    }
    if (owner_)
        SendMessageW(owner_, MSG_CLOSE_QUIETLY, 0, 0);
    if (thread_)
    {
        // Stopped from its own thread (a listener released the window), the thread
        // deletes its own object when its loop ends.
        if (thread_->stop() || GetCurrentThreadId() != thread_->m_nThreadID)
            delete thread_;
        thread_ = nullptr;
    }
    // Requests posted but never served went with the window's message queue.
    dropPostedPayloads();
    handle_ = nullptr;
    owner_ = nullptr;
    if (smallIconOwned_ && smallIcon_)
        DestroyIcon(smallIcon_);
    if (bigIconOwned_ && bigIcon_)
        DestroyIcon(bigIcon_);
    if (frameDrawerOwned_)
        delete frameDrawer_;
    if (bufferDc_)
    {
        SelectObject(bufferDc_, bufferOld_);
        DeleteObject(bufferBitmap_);
        DeleteDC(bufferDc_);
    }
}

bool Window::threadAnswers()
{
    if (GetWindowThreadProcessId(handle_, nullptr) == GetCurrentThreadId())
        return true;
    DWORD_PTR ignored = 0;
    return SendMessageTimeoutW(handle_, WM_NULL, 0, 0, SMTO_NORMAL, UIThread::STOP_LIMIT_MS, &ignored) != 0;
}

namespace
{
// Forgets the native windows of a component tree without sending them anything.
void forgetNativeWindows(IComponent* component)
{
    if (NativeTarget* target = Toolkit::targetOf(component))
        target->bindHandle(nullptr);
    for (int i = 0; i < component->getChildCount(); ++i)
        forgetNativeWindows(component->getChild(i));
}
} // namespace

void Window::abandonHungThread()
{
    // The thread has had its 5000 ms: it gets WM_QUIT and is suspended at once. Its
    // native windows stay with it; every later step of the destruction only forgets
    // them, since a message sent to them would never be answered.
    removeTrayIcon();
    thread_->stop(0);
    delete thread_;
    thread_ = nullptr;
    forgetNativeWindows(self());
    handle_ = nullptr;
    owner_ = nullptr;
    inClipboardChain_ = false;
}

void Window::Reset()
{
    // Windows are never kept by their pool; a reset only clears the tree and options.
    if (shown_)
        setVisible(false, false);
    removeAll(true);
    resetWindow();
}

void Window::resetWindow()
{
    title_ = L"Window";
    titleTextId_ = versionTextId_ = -1;
    if (localizer_)
        localizer_->removeListener(self());
    localizer_ = nullptr;
    skinner_ = nullptr;
    statusBar_ = nullptr;
    settings_ = nullptr;
    dragByClientArea_ = trayIconShown_ = keepTrayIcon_ = iconized_ = hideToTrayOnClose_ = false;
    topmost_ = closeVetoed_ = maximized_ = false;
    closed_ = false;
    keepInsideScreen_ = checkPlacementOnShow_ = captureActive_ = false;
    suspendedPower_ = sessionEnding_ = hideCursor_ = false;
    opacity_ = alphaPercent_ = 100;
    opacityOnlyTopmost_ = false;
    hoverMode_ = 0;
    hoverOnlyTopmost_ = hoverShiftSkips_ = false;
    hoverDelaySeconds_ = 5;
    shrinkWidth_ = shrinkHeight_ = 23;
    fullWidth_ = fullHeight_ = -1;
    countdownMs_ = 5000;
    normalX_ = normalY_ = 0;
    normalWidth_ = normalHeight_ = 500;
    middleClickAction_ = ACTION_DO_NOTHING;
    minWidthEnforced_ = minHeightEnforced_ = true;
    sizingEdge_ = 0;
    sizingRect_ = RECT{0, 0, 0, 0};
    lastKey_ = wheelLines_ = lastTimerId_ = 0;
    lastHotKey_ = 0;
    for (ListenerList& list : listeners_)
        list.clear();
    languageListeners_.clear();
    manager_ = nullptr;
}

DWORD Window::getThreadId() const
{
    return thread_ ? thread_->m_nThreadID : 0;
}

bool Window::createOnThread()
{
    owner_ = Toolkit::create(nullptr, 0, L"", WS_POPUP, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                             CW_USEDEFAULT, nullptr, nullptr);
    if (!owner_)
    {
        Toolkit::showCreationFailed();
        return false;
    }
    ShowWindow(owner_, SW_HIDE);
    LONG_PTR ex = GetWindowLongPtrW(owner_, GWL_EXSTYLE);
    SetWindowLongPtrW(owner_, GWL_EXSTYLE, (ex & ~WS_EX_APPWINDOW) | WS_EX_TOOLWINDOW);

    HWND h = Toolkit::create(this, WS_EX_CLIENTEDGE, title_.c_str(), WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                             CW_USEDEFAULT, 240, 120, owner_, nullptr);
    if (!h)
    {
        handle_ = nullptr;
        Toolkit::showCreationFailed();
        return false;
    }
    handle_ = h;
    RECT r;
    GetWindowRect(h, &r);
    x_ = r.left;
    y_ = r.top;
    width_ = r.right - r.left;
    height_ = r.bottom - r.top;
    if (watchClipboard_ && !inClipboardChain_)
    {
        nextClipboardViewer_ = SetClipboardViewer(h);
        inClipboardChain_ = true;
    }
    return true;
}

void Window::destroyOwner()
{
    if (owner_ && IsWindow(owner_))
        DestroyWindow(owner_);
}

// --- events -------------------------------------------------------------------------

void Window::fire(int kind)
{
    if (kind >= 1 && kind <= EVENT_COUNT)
        listeners_[kind - 1].fire(self(), kind);
}

void Window::addListener(int kind, events::IEventListener* listener)
{
    if (kind >= 1 && kind <= EVENT_COUNT)
        listeners_[kind - 1].add(listener);
}

// --- geometry -----------------------------------------------------------------------

void Window::placeNative(UINT flags)
{
    if (!handle_)
        return;
    SetWindowPos(handle_, nullptr, x_, y_, width_, height_, SWP_NOZORDER | SWP_NOACTIVATE | flags);
}

int Window::getClientWidth()
{
    if (!handle_)
        return width_;
    RECT r;
    GetClientRect(handle_, &r);
    return r.right;
}

int Window::getClientHeight()
{
    if (!handle_)
        return height_;
    RECT r;
    GetClientRect(handle_, &r);
    return r.bottom;
}

void Window::setClientWidth(int w)
{
    setWidth(w + (width_ - getClientWidth()));
}

void Window::setClientHeight(int h)
{
    setHeight(h + (height_ - getClientHeight()));
}

int Window::getMinWidth()
{
    return contentMinWidth_ + (width_ - getClientWidth());
}

int Window::getMinHeight()
{
    return contentMinHeight_ + (height_ - getClientHeight());
}

int Window::getMaxWidth()
{
    return getMaxClientWidth() + (width_ - getClientWidth());
}

int Window::getMaxHeight()
{
    return getMaxClientHeight() + (height_ - getClientHeight());
}

void Window::doLayout()
{
    ILayoutManager* manager = manager_ ? manager_ : layout::Vertical::Shared();
    contentMinWidth_ = contentMinHeight_ = contentPrefWidth_ = contentPrefHeight_ = 0;
    manager->layout(self(), &contentMinWidth_, &contentMinHeight_, &contentPrefWidth_, &contentPrefHeight_);
    if (statusBar_ && statusBar_->isVisible())
    {
        int h = statusBar_->getMaxHeight();
        statusBar_->setBounds(0, getClientHeight() - h, getClientWidth(), h);
    }
}

HDC__* Window::getBackdrop(int* offsetX, int* offsetY)
{
    if (offsetX)
        *offsetX = 0;
    if (offsetY)
        *offsetY = 0;
    return bufferDc_;
}

void Window::setStatusBar(IComponent* statusBar)
{
    statusBar_ = statusBar;
    doLayout();
}

// --- showing and hiding ---------------------------------------------------------------

void Window::setVisible(bool show, bool restoreFromTray)
{
    if (show)
    {
        if (shown_)
            return;
        if (restoreFromTray && iconized_)
        {
            iconized_ = false;
            if (!keepTrayIcon_)
                removeTrayIcon();
        }
        restoreGeometry();
        if (checkPlacementOnShow_ && !isPlacementValid())
            centreOnMonitor();
        shown_ = true;
        visible_ = true;
        activate(true);
        if (handle_)
        {
            ShowWindow(handle_, SW_SHOW);
            RedrawWindow(handle_, nullptr, nullptr,
                         RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        }
    }
    else
    {
        if (!shown_)
            return;
        storeGeometry();
        shown_ = false;
        visible_ = false;
        if (handle_)
            ShowWindow(handle_, SW_HIDE);
    }
    trimWorkingSet();
}

void Window::trimWorkingSet()
{
    thread::ObjLocker::Guard guard(workingSetLock());
    SetProcessWorkingSetSize(GetCurrentProcess(), static_cast<SIZE_T>(-1), static_cast<SIZE_T>(-1));
}

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
    RECT vs = virtualScreen();
    int x = x_, y = y_;
    if (x + width_ > vs.right)
        x = vs.right - width_;
    if (y + height_ > vs.bottom)
        y = vs.bottom - height_;
    if (x < vs.left)
        x = vs.left;
    if (y < vs.top)
        y = vs.top;
    if (x != x_ || y != y_)
        setPosition(x, y);
}

// --- lifetime operations ---------------------------------------------------------------

void Window::close()
{
    if (hideToTrayOnClose_ && !iconized_)
        iconized_ = true;
    if (handle_)
        SendMessageW(handle_, WM_CLOSE, 0, 0);
}

void Window::waitUntilClosed()
{
    while (!closed_.load() && handle_)
        Sleep(10);
}

void Window::activate(bool on)
{
    if (!handle_)
        return;
    if (on)
    {
        if (!topmost_)
        {
            SetWindowPos(handle_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            SetWindowPos(handle_, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
        SetForegroundWindow(handle_);
        deactivatedAt_ = 0;
    }
    else
    {
        SendMessageW(handle_, WM_ACTIVATE, WA_INACTIVE, 0);
        deactivatedAt_ = GetTickCount();
    }
}

bool Window::isMinimized()
{
    return handle_ && IsIconic(handle_);
}
void Window::minimize()
{
    if (handle_)
        ShowWindow(handle_, SW_MINIMIZE);
}
bool Window::isMaximized()
{
    return handle_ && IsZoomed(handle_);
}
void Window::maximize()
{
    if (handle_)
        ShowWindow(handle_, SW_MAXIMIZE);
}

void Window::restore()
{
    if (iconized_)
    {
        iconized_ = false;
        shown_ = false;
        setVisible(true, false);
        if (!keepTrayIcon_)
            removeTrayIcon();
    }
    if (handle_)
        ShowWindow(handle_, SW_RESTORE);
}

void Window::showNormal()
{
    if (handle_)
        ShowWindow(handle_, SW_SHOWNORMAL);
}

void Window::iconize()
{
    setTrayIcon(true);
    iconized_ = true;
    if (handle_)
        ShowWindow(handle_, SW_HIDE);
    shown_ = false;
}

// --- frame and style ---------------------------------------------------------------------

void Window::setStyleBits(DWORD bits, bool on)
{
    if (!handle_)
        return;
    LONG_PTR style = GetWindowLongPtrW(handle_, GWL_STYLE);
    style = on ? (style | bits) : (style & ~static_cast<LONG_PTR>(bits));
    SetWindowLongPtrW(handle_, GWL_STYLE, style);
    SetWindowPos(handle_, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void Window::setExStyleBits(DWORD bits, bool on)
{
    if (!handle_)
        return;
    LONG_PTR style = GetWindowLongPtrW(handle_, GWL_EXSTYLE);
    style = on ? (style | bits) : (style & ~static_cast<LONG_PTR>(bits));
    SetWindowLongPtrW(handle_, GWL_EXSTYLE, style);
    SetWindowPos(handle_, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void Window::setDragByClientArea(bool on)
{
    dragByClientArea_ = on;
    if (settings_)
        settings_->setEasyDrag(on);
}

void Window::setMaximizeBox(bool on)
{
    setStyleBits(WS_MAXIMIZEBOX, on);
}
void Window::setMinimizeBox(bool on)
{
    setStyleBits(WS_MINIMIZEBOX, on);
}
void Window::setSystemMenu(bool on)
{
    setStyleBits(WS_SYSMENU, on);
}
void Window::setCaption(bool on)
{
    setStyleBits(WS_CAPTION, on);
}
void Window::setToolWindow(bool on)
{
    setExStyleBits(WS_EX_TOOLWINDOW, on);
}
void Window::setClientEdge(bool on)
{
    setExStyleBits(WS_EX_CLIENTEDGE, on);
}
void Window::setResizable(bool on)
{
    setStyleBits(WS_THICKFRAME, on);
}

void Window::setPopupStyle(bool on)
{
    if (!handle_)
        return;
    LONG_PTR style = GetWindowLongPtrW(handle_, GWL_STYLE);
    LONG_PTR boxes = style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX);
    LONG_PTR keep = style & (WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_DISABLED);
    if (on)
    {
        SetWindowLongPtrW(handle_, GWL_STYLE, WS_POPUP | WS_SYSMENU | boxes | keep);
        setExStyleBits(WS_EX_WINDOWEDGE | WS_EX_CLIENTEDGE | WS_EX_STATICEDGE, false);
    }
    else
    {
        SetWindowLongPtrW(handle_, GWL_STYLE, WS_OVERLAPPEDWINDOW | keep);
        setExStyleBits(WS_EX_WINDOWEDGE | WS_EX_CLIENTEDGE | WS_EX_STATICEDGE, true);
    }
}

void Window::setFrameDrawer(drawer::IFrameDrawer* drawer, bool owned)
{
    if (frameDrawerOwned_ && frameDrawer_ != drawer)
        delete frameDrawer_;
    frameDrawer_ = drawer;
    frameDrawerOwned_ = drawer && owned;
    if (drawer)
        setPopupStyle(false); // the skin draws the whole frame
    if (handle_)
        SetWindowPos(handle_, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void Window::setMinimumSizeEnforced(bool width, bool height)
{
    minWidthEnforced_ = width;
    minHeightEnforced_ = height;
}

// --- topmost and opacity -------------------------------------------------------------------

void Window::setTopmost(bool on)
{
    topmost_ = on;
    if (handle_)
    {
        UINT flags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
        if (shown_)
            flags |= SWP_SHOWWINDOW;
        SetWindowPos(handle_, on ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, flags);
    }
    if (opacityOnlyTopmost_)
        applyAlpha(effectiveOpacity());
    if (settings_)
        settings_->setKeepOnTop(on);
}

int Window::effectiveOpacity() const
{
    return (topmost_ || !opacityOnlyTopmost_) ? opacity_ : 100;
}

void Window::setOpacity(int percent, bool onlyWhileTopmost)
{
    opacity_ = std::max(0, std::min(100, percent));
    opacityOnlyTopmost_ = onlyWhileTopmost;
    applyAlpha(effectiveOpacity());
    if (settings_)
        settings_->setOpacity(opacity_);
}

void Window::applyAlpha(int percent)
{
    if (percent == alphaPercent_ || !handle_)
        return;
    SetLayeredWindowAttributesFn setAttributes = layeredAttributes();
    if (!setAttributes)
        return;
    LONG_PTR ex = GetWindowLongPtrW(handle_, GWL_EXSTYLE);
    if (alphaPercent_ == 100 && percent < 100)
        SetWindowLongPtrW(handle_, GWL_EXSTYLE, ex | WS_EX_LAYERED);
    int alpha = std::max(0, std::min(255, percent * 255 / 100));
    if (percent < 100)
        setAttributes(handle_, 0, static_cast<BYTE>(alpha), LWA_ALPHA);
    else
        SetWindowLongPtrW(handle_, GWL_EXSTYLE, ex & ~static_cast<LONG_PTR>(WS_EX_LAYERED));
    alphaPercent_ = percent;
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
        SendMessageW(handle_, MSG_STOP_HOVER, toFullState ? 1 : 0, 0);
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
        int w = width_, h = height_;
        if (shrinkWidth_ >= 0 && w > shrinkWidth_)
            w = skip ? shrinkWidth_ : std::max(shrinkWidth_, w - std::max(w / 5, 1));
        if (shrinkHeight_ >= 0 && h > shrinkHeight_)
            h = skip ? shrinkHeight_ : std::max(shrinkHeight_, h - std::max(h / 5, 1));
        setSize(w, h);
        bool done = (shrinkWidth_ < 0 || w <= shrinkWidth_) && (shrinkHeight_ < 0 || h <= shrinkHeight_);
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

// --- title and icons --------------------------------------------------------------------------

void Window::setTitle(const wchar_t* title)
{
    title_ = title ? title : L"";
    if (handle_)
        SetWindowTextW(handle_, title_.c_str());
    if (trayIconShown_)
        updateTrayIcon();
}

void Window::setTitleIds(int textId, int versionTextId)
{
    // The ids are kept so that a change of language can form the title again.
    titleTextId_ = textId;
    versionTextId_ = versionTextId;
    refreshTitle();
}

void Window::refreshTitle()
{
    if (!localizer_ || titleTextId_ == -1)
        return;
    std::wstring title = localizer_->getText(titleTextId_);
    if (versionTextId_ != -1)
    {
        title += L" v";
        title += localizer_->getText(versionTextId_);
    }
    setTitle(title.c_str());
}

void Window::setLocalizer(lang::Localizer* localizer)
{
    if (localizer_ == localizer)
        return;
    if (localizer_)
        localizer_->removeListener(self());
    localizer_ = localizer;
    if (localizer_)
    {
        localizer_->addListener(self());
        refreshTitle();
    }
}

void Window::handleEvent(void* source, int kind)
{
    if (!localizer_ || source != static_cast<void*>(localizer_))
        return;
    refreshTitle();
    fire(EVENT_LANGUAGE_CHANGED);
    languageListeners_.fire(source, kind);
}

void Window::setSmallIcon(HICON__* icon, bool owned)
{
    if (smallIconOwned_ && smallIcon_ && smallIcon_ != icon)
        DestroyIcon(smallIcon_);
    smallIcon_ = icon;
    smallIconOwned_ = owned;
    if (handle_)
        SendMessageW(handle_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    if (owner_)
        SendMessageW(owner_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
}

void Window::setBigIcon(HICON__* icon, bool owned)
{
    if (bigIconOwned_ && bigIcon_ && bigIcon_ != icon)
        DestroyIcon(bigIcon_);
    bigIcon_ = icon;
    bigIconOwned_ = owned;
    if (handle_)
        SendMessageW(handle_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    if (owner_)
        SendMessageW(owner_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
}

void Window::setSettingsObject(IWindowSettings* settings)
{
    settings_ = nullptr; // reading must not write back
    if (settings)
    {
        if (HICON icon = settings->getSmallIcon())
            setSmallIcon(icon, false);
        if (HICON icon = settings->getLargeIcon())
            setBigIcon(icon, false);
        setTitleIds(settings->getTitleTextId(), settings->getVersionTextId());
        setDragByClientArea(settings->getEasyDrag());
        setTopmost(settings->getKeepOnTop());
        setMiddleClickAction(settings->getMiddleClickAction());
        setOpacity(settings->getOpacity(), opacityOnlyTopmost_);
        if (settings->hasSavedPosition())
            setBounds(settings->getX(), settings->getY(), settings->getWidth(), settings->getHeight());
        else
            setSize(settings->getWidth(), settings->getHeight());
    }
    settings_ = settings;
}

// --- tray ------------------------------------------------------------------------------------

void Window::setTrayIcon(bool on)
{
    if (!handle_)
        return;
    if (on)
    {
        if (trayIconShown_)
            return;
        NOTIFYICONDATAW data{};
        data.cbSize = sizeof(data);
        data.hWnd = handle_;
        data.uID = 0;
        data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
        data.uCallbackMessage = MSG_TRAY_CALLBACK;
        data.hIcon = reinterpret_cast<HICON>(SendMessageW(handle_, WM_GETICON, ICON_SMALL, 0));
        lstrcpynW(data.szTip, title_.c_str(), ARRAYSIZE(data.szTip));
        trayIconShown_ = Shell_NotifyIconW(NIM_ADD, &data) != FALSE;
    }
    else if (!keepTrayIcon_)
    {
        removeTrayIcon();
    }
}

void Window::removeTrayIcon()
{
    if (!trayIconShown_ || !handle_)
        return;
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof(data);
    data.hWnd = handle_;
    data.uID = 0;
    Shell_NotifyIconW(NIM_DELETE, &data);
    trayIconShown_ = false;
}

void Window::updateTrayIcon()
{
    if (!trayIconShown_ || !handle_)
        return;
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof(data);
    data.hWnd = handle_;
    data.uID = 0;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = MSG_TRAY_CALLBACK;
    data.hIcon = reinterpret_cast<HICON>(SendMessageW(handle_, WM_GETICON, ICON_SMALL, 0));
    lstrcpynW(data.szTip, title_.c_str(), ARRAYSIZE(data.szTip));
    Shell_NotifyIconW(NIM_MODIFY, &data);
}

// --- input -----------------------------------------------------------------------------------

void Window::beginCapture()
{
    if (!handle_)
        return;
    if (GetWindowThreadProcessId(handle_, nullptr) != GetCurrentThreadId())
    {
        SendMessageW(handle_, MSG_BEGIN_CAPTURE, 0, 0);
        return;
    }
    captureActive_ = true;
    SetCapture(handle_);
}

void Window::setMiddleClickAction(const wchar_t* action)
{
    const wchar_t* matched = ACTION_DO_NOTHING;
    if (action == ACTION_CLOSE || (action && lstrcmpiW(action, ACTION_CLOSE) == 0))
        matched = ACTION_CLOSE;
    else if (action == ACTION_ICONIZE || (action && lstrcmpiW(action, ACTION_ICONIZE) == 0))
        matched = ACTION_ICONIZE;
    middleClickAction_ = matched;
    if (settings_)
        settings_->setMiddleClickAction(matched);
}

void Window::sendTab()
{
    if (handle_)
        SendMessageW(handle_, WM_KEYDOWN, VK_TAB, 0);
}

// --- cross-thread ---------------------------------------------------------------------------

intptr_t Window::sendRequest(int v1, int v2, int v3, int v4)
{
    if (!handle_)
        return 0;
    RequestBlock block{{v1, v2, v3, v4}};
    return sendWithPayload(MSG_REQUEST, &block);
}

bool Window::postRequest(int v1, int v2, int v3, int v4)
{
    if (!handle_)
        return false;
    RequestBlock* block = new RequestBlock{{v1, v2, v3, v4}};
    listPayload(block, true);
    if (PostMessageW(handle_, MSG_REQUEST, reinterpret_cast<WPARAM>(block), 1))
        return true;
    unlistPayload(block);
    delete block;
    return false;
}

void Window::listPayload(const void* pointer, bool posted)
{
    thread::ObjLocker::Guard guard(payloadLock_);
    payloads_.push_back(Payload{pointer, posted});
}

void Window::unlistPayload(const void* pointer)
{
    thread::ObjLocker::Guard guard(payloadLock_);
    for (size_t i = 0; i < payloads_.size(); ++i)
    {
        if (payloads_[i].pointer == pointer)
        {
            payloads_.erase(payloads_.begin() + static_cast<std::ptrdiff_t>(i));
            return;
        }
    }
}

bool Window::claimPayload(const void* pointer, bool* posted)
{
    thread::ObjLocker::Guard guard(payloadLock_);
    *posted = false;
    for (size_t i = 0; i < payloads_.size(); ++i)
    {
        if (payloads_[i].pointer != pointer)
            continue;
        if (payloads_[i].posted)
        {
            *posted = true;
            payloads_.erase(payloads_.begin() + static_cast<std::ptrdiff_t>(i));
        }
        return true;
    }
    return false;
}

void Window::dropPostedPayloads()
{
    thread::ObjLocker::Guard guard(payloadLock_);
    for (const Payload& p : payloads_)
    {
        if (p.posted)
            delete static_cast<const RequestBlock*>(p.pointer);
    }
    payloads_.clear();
}

LRESULT Window::sendWithPayload(UINT message, const void* payload)
{
    listPayload(payload, false);
    LRESULT result = SendMessageW(handle_, message, reinterpret_cast<WPARAM>(payload), 0);
    unlistPayload(payload);
    return result;
}

void Window::showMessage(const wchar_t* text)
{
    if (handle_)
        sendWithPayload(MSG_SHOW_MESSAGE, text);
}

void Window::showError(const wchar_t* text)
{
    if (handle_)
        sendWithPayload(MSG_SHOW_ERROR, text);
}

bool Window::askQuestion(const wchar_t* text)
{
    return handle_ && sendWithPayload(MSG_ASK_QUESTION, text) == 1;
}

// --- hot keys and timers ----------------------------------------------------------------------

bool Window::registerHotKey(bool alt, bool ctrl, bool shift, bool win, int key, const wchar_t* name,
                            bool reportFailure)
{
    if (!handle_ || !name)
        return false;
    UINT modifiers =
        (alt ? MOD_ALT : 0) | (ctrl ? MOD_CONTROL : 0) | (shift ? MOD_SHIFT : 0) | (win ? MOD_WIN : 0);
    OSVERSIONINFOW version{};
    version.dwOSVersionInfoSize = sizeof(version);
#if defined(_MSC_VER)
#pragma warning(suppress : 4996)
#endif
    if (GetVersionExW(&version) &&
        (version.dwMajorVersion > 6 || (version.dwMajorVersion == 6 && version.dwMinorVersion >= 1)))
        modifiers |= 0x4000; // MOD_NOREPEAT
    HotKeyBlock block{modifiers, static_cast<UINT>(key), name, reportFailure, alt, ctrl, shift, win};
    return sendWithPayload(MSG_REGISTER_HOT_KEY, &block) == 1;
}

LRESULT Window::onRegisterHotKey(void* raw)
{
    const HotKeyBlock* block = static_cast<const HotKeyBlock*>(raw);
    ATOM atom = GlobalAddAtomW(block->name);
    if (atom && RegisterHotKey(handle_, atom, block->modifiers, block->key))
    {
        hotKeys_.push_back(HotKey{block->name, atom});
        return 1;
    }
    DWORD error = GetLastError();
    if (atom)
        GlobalDeleteAtom(atom);
    if (block->report)
    {
        std::wstring text = L"HotKey ";
        if (block->alt)
            text += L"Alt+";
        if (block->ctrl)
            text += L"Ctrl+";
        if (block->shift)
            text += L"Shift+";
        if (block->win)
            text += L"WinKey+";
        wchar_t keyName[64] = L"";
        LONG scan = static_cast<LONG>(MapVirtualKeyW(block->key, MAPVK_VK_TO_VSC)) << 16;
        GetKeyNameTextW(scan, keyName, 64);
        text += keyName;
        text += L" has been occupied by another application.";
        wchar_t code[32];
        wsprintfW(code, L" (%lu)", error);
        text += code;
        AfxShowMessageBox(handle_, text.c_str(), AfxGetAppName(), MB_ICONWARNING);
    }
    return 0;
}

void Window::unregisterHotKey(const wchar_t* name)
{
    if (handle_ && name)
        sendWithPayload(MSG_UNREGISTER_HOT_KEY, name);
}

void Window::unregisterAllHotKeys()
{
    if (handle_)
        SendMessageW(handle_, MSG_UNREGISTER_ALL_HOT_KEYS, 0, 0);
}

bool Window::isHotKey(const wchar_t* name)
{
    if (!name || !lastHotKey_)
        return false;
    for (const HotKey& k : hotKeys_)
    {
        if (k.name == name)
            return k.atom == lastHotKey_;
    }
    return false;
}

void Window::startTimer(int id, int milliseconds)
{
    if (handle_)
        SendMessageW(handle_, MSG_START_TIMER, static_cast<WPARAM>(id), static_cast<LPARAM>(milliseconds));
}

void Window::stopTimer(int id)
{
    if (handle_)
        SendMessageW(handle_, MSG_STOP_TIMER, static_cast<WPARAM>(id), 0);
}

void Window::setWatchClipboard(bool on)
{
    watchClipboard_ = on;
    if (!handle_)
        return;
    if (on && !inClipboardChain_)
    {
        nextClipboardViewer_ = SetClipboardViewer(handle_);
        inClipboardChain_ = true;
    }
    else if (!on && inClipboardChain_)
    {
        ChangeClipboardChain(handle_, nextClipboardViewer_);
        inClipboardChain_ = false;
        nextClipboardViewer_ = nullptr;
    }
}

void Window::setSizingRect(int left, int top, int right, int bottom)
{
    sizingRect_ = RECT{left, top, right, bottom};
}

// --- hit testing --------------------------------------------------------------------------------

LRESULT Window::frameHitTest(int x, int y, int w, int h)
{
    const int border = 5, corner = 30;
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
                              bool dragByClientArea, bool rightButtonHeld)
{
    LRESULT hit = defaultHit;
    if (skinned)
    {
        LRESULT frame = frameHitTest(x, y, w, h);
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

void Window::onPosChanging(WINDOWPOS* pos)
{
    if (keepInsideScreen_ && !(pos->flags & SWP_NOMOVE))
    {
        RECT area;
        if (GetSystemMetrics(SM_CMONITORS) >= 2)
            area = virtualScreen();
        else
            SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
        int w = (pos->flags & SWP_NOSIZE) ? width_ : pos->cx;
        int h = (pos->flags & SWP_NOSIZE) ? height_ : pos->cy;
        int x = std::max(static_cast<int>(area.left), std::min(pos->x, static_cast<int>(area.right) - w));
        int y = std::max(static_cast<int>(area.top), std::min(pos->y, static_cast<int>(area.bottom) - h));
        if (x != pos->x || y != pos->y)
        {
            pos->x = x;
            pos->y = y;
            pos->flags &= ~SWP_NOMOVE;
        }
    }
    fire(EVENT_POS_CHANGING);
}

void Window::onClose()
{
    if (closed_)
        return;
    closeVetoed_ = false;
    fire(EVENT_CLOSE);
    if (closeVetoed_)
        return;
    setVisible(false, false);
    if (inClipboardChain_)
    {
        ChangeClipboardChain(handle_, nextClipboardViewer_);
        inClipboardChain_ = false;
    }
    keepTrayIcon_ = false;
    removeTrayIcon();
    closed_ = true;
}

// --- painting ---------------------------------------------------------------------------------------

void Window::paintBackground(HDC dc)
{
    RECT client;
    GetClientRect(handle_, &client);
    int w = std::max(1, static_cast<int>(client.right)), h = std::max(1, static_cast<int>(client.bottom));
    bool fits = bufferDc_ && w <= bufferWidth_ && h <= bufferHeight_;
    bool wasteful = bufferDc_ && static_cast<double>(w) * h < 0.7 * bufferWidth_ * bufferHeight_;
    if (!fits || wasteful)
    {
        if (bufferDc_)
        {
            SelectObject(bufferDc_, bufferOld_);
            DeleteObject(bufferBitmap_);
            DeleteDC(bufferDc_);
        }
        bufferDc_ = CreateCompatibleDC(dc);
        bufferBitmap_ = CreateCompatibleBitmap(dc, w, h);
        bufferOld_ = SelectObject(bufferDc_, bufferBitmap_);
        bufferWidth_ = w;
        bufferHeight_ = h;
    }
    HBRUSH brush = CreateSolidBrush(background_);
    RECT all{0, 0, w, h};
    FillRect(bufferDc_, &all, brush);
    DeleteObject(brush);
    // Children paint themselves; leaving them out of the copy keeps them from flickering.
    int saved = SaveDC(dc);
    for (HWND child = GetWindow(handle_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    {
        if (!IsWindowVisible(child))
            continue;
        RECT r;
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, handle_, reinterpret_cast<POINT*>(&r), 2);
        ExcludeClipRect(dc, r.left, r.top, r.right, r.bottom);
    }
    BitBlt(dc, 0, 0, w, h, bufferDc_, 0, 0, SRCCOPY);
    RestoreDC(dc, saved);
}

// --- the message hook -------------------------------------------------------------------------------

bool Window::handleMessage(LRESULT* result, UINT message, WPARAM wParam, LPARAM lParam)
{
    *result = 0;
    // A pointer in wParam that this process did not list comes from another program.
    bool posted = false;
    switch (message)
    {
    case MSG_REQUEST:
    case MSG_SHOW_MESSAGE:
    case MSG_SHOW_ERROR:
    case MSG_ASK_QUESTION:
    case MSG_REGISTER_HOT_KEY:
    case MSG_UNREGISTER_HOT_KEY:
        if (!claimPayload(reinterpret_cast<const void*>(wParam), &posted))
            return true;
        break;
    default:
        break;
    }
    switch (message)
    {
    case MSG_REQUEST:
    {
        RequestBlock* block = reinterpret_cast<RequestBlock*>(wParam);
        if (!block)
            return true;
        for (int i = 0; i < 4; ++i)
            request_[i] = block->values[i];
        if (posted)
            delete block;
        requestResult_ = 0;
        fire(EVENT_REQUEST);
        *result = requestResult_;
        return true;
    }
    case MSG_TRAY_CALLBACK:
        switch (lParam)
        {
        case WM_MOUSEMOVE:
            if (hideCursor_)
                SetCursor(LoadCursorW(nullptr, IDC_ARROW));
            break;
        case WM_LBUTTONDOWN:
            if (trayClickToggles_)
            {
                if (iconized_)
                    restore();
                else if (active_ || (deactivatedAt_ && GetTickCount() - deactivatedAt_ <= 150))
                    iconize();
                else
                {
                    activate(true);
                    if (isMinimized())
                        restore();
                }
            }
            fire(EVENT_TRAY_LEFT_DOWN);
            break;
        case WM_RBUTTONDOWN:
            fire(EVENT_TRAY_RIGHT_DOWN);
            break;
        default:
            break;
        }
        return true;
    case MSG_ACTIVATE:
        if (iconized_ || isMinimized())
            restore();
        activate(true);
        return true;
    case MSG_SHOW_MESSAGE:
        AfxShowMessageBox(handle_, reinterpret_cast<const wchar_t*>(wParam), AfxGetAppName(),
                          MB_ICONINFORMATION);
        return true;
    case MSG_SHOW_ERROR:
        AfxShowMessageBox(handle_, reinterpret_cast<const wchar_t*>(wParam), AfxGetAppName(), MB_ICONERROR);
        return true;
    case MSG_ASK_QUESTION:
        *result = AfxShowMessageBox(handle_, reinterpret_cast<const wchar_t*>(wParam), AfxGetAppName(),
                                    MB_YESNO | MB_ICONQUESTION) == IDYES
                      ? 1
                      : 0;
        return true;
    case MSG_USER7:
        fire(EVENT_USER7);
        return true;
    case MSG_REGISTER_HOT_KEY:
        *result = onRegisterHotKey(reinterpret_cast<void*>(wParam));
        return true;
    case MSG_UNREGISTER_HOT_KEY:
    {
        const wchar_t* name = reinterpret_cast<const wchar_t*>(wParam);
        for (size_t i = 0; i < hotKeys_.size(); ++i)
        {
            if (hotKeys_[i].name == name)
            {
                UnregisterHotKey(handle_, hotKeys_[i].atom);
                GlobalDeleteAtom(hotKeys_[i].atom);
                hotKeys_.erase(hotKeys_.begin() + static_cast<std::ptrdiff_t>(i));
                break;
            }
        }
        return true;
    }
    case MSG_UNREGISTER_ALL_HOT_KEYS:
        for (const HotKey& k : hotKeys_)
        {
            UnregisterHotKey(handle_, k.atom);
            GlobalDeleteAtom(k.atom);
        }
        hotKeys_.clear();
        return true;
    case MSG_START_TIMER:
        SetTimer(handle_, USER_TIMER_BASE + wParam, static_cast<UINT>(lParam), nullptr);
        return true;
    case MSG_STOP_TIMER:
        KillTimer(handle_, USER_TIMER_BASE + wParam);
        return true;
    case MSG_STOP_HOVER:
        stopHover(wParam != 0);
        return true;
    case MSG_BEGIN_CAPTURE:
        beginCapture();
        return true;
    case WM_HOTKEY:
        lastHotKey_ = static_cast<ATOM>(wParam);
        fire(EVENT_HOT_KEY);
        return true;
    case WM_CLOSE:
        onClose();
        return true;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_CLOSE && hideToTrayOnClose_ && !iconized_)
        {
            iconize();
            return true;
        }
        return false;
    case WM_ERASEBKGND:
        paintBackground(reinterpret_cast<HDC>(wParam));
        *result = 1;
        return true;
    case WM_PRINTCLIENT:
        if (wParam)
        {
            RECT all;
            GetClientRect(handle_, &all);
            HBRUSH brush = CreateSolidBrush(background_);
            FillRect(reinterpret_cast<HDC>(wParam), &all, brush);
            DeleteObject(brush);
        }
        return true;
    case WM_PAINT:
        if (frameDrawer_)
        {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(handle_, &ps);
            RECT r;
            GetWindowRect(handle_, &r);
            frameDrawer_->paintFrame(this, dc, r.right - r.left, r.bottom - r.top);
            EndPaint(handle_, &ps);
            return true;
        }
        return false;
    case WM_NCPAINT:
        return frameDrawer_ != nullptr;
    case WM_NCCALCSIZE:
        return frameDrawer_ != nullptr;
    case WM_NCACTIVATE:
    case 0xAE:
        if (frameDrawer_)
        {
            *result = 1;
            return true;
        }
        return false;
    case WM_NCHITTEST:
    {
        LRESULT hit = DefWindowProcW(handle_, message, wParam, lParam);
        RECT r;
        GetWindowRect(handle_, &r);
        int x = GET_X_LPARAM(lParam) - r.left, y = GET_Y_LPARAM(lParam) - r.top;
        bool rightHeld = (GetAsyncKeyState(VK_RBUTTON) & 0x8000) != 0;
        *result = adjustHitTest(hit, frameDrawer_ != nullptr, x, y, r.right - r.left, r.bottom - r.top,
                                dragByClientArea_, rightHeld);
        return true;
    }
    case WM_NCMOUSEMOVE:
    case WM_MOUSEMOVE:
        startHover();
        fire(EVENT_MOUSE_MOVE);
        return false;
    case WM_LBUTTONDOWN:
        fire(EVENT_LEFT_DOWN);
        SetFocus(handle_);
        return true;
    case WM_NCLBUTTONDOWN:
        fire(EVENT_LEFT_DOWN);
        return false;
    case WM_LBUTTONUP:
    case WM_NCLBUTTONUP:
        fire(EVENT_LEFT_UP);
        return false;
    case WM_LBUTTONDBLCLK:
    case WM_NCLBUTTONDBLCLK:
        fire(EVENT_DOUBLE_CLICK);
        return true;
    case WM_RBUTTONDOWN:
        fire(EVENT_RIGHT_DOWN);
        return false;
    case WM_RBUTTONUP:
        fire(EVENT_RIGHT_UP);
        return false;
    case WM_MBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
        fire(EVENT_MIDDLE_DOWN);
        if (middleClickAction_ == ACTION_CLOSE)
            close();
        else if (middleClickAction_ == ACTION_ICONIZE)
            iconize();
        return true;
    case WM_MOUSEWHEEL:
    {
        POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        for (int i = 0; i < getChildCount(); ++i)
        {
            IComponent* child = getChild(i);
            HWND ch = Toolkit::handleOf(child);
            if (ch && Box::acceptsWheel(child) && child->isVisible() && child->containsScreenPoint(p.x, p.y))
            {
                if (SendMessageW(ch, message, wParam, lParam) == 0)
                    return true;
            }
        }
        if (listeners_[EVENT_WHEEL - 1].count() > 0)
        {
            UINT lines = 3;
            SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
            wheelLines_ =
                GET_WHEEL_DELTA_WPARAM(wParam) < 0 ? -static_cast<int>(lines) : static_cast<int>(lines);
            fire(EVENT_WHEEL);
        }
        return true;
    }
    case WM_SIZING:
        onSizing(wParam, reinterpret_cast<RECT*>(lParam));
        *result = TRUE;
        return true;
    case WM_WINDOWPOSCHANGING:
        onPosChanging(reinterpret_cast<WINDOWPOS*>(lParam));
        return false;
    case WM_WINDOWPOSCHANGED:
    {
        const WINDOWPOS* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
        if (!IsIconic(handle_))
        {
            RECT r;
            GetWindowRect(handle_, &r);
            x_ = r.left;
            y_ = r.top;
            width_ = r.right - r.left;
            height_ = r.bottom - r.top;
            if (!(hoverRunning_ && hoverMode_ == 2))
                doLayout();
        }
        if (!(pos->flags & SWP_NOMOVE))
            fire(EVENT_MOVED);
        rememberBounds();
        return false;
    }
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_ACTIVE || LOWORD(wParam) == WA_CLICKACTIVE)
        {
            if (hideCursor_)
                SetCursor(nullptr);
            if (owner_)
                ShowWindow(owner_, SW_SHOW);
            active_ = true;
            fire(EVENT_ACTIVATED);
        }
        else
        {
            fire(EVENT_DEACTIVATED);
            if (active_)
            {
                deactivatedAt_ = GetTickCount();
                active_ = false;
            }
        }
        return false;
    case WM_KEYDOWN:
        lastKey_ = static_cast<int>(wParam);
        fire(EVENT_KEY_DOWN);
        return wParam == VK_RETURN;
    case WM_GETDLGCODE:
        *result = DefWindowProcW(handle_, message, wParam, lParam) | DLGC_WANTALLKEYS;
        return true;
    case WM_SETCURSOR:
        if (hideCursor_ && shown_)
        {
            SetCursor(nullptr);
            *result = TRUE;
            return true;
        }
        return false;
    case WM_CAPTURECHANGED:
        if (captureActive_)
        {
            captureActive_ = false;
            POINT p;
            GetCursorPos(&p);
            captureEndX_ = p.x;
            captureEndY_ = p.y;
            fire(EVENT_CAPTURE_ENDED);
        }
        return false;
    case WM_POWERBROADCAST:
        if (wParam == PBT_APMSUSPEND)
            suspendedPower_ = true;
        else if (wParam == PBT_APMRESUMESUSPEND || wParam == PBT_APMRESUMEAUTOMATIC)
            suspendedPower_ = false;
        *result = TRUE;
        return true;
    case WM_ENDSESSION:
        if (wParam && lParam == 0)
        {
            sessionEnding_ = true;
            close();
        }
        return true;
    case WM_DRAWCLIPBOARD:
        fire(EVENT_CLIPBOARD_CHANGED);
        if (nextClipboardViewer_)
            SendMessageW(nextClipboardViewer_, message, wParam, lParam);
        return true;
    case WM_CHANGECBCHAIN:
        if (reinterpret_cast<HWND>(wParam) == nextClipboardViewer_)
            nextClipboardViewer_ = reinterpret_cast<HWND>(lParam);
        else if (nextClipboardViewer_)
            SendMessageW(nextClipboardViewer_, message, wParam, lParam);
        return true;
    case WM_TIMER:
        if (wParam >= USER_TIMER_BASE)
        {
            lastTimerId_ = static_cast<int>(wParam - USER_TIMER_BASE);
            fire(EVENT_TIMER);
        }
        else if (wParam >= TIMER_FADE_WAIT && wParam <= TIMER_SHRINK)
        {
            hoverTimer(static_cast<UINT>(wParam));
        }
        return true;
    case WM_DESTROY:
        if (inClipboardChain_)
        {
            ChangeClipboardChain(handle_, nextClipboardViewer_);
            inClipboardChain_ = false;
        }
        return ContainerBase<IWindow>::handleMessage(result, message, wParam, lParam);
    default:
        return ContainerBase<IWindow>::handleMessage(result, message, wParam, lParam);
    }
}

void Window::afterDefault(UINT message, WPARAM wParam, LPARAM, LRESULT)
{
    if (message != WM_SIZE)
        return;
    if (wParam == SIZE_RESTORED)
    {
        if (maximized_)
        {
            maximized_ = false;
            doLayout();
            if (settings_)
                settings_->setMaximized(false);
        }
        fire(EVENT_RESTORED);
    }
    else if (wParam == SIZE_MINIMIZED || wParam == SIZE_MAXIMIZED)
    {
        maximized_ = wParam == SIZE_MAXIMIZED;
        if (maximized_)
            doLayout();
        if (settings_)
        {
            settings_->setMaximized(maximized_);
            settings_->setBounds(normalX_, normalY_, normalWidth_, normalHeight_);
        }
    }
    fire(EVENT_SIZED);
}

} // namespace s::gui::win
