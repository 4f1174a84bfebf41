#include <windows.h>

#include "s/gui/win/Dpi.h"
#include "s/gui/win/Window.h"

namespace s::gui::win
{

void Window::onDpiChanged(WPARAM wParam, const RECT* suggested)
{
    const int dpi = HIWORD(wParam); // the same on both axes
    if (dpi <= 0)
        return;
    dpi_ = dpi;
    // Fonts and measurements first, then the containers from the inside out, so that the
    // window's layout below starts from limits of the new density.
    Dpi::notifyTree(self(), this);
    if (suggested && handle_)
    {
        // The system's rectangle keeps the window's physical size in proportion and its
        // place on the new screen; WM_WINDOWPOSCHANGED stores it and lays out.
        SetWindowPos(handle_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    // Also when the rectangle left the size as it was.
    doLayout();
    if (handle_)
        RedrawWindow(handle_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

} // namespace s::gui::win
