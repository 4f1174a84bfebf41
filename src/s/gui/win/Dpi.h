#pragma once
#include <windows.h>

namespace s::gui
{
class IComponent;
class IWindow;
} // namespace s::gui

namespace s::gui::win
{

// Screen density. Programs state every pixel value (sizes, gaps, insets, fixed widths and
// heights) for a screen of 96 DPI; the toolkit works in the physical pixels of the window's
// screen and turns a stated value into physical pixels here, at the point where it becomes
// a geometry (layouts, size limits, widget decorations). Fonts are given in points and
// made for the window's DPI (Font), so text keeps its point size.
//
// A window's DPI is the one the system gives its top-level window when it is made
// (GetDpiForWindow; the system DPI where that call is missing, before Windows 10 1607) and
// changes with WM_DPICHANGED when the window moves to a screen of another density; the
// window then tells every component of its tree (notifyTree) and lays out again. A
// component outside a tree has the system DPI.
//
// Stateless; callable on any thread.
struct Dpi
{
    // The density at which a stated pixel value is taken as it stands.
    static constexpr int BASE = 96;

    // The kind of the event that a window sends to each component of its tree, with itself
    // (its IWindow face) as the source, after its DPI changed: widgets make their fonts
    // again and measure again.
    static constexpr int EVENT_CHANGED = 0x2E0;

    // The system DPI (that of the primary screen at log-on); 96 when unknown.
    static int system();
    // The DPI the system gives the native window `handle` (its top-level window's).
    static int ofHandle(HWND handle);
    // The DPI of the component's top-level window; the system DPI outside a tree.
    static int of(IComponent* component);
    // The DPI of a top-level window of the toolkit (the system DPI for any other).
    static int ofWindow(IWindow* window);

    // `pixels` stated for 96 DPI in physical pixels at `dpi`, rounded half away from zero.
    // Negative values mean "none" in the toolkit's settings and are kept as they are.
    static int scale(int pixels, int dpi);
    // The same for the component's DPI.
    static int scale(IComponent* component, int pixels);
    // Physical pixels at `dpi` back to pixels stated for 96 DPI (negative values kept).
    static int unscale(int pixels, int dpi);
    // A system metric (GetSystemMetrics index) at `dpi`.
    static int metric(int index, int dpi);
    // The character height in pixels of a font of `points` at `dpi`.
    static int pixelsOfPoints(int points, int dpi);

    // Tells every component under `root` (children before their container) that the DPI of
    // `window` changed (EVENT_CHANGED) and lays each container out again, so that the
    // containers' limits are those of the new density before the window lays out.
    static void notifyTree(IComponent* root, IWindow* window);
};

} // namespace s::gui::win
