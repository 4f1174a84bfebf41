#include "s/gui/drawer/text/win/Basic.h"

#include "s/gui/win/GdiText.h"

namespace s::gui::drawer::text::win
{

void Basic::drawText(HDC__* dc, int left, int top, int right, int bottom, const wchar_t* text, IFont* font,
                     int alignment)
{
    gui::win::GdiText::Shared()->drawText(dc, left, top, right, bottom, text, font, alignment);
}

} // namespace s::gui::drawer::text::win
