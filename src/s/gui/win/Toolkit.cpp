#include "s/gui/win/Toolkit.h"

#include <windowsx.h>

#include "mfc/afxwin.h"
#include "s/gui/IComponent.h"
#include "s/gui/win/MessageBoxW.h"
#include "s/gui/win/Messages.h"
#include "s/gui/win/WindowParts.h"
#include "s/thread/ObjLocker.h"

#include <vector>

namespace s::gui::win
{
namespace
{

thread::ObjLocker& registerLock()
{
    static thread::ObjLocker lock;
    return lock;
}
bool g_registered = false;

// Relayed WM_COMMAND notification codes.
UINT reflectedCommand(UINT code)
{
    switch (code)
    {
    case 0:
        return MSG_REFLECT_CLICKED;
    case 1:
        return MSG_REFLECT_SEL_CHANGE;
    case 5:
        return MSG_REFLECT_DOUBLE_CLICKED;
    case 7:
        return MSG_REFLECT_DROP_DOWN;
    case 8:
        return MSG_REFLECT_CLOSE_UP;
    case 0x200:
        return MSG_REFLECT_KILL_FOCUS;
    case 0x300:
        return MSG_REFLECT_CHANGE;
    default:
        return 0;
    }
}

// Relayed WM_NOTIFY codes; `zeroResult` when the relay answers 0 itself.
UINT reflectedNotify(int code, bool* zeroResult)
{
    *zeroResult = false;
    switch (code)
    {
    case -12:
        return MSG_REFLECT_CUSTOM_DRAW;
    case -100:
        return MSG_REFLECT_NOTIFY100;
    case -101:
        *zeroResult = true;
        return MSG_REFLECT_NOTIFY101;
    case -108:
        return MSG_REFLECT_NOTIFY108;
    case -109:
        *zeroResult = true;
        return MSG_REFLECT_NOTIFY109;
    case -115:
        *zeroResult = true;
        return MSG_REFLECT_NOTIFY115;
    case -176:
        return MSG_REFLECT_NOTIFY176;
    case -310:
        return MSG_REFLECT_NOTIFY310;
    case -311:
        return MSG_REFLECT_NOTIFY311;
    case -551:
        return MSG_REFLECT_NOTIFY551;
    default:
        return 0;
    }
}

// Private messages in flight, listed by their senders (see sendPrivate).
struct PrivateMessage
{
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    bool posted;
};

struct PrivateList
{
    thread::ObjLocker lock;
    std::vector<PrivateMessage> entries;
};

// Made once and never destroyed: windows of other threads may still be served while
// the process ends.
PrivateList& privateList()
{
    static PrivateList* list = new PrivateList();
    return *list;
}

void listPrivate(HWND window, UINT message, WPARAM wParam, LPARAM lParam, bool posted)
{
    PrivateList& list = privateList();
    thread::ObjLocker::Guard guard(list.lock);
    list.entries.push_back(PrivateMessage{window, message, wParam, lParam, posted});
}

void unlistPrivate(HWND window, UINT message, WPARAM wParam, LPARAM lParam, bool posted)
{
    PrivateList& list = privateList();
    thread::ObjLocker::Guard guard(list.lock);
    for (auto it = list.entries.begin(); it != list.entries.end(); ++it)
    {
        if (it->window == window && it->message == message && it->wParam == wParam && it->lParam == lParam &&
            it->posted == posted)
        {
            list.entries.erase(it);
            return;
        }
    }
}

// Forgets the posted messages that a destroyed window will never serve.
void forgetPosted(HWND window)
{
    PrivateList& list = privateList();
    thread::ObjLocker::Guard guard(list.lock);
    std::erase_if(list.entries, [window](const PrivateMessage& m) { return m.posted && m.window == window; });
}

} // namespace

LRESULT Toolkit::sendPrivate(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!window)
        return 0;
    listPrivate(window, message, wParam, lParam, false);
    LRESULT result = SendMessageW(window, message, wParam, lParam);
    unlistPrivate(window, message, wParam, lParam, false);
    return result;
}

bool Toolkit::postPrivate(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!window)
        return false;
    listPrivate(window, message, wParam, lParam, true);
    if (PostMessageW(window, message, wParam, lParam))
        return true;
    unlistPrivate(window, message, wParam, lParam, true);
    return false;
}

bool Toolkit::isPrivateMessage(UINT message)
{
    if (message >= MSG_TOOLKIT_APP_FIRST && message <= MSG_TOOLKIT_APP_LAST)
        return true;
    switch (message)
    {
    case MSG_REQUEST:
    case MSG_SHOW_MESSAGE:
    case MSG_SHOW_ERROR:
    case MSG_ASK_QUESTION:
    case MSG_REGISTER_HOT_KEY:
    case MSG_UNREGISTER_HOT_KEY:
    case MSG_UNREGISTER_ALL_HOT_KEYS:
    case MSG_DESTROY_NATIVE:
    case MSG_START_TIMER:
    case MSG_STOP_TIMER:
    case MSG_STOP_HOVER: // also MSG_URL_DROPPED of a box
    case MSG_BEGIN_CAPTURE:
        return true;
    default:
        return false;
    }
}

bool Toolkit::admitPrivate(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    PrivateList& list = privateList();
    thread::ObjLocker::Guard guard(list.lock);
    for (auto it = list.entries.begin(); it != list.entries.end(); ++it)
    {
        if (it->window == window && it->message == message && it->wParam == wParam && it->lParam == lParam)
        {
            if (it->posted)
                list.entries.erase(it);
            return true;
        }
    }
    return false;
}

int Toolkit::scale(int pixels, int dpi)
{
    if (pixels <= 0 || dpi <= 0 || dpi == BASE_DPI)
        return pixels;
    return MulDiv(pixels, dpi, BASE_DPI);
}

int Toolkit::dpiOf(HWND window)
{
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    static const GetDpiForWindowFn forWindow = reinterpret_cast<GetDpiForWindowFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    if (window && forWindow)
    {
        if (UINT dpi = forWindow(window))
            return static_cast<int>(dpi);
    }
    HDC screen = GetDC(nullptr);
    int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : BASE_DPI;
    if (screen)
        ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : BASE_DPI;
}

int Toolkit::metric(int index, int dpi)
{
    using MetricsForDpiFn = int(WINAPI*)(int, UINT);
    static const MetricsForDpiFn forDpi = reinterpret_cast<MetricsForDpiFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetSystemMetricsForDpi")));
    if (dpi <= 0)
        dpi = BASE_DPI;
    if (forDpi)
        return forDpi(index, static_cast<UINT>(dpi));
    // Before Windows 10 1607 the metrics are those of the system's DPI.
    static const int systemDpi = dpiOf(nullptr);
    return MulDiv(GetSystemMetrics(index), dpi, systemDpi);
}

bool Toolkit::registerClass()
{
    thread::ObjLocker::Guard guard(registerLock());
    if (g_registered)
        return true;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.style = CS_GLOBALCLASS;
    wc.lpfnWndProc = &Toolkit::windowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    wc.lpszClassName = CLASS_NAME;
    if (RegisterClassExW(&wc) || GetLastError() == ERROR_CLASS_ALREADY_EXISTS)
    {
        g_registered = true;
        return true;
    }
    MessageBoxW::showWarning(L"Window Registration Failed!", L"Error!");
    return false;
}

HWND Toolkit::create(NativeTarget* target, DWORD exStyle, const wchar_t* title, DWORD style, int x, int y,
                     int width, int height, HWND parent, HMENU idOrMenu)
{
    if (!registerClass())
        return nullptr;
    return CreateWindowExW(exStyle, CLASS_NAME, title ? title : L"", style, x, y, width, height, parent,
                           idOrMenu, GetModuleHandleW(nullptr), target);
}

namespace
{
// What the toolkit keeps for a platform control it routes: the component and the control's
// own window procedure. Held in the control's user data, which the platform reads without
// asking the window server (a window property costs a server round trip, and every
// message to the control needs the procedure). Freed when the control is destroyed.
struct ControlBinding
{
    NativeTarget* target;
    WNDPROC original;
};
} // namespace

HWND Toolkit::createControl(NativeTarget* target, DWORD exStyle, const wchar_t* className,
                            const wchar_t* text, DWORD style, int x, int y, int width, int height,
                            HWND parent, HMENU id)
{
    HWND h = CreateWindowExW(exStyle, className, text ? text : L"", style, x, y, width, height, parent, id,
                             GetModuleHandleW(nullptr), nullptr);
    if (!h)
        return nullptr;
    if (target)
    {
        target->bindHandle(h);
        ControlBinding* binding =
            new ControlBinding{target, reinterpret_cast<WNDPROC>(GetWindowLongPtrW(h, GWLP_WNDPROC))};
        SetWindowLongPtrW(h, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(binding));
        SetWindowLongPtrW(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Toolkit::controlProc));
    }
    return h;
}

namespace
{
bool hasNoFrame(HWND window)
{
    const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
    const LONG_PTR exStyle = GetWindowLongPtrW(window, GWL_EXSTYLE);
    return (style & WS_CHILD) != 0 && (style & (WS_BORDER | WS_DLGFRAME | WS_THICKFRAME | WS_VSCROLL | WS_HSCROLL)) == 0 &&
           (exStyle & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE | WS_EX_WINDOWEDGE | WS_EX_DLGMODALFRAME)) == 0;
}
} // namespace

LRESULT CALLBACK Toolkit::controlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    ControlBinding* binding = reinterpret_cast<ControlBinding*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!binding)
        return DefWindowProcW(window, message, wParam, lParam);
    WNDPROC original = binding->original;
    NativeTarget* target = binding->target;
    if (message == WM_NCDESTROY)
    {
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        forgetPosted(window);
        delete binding;
    }
    // A toolkit number that this process did not send is the control's own business
    // (a control's own WM_USER messages share the numbers) or another program's.
    if (target && isPrivateMessage(message) && !admitPrivate(window, message, wParam, lParam))
        target = nullptr;
    if (target)
    {
        LRESULT result = 0;
        if (target->handleMessage(&result, message, wParam, lParam))
            return result;
    }
    // A control without border or scroll bars has no frame either: the buttons' own default
    // took a window DC for nothing (about 0.4 ms a check box at every full paint under Wine).
    if (message == WM_NCPAINT && hasNoFrame(window))
        return 0;
    LRESULT result = original ? CallWindowProcW(original, window, message, wParam, lParam)
                              : DefWindowProcW(window, message, wParam, lParam);
    if (target && message != WM_NCDESTROY)
        target->afterDefault(message, wParam, lParam, result);
    return result;
}

void Toolkit::showCreationFailed()
{
    MessageBoxW::showWarning(L"Window Creation Failed!", L"Error!");
}

NativeTarget* Toolkit::targetOf(IComponent* component)
{
    return component ? dynamic_cast<NativeTarget*>(component) : nullptr;
}

HWND Toolkit::handleOf(IComponent* component)
{
    NativeTarget* target = targetOf(component);
    return target ? target->getHandle() : nullptr;
}

HWND Toolkit::hostOf(IComponent* component)
{
    NativeTarget* target = targetOf(component);
    return target ? target->getHostHandle() : nullptr;
}

namespace
{
// Hands a button press in a child window (lParam of the button message) to its top-level
// window as a press on the window itself; answers whether the window took it.
bool passPressToWindow(HWND window, UINT message, LPARAM lParam)
{
    if (!(GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD))
        return false;
    HWND top = GetAncestor(window, GA_ROOT);
    if (!top || top == window)
        return false;
    POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ClientToScreen(window, &p);
    return Toolkit::sendPrivate(top, windowparts::MSG_CHILD_PRESS, message, MAKELPARAM(p.x, p.y)) != 0;
}
} // namespace

LRESULT Toolkit::defaultProcessing(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_NCPAINT:
        // A child without border or scroll bars has no frame to draw, but the default still
        // takes a window DC and walks the frame's parts: at every full paint, for every
        // toolkit window of the tree.
        if (hasNoFrame(window))
            return 0;
        break;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case 0x0019: // WM_CTLCOLOR of old
        if (lParam)
            return sendPrivate(reinterpret_cast<HWND>(lParam), MSG_REFLECT_CTL_COLOR, wParam, lParam);
        break;
    case WM_COMMAND:
    {
        UINT code = HIWORD(wParam);
        HWND control = reinterpret_cast<HWND>(lParam);
        if (!control)
            break; // menus and accelerators
        if (UINT relay = reflectedCommand(code))
        {
            sendPrivate(control, relay, wParam, lParam);
            return 0;
        }
        break;
    }
    case WM_NOTIFY:
    {
        const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
        if (!header)
            break;
        bool zeroResult = false;
        if (UINT relay = reflectedNotify(static_cast<int>(header->code), &zeroResult))
        {
            LRESULT r = sendPrivate(header->hwndFrom, relay, wParam, lParam);
            return zeroResult ? 0 : r;
        }
        break;
    }
    case WM_HSCROLL:
        if (lParam)
            return SendMessageW(reinterpret_cast<HWND>(lParam), WM_HSCROLL, wParam, lParam);
        break;
    case WM_SETCURSOR:
        if (!DefWindowProcW(window, message, wParam, lParam))
            SetCursor(LoadCursorW(nullptr, IDC_ARROW));
        return TRUE;
    case WM_LBUTTONDOWN:
    case WM_MBUTTONDOWN:
        // No part took the press here: it lands on the window's surface (a box that only
        // lays out or draws, a label nobody listens to, a group box, ...), which belongs to
        // the window, so that dragging it moves the window and a middle click runs the
        // window's action wherever the pointer is.
        if (passPressToWindow(window, message, lParam))
            return 0;
        if (message == WM_LBUTTONDOWN)
            SendMessageW(window, WM_ACTIVATE, WA_CLICKACTIVE, 0);
        break;
    case WM_INITMENU:
        SendMessageW(window, WM_ACTIVATE, WA_CLICKACTIVE, 0);
        break;
    case WM_INITMENUPOPUP:
    {
        MENUINFO info{};
        info.cbSize = sizeof(info);
        info.fMask = MIM_MENUDATA;
        HMENU menu = reinterpret_cast<HMENU>(wParam);
        if (menu && GetMenuInfo(menu, &info) && info.dwMenuData)
        {
            HWND owner = reinterpret_cast<HWND>(info.dwMenuData);
            if (owner != window && IsWindow(owner))
                return SendMessageW(owner, message, wParam, lParam);
        }
        break;
    }
    case MSG_CLOSE_QUIETLY:
        return DefWindowProcW(window, WM_CLOSE, 0, 0);
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK Toolkit::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    NativeTarget* target;
    if (message == WM_NCCREATE)
    {
        const CREATESTRUCTW* cs = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        target = static_cast<NativeTarget*>(cs->lpCreateParams);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(target));
        if (target)
            target->bindHandle(window);
    }
    else
    {
        target = reinterpret_cast<NativeTarget*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    }
    if (message == WM_NCDESTROY)
    {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        forgetPosted(window);
    }
    if (isPrivateMessage(message) && !admitPrivate(window, message, wParam, lParam))
        return DefWindowProcW(window, message, wParam, lParam); // not sent by this process
    if (target)
    {
        LRESULT result = 0;
        if (target->handleMessage(&result, message, wParam, lParam))
            return result;
    }
    LRESULT result = defaultProcessing(window, message, wParam, lParam);
    if (target && message != WM_NCDESTROY)
        target->afterDefault(message, wParam, lParam, result);
    return result;
}

} // namespace s::gui::win
