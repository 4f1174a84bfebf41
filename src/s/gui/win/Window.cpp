#include "s/gui/win/Window.h"

#include <shellapi.h>
#include <windowsx.h>

#include "mfc/afxwin.h"
#include "s/gui/IMenuEx.h"
#include "s/gui/IWindowSettings.h"
#include "s/gui/drawer/IFrameDrawer.h"
#include "s/gui/drawer/ISkin.h"
#include "s/gui/drawer/Skinner.h"
#include "s/gui/layout/Vertical.h"
#include "s/gui/win/Box.h"
#include "s/gui/win/MessageBoxW.h"
#include "s/gui/win/UIThread.h"
#include "s/lang/Localizer.h"
#include "s/gui/win/WindowParts.h"
#include "s/thread/ObjLocker.h"

namespace s::gui::win
{
using namespace windowparts;

namespace
{

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
            MessageBoxW::showError(text);
            return nullptr;
        }
        fn = reinterpret_cast<SetLayeredWindowAttributesFn>(
            reinterpret_cast<void*>(GetProcAddress(user32, "SetLayeredWindowAttributes")));
        looked = true;
    }
    return fn;
}

// Takes `window` out of the topmost windows.
void leaveTopmost(HWND window, HWND owner, UINT flags)
{
    SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 0, 0, flags);
    if (!owner || !(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST))
        return;
    // Wine keeps an owned window above its owner: when the owner is topmost too (Wine makes
    // it so with its owned window), or is the first window under the topmost ones (it is
    // shown on every activation), the place above it is among the topmost windows and the
    // window stays there. The hidden owner leaves the topmost windows first and goes to the
    // bottom; then the window follows the request.
    SetWindowPos(owner, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SetWindowPos(owner, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 0, 0, flags);
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
    // The owner is done with the window and its listeners may already be gone, so the
    // hiding and destruction below fire nothing (deactivation, position changes, ...).
    releasing_.store(true);
    if (thread_ && handle_ && !threadAnswers())
        abandonHungThread();
    if (children_)
        removeAll(true);
    setLocalizer(nullptr);
    if (skinner_)
        skinner_->unregisterComponent(self());
    unregisterAllHotKeys();
    if (handle_)
    {
        removeTrayIcon();
        Toolkit::sendPrivate(handle_, MSG_CLOSE_QUIETLY, 0, 0);
    }
    if (owner_)
        Toolkit::sendPrivate(owner_, MSG_CLOSE_QUIETLY, 0, 0);
    if (thread_)
    {
        // Stopped from its own thread (a listener released the window), the thread
        // deletes its own object when its loop ends.
        if (thread_->stop() || GetCurrentThreadId() != thread_->m_nThreadID)
            delete thread_;
        thread_ = nullptr;
    }
    // Requests posted but never served went with the window's message queue.
    dropPostedRequests();
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
    if (skinner_)
        setSkinner(nullptr);
    statusBar_ = nullptr;
    menuBar_ = nullptr;
    trayMenu_ = popupMenu_ = nullptr;
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

    int systemDpi = Toolkit::dpiOf(nullptr);
    HWND h = Toolkit::create(this, WS_EX_CLIENTEDGE, title_.c_str(), WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                             CW_USEDEFAULT, Toolkit::scale(240, systemDpi), Toolkit::scale(120, systemDpi), owner_,
                             nullptr);
    if (!h)
    {
        handle_ = nullptr;
        Toolkit::showCreationFailed();
        return false;
    }
    handle_ = h;
    dpi_ = Toolkit::dpiOf(h);
    if (menuBar_)
        attachMenuBar();
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
    if (releasing_.load())
        return;
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
    int w = width_;
    if (handle_)
    {
        RECT r;
        GetClientRect(handle_, &r);
        w = r.right;
    }
    return std::max(0, w - 2 * frameInset());
}

int Window::getClientHeight()
{
    int h = height_;
    if (handle_)
    {
        RECT r;
        GetClientRect(handle_, &r);
        h = r.bottom;
    }
    return std::max(0, h - 2 * frameInset());
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
    if (carryLayout())
        return;
    ILayoutManager* manager = manager_ ? manager_ : layout::Vertical::Shared();
    laidOutWidth_ = getClientWidth();
    laidOutHeight_ = getClientHeight();
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

void Window::setMenuBar(IMenuEx* menuBar)
{
    menuBar_ = menuBar;
    if (onOtherThread())
        Toolkit::sendPrivate(handle_, MSG_ATTACH_MENU_BAR, 0, 0);
    else
        attachMenuBar();
}

void Window::attachMenuBar()
{
    if (!handle_)
        return;
    SetMenu(handle_, menuBar_ ? menuBar_->getMenuHandle() : nullptr);
    DrawMenuBar(handle_);
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
        // Whatever was saved, the window opens wholly on a screen (moveIntoScreen: the
        // nearest monitor's work area).
        moveIntoScreen();
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
            leaveTopmost(handle_, owner_, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
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
    // The children move inside the frame line (or back to the edge without one).
    for (int i = 0; i < getChildCount(); ++i)
        getChild(i)->setOrigin(childOriginX(), childOriginY());
    if (handle_)
        doLayout();
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
        if (on)
            SetWindowPos(handle_, HWND_TOPMOST, 0, 0, 0, 0, flags);
        else
            leaveTopmost(handle_, owner_, flags);
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

void Window::setSkinner(drawer::Skinner* skinner)
{
    if (skinner_ == skinner)
        return;
    if (skinner_)
        skinner_->unregisterComponent(self());
    skinner_ = skinner;
    if (!skinner_)
    {
        setFrameDrawer(nullptr, false);
        return;
    }
    skinner_->registerComponent(self());
    applySkin();
}

void Window::applySkin()
{
    drawer::ISkin* skin = skinner_ ? skinner_->getCurrentSkin() : nullptr;
    if (!skin)
        return;
    uint32_t colour = skin->getBackgroundColour();
    background_ = colour;
    transparent_ = false;
    setFrameDrawer(skin->getFrameDrawer(), false);
    if (handle_)
        RedrawWindow(handle_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
}

void Window::handleEvent(void* source, int kind)
{
    if (skinner_ && source == static_cast<void*>(skinner_))
    {
        applySkin();
        return;
    }
    if (!localizer_ || source != static_cast<void*>(localizer_))
        return;
    refreshTitle();
    if (releasing_.load())
        return;
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
        Toolkit::sendPrivate(handle_, MSG_BEGIN_CAPTURE, 0, 0);
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

void Window::setFirstFocus(IComponent* component)
{
    firstFocus_ = component != nullptr ? Toolkit::handleOf(component) : nullptr;
}

void Window::sendTab()
{
    if (handle_)
        SendMessageW(handle_, WM_KEYDOWN, VK_TAB, 0);
}

// --- painting ---------------------------------------------------------------------------------------

void Window::paintClient(HDC dc, int w, int h)
{
    // With a frame drawer the client area is the whole window, frame included.
    if (frameDrawer_)
    {
        frameDrawer_->paintFrame(this, dc, w, h);
        return;
    }
    HBRUSH brush = CreateSolidBrush(background_);
    RECT all{0, 0, w, h};
    FillRect(dc, &all, brush);
    DeleteObject(brush);
}

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
    paintClient(bufferDc_, w, h);
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

} // namespace s::gui::win
