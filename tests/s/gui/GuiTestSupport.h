#pragma once
// Shared pieces of the GUI tests: message boxes answered without a person, an event
// recorder, and a window that is released at the end of a test.
#include <windows.h>
#include <shlobj.h>

#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>
#include <vector>

#include "mfc/afxwin.h"
#include "s/gui/events/IEventListener.h"
#include "s/gui/win/Window.h"
#include "s/lang/Localizer.h"
#include "s/xml/Node.h"

namespace testgui
{

// Every message box of the test program is recorded and answered with IDYES/IDOK.
struct MessageBoxes
{
    static std::mutex& lock()
    {
        static std::mutex m;
        return m;
    }
    static std::vector<std::wstring>& texts()
    {
        static std::vector<std::wstring> t;
        return t;
    }
    static int answer(HWND, const wchar_t* text, const wchar_t* caption, UINT type)
    {
        std::lock_guard<std::mutex> guard(lock());
        texts().push_back(std::wstring(caption) + L"|" + text);
        return (type & MB_YESNO) ? IDYES : IDOK;
    }
    static void install() { AfxSetMessageBoxHook(&MessageBoxes::answer); }
};

// Records the kinds, sources and threads of the events it receives.
struct Recorder : s::gui::events::IEventListener
{
    std::vector<int> kinds;
    std::vector<DWORD> threads;
    void* lastSource = nullptr;
    void handleEvent(void* source, int kind) override
    {
        kinds.push_back(kind);
        threads.push_back(GetCurrentThreadId());
        lastSource = source;
    }
};

// A window for one test, released (destroyed with its thread) at the end.
struct TestWindow
{
    s::gui::win::Window* window;
    TestWindow()
    {
        MessageBoxes::install();
        window = s::gui::win::Window::Acquire();
    }
    ~TestWindow() { window->Release(); }
    s::gui::win::Window* operator->() { return window; }
    HWND handle() { return window->getHandle(); }
};

// Waits until the window's thread has answered a message sent now (its loop is running).
inline void settle(HWND h)
{
    SendMessageTimeoutW(h, WM_NULL, 0, 0, SMTO_BLOCK, 2000, nullptr);
}

// Waits until `h` is destroyed, for windows whose owner destroys them by a posted message
// (settle() returns once sent messages are answered, before the posted ones run).
inline bool waitGone(HWND h, int millis = 2000)
{
    for (int waited = 0; IsWindow(h); waited += 10)
    {
        if (waited >= millis)
            return false;
        Sleep(10);
    }
    return true;
}

// A language pack read from `xml` with its first language "English" selected; the
// caller releases it.
inline s::lang::Localizer* languagePack(const wchar_t* xml)
{
    s::xml::Node* root = s::xml::Node::Acquire();
    root->parse(xml);
    s::lang::Localizer* pack = s::lang::Localizer::loadFromDocument(root);
    root->Release();
    pack->selectLanguage(L"English");
    return pack;
}

// The drop handle the shell gives: DROPFILES and the wide paths, each zero-terminated,
// ended by an empty one, in one global block (freed by the receiver's DragFinish).
inline HDROP makeDrop(const std::vector<std::wstring>& paths)
{
    size_t units = 1;
    for (const std::wstring& p : paths)
        units += p.size() + 1;
    HGLOBAL block = GlobalAlloc(GHND, sizeof(DROPFILES) + units * sizeof(wchar_t));
    auto* files = static_cast<DROPFILES*>(GlobalLock(block));
    files->pFiles = sizeof(DROPFILES);
    files->fWide = TRUE;
    wchar_t* at = reinterpret_cast<wchar_t*>(reinterpret_cast<char*>(files) + sizeof(DROPFILES));
    for (const std::wstring& p : paths)
    {
        memcpy(at, p.c_str(), (p.size() + 1) * sizeof(wchar_t));
        at += p.size() + 1;
    }
    GlobalUnlock(block);
    return static_cast<HDROP>(block);
}

// Writes a bottom-up 24-bit picture (`header` describes it) as a BMP file.
inline bool writeBmp24(const char* path, const BITMAPINFOHEADER& header, const void* bits)
{
    int stride = (header.biWidth * 3 + 3) & ~3;
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    file.bfSize = file.bfOffBits + static_cast<DWORD>(stride) * header.biHeight;
    bool ok = false;
    if (FILE* f = std::fopen(path, "wb"))
    {
        ok = std::fwrite(&file, sizeof(file), 1, f) == 1 && std::fwrite(&header, sizeof(header), 1, f) == 1 &&
             std::fwrite(bits, static_cast<size_t>(stride) * header.biHeight, 1, f) == 1;
        std::fclose(f);
    }
    return ok;
}

// The screen rectangle `r` as the display shows it now: a bottom-up 24-bit picture that
// `header` describes, in `bits`.
inline void grabScreen(const RECT& r, BITMAPINFOHEADER* header, std::vector<unsigned char>* bits)
{
    int w = r.right - r.left, h = r.bottom - r.top;
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* pixels = nullptr;
    HBITMAP bmp = CreateDIBSection(mem, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    HGDIOBJ old = SelectObject(mem, bmp);
    BitBlt(mem, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    GdiFlush();
    SelectObject(mem, old);
    ReleaseDC(nullptr, screen);
    const size_t size = static_cast<size_t>((w * 3 + 3) & ~3) * (h > 0 ? h : 0);
    bits->assign(static_cast<unsigned char*>(pixels), static_cast<unsigned char*>(pixels) + (pixels ? size : 0));
    *header = info.bmiHeader;
    DeleteObject(bmp);
    DeleteDC(mem);
}

// Copies the screen rectangle `r` (what the display shows now) into a BMP file.
// Waits (up to `millis`) until no other window covers the screen rectangle `r` of `window`:
// tests run side by side on one display, and a screen shot must show this window only.
// Each try raises the window above the others again; once nothing covers it, the window is
// painted again (a window that just went may have left its pixels on the screen) and looked
// at once more. False when it stays covered.
inline bool waitUncovered(HWND window, const RECT& r, int millis = 10000)
{
    auto uncovered = [&]
    {
        SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        // Every shown window above it (the pointer's search below skips layered ones, such
        // as a window fading out).
        for (HWND above = GetWindow(window, GW_HWNDPREV); above; above = GetWindow(above, GW_HWNDPREV))
        {
            RECT a, overlap;
            if (IsWindowVisible(above) && GetWindowRect(above, &a) && IntersectRect(&overlap, &a, &r))
                return false;
        }
        for (int i = 0; i <= 4; ++i)
        {
            for (int j = 0; j <= 4; ++j)
            {
                POINT p{r.left + (r.right - 1 - r.left) * i / 4, r.top + (r.bottom - 1 - r.top) * j / 4};
                HWND at = WindowFromPoint(p);
                if (at == nullptr || GetAncestor(at, GA_ROOT) != window)
                    return false;
            }
        }
        return true;
    };
    for (int waited = 0;; waited += 100)
    {
        if (uncovered())
        {
            RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
            settle(window);
            Sleep(100);
            if (uncovered())
                return true;
        }
        if (waited >= millis)
            return false;
        Sleep(100);
    }
}

inline bool saveScreen(const RECT& r, const char* path)
{
    BITMAPINFOHEADER header{};
    std::vector<unsigned char> bits;
    grabScreen(r, &header, &bits);
    return !bits.empty() && writeBmp24(path, header, bits.data());
}

} // namespace testgui
