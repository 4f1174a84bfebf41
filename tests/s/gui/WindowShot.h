#pragma once
// Screenshots of windows as the display shows them, written as BMP files for a person to
// look at (convert them with ImageMagick).
#include <windows.h>

#include "s/gui/GuiTestSupport.h"

namespace testgui
{

// Copies the window as the display shows it (frame, menu and client area; the window is
// topmost, so nothing covers it) into a 24-bit BMP file in the working folder.
inline bool saveWindowShot(HWND window, const char* path)
{
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
    Sleep(300);
    RECT r;
    GetWindowRect(window, &r);
    return saveScreen(r, path);
}

} // namespace testgui
