#pragma once
#include <windows.h>

// What the files of Window (Window.cpp, WindowMessages.cpp, WindowPlacement.cpp,
// WindowRequests.cpp) share; not for use outside them.

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
