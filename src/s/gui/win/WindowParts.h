#pragma once
#include <windows.h>

// What the files of Window (Window.cpp, WindowMessages.cpp, WindowPlacement.cpp,
// WindowRequests.cpp) share, and the one message the toolkit's default processing sends a
// window (Toolkit.cpp); not for use elsewhere.

namespace s::gui::win::windowparts
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

// Window: a part of its tree that the user does not operate (a box, a label nobody listens
// to, a group box, ...) passes a button press on to its top-level window, as a press on
// the window itself. wParam: WM_LBUTTONDOWN or WM_MBUTTONDOWN; lParam: the point on the
// screen. Answers 1 when the window took the press (it began to move the window, or ran
// the middle-click action), 0 when the part keeps it. In the toolkit's private range.
constexpr UINT MSG_CHILD_PRESS = WM_APP + 32;

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

// The rectangle that spans every monitor.
inline RECT virtualScreen()
{
    int x = GetSystemMetrics(SM_XVIRTUALSCREEN);
    int y = GetSystemMetrics(SM_YVIRTUALSCREEN);
    return RECT{x, y, x + GetSystemMetrics(SM_CXVIRTUALSCREEN), y + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

} // namespace s::gui::win::windowparts
