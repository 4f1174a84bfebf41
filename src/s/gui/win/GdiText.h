#pragma once
#include "s/gui/drawer/IText.h"

namespace s::gui::win
{

// The text drawer that widgets use when no skin gives them one: plain GDI text in the
// font's colour, with its shadow and outline. Stateless; one shared instance.
class GdiText : public drawer::IText
{
  public:
    static GdiText* Shared();
    void drawText(HDC__* dc, int left, int top, int right, int bottom, const wchar_t* text, IFont* font,
                  int alignment) override;
};

} // namespace s::gui::win
