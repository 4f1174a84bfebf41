#include "s/gui/drawer/image/win/Basic.h"

#include "s/gui/drawer/Paint.h"

namespace s::gui::drawer::image::win
{

void Basic::Reset()
{
    background_ = 0xFFFFFF;
    transparent_ = true;
}

void Basic::setBackgroundColour(uint32_t colour)
{
    background_ = colour;
    transparent_ = false;
}

void Basic::draw(HDC dc, int left, int top, int right, int bottom, HBITMAP bitmap, int fit)
{
    int w = right - left, h = bottom - top;
    if (!dc || w <= 0 || h <= 0)
        return;
    if (!transparent_)
        Paint::fill(dc, left, top, right, bottom, background_);
    BITMAP info{};
    if (!bitmap || !GetObjectW(bitmap, sizeof(info), &info) || info.bmWidth <= 0 || info.bmHeight == 0)
        return;
    int bw = info.bmWidth, bh = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
    int dx = left, dy = top, dw = w, dh = h;
    if (fit == FIT_KEEP_ASPECT)
    {
        // The larger of the two scales that still fits, in whole pixels.
        if (static_cast<long long>(w) * bh <= static_cast<long long>(h) * bw)
        {
            dw = w;
            dh = static_cast<int>(static_cast<long long>(bh) * w / bw);
        }
        else
        {
            dh = h;
            dw = static_cast<int>(static_cast<long long>(bw) * h / bh);
        }
        dx = left + (w - dw) / 2;
        dy = top + (h - dh) / 2;
    }
    else if (fit == FIT_NATURAL)
    {
        dw = bw;
        dh = bh;
        dx = left + (w - bw) / 2;
        dy = top + (h - bh) / 2;
    }
    HDC source = CreateCompatibleDC(dc);
    if (!source)
        return;
    HGDIOBJ old = SelectObject(source, bitmap);
    int saved = SaveDC(dc);
    IntersectClipRect(dc, left, top, right, bottom);
    if (dw == bw && dh == bh)
    {
        BitBlt(dc, dx, dy, dw, dh, source, 0, 0, SRCCOPY);
    }
    else
    {
        SetStretchBltMode(dc, HALFTONE);
        SetBrushOrgEx(dc, 0, 0, nullptr);
        StretchBlt(dc, dx, dy, dw, dh, source, 0, 0, bw, bh, SRCCOPY);
    }
    RestoreDC(dc, saved);
    SelectObject(source, old);
    DeleteDC(source);
}

void Basic::drawIcon(HDC dc, int left, int top, int right, int bottom, HICON icon)
{
    // An icon's own transparency shows what the caller painted: no background here.
    if (!dc || !icon || right <= left || bottom <= top)
        return;
    if (icon)
        DrawIconEx(dc, left, top, icon, right - left, bottom - top, 0, nullptr, DI_NORMAL);
}

} // namespace s::gui::drawer::image::win
