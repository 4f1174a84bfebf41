#pragma once
#include <cstdint>

namespace s::gui::drawer
{

// A colour scheme: a name and fifteen colours C1 … C15 (0x00BBGGRR). Their roles:
//   C1 window background      C2 window frame line      C6 text       C15 accent
// and, handed to the widget drawers in this order,
//   C3 component borders, group frames, the line under a menu bar and along the status bar
//   C4 button frames          C5 check box, radio button and combo frames
//   C7 button and combo faces C8 pressed and toggled-on button faces
//   C9 disabled text, the status-bar grip
//   C10 picture background    C11 menu and glyph-box background   C12 menu text and marks
//   C13 hovered menu item     C14 selection fills
// The tables are fixed: a scheme is found by family and index or name, never built.
struct Scheme
{
    enum Role
    {
        BACKGROUND = 1,
        FRAME = 2,
        BORDER = 3,
        BUTTON_FRAME = 4,
        MARK_FRAME = 5,
        TEXT = 6,
        FACE = 7,
        PRESSED = 8,
        DISABLED = 9,
        PICTURE = 10,
        MENU_BACKGROUND = 11,
        MENU_TEXT = 12,
        MENU_HOVER = 13,
        SELECTION = 14,
        ACCENT = 15
    };
    static constexpr int COLOUR_COUNT = 15;

    const wchar_t* name;
    uint32_t colours[COLOUR_COUNT];

    // The colour of `role` (1 … 15); 0 for another number.
    uint32_t colour(int role) const
    {
        return role >= 1 && role <= COLOUR_COUNT ? colours[role - 1] : 0;
    }

    // The "ThinWindow" family, in list order.
    static int thinWindowCount();
    static const Scheme* thinWindow(int index);
    // The "Thin" family, in list order; its six colours (background, frame, text, two
    // drawing colours, accent) are spread over the fifteen roles.
    static int thinCount();
    static const Scheme* thin(int index);
};

} // namespace s::gui::drawer
