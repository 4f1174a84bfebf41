#pragma once
#include <windows.h>

namespace s::gui::win
{

// Private messages of the toolkit. Any thread of this process may send them to a
// toolkit window, through Toolkit::sendPrivate or Toolkit::postPrivate only: the window
// procedures ignore a private message that this process did not send (another program
// may send any number to any top-level window). Three numbers are open to other
// processes on purpose: the tray callback (sent by the shell) and the two knocks of a
// second instance (MSG_ACTIVATE, MSG_USER7); none carries a pointer.
enum : UINT
{
    // WM_APP+1 … WM_APP+63 belong to the toolkit and its widgets and are all private.
    MSG_TOOLKIT_APP_FIRST = WM_APP + 1,
    MSG_TOOLKIT_APP_LAST = WM_APP + 63,

    // Window: close without firing the close events (default WM_CLOSE processing).
    MSG_CLOSE_QUIETLY = WM_APP + 1,
    // Container: attach the IComponent* in wParam as a child (native creation on the
    // container's thread).
    MSG_ATTACH_CHILD = WM_APP + 2,
    // Reflected control notifications, sent by the toolkit class to the child that
    // caused them.
    MSG_REFLECT_CTL_COLOR = WM_APP + 3,
    MSG_REFLECT_CLICKED = WM_APP + 4,        // WM_COMMAND code 0
    MSG_REFLECT_DOUBLE_CLICKED = WM_APP + 5, // code 5
    MSG_REFLECT_NOTIFY101 = WM_APP + 6,      // WM_NOTIFY -101
    MSG_REFLECT_NOTIFY115 = WM_APP + 7,      // WM_NOTIFY -115
    MSG_REFLECT_NOTIFY109 = WM_APP + 8,      // WM_NOTIFY -109
    MSG_REFLECT_NOTIFY176 = WM_APP + 9,      // WM_NOTIFY -176
    MSG_REFLECT_SEL_CHANGE = WM_APP + 10,    // code 1
    MSG_REFLECT_NOTIFY551 = WM_APP + 11,     // WM_NOTIFY -551
    MSG_REFLECT_CHANGE = WM_APP + 12,        // code 0x300
    MSG_REFLECT_NOTIFY108 = WM_APP + 13,     // WM_NOTIFY -108
    MSG_REFLECT_CUSTOM_DRAW = WM_APP + 14,   // NM_CUSTOMDRAW
    MSG_REFLECT_DROP_DOWN = WM_APP + 15,     // code 7
    MSG_REFLECT_CLOSE_UP = WM_APP + 16,      // code 8
    MSG_REFLECT_NOTIFY310 = WM_APP + 17,     // WM_NOTIFY -310
    MSG_REFLECT_NOTIFY311 = WM_APP + 18,     // WM_NOTIFY -311
    MSG_REFLECT_NOTIFY100 = WM_APP + 19,     // WM_NOTIFY -100
    MSG_REFLECT_KILL_FOCUS = WM_APP + 21,    // code 0x200
    // Container: changes of the child list and layouts asked from another thread are
    // carried out by the container's own thread, so its child list only ever changes
    // where the layouts read it. MSG_ADD_CHILD: wParam the IComponent*;
    // MSG_REMOVE_CHILD: wParam the IComponent*, lParam 1 for recursive;
    // MSG_REMOVE_ALL_CHILDREN: wParam 1 for recursive; MSG_DO_LAYOUT: none.
    MSG_ADD_CHILD = WM_APP + 22,
    MSG_REMOVE_CHILD = WM_APP + 23,
    MSG_REMOVE_ALL_CHILDREN = WM_APP + 24,
    MSG_DO_LAYOUT = WM_APP + 25,
    // Any toolkit window: the DrawnPart* in wParam (one it hosts) takes the text in lParam.
    MSG_DRAWN_PART_TEXT = WM_APP + 28,
    // Window: attach the menu bar now set (SetMenu on the window's thread).
    MSG_ATTACH_MENU_BAR = WM_APP + 26,
    // Box: make or revoke the link drop target as its flag says (OLE belongs to the
    // window's thread).
    MSG_UPDATE_DROP_TARGET = WM_APP + 27,

    // Window: a cross-thread request (wParam: the request block).
    MSG_REQUEST = WM_USER + 1,
    MSG_TRAY_CALLBACK = WM_USER + 2,
    // Window: restore and activate (a second instance of the program sends it).
    MSG_ACTIVATE = WM_USER + 3,
    MSG_SHOW_MESSAGE = WM_USER + 4,
    MSG_SHOW_ERROR = WM_USER + 5,
    MSG_ASK_QUESTION = WM_USER + 6,
    // Window: fire event 15 (a second instance may knock with it).
    MSG_USER7 = WM_USER + 7,
    MSG_REGISTER_HOT_KEY = WM_USER + 12,
    MSG_UNREGISTER_HOT_KEY = WM_USER + 13,
    MSG_UNREGISTER_ALL_HOT_KEYS = WM_USER + 14,
    // Any toolkit window: destroy the native window on its own thread.
    MSG_DESTROY_NATIVE = WM_USER + 15,
    MSG_START_TIMER = WM_USER + 20,
    MSG_STOP_TIMER = WM_USER + 21,
    // Window: end the hover animation (wParam 1: back to full size and opacity); its
    // timers belong to the window's thread.
    MSG_STOP_HOVER = WM_USER + 22,
    // Box: its link drop target has a new URL (the same number, sent to a box).
    MSG_URL_DROPPED = WM_USER + 22,
    // Window: capture the pointer (only the window's own thread can).
    MSG_BEGIN_CAPTURE = WM_USER + 23,
};

} // namespace s::gui::win
