#pragma once
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "s/base/ClassId.h"
#include "s/gui/IWindow.h"
#include "s/gui/win/ContainerBase.h"
#include "s/gui/win/ListenerList.h"
#include "s/thread/IPoolable.h"
#include "s/thread/ObjLocker.h"
#include "s/thread/Pooled.h"

namespace s::gui::win
{

class UIThread;

// The top-level window (see IWindow). Every Window runs its own user-interface thread,
// which creates a hidden owner window and the window itself and serves their messages;
// every component of its tree is created and destroyed on that thread.
//
// Pooled without keeping: Window::Acquire() makes a window (blocking until its thread
// has created it; it starts hidden) and Release() destroys it: the native window is
// closed quietly and the thread stopped (at most 5000 ms, then suspended). A window is
// never reused, because its thread and native window belong to one life. Release it
// from another thread than its own (a listener must not release its window). From the
// moment Release() starts, no listener is called again.
//
// When creation fails the user sees "Window Creation Failed!"; the object then has no
// native window (getHandle() is 0) and operations only change stored state.
class Window : public ContainerBase<IWindow>, public thread::IPoolable
{
    S_CLASS_ID(L"s_gui_win_Window")
    S_POOLED_MAX(Window, 0)

  public:
    // The middle-click actions (shared constants; compared by identity after
    // setMiddleClickAction has matched a text to one of them).
    static constexpr wchar_t ACTION_CLOSE[] = L"Close";
    static constexpr wchar_t ACTION_ICONIZE[] = L"Iconize";
    static constexpr wchar_t ACTION_DO_NOTHING[] = L"DoNothing";

    Window();
    ~Window() override;

    void Reset() override;

    // --- IComponent --------------------------------------------------------
    int getClientWidth() override;
    int getClientHeight() override;
    void setClientWidth(int w) override;
    void setClientHeight(int h) override;
    int getMinWidth() override;
    int getMinHeight() override;
    int getMinClientWidth() override { return contentMinWidth_; }
    int getMinClientHeight() override { return contentMinHeight_; }
    int getMaxWidth() override;
    int getMaxHeight() override;
    int getMaxClientWidth() override { return std::max(contentMinWidth_, contentPrefWidth_); }
    int getMaxClientHeight() override { return std::max(contentMinHeight_, contentPrefHeight_); }
    bool isVisible() override { return shown_ && handle_ != nullptr; }
    // (show, restoreFromTray)
    void setVisible(bool show, bool restoreFromTray) override;
    IWindow* getWindow() override { return this; }
    void setParent(IComponent*) override {}
    HDC__* getBackdrop(int* offsetX, int* offsetY) override;
    void doLayout() override;

    // --- IWindow -------------------------------------------------------------
    void close() override;
    void cancelClose() override { closeVetoed_ = true; }
    bool isClosed() override { return closed_.load(); }
    void waitUntilClosed() override;
    void activate(bool on) override;
    bool isMinimized() override;
    void minimize() override;
    bool isMaximized() override;
    void maximize() override;
    void restore() override;
    void showNormal() override;
    void iconize() override;
    bool isIconized() override { return iconized_; }

    void setDragByClientArea(bool on) override;
    void setMaximizeBox(bool on) override;
    void setMinimizeBox(bool on) override;
    void setSystemMenu(bool on) override;
    void setCaption(bool on) override;
    void setToolWindow(bool on) override;
    void setPopupStyle(bool on) override;
    void setClientEdge(bool on) override;
    void setResizable(bool on) override;
    void setFrameDrawer(drawer::IFrameDrawer* drawer, bool owned) override;
    void setMinimumSizeEnforced(bool width, bool height) override;

    void setTopmost(bool on) override;
    bool isTopmost() override { return topmost_; }
    void setOpacity(int percent, bool onlyWhileTopmost) override;
    void setHoverBehaviour(bool enabled, int mode, bool onlyWhileTopmost, int delaySeconds, int targetWidth,
                           int targetHeight, bool shiftSkips) override;

    const wchar_t* getTitle() override { return title_.c_str(); }
    void setTitle(const wchar_t* title) override;
    void setTitleIds(int textId, int versionTextId) override;
    void setSmallIcon(HICON__* icon, bool owned) override;
    void setBigIcon(HICON__* icon, bool owned) override;

    bool hasLocalizer() override { return localizer_ != nullptr; }
    lang::Localizer* getLocalizer() override { return localizer_; }
    // The window listens to the pack: a change of language forms the title again from
    // its ids and fires event 20.
    void setLocalizer(lang::Localizer* localizer) override;
    bool hasSkinner() override { return skinner_ != nullptr; }
    drawer::Skinner* getSkinner() override { return skinner_; }
    // The window paints its background and frame through the skinner's current window
    // drawer and takes it again when the skinner selects another scheme.
    void setSkinner(drawer::Skinner* skinner) override;
    void setStatusBar(IComponent* statusBar) override;
    void setMenuBar(IMenuEx* menuBar) override;
    IMenuEx* getMenuBar() override { return menuBar_; }
    int getDpi() override { return dpi_; }
    void setTrayMenu(IPopupMenu* menu) override { trayMenu_ = menu; }
    void setPopupMenu(IPopupMenu* menu) override { popupMenu_ = menu; }
    void setSettingsObject(IWindowSettings* settings) override;

    void setTrayIcon(bool on) override;
    void updateTrayIcon() override;
    void setKeepTrayIcon(bool on) override { keepTrayIcon_ = on; }
    void setHideToTrayOnClose(bool on) override { hideToTrayOnClose_ = on; }

    bool isPlacementValid() override;
    void moveIntoScreen() override;
    void setKeepInsideScreen(bool on) override { keepInsideScreen_ = on; }
    void setCheckPlacementOnShow(bool on) override { checkPlacementOnShow_ = on; }

    void beginCapture() override;
    int getCaptureEndX() override { return captureEndX_; }
    int getCaptureEndY() override { return captureEndY_; }
    void setMiddleClickAction(const wchar_t* action) override;
    const wchar_t* getMiddleClickAction() override { return middleClickAction_; }
    void setHideCursor(bool on) override { hideCursor_ = on; }
    int getLastKey() override { return lastKey_; }
    int getWheelLines() override { return wheelLines_; }
    void sendTab() override;
    // The control that takes the focus when the window is activated and none of its children
    // has had it (null: the window itself takes it, and its listeners hear the keys). Its
    // native window as made at the call is kept, so a component released later leaves
    // nothing dangling. Used on the window's thread.
    void setFirstFocus(IComponent* component);

    intptr_t sendRequest(int v1, int v2, int v3, int v4) override;
    bool postRequest(int v1, int v2, int v3, int v4) override;
    int getRequestValue1() override { return request_[0]; }
    int getRequestValue2() override { return request_[1]; }
    int getRequestValue3() override { return request_[2]; }
    int getRequestValue4() override { return request_[3]; }
    void setRequestResult(intptr_t result) override { requestResult_ = result; }
    void showMessage(const wchar_t* text) override;
    void showError(const wchar_t* text) override;
    bool askQuestion(const wchar_t* text) override;

    bool registerHotKey(bool alt, bool ctrl, bool shift, bool win, int key, const wchar_t* name,
                        bool reportFailure) override;
    void unregisterHotKey(const wchar_t* name) override;
    void unregisterAllHotKeys() override;
    bool isHotKey(const wchar_t* name) override;
    void startTimer(int id, int milliseconds) override;
    void stopTimer(int id) override;
    int getLastTimerId() override { return lastTimerId_; }

    void setWatchClipboard(bool on) override;

    int getSizingEdge() override { return sizingEdge_; }
    int getSizingLeft() override { return sizingRect_.left; }
    int getSizingTop() override { return sizingRect_.top; }
    int getSizingRight() override { return sizingRect_.right; }
    int getSizingBottom() override { return sizingRect_.bottom; }
    void setSizingRect(int left, int top, int right, int bottom) override;

    void addListener(int kind, events::IEventListener* listener) override;
    void addLanguageListener(events::IEventListener* listener) override { languageListeners_.add(listener); }

    // A change of language from the attached language pack, or of scheme from the
    // attached skinner.
    void handleEvent(void* source, int kind) override;

    // --- message hook ------------------------------------------------------
    bool handleMessage(LRESULT* result, UINT message, WPARAM wParam, LPARAM lParam) override;
    // The window paints its skin's frame and background itself: a part drawn in a host
    // needs a box or frame around it, not the window.
    bool addDrawnPart(DrawnPart*) override { return false; }
    void afterDefault(UINT message, WPARAM wParam, LPARAM lParam, LRESULT result) override;

    // --- for the UI thread ---------------------------------------------------
    // Creates the hidden owner and the window on the calling (UI) thread; false on
    // failure (after the message).
    bool createOnThread();
    // Destroys the hidden owner (on the UI thread, when the thread ends).
    void destroyOwner();
    HWND getOwnerHandle() const { return owner_; }
    // The thread that serves this window (0 when it has none).
    DWORD getThreadId() const;
    // Current alpha in percent (100 = opaque, not layered).
    int getAlphaPercent() const { return alphaPercent_; }

    // The hit code of the frame of a skinned window for a pointer at (x, y) from the
    // window's top-left corner, for a window of w × h; HTNOWHERE inside the frame.
    // The border (5) and corner zone (30) are 96-DPI pixels, scaled to `dpi`.
    static LRESULT frameHitTest(int x, int y, int w, int h, int dpi = Toolkit::BASE_DPI);
    // The answer to WM_NCHITTEST given the default answer.
    static LRESULT adjustHitTest(LRESULT defaultHit, bool skinned, int x, int y, int w, int h,
                                 bool dragByClientArea, bool rightButtonHeld, int dpi = Toolkit::BASE_DPI);

  protected:
    // With a frame drawer the whole window is client area and the drawer's frame line runs
    // along its edge: the children are laid out inside that line, not over it.
    int childOriginX() override { return frameInset(); }
    int childOriginY() override { return frameInset(); }

  private:
    // The width of the skin's frame line (0 without a frame drawer).
    int frameInset() const { return frameDrawer_ ? FRAME_LINE : 0; }
    static constexpr int FRAME_LINE = 1;
    void resetWindow();
    void refreshTitle();
    void fire(int kind);
    void applyAlpha(int percent);
    int effectiveOpacity() const;
    void centreOnMonitor();
    void storeGeometry();
    void restoreGeometry();
    void rememberBounds();
    void setStyleBits(DWORD bits, bool on);
    void setExStyleBits(DWORD bits, bool on);
    void trimWorkingSet();
    void stopHover(bool toFullState);
    void startHover();
    void hoverTimer(UINT id);
    bool pointerInside(const RECT& r) const;
    void paintBackground(HDC dc);
    // Paints the background (through the frame drawer when one is set) into w × h of dc.
    void paintClient(HDC dc, int w, int h);
    // Takes the window drawer and background colour of the skinner's current skin.
    void applySkin();
    void onSizing(WPARAM edge, RECT* rect);
    void onPosChanging(WINDOWPOS* pos);
    void onClose();
    // Runs a menu command in the first menu that holds `id`; false when none does.
    bool runMenuCommand(int id);
    void attachMenuBar();
    // WM_DPICHANGED: the tree scales again and the window takes the suggested rectangle.
    void onDpiChanged(int dpi, const RECT* suggested);
    void removeTrayIcon();
    LRESULT onRegisterHotKey(void* block);
    void placeNative(UINT flags) override;
    // Whether the window's thread answers a message within the stop limit.
    bool threadAnswers();
    // Stops a thread that no longer answers without waiting any longer, and forgets
    // the native windows it holds.
    void abandonHungThread();

    // Request blocks of postRequest not yet served: the window owns them until its
    // thread takes one (claimPosted) or the window is destroyed (dropPostedRequests).
    bool claimPosted(const void* block);
    void dropPostedRequests();

    UIThread* thread_ = nullptr;
    HWND owner_ = nullptr;

    std::wstring title_;
    int titleTextId_ = -1, versionTextId_ = -1;
    HICON smallIcon_ = nullptr, bigIcon_ = nullptr;
    bool smallIconOwned_ = false, bigIconOwned_ = false;

    lang::Localizer* localizer_ = nullptr;
    drawer::Skinner* skinner_ = nullptr;
    drawer::IFrameDrawer* frameDrawer_ = nullptr;
    bool frameDrawerOwned_ = false;
    IComponent* statusBar_ = nullptr;
    IMenuEx* menuBar_ = nullptr;
    int dpi_ = Toolkit::BASE_DPI;
    IPopupMenu* trayMenu_ = nullptr;
    IPopupMenu* popupMenu_ = nullptr;
    IWindowSettings* settings_ = nullptr;

    bool dragByClientArea_ = false;
    bool trayIconShown_ = false, keepTrayIcon_ = false, iconized_ = false, hideToTrayOnClose_ = false;
    bool topmost_ = false;
    bool closeVetoed_ = false;
    std::atomic<bool> closed_{false}; // polled by waitUntilClosed on other threads
    bool maximized_ = false;
    bool keepInsideScreen_ = false, checkPlacementOnShow_ = false;
    bool captureActive_ = false;
    bool suspendedPower_ = false, sessionEnding_ = false;
    bool hideCursor_ = false;
    bool watchClipboard_ = false, inClipboardChain_ = false;
    HWND nextClipboardViewer_ = nullptr;
    bool shown_ = false;
    bool active_ = false;
    DWORD deactivatedAt_ = 0;
    // The child that had the focus when the window was last deactivated; it gets the focus
    // back when the window is activated again (as in a dialog).
    HWND focusAtDeactivation_ = nullptr;
    HWND firstFocus_ = nullptr;
    bool trayClickToggles_ = true;

    int opacity_ = 100, alphaPercent_ = 100;
    bool opacityOnlyTopmost_ = false;

    // hover behaviour
    int hoverMode_ = 0; // 0 none, 1 fade, 2 shrink
    bool hoverOnlyTopmost_ = false, hoverShiftSkips_ = false;
    int hoverDelaySeconds_ = 5;
    int shrinkWidth_ = 23, shrinkHeight_ = 23;
    int fullWidth_ = -1, fullHeight_ = -1;
    int countdownMs_ = 5000;
    bool hoverRunning_ = false;

    int normalX_ = 0, normalY_ = 0, normalWidth_ = 500, normalHeight_ = 500;
    const wchar_t* middleClickAction_ = ACTION_DO_NOTHING;
    bool minWidthEnforced_ = true, minHeightEnforced_ = true;

    int sizingEdge_ = 0;
    RECT sizingRect_{0, 0, 0, 0};

    int request_[4] = {0, 0, 0, 0};
    intptr_t requestResult_ = 0;
    std::vector<const void*> posted_;
    thread::ObjLocker postedLock_;

    int lastKey_ = 0, wheelLines_ = 0, lastTimerId_ = 0;
    ATOM lastHotKey_ = 0;
    int captureEndX_ = 0, captureEndY_ = 0;

    int contentMinWidth_ = 0, contentMinHeight_ = 0, contentPrefWidth_ = 0, contentPrefHeight_ = 0;
    // The client size of the last layout: a placement that keeps it (a show, a move, an
    // activation) does not lay the window out again.
    int laidOutWidth_ = -1, laidOutHeight_ = -1;

    // Background buffer for flicker-free painting (made on the UI thread).
    HDC bufferDc_ = nullptr;
    HBITMAP bufferBitmap_ = nullptr;
    HGDIOBJ bufferOld_ = nullptr;
    int bufferWidth_ = 0, bufferHeight_ = 0;

    ListenerList listeners_[EVENT_COUNT];
    ListenerList languageListeners_;
    std::atomic<bool> releasing_{false}; // set when Release() starts: nothing fires any more
    struct HotKey
    {
        std::wstring name;
        ATOM atom;
    };
    std::vector<HotKey> hotKeys_;
};

} // namespace s::gui::win
