#include "s/gui/win/Dpi.h"

#include "s/gui/IComponent.h"
#include "s/gui/IWindow.h"
#include "s/gui/win/Window.h"

namespace s::gui::win
{
namespace
{

// Calls of Windows 10 1607 and later, looked up once (null on older systems).
using DpiForWindow = UINT(WINAPI*)(HWND);
using DpiForSystem = UINT(WINAPI*)();
using MetricsForDpi = int(WINAPI*)(int, UINT);

template <class F> F user32Call(const char* name)
{
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    return user32 ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(user32, name))) : nullptr;
}

DpiForWindow dpiForWindow()
{
    static const DpiForWindow call = user32Call<DpiForWindow>("GetDpiForWindow");
    return call;
}

int sane(int dpi)
{
    return dpi > 0 ? dpi : Dpi::BASE;
}

// Half away from zero, as MulDiv rounds.
int mulDiv(int value, int by, int per)
{
    long long v = static_cast<long long>(value) * by;
    long long half = per / 2;
    return static_cast<int>(v >= 0 ? (v + half) / per : (v - half) / per);
}

} // namespace

int Dpi::system()
{
    static const int dpi = [] {
        if (DpiForSystem call = user32Call<DpiForSystem>("GetDpiForSystem"))
            return sane(static_cast<int>(call()));
        HDC screen = GetDC(nullptr);
        int caps = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
        if (screen)
            ReleaseDC(nullptr, screen);
        return sane(caps);
    }();
    return dpi;
}

int Dpi::ofHandle(HWND handle)
{
    DpiForWindow call = dpiForWindow();
    if (!handle || !call)
        return system();
    return sane(static_cast<int>(call(handle)));
}

int Dpi::ofWindow(IWindow* window)
{
    if (Window* own = dynamic_cast<Window*>(window))
        return own->getDpi();
    return system();
}

int Dpi::of(IComponent* component)
{
    return component ? ofWindow(component->getWindow()) : system();
}

int Dpi::scale(int pixels, int dpi)
{
    if (pixels <= 0 || dpi == BASE)
        return pixels;
    return mulDiv(pixels, sane(dpi), BASE);
}

int Dpi::scale(IComponent* component, int pixels)
{
    if (pixels <= 0)
        return pixels; // "none" (and 0) need no window
    return scale(pixels, of(component));
}

int Dpi::unscale(int pixels, int dpi)
{
    if (pixels <= 0 || dpi == BASE)
        return pixels;
    return mulDiv(pixels, BASE, sane(dpi));
}

int Dpi::metric(int index, int dpi)
{
    static const MetricsForDpi call = user32Call<MetricsForDpi>("GetSystemMetricsForDpi");
    if (call)
        return call(index, static_cast<UINT>(sane(dpi)));
    // Older systems answer for the system DPI.
    return mulDiv(GetSystemMetrics(index), sane(dpi), system());
}

int Dpi::pixelsOfPoints(int points, int dpi)
{
    return mulDiv(points, sane(dpi), 72);
}

void Dpi::notifyTree(IComponent* root, IWindow* window)
{
    if (!root)
        return;
    int n = root->getChildCount();
    for (int i = 0; i < n; ++i)
    {
        IComponent* child = root->getChild(i);
        if (!child)
            continue;
        notifyTree(child, window);
        child->handleEvent(window, EVENT_CHANGED);
        if (child->isContainer())
            static_cast<IContainer*>(child)->doLayout();
    }
}

} // namespace s::gui::win
