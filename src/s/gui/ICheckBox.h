#pragma once
#include "s/gui/IComponent.h"

namespace s::gui
{

// A check box. Events: 1 became checked, 2 became unchecked, fired only for changes
// made by the user: setChecked and setCheckedSilently store the new state before the
// native box is told, so they fire nothing and links do not follow them.
// Links: each role is one listener made on first use; every call adds a target.
class ICheckBox : public IComponent
{
  public:
    enum Event
    {
        EVENT_CHECKED = 1,
        EVENT_UNCHECKED = 2
    };
    virtual void setText(const wchar_t* text) = 0;
    virtual const wchar_t* getText() = 0;
    virtual void setTextId(int textId) = 0;
    virtual int getTextId() = 0;
    virtual void setFontSize(int code) = 0;
    virtual void setBold(bool on) = 0;
    virtual void setItalic(bool on) = 0;
    virtual void setUnderline(bool on) = 0;
    virtual void setTextColour(int r, int g, int b) = 0;
    virtual void addCheckedListener(events::IEventListener* listener) = 0;
    virtual void addUncheckedListener(events::IEventListener* listener) = 0;
    virtual bool isChecked() = 0;
    virtual void setChecked(bool checked) = 0;
    // As setChecked, with the box's notifications off around the native change.
    virtual void setCheckedSilently(bool checked) = 0;
    // The target is enabled exactly while the box is checked (both halves below).
    virtual void linkEnabled(IComponent* target) = 0;
    virtual void enableWhenChecked(IComponent* target) = 0;
    virtual void disableWhenUnchecked(IComponent* target) = 0;
    // The target is enabled exactly while the box is unchecked.
    virtual void linkEnabledInverse(IComponent* target) = 0;
    virtual void enableWhenUnchecked(IComponent* target) = 0;
    virtual void disableWhenChecked(IComponent* target) = 0;
};

} // namespace s::gui
