#pragma once
#include <windows.h>

namespace s::gui
{
class IComponent;
}

namespace s::gui::win
{

// A component without a native window of its own that its host (the nearest ancestor with
// one) paints into its own window after its background: a label that only shows a text
// (see Label::setDrawnInHost). Runs on the thread that owns the host's window.
class DrawnPart
{
  public:
    virtual ~DrawnPart() = default;
    // Paints the part into `dc`, the host's client area, at the part's place in it; a
    // hidden part paints nothing.
    virtual void drawInHost(HDC dc) = 0;
    // Takes a text set on another thread (valid for the time of the send).
    virtual void takeText(const wchar_t* text) = 0;
};

// The native side of a component: the toolkit's window procedure hands every message
// of the component's native window to it. Runs on the thread that owns the window.
class NativeTarget
{
  public:
    virtual ~NativeTarget() = default;
    // The native window of the component, 0 while none exists.
    virtual HWND getHandle() = 0;
    // The native window that holds the windows of the component's children: its own, or,
    // for a component without one of its own (a layout-only box), its nearest ancestor's
    // (the children are then placed at the component's offset in it); 0 while none exists.
    virtual HWND getHostHandle() { return getHandle(); }
    // False while the component has no window of its own and is hidden, or sits in one that
    // is: its children's windows, which live in an ancestor's window, must stay hidden.
    virtual bool letsChildrenShow() { return true; }
    // Takes a part to paint after the component's own background (see DrawnPart; not
    // owned: the part leaves before it goes); false when this component cannot host one.
    virtual bool addDrawnPart(DrawnPart*) { return false; }
    virtual void removeDrawnPart(DrawnPart*) {}
    // Told while the native window is being created (before WM_CREATE), so that
    // messages sent during creation already find the component.
    virtual void bindHandle(HWND handle) = 0;
    // The component's own handling: true when handled, then *result is the answer.
    virtual bool handleMessage(LRESULT* result, UINT message, WPARAM wParam, LPARAM lParam) = 0;
    // The window's DPI changed (or became known): values stated in 96-DPI pixels are
    // scaled again. Runs on the window's thread.
    virtual void dpiChanged() {}
    // Runs after default processing of a message the component did not handle.
    virtual void afterDefault(UINT message, WPARAM wParam, LPARAM lParam, LRESULT result)
    {
        (void)message, (void)wParam, (void)lParam, (void)result;
    }
};

// The toolkit's one window class ("PellamWindowClass") and its notification relay.
class Toolkit
{
  public:
    static constexpr const wchar_t* CLASS_NAME = L"PellamWindowClass";

    // Registers the class once per process; on failure shows "Window Registration
    // Failed!" and answers false (and tries again on the next call).
    static bool registerClass();

    // Creates a window of the toolkit class whose messages go to `target` (may be
    // null: default processing and the relay only). Answers 0 on failure without a
    // message; see showCreationFailed.
    static HWND create(NativeTarget* target, DWORD exStyle, const wchar_t* title, DWORD style, int x, int y,
                       int width, int height, HWND parent, HMENU idOrMenu);

    // Creates a platform control (a window of `className`, e.g. L"BUTTON") whose messages
    // go to `target` first and then to the control's own procedure; notifications that
    // the control tells its parent come back to it through the relay. Answers 0 on
    // failure without a message.
    static HWND createControl(NativeTarget* target, DWORD exStyle, const wchar_t* className,
                              const wchar_t* text, DWORD style, int x, int y, int width, int height,
                              HWND parent, HMENU id);

    // --- DPI ------------------------------------------------------------------
    // Pixel values the program states (sizes, gaps, insets) are meant at 96 DPI; this
    // is the one place that turns them into the pixels of a window at `dpi`. Negative
    // values (−1 = none) stay as they are; fonts given in points are not pixels.
    static constexpr int BASE_DPI = 96;
    static int scale(int pixels, int dpi);
    // The DPI of a window: the monitor's for a per-monitor aware program (Windows 10),
    // else the system's (LOGPIXELSX of the screen).
    static int dpiOf(HWND window);
    // A system metric (a GetSystemMetrics index) for a window at `dpi`.
    static int metric(int index, int dpi);

    // "Window Creation Failed!" titled "Error!" with the warning icon.
    static void showCreationFailed();

    // The native window of a component, 0 when it has none or is not a toolkit component.
    static HWND handleOf(IComponent* component);
    // The native window that holds `component`'s children (see NativeTarget::getHostHandle).
    static HWND hostOf(IComponent* component);
    static NativeTarget* targetOf(IComponent* component);

    // --- private messages (Messages.h) ----------------------------------------
    // A private message names pointers and components of this process, so a toolkit
    // window carries one out only when this process sent it: the senders list each
    // message (window, number, wParam, lParam) for the time it is in flight, and the
    // window procedures give an unlisted one default processing (another program's
    // WM_USER/WM_APP broadcast, or junk aimed at the window). Any thread may call these.

    // SendMessageW with the message listed for the time of the call; its result.
    static LRESULT sendPrivate(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // PostMessageW with the message listed until the window serves it (or is destroyed);
    // false when the post failed.
    static bool postPrivate(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // True for the numbers that only this process may send (every toolkit message of
    // Messages.h except the tray callback and the two knocks of a second instance).
    static bool isPrivateMessage(UINT message);
    // True when this exact message is listed; a posted one is unlisted by this call.
    static bool admitPrivate(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    // Default processing of the toolkit class: the notification relay, then DefWindowProc.
    static LRESULT defaultProcessing(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  private:
    static LRESULT CALLBACK controlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
};

} // namespace s::gui::win
