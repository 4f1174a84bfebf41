#include "s/gui/drawer/window/win/Thin.h"

#include "s/gui/drawer/Paint.h"

namespace s::gui::drawer::window::win
{

void Thin::Reset()
{
    background_ = 0;
    frame_ = 0;
    transparent_ = true;
    topStyle_ = CORNER_SQUARE;
    bottomStyle_ = CORNER_SQUARE;
}

void Thin::setBackgroundColour(uint32_t colour)
{
    background_ = colour;
    transparent_ = false;
}

void Thin::draw(HDC dc, int left, int top, int right, int bottom)
{
    int w = right - left, h = bottom - top;
    if (!dc || w <= 0 || h <= 0)
        return;
    if (!transparent_)
        Paint::fill(dc, left, top, right, bottom, background_);
    Paint::hline(dc, left, top, w, frame_);
    Paint::vline(dc, left + w - 1, top, h, frame_);
    Paint::hline(dc, left, top + h - 1, w, frame_);
    Paint::vline(dc, left, top, h - 1, frame_);
    drawCorners(dc, left, w, topStyle_, 1, top + 1);
    drawCorners(dc, left, w, bottomStyle_, -1, top + h - 2);
}

void Thin::drawCorners(HDC dc, int left, int width, int style, int rowStep, int firstRow)
{
    if (style == CORNER_CUT)
    {
        Paint::hline(dc, left, firstRow, 2, frame_);
        Paint::hline(dc, left + width - 2, firstRow, 2, frame_);
    }
    else if (style == CORNER_ROUND)
    {
        static constexpr int RUNS[] = {5, 3, 2, 2, 1};
        for (int i = 0; i < 5; ++i)
        {
            int y = firstRow + i * rowStep;
            Paint::hline(dc, left, y, RUNS[i], frame_);
            Paint::hline(dc, left + width - RUNS[i], y, RUNS[i], frame_);
        }
    }
}

void Thin::paintFrame(gui::IWindow*, HDC__* dc, int width, int height)
{
    draw(reinterpret_cast<HDC>(dc), 0, 0, width, height);
}

} // namespace s::gui::drawer::window::win
