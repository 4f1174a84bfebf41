#pragma once
#include "s/gui/IComponent.h"

struct HICON__;

namespace s::gui
{

class IFont;

// A text (and an optional icon) painted on the widget's background or, when
// transparent, on its parent's backdrop. Fonts: the main font and variants for the
// disabled state and, with the hover effect, for the normal, hovered and pressed
// states. Event 1: clicked (only while click listeners exist).
// Threads: setText from any thread is carried out on the window's thread.
class ILabel : public IComponent
{
  public:
    enum Event
    {
        EVENT_CLICKED = 1
    };
    // Nothing happens when the text is unchanged.
    virtual void setText(const wchar_t* text, bool redraw) = 0;
    virtual const wchar_t* getText() = 0;
    virtual void setTextId(int textId) = 0;
    virtual int getTextId() = 0;
    // Font operations on the main font and its variants; each measures again.
    virtual void setFontSize(int code) = 0;
    virtual void setBold(bool on) = 0;
    virtual void setItalic(bool on) = 0;
    virtual void setUnderline(bool on) = 0;
    virtual void setTextColour(int r, int g, int b) = 0;
    // Shown left of the text; destroyed with the label when owned.
    virtual void setIcon(HICON__* icon, bool owned) = 0;
    virtual void setHoverEffect(bool on) = 0;
    virtual void addClickListener(events::IEventListener* listener) = 0;
    // The main font, owned by the label.
    virtual IFont* getFont() = 0;
};

} // namespace s::gui
