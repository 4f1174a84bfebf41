#pragma once
// Renders a window with its children into a bitmap file, for screenshot tests.
#include <windows.h>

#include <cstdio>

#include "s/gui/GuiTestSupport.h"

namespace testgui
{

// Paints a window's client area and, on top, its visible children (each at its place)
// into dc, whose origin is the top window's client origin.
inline void printTree(HWND top, HWND window, HDC dc, bool edges = false)
{
    if (edges && window != top && (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_CLIENTEDGE))
    {
        // The sunken frame of a field lies outside its client area: drawn here.
        RECT frame;
        GetWindowRect(window, &frame);
        MapWindowPoints(nullptr, top, reinterpret_cast<POINT*>(&frame), 2);
        DrawEdge(dc, &frame, EDGE_SUNKEN, BF_RECT);
    }
    POINT origin{0, 0};
    MapWindowPoints(window, top, &origin, 1);
    // Each window prints into a context of its own whose origin is its client origin:
    // some controls clip to their client rectangle in device coordinates.
    RECT client;
    GetClientRect(window, &client);
    if (client.right > 0 && client.bottom > 0)
    {
        HDC own = CreateCompatibleDC(dc);
        HBITMAP bitmap = CreateCompatibleBitmap(dc, client.right, client.bottom);
        HGDIOBJ old = SelectObject(own, bitmap);
        BitBlt(own, 0, 0, client.right, client.bottom, dc, origin.x, origin.y, SRCCOPY); // what lies below
        SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(own), PRF_CLIENT | PRF_ERASEBKGND);
        BitBlt(dc, origin.x, origin.y, client.right, client.bottom, own, 0, 0, SRCCOPY);
        SelectObject(own, old);
        DeleteObject(bitmap);
        DeleteDC(own);
    }
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    {
        if (IsWindowVisible(child))
            printTree(top, child, dc, edges);
    }
}

// Renders the window's client area with its children into a bitmap (so that other
// windows on the display cannot spoil the picture) and writes it as a 24-bit BMP file.
// Answers the colour at (sx, sy) of the client area. With edges, the sunken frames of
// fields are drawn too.
inline bool saveBitmap(HWND window, int w, int h, const char* path, COLORREF* sampleOut, int sx, int sy,
                       bool edges = false)
{
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = h; // bottom-up, as BMP files keep it
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bmp = CreateDIBSection(mem, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(mem, bmp);
    printTree(window, window, mem, edges);
    GdiFlush();
    *sampleOut = GetPixel(mem, sx, sy);
    SelectObject(mem, old);
    bool ok = writeBmp24(path, info.bmiHeader, bits);
    DeleteObject(bmp);
    DeleteDC(mem);
    return ok;
}

} // namespace testgui
