#pragma once
#include <windows.h>

namespace s::gui::win {

// Private messages of the toolkit. Any thread may send them to a toolkit window; the
// window's own thread carries them out.
enum : UINT {
    // Window: close without firing the close events (default WM_CLOSE processing).
    kMsgCloseQuietly = WM_APP + 1,
    // Container: attach the IComponent* in wParam as a child (native creation on the
    // container's thread).
    kMsgAttachChild = WM_APP + 2,
    // Reflected control notifications, sent by the toolkit class to the child that
    // caused them.
    kMsgReflectCtlColor = WM_APP + 3,
    kMsgReflectClicked = WM_APP + 4,          // WM_COMMAND code 0
    kMsgReflectDoubleClicked = WM_APP + 5,    // code 5
    kMsgReflectNotify101 = WM_APP + 6,        // WM_NOTIFY -101
    kMsgReflectNotify115 = WM_APP + 7,        // WM_NOTIFY -115
    kMsgReflectNotify109 = WM_APP + 8,        // WM_NOTIFY -109
    kMsgReflectNotify176 = WM_APP + 9,        // WM_NOTIFY -176
    kMsgReflectSelChange = WM_APP + 10,       // code 1
    kMsgReflectNotify551 = WM_APP + 11,       // WM_NOTIFY -551
    kMsgReflectChange = WM_APP + 12,          // code 0x300
    kMsgReflectNotify108 = WM_APP + 13,       // WM_NOTIFY -108
    kMsgReflectCustomDraw = WM_APP + 14,      // NM_CUSTOMDRAW
    kMsgReflectDropDown = WM_APP + 15,        // code 7
    kMsgReflectCloseUp = WM_APP + 16,         // code 8
    kMsgReflectNotify310 = WM_APP + 17,       // WM_NOTIFY -310
    kMsgReflectNotify311 = WM_APP + 18,       // WM_NOTIFY -311
    kMsgReflectNotify100 = WM_APP + 19,       // WM_NOTIFY -100
    kMsgReflectKillFocus = WM_APP + 21,       // code 0x200

    // Window: a cross-thread request (wParam: the request block).
    kMsgRequest = WM_USER + 1,
    kMsgTrayCallback = WM_USER + 2,
    // Window: restore and activate (a second instance of the program sends it).
    kMsgActivate = WM_USER + 3,
    kMsgShowMessage = WM_USER + 4,
    kMsgShowError = WM_USER + 5,
    kMsgAskQuestion = WM_USER + 6,
    kMsgUser7 = WM_USER + 7,
    kMsgRegisterHotKey = WM_USER + 12,
    kMsgUnregisterHotKey = WM_USER + 13,
    kMsgUnregisterAllHotKeys = WM_USER + 14,
    // Any toolkit window: destroy the native window on its own thread.
    kMsgDestroyNative = WM_USER + 15,
    kMsgStartTimer = WM_USER + 20,
    kMsgStopTimer = WM_USER + 21,
};

}  // namespace s::gui::win
