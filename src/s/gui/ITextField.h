#pragma once
#include "s/gui/IComponent.h"

namespace s::gui
{

// A one-line text field. Events: 1 the text changed (typed, or set with notify);
// 3 the field lost the keyboard focus (also when read-only).
class ITextField : public IComponent
{
  public:
    enum Event
    {
        EVENT_CHANGED = 1,
        EVENT_FOCUS_LOST = 3
    };
    // The text as shown (typing included); valid until the next change.
    virtual const wchar_t* getText() = 0;
    // Without notify, the change fires nothing.
    virtual void setText(const wchar_t* text, bool notify) = 0;
    // (setEditable / isEditable: IComponent's; false = read-only.)
    // Only the digits 0-9 can be typed.
    virtual void setNumbersOnly(bool on) = 0;
    // Characters that can be typed at most (0 = the platform's limit).
    virtual void setMaxLength(int characters) = 0;
    // Focus, select all and scroll the caret into view, on the window's thread.
    virtual void selectAll() = 0;
    virtual void addChangeListener(events::IEventListener* listener) = 0;
    virtual void addFocusLostListener(events::IEventListener* listener) = 0;
    virtual void setTextColour(int r, int g, int b) = 0;
};

} // namespace s::gui
