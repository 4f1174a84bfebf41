#include "s/gui/drawer/groupbox/win/Thin.h"

#include "s/gui/drawer/Paint.h"

namespace s::gui::drawer::groupbox::win
{

namespace
{
constexpr int CAPTION_LEFT = 8; // where the caption's gap in the top line begins
constexpr int CAPTION_PAD = 3;  // space on each side of the caption inside the gap
} // namespace

int Thin::getCaptionHeight(HDC dc, HFONT font)
{
    int h = 0;
    Paint::measure(dc, L"", font, nullptr, &h);
    return h + Paint::scaled(dc, 4);
}

int Thin::getInset()
{
    return 6;
}

void Thin::draw(HDC dc, int left, int top, int right, int bottom, const wchar_t* caption, HFONT font,
                unsigned flags, uint32_t textColour)
{
    if (!dc || right <= left || bottom <= top)
        return;
    int textW = 0, textH = 0;
    Paint::measure(dc, caption, font, &textW, &textH);
    int lineY = top + textH / 2;
    if (lineY >= bottom)
        lineY = top;
    const int pad = Paint::scaled(dc, CAPTION_PAD);
    int gapLeft = left + Paint::scaled(dc, CAPTION_LEFT), gapRight = gapLeft;
    if (caption && *caption)
        gapRight = gapLeft + textW + 2 * pad;
    if (gapRight > right - 1)
        gapRight = right - 1;
    Paint::hline(dc, left, lineY, gapLeft - left, frame_);
    Paint::hline(dc, gapRight, lineY, right - gapRight, frame_);
    Paint::vline(dc, left, lineY, bottom - lineY, frame_);
    Paint::vline(dc, right - 1, lineY, bottom - lineY, frame_);
    Paint::hline(dc, left, bottom - 1, right - left, frame_);
    Paint::text(dc, gapLeft + pad, top, gapRight - pad, top + textH, caption, font,
                captionColour(flags, textColour), DT_LEFT | DT_TOP | DT_SINGLELINE);
}

} // namespace s::gui::drawer::groupbox::win
