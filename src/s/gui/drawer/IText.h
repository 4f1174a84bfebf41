#pragma once

struct HDC__; // the platform's device-context handle type (HDC)

namespace s::gui
{
class IFont;
}

namespace s::gui::drawer
{

// Paints the text of a widget (a label, a pane of the status bar) onto a background
// the widget has already prepared. A skin supplies its own; without one the widgets use
// s::gui::win::GdiText. Called on the window's thread.
class IText
{
  public:
    enum Alignment
    {
        ALIGN_LEFT = 0,
        ALIGN_CENTRE = 1,
        ALIGN_RIGHT = 2
    };

    virtual ~IText() = default;
    // Draws `text` inside the rectangle (left, top, right, bottom) of `dc` in `font`
    // (face, size, colour, shadow and outline), aligned horizontally by `alignment` and
    // centred vertically; line feeds break lines. The background is left as it is.
    virtual void drawText(HDC__* dc, int left, int top, int right, int bottom, const wchar_t* text, IFont* font,
                          int alignment) = 0;
};

} // namespace s::gui::drawer
