#include "s/gui/drawer/groupbox/win/Basic.h"

#include "s/gui/drawer/Paint.h"

namespace s::gui::drawer::groupbox::win
{

int Basic::getCaptionHeight(HDC dc, HFONT font)
{
    int h = 0;
    Paint::measure(dc, L"", font, nullptr, &h);
    return h + 4;
}

int Basic::getInset()
{
    return 0;
}

void Basic::draw(HDC dc, int left, int top, int right, int bottom, const wchar_t* caption, HFONT font,
                 unsigned flags, uint32_t textColour)
{
    if (!dc || right <= left || bottom <= top)
        return;
    int textW = 0, textH = 0;
    Paint::measure(dc, caption, font, &textW, &textH);
    int lineLeft = left + (caption && *caption ? textW + 4 : 0);
    Paint::text(dc, left, top, right, top + textH, caption, font, captionColour(flags, textColour),
                DT_LEFT | DT_TOP | DT_SINGLELINE);
    if (lineLeft < right)
        Paint::hline(dc, lineLeft, top + textH / 2, right - lineLeft, frame_);
}

} // namespace s::gui::drawer::groupbox::win
