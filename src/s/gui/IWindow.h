#pragma once
#include "s/gui/IContainer.h"

struct HICON__;

namespace s::lang
{
class Localizer;
}
namespace s::gui::drawer
{
class Skinner;
class IFrameDrawer;
} // namespace s::gui::drawer

namespace s::gui
{

class IWindowSettings;
class IComponent;
class IMenuEx;
class IPopupMenu;

// The top-level window: root of a component tree, running its own user-interface
// thread (see s::gui::win::Window). Any thread may call these operations; those that
// must run on the window's thread are sent to it and wait for the answer, except
// postRequest. Events (kinds passed to handleEvent), one listener list each:
//  1 close asked (cancelClose vetoes)   2 cross-thread request   3 right button down
//  4 size changed   5 left button down   6 activated   7 deactivated   8 being sized
//  9 middle button down   10 position changing   11 moved   12 key down (getLastKey)
// 13 pointer moved   14 wheel (getWheelLines)   15 WM_USER+7   16 double click
// 17 capture ended   18 tray right click   19 popup menu opening   20 language changed
// 21 restored   22 tray left click   23 hot key   24 right button up   25 left button up
// 26 user timer (getLastTimerId)   27 clipboard changed
class IWindow : public IContainer
{
  public:
    enum Event
    {
        EVENT_CLOSE = 1,
        EVENT_REQUEST,
        EVENT_RIGHT_DOWN,
        EVENT_SIZED,
        EVENT_LEFT_DOWN,
        EVENT_ACTIVATED,
        EVENT_DEACTIVATED,
        EVENT_SIZING,
        EVENT_MIDDLE_DOWN,
        EVENT_POS_CHANGING,
        EVENT_MOVED,
        EVENT_KEY_DOWN,
        EVENT_MOUSE_MOVE,
        EVENT_WHEEL,
        EVENT_USER7,
        EVENT_DOUBLE_CLICK,
        EVENT_CAPTURE_ENDED,
        EVENT_TRAY_RIGHT_DOWN,
        EVENT_POPUP_OPENING,
        EVENT_LANGUAGE_CHANGED,
        EVENT_RESTORED,
        EVENT_TRAY_LEFT_DOWN,
        EVENT_HOT_KEY,
        EVENT_RIGHT_UP,
        EVENT_LEFT_UP,
        EVENT_TIMER,
        EVENT_CLIPBOARD_CHANGED,
        EVENT_COUNT = 27
    };

    // --- lifetime and visibility ---------------------------------------------
    // (setVisible(show, restoreFromTray) is IComponent's slot.)
    virtual void close() = 0;
    // Called by a close listener (event 1) to keep the window open.
    virtual void cancelClose() = 0;
    virtual bool isClosed() = 0;
    // Polls every 10 ms until the window has been closed. Not on the window's thread.
    virtual void waitUntilClosed() = 0;
    virtual void activate(bool on) = 0;
    virtual bool isMinimized() = 0;
    virtual void minimize() = 0;
    virtual bool isMaximized() = 0;
    virtual void maximize() = 0;
    virtual void restore() = 0;
    virtual void showNormal() = 0;
    virtual void iconize() = 0;
    virtual bool isIconized() = 0;

    // --- frame and style -------------------------------------------------------
    virtual void setDragByClientArea(bool on) = 0;
    virtual void setMaximizeBox(bool on) = 0;
    virtual void setMinimizeBox(bool on) = 0;
    virtual void setSystemMenu(bool on) = 0;
    virtual void setCaption(bool on) = 0;
    virtual void setToolWindow(bool on) = 0;
    virtual void setPopupStyle(bool on) = 0;
    virtual void setClientEdge(bool on) = 0;
    virtual void setResizable(bool on) = 0;
    // The skin's frame drawer (not owned unless `owned`); null removes it.
    virtual void setFrameDrawer(drawer::IFrameDrawer* drawer, bool owned) = 0;
    virtual void setMinimumSizeEnforced(bool width, bool height) = 0;

    // --- topmost and opacity ---------------------------------------------------
    virtual void setTopmost(bool on) = 0;
    virtual bool isTopmost() = 0;
    virtual void setOpacity(int percent, bool onlyWhileTopmost) = 0;
    // mode: 0 none, 1 fade, 2 shrink.
    virtual void setHoverBehaviour(bool enabled, int mode, bool onlyWhileTopmost, int delaySeconds,
                                   int targetWidth, int targetHeight, bool shiftSkips) = 0;

    // --- title and icons -------------------------------------------------------
    // The window's own text; valid until the title changes.
    virtual const wchar_t* getTitle() = 0;
    virtual void setTitle(const wchar_t* title) = 0;
    virtual void setTitleIds(int textId, int versionTextId) = 0;
    // Icons: with `owned` the window destroys the icon when it is replaced.
    virtual void setSmallIcon(HICON__* icon, bool owned) = 0;
    virtual void setBigIcon(HICON__* icon, bool owned) = 0;

    // --- attachments (none owned) --------------------------------------------
    virtual bool hasLocalizer() = 0;
    virtual lang::Localizer* getLocalizer() = 0;
    virtual void setLocalizer(lang::Localizer* localizer) = 0;
    virtual bool hasSkinner() = 0;
    virtual drawer::Skinner* getSkinner() = 0;
    virtual void setSkinner(drawer::Skinner* skinner) = 0;
    virtual void setStatusBar(IComponent* statusBar) = 0;
    // Menus (not owned; a menu bar added as a child belongs to the tree and attaches
    // itself). A menu command (WM_COMMAND) is offered to the menu bar, the tray menu
    // and the popup menu, in that order; the first that holds the id runs it. The
    // popup menu opens on a right click in the client area (after event 19), the tray
    // menu on a right click on the tray icon (after event 18). Null removes one.
    virtual void setMenuBar(IMenuEx* menuBar) = 0;
    // The window's DPI (96 = 100 %); stated pixel sizes of its tree are scaled by
    // getDpi() / 96 (Toolkit::scale) and again when the window moves to a monitor of
    // another DPI.
    virtual int getDpi() = 0;
    virtual IMenuEx* getMenuBar() = 0;
    virtual void setTrayMenu(IPopupMenu* menu) = 0;
    virtual void setPopupMenu(IPopupMenu* menu) = 0;
    virtual void setSettingsObject(IWindowSettings* settings) = 0;

    // --- tray ------------------------------------------------------------------
    virtual void setTrayIcon(bool on) = 0;
    virtual void updateTrayIcon() = 0;
    virtual void setKeepTrayIcon(bool on) = 0;
    virtual void setHideToTrayOnClose(bool on) = 0;

    // --- placement -------------------------------------------------------------
    // Wider and taller than 10 pixels with at least 10 pixels inside the virtual
    // screen on each axis.
    virtual bool isPlacementValid() = 0;
    virtual void moveIntoScreen() = 0;
    virtual void setKeepInsideScreen(bool on) = 0;
    virtual void setCheckPlacementOnShow(bool on) = 0;

    // --- input -----------------------------------------------------------------
    virtual void beginCapture() = 0;
    virtual int getCaptureEndX() = 0;
    virtual int getCaptureEndY() = 0;
    // "Close", "Iconize" or "DoNothing" (without regard to case; anything else is
    // "DoNothing").
    virtual void setMiddleClickAction(const wchar_t* action) = 0;
    virtual const wchar_t* getMiddleClickAction() = 0;
    virtual void setHideCursor(bool on) = 0;
    virtual int getLastKey() = 0;
    virtual int getWheelLines() = 0;
    virtual void sendTab() = 0;

    // --- cross-thread ------------------------------------------------------------
    // Fires event 2 on the window's thread with the four values and answers the result
    // a listener set (0 when none). Blocks until answered.
    virtual intptr_t sendRequest(int v1, int v2, int v3, int v4) = 0;
    // As sendRequest but returns at once; false when the request could not be posted.
    virtual bool postRequest(int v1, int v2, int v3, int v4) = 0;
    // Valid inside an event-2 listener.
    virtual int getRequestValue1() = 0;
    virtual int getRequestValue2() = 0;
    virtual int getRequestValue3() = 0;
    virtual int getRequestValue4() = 0;
    virtual void setRequestResult(intptr_t result) = 0;
    // Message boxes shown on the window's thread; they block the caller until closed.
    virtual void showMessage(const wchar_t* text) = 0;
    virtual void showError(const wchar_t* text) = 0;
    // True for Yes.
    virtual bool askQuestion(const wchar_t* text) = 0;

    // --- hot keys and timers ---------------------------------------------------
    // `key` is a virtual-key code; `name` identifies the hot key (copied). False when
    // the key is taken (with a message when `reportFailure`).
    virtual bool registerHotKey(bool alt, bool ctrl, bool shift, bool win, int key, const wchar_t* name,
                                bool reportFailure) = 0;
    virtual void unregisterHotKey(const wchar_t* name) = 0;
    virtual void unregisterAllHotKeys() = 0;
    // True when the last hot key pressed is the one registered under `name`.
    virtual bool isHotKey(const wchar_t* name) = 0;
    virtual void startTimer(int id, int milliseconds) = 0;
    virtual void stopTimer(int id) = 0;
    virtual int getLastTimerId() = 0;

    // --- clipboard -------------------------------------------------------------
    virtual void setWatchClipboard(bool on) = 0;

    // --- sizing state (event 8) ------------------------------------------------
    // Edge: 1 left, 2 right, 3 top, 4 bottom, 5 top-left, 6 top-right, 7 bottom-left,
    // 8 bottom-right. The proposed rectangle may be changed by sizing listeners.
    virtual int getSizingEdge() = 0;
    virtual int getSizingLeft() = 0;
    virtual int getSizingTop() = 0;
    virtual int getSizingRight() = 0;
    virtual int getSizingBottom() = 0;
    virtual void setSizingRect(int left, int top, int right, int bottom) = 0;

    // --- listeners ---------------------------------------------------------------
    // Appends a listener (not owned) to the list of event `kind` (1 to 27); other
    // kinds are ignored.
    virtual void addListener(int kind, events::IEventListener* listener) = 0;
    // The listener list for language changes (components to re-text).
    virtual void addLanguageListener(events::IEventListener* listener) = 0;
};

} // namespace s::gui
