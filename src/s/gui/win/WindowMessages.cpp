#include "s/gui/win/Window.h"

#include <windowsx.h>

#include <algorithm>
#include <iterator>

#include "mfc/afxwin.h"
#include "s/gui/IMenuEx.h"
#include "s/gui/IPopupMenu.h"
#include "s/gui/IWindowSettings.h"
#include "s/gui/drawer/IFrameDrawer.h"
#include "s/gui/win/Box.h"
#include "s/gui/win/CopyData.h"
#include "s/gui/win/MessageBoxW.h"
#include "s/gui/win/WindowParts.h"

namespace s::gui::win
{
using namespace windowparts;

namespace
{
// The WM_COPYDATA block a window of this thread is offering to its listeners.
thread_local const COPYDATASTRUCT* g_copyDataInFlight = nullptr;
} // namespace

const COPYDATASTRUCT* copyDataInFlight()
{
    return g_copyDataInFlight;
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

bool Window::runMenuCommand(int id)
{
    if (menuBar_ && menuBar_->containsId(id))
        menuBar_->runCommand(id);
    else if (trayMenu_ && trayMenu_->containsId(id))
        trayMenu_->runCommand(id);
    else if (popupMenu_ && popupMenu_->containsId(id))
        popupMenu_->runCommand(id);
    else
        return false;
    return true;
}

namespace
{
// A message box modal to `owner`, from the pool for one call.
int showBox(HWND owner, const wchar_t* text, int kind)
{
    MessageBoxW* box = MessageBoxW::Acquire();
    box->setOwner(owner);
    int answer = 0;
    switch (kind)
    {
    case 0:
        box->message(text, nullptr);
        break;
    case 1:
        box->error(text, nullptr);
        break;
    default:
        answer = box->question(text, nullptr) ? 1 : 0;
        break;
    }
    box->Release();
    return answer;
}
} // namespace

// --- the message hook -------------------------------------------------------------------------------

bool Window::handleMessage(LRESULT* result, UINT message, WPARAM wParam, LPARAM lParam)
{
    *result = 0;
    // Private messages reach this point only when this process sent them (Toolkit).
    switch (message)
    {
    case MSG_REQUEST:
    {
        RequestBlock* block = reinterpret_cast<RequestBlock*>(wParam);
        // A posted block belongs to the window until served.
        bool posted = lParam == 1;
        if (!block || (posted && !claimPosted(block)))
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
            if (trayMenu_)
            {
                POINT p;
                GetCursorPos(&p);
                SetForegroundWindow(handle_);
                trayMenu_->showForTray(p.x, p.y, handle_);
                SetForegroundWindow(handle_);
            }
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
        showBox(handle_, reinterpret_cast<const wchar_t*>(wParam), 0);
        return true;
    case MSG_SHOW_ERROR:
        showBox(handle_, reinterpret_cast<const wchar_t*>(wParam), 1);
        return true;
    case MSG_ASK_QUESTION:
        *result = showBox(handle_, reinterpret_cast<const wchar_t*>(wParam), 2);
        return true;
    case 0x02E0: // WM_DPICHANGED: the new DPI and the rectangle suggested for it
        onDpiChanged(LOWORD(wParam), reinterpret_cast<const RECT*>(lParam));
        return true;
    case MSG_ATTACH_MENU_BAR:
        attachMenuBar();
        return true;
    case WM_COMMAND:
        // A menu's command (code 0, no control); an id no menu holds goes on to
        // default processing, as do the notifications of controls.
        if (HIWORD(wParam) == 0 && lParam == 0 && runMenuCommand(LOWORD(wParam)))
            return true;
        return false;
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
    case WM_COPYDATA:
    {
        // Another program's data, offered as a request; the values of a request that this
        // one interrupts (a nested message loop) are put back afterwards.
        int saved[4];
        std::copy(std::begin(request_), std::end(request_), saved);
        const intptr_t savedResult = requestResult_;
        const COPYDATASTRUCT* previous = g_copyDataInFlight;
        request_[0] = REQUEST_COPY_DATA;
        request_[1] = request_[2] = request_[3] = 0;
        requestResult_ = 0;
        g_copyDataInFlight = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        if (g_copyDataInFlight && !closed_.load())
            fire(EVENT_REQUEST);
        *result = requestResult_;
        g_copyDataInFlight = previous;
        std::copy(std::begin(saved), std::end(saved), request_);
        requestResult_ = savedResult;
        return true;
    }
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
            paintClient(reinterpret_cast<HDC>(wParam), all.right, all.bottom);
        }
        return true;
    case WM_PAINT:
        if (frameDrawer_)
        {
            // The frame is part of the client area: the background buffer holds it.
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(handle_, &ps);
            paintBackground(dc);
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
                                dragByClientArea_, rightHeld, dpi_);
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
        if (popupMenu_)
        {
            fire(EVENT_POPUP_OPENING);
            POINT p;
            GetCursorPos(&p);
            popupMenu_->showAt(p.x, p.y, handle_);
            return true;
        }
        return false;
    case WM_RBUTTONUP:
        fire(EVENT_RIGHT_UP);
        return false;
    case MSG_CHILD_PRESS:
        if (wParam != WM_MBUTTONDOWN)
        {
            // A left press on the surface, with drag by client area on and the right
            // button up, is a press on the caption: the platform's move loop follows the
            // pointer until the button is released (event 5 fires on the way).
            if (wParam != WM_LBUTTONDOWN || !dragByClientArea_ || (GetAsyncKeyState(VK_RBUTTON) & 0x8000) != 0)
                return true;
            ReleaseCapture();
            SendMessageW(handle_, WM_NCLBUTTONDOWN, HTCAPTION, lParam);
            *result = 1;
            return true;
        }
        *result = 1;
        [[fallthrough]];
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
            HWND ch = Box::acceptsWheel(child) ? Toolkit::handleOf(child) : nullptr;
            if (ch && child->isVisible() && child->containsScreenPoint(p.x, p.y))
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
            const bool resized = getClientWidth() != laidOutWidth_ || getClientHeight() != laidOutHeight_ ||
                                 (pos->flags & SWP_FRAMECHANGED) != 0;
            if (resized && !(hoverRunning_ && hoverMode_ == 2))
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
            // The default would take the focus from the child that has it, or that had it when
            // the window was left, and give it to the window itself, where Tab reaches nothing.
            HWND focus = GetFocus();
            if (focus != nullptr && IsChild(handle_, focus))
                return true;
            HWND back = focusAtDeactivation_;
            focusAtDeactivation_ = nullptr;
            // Shown within the window (the window itself is not shown yet while showing
            // activates it) and enabled.
            const auto takes = [this](HWND child)
            {
                if (child == nullptr || !IsWindow(child) || !IsChild(handle_, child) || !IsWindowEnabled(child))
                    return false;
                for (HWND h = child; h != nullptr && h != handle_; h = GetParent(h))
                {
                    if (!(GetWindowLongW(h, GWL_STYLE) & WS_VISIBLE))
                        return false;
                }
                return true;
            };
            if (!takes(back))
                back = firstFocus_;
            if (!HIWORD(wParam) && takes(back))
            {
                SetFocus(back);
                return true;
            }
        }
        else
        {
            HWND focus = GetFocus();
            if (focus != nullptr && IsChild(handle_, focus))
                focusAtDeactivation_ = focus;
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
        // The menu bar belongs to its MenuEx, not to the native window.
        if (GetMenu(handle_))
            SetMenu(handle_, nullptr);
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
