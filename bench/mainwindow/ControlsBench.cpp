// What a native window costs against drawing in the parent, and what filling a long list
// costs, on this display: the figures behind which parts of the main window get a native
// window of their own and how its long lists are filled. Plain Win32, no toolkit, one
// shown top-level window; each figure is the median of 5 rounds, in microseconds per item.
//   static label      CreateWindowExW("STATIC") with its text and font, then painted
//   plain child       a child of an own class that paints nothing (a layout-only box)
//   drawn in parent   the same text drawn by the parent (DrawTextW) in one paint
//   group frame       CreateWindowExW("BUTTON", BS_GROUPBOX) against DrawEdge + DrawTextW
//   combo box         CreateWindowExW("COMBOBOX", CBS_DROPDOWNLIST), empty
//   list item         CB_ADDSTRING of "1970".."3000" one by one: as it stands, with the
//                     redraw off, and with the redraw off and CB_INITSTORAGE first
// Run from the build folder: wine-run.sh bench/mainwindow/bench_controls.exe
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

namespace
{

constexpr int COUNT = 100;
constexpr int FIRST_YEAR = 1970, LAST_YEAR = 3000;

LRESULT CALLBACK PlainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcW(window, message, wParam, lParam);
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Runs the message loop until nothing is waiting (creation and painting done).
void Drain(HWND window)
{
    UpdateWindow(window);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
    {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// Microseconds per item of `work` (which makes `items` things in `parent`), median of 5,
// the parent's children destroyed between rounds.
double Time(HWND parent, int items, const std::function<void(HWND)>& work)
{
    std::vector<double> rounds;
    for (int round = 0; round < 5; ++round)
    {
        const auto start = std::chrono::steady_clock::now();
        work(parent);
        Drain(parent);
        const double us = std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count();
        rounds.push_back(us / items);
        for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr; child = GetWindow(parent, GW_CHILD))
            DestroyWindow(child);
        Drain(parent);
    }
    return Median(rounds);
}

HFONT g_font = nullptr;

} // namespace

int main()
{
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = &PlainProc;
    wc.hInstance = instance;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    wc.lpszClassName = L"BenchPlain";
    RegisterClassExW(&wc);
    HWND top = CreateWindowExW(0, L"BenchPlain", L"controls", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0, 900, 700,
                               nullptr, nullptr, instance, nullptr);
    ShowWindow(top, SW_SHOW);
    Drain(top);
    g_font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));

    const double label = Time(top, COUNT,
                              [&](HWND parent)
                              {
                                  for (int i = 0; i < COUNT; ++i)
                                  {
                                      HWND h = CreateWindowExW(0, L"STATIC", L"Synchronize To:", WS_CHILD | WS_VISIBLE,
                                                               (i % 5) * 170, (i / 5) * 30, 160, 20, parent, nullptr,
                                                               instance, nullptr);
                                      SendMessageW(h, WM_SETFONT, WPARAM(g_font), FALSE);
                                  }
                              });
    const double plain = Time(top, COUNT,
                              [&](HWND parent)
                              {
                                  for (int i = 0; i < COUNT; ++i)
                                      CreateWindowExW(WS_EX_CONTROLPARENT, L"BenchPlain", L"",
                                                      WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, (i % 5) * 170,
                                                      (i / 5) * 30, 160, 20, parent, nullptr, instance, nullptr);
                              });
    const double drawn = Time(top, COUNT,
                              [&](HWND parent)
                              {
                                  HDC dc = GetDC(parent);
                                  HGDIOBJ old = SelectObject(dc, g_font);
                                  SetBkMode(dc, TRANSPARENT);
                                  for (int i = 0; i < COUNT; ++i)
                                  {
                                      RECT r{(i % 5) * 170, (i / 5) * 30, (i % 5) * 170 + 160, (i / 5) * 30 + 20};
                                      DrawTextW(dc, L"Synchronize To:", -1, &r, DT_LEFT | DT_SINGLELINE | DT_VCENTER);
                                  }
                                  SelectObject(dc, old);
                                  ReleaseDC(parent, dc);
                              });
    const double group = Time(top, COUNT,
                              [&](HWND parent)
                              {
                                  for (int i = 0; i < COUNT; ++i)
                                  {
                                      HWND h = CreateWindowExW(0, L"BUTTON", L"Easy Edit:",
                                                               WS_CHILD | WS_VISIBLE | BS_GROUPBOX, (i % 5) * 170,
                                                               (i / 5) * 30, 160, 28, parent, nullptr, instance, nullptr);
                                      SendMessageW(h, WM_SETFONT, WPARAM(g_font), FALSE);
                                  }
                              });
    const double frameDrawn = Time(top, COUNT,
                                   [&](HWND parent)
                                   {
                                       HDC dc = GetDC(parent);
                                       HGDIOBJ old = SelectObject(dc, g_font);
                                       for (int i = 0; i < COUNT; ++i)
                                       {
                                           RECT r{(i % 5) * 170, (i / 5) * 30 + 6, (i % 5) * 170 + 160, (i / 5) * 30 + 28};
                                           DrawEdge(dc, &r, EDGE_ETCHED, BF_RECT);
                                           RECT t{r.left + 8, r.top - 6, r.right, r.top + 8};
                                           DrawTextW(dc, L"Easy Edit:", -1, &t, DT_LEFT | DT_SINGLELINE);
                                       }
                                       SelectObject(dc, old);
                                       ReleaseDC(parent, dc);
                                   });
    const double combo = Time(top, 20,
                              [&](HWND parent)
                              {
                                  for (int i = 0; i < 20; ++i)
                                  {
                                      HWND h = CreateWindowExW(0, L"COMBOBOX", L"",
                                                               WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL |
                                                                   CBS_DROPDOWNLIST,
                                                               (i % 5) * 170, (i / 5) * 30, 160, 300, parent, nullptr,
                                                               instance, nullptr);
                                      SendMessageW(h, WM_SETFONT, WPARAM(g_font), FALSE);
                                  }
                              });
    const int years = LAST_YEAR - FIRST_YEAR + 1;
    auto fill = [&](bool quiet, bool batch)
    {
        return [&, quiet, batch](HWND parent)
        {
            HWND h = CreateWindowExW(0, L"COMBOBOX", L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST, 10, 10,
                                     80, 300, parent, nullptr, instance, nullptr);
            if (quiet)
                SendMessageW(h, WM_SETREDRAW, FALSE, 0);
            if (batch)
                SendMessageW(h, CB_INITSTORAGE, WPARAM(years), LPARAM(years * 5 * sizeof(wchar_t)));
            wchar_t text[16];
            for (int y = FIRST_YEAR; y <= LAST_YEAR; ++y)
            {
                std::swprintf(text, 16, L"%d", y);
                SendMessageW(h, CB_ADDSTRING, 0, LPARAM(text));
            }
            SendMessageW(h, CB_SETCURSEL, 0, 0);
            if (quiet)
                SendMessageW(h, WM_SETREDRAW, TRUE, 0);
        };
    };
    const double oneByOne = Time(top, years, fill(false, false));
    const double quiet = Time(top, years, fill(true, false));
    const double batched = Time(top, years, fill(true, true));

    std::printf("native window against drawing in the parent, microseconds per item, median of 5\n");
    std::printf("  static label (own window)          %8.1f\n", label);
    std::printf("  plain child (a layout-only box)    %8.1f\n", plain);
    std::printf("  label drawn in the parent          %8.1f\n", drawn);
    std::printf("  group frame (own window)           %8.1f\n", group);
    std::printf("  group frame drawn in the parent    %8.1f\n", frameDrawn);
    std::printf("  combo box (drop-down list, empty)  %8.1f\n", combo);
    std::printf("  list item, one by one              %8.1f   (%d items: %.1f ms)\n", oneByOne, years,
                oneByOne * years / 1000);
    std::printf("  list item, no redraw               %8.1f   (%d items: %.1f ms)\n", quiet, years, quiet * years / 1000);
    std::printf("  list item, storage first, no redraw %7.1f   (%d items: %.1f ms)\n", batched, years,
                batched * years / 1000);
    DestroyWindow(top);
    return 0;
}
