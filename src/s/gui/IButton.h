#pragma once
#include "s/gui/IComponent.h"

namespace s::gui
{

class IFont;

// A push button. Events: 1 clicked; 2 after a click (the toggle state already
// updated); 3 pressed, and again every 100 ms after the first 500 ms while held when
// auto-repeat is on. Instead of a text it can show a named glyph ("#Resizer", "#Check",
// "#Down", "#Plus", "#Minus", "#Next", "#Prev", "#OnTop", "#X") in its text colour; a
// "#Resizer" button is a size grip that resizes the top window.
class IButton : public IComponent
{
  public:
    enum Event
    {
        EVENT_CLICKED = 1,
        EVENT_AFTER_CLICK = 2,
        EVENT_PRESSED = 3
    };
    virtual void setText(const wchar_t* text) = 0;
    virtual const wchar_t* getText() = 0;
    virtual void setTextId(int textId) = 0;
    virtual int getTextId() = 0;
    // Font operations on every state's font; each measures again.
    virtual void setFontSize(int code) = 0;
    virtual void setBold(bool on) = 0;
    virtual void setItalic(bool on) = 0;
    virtual void setUnderline(bool on) = 0;
    // The text colour of the normal state.
    virtual void setTextColour(int r, int g, int b) = 0;
    // A glyph name (see above) shown instead of the text; null or "" shows the text.
    virtual void setImage(const wchar_t* name) = 0;
    virtual void setToggle(bool on) = 0;
    virtual bool isToggled() = 0;
    virtual void setToggled(bool on) = 0;
    virtual void setAutoRepeat(bool on) = 0;
    // The default push-button style (a heavier frame), set on the window's thread.
    virtual void setDefault(bool on) = 0;
    virtual void addClickListener(events::IEventListener* listener) = 0;
    virtual void addAfterClickListener(events::IEventListener* listener) = 0;
    virtual void addPressListener(events::IEventListener* listener) = 0;
};

} // namespace s::gui
