#pragma once
#include "s/gui/IComponent.h"

namespace s::gui
{

// A radio button. Events: 0 on the selected list when it became selected, 0 on the
// deselected list when it lost the selection; fired only for changes made by the user
// (a click, and the platform unchecking the other buttons of the group on a click):
// setSelected stores the new state before the native button is told.
// A group starts at a button with setGroupStart and runs to the next one among the
// siblings of the same container.
class IRadioButton : public IComponent
{
  public:
    enum Event
    {
        EVENT_SELECTED = 0,
        EVENT_DESELECTED = 0
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
    virtual void addSelectedListener(events::IEventListener* listener) = 0;
    virtual void addDeselectedListener(events::IEventListener* listener) = 0;
    // The native button's state once it exists, else the stored one.
    virtual bool isSelected() = 0;
    virtual void setSelected(bool selected, bool notify) = 0;
    // Enabled exactly while selected / while not selected.
    virtual void linkEnabled(IComponent* target) = 0;
    virtual void enableWhenSelected(IComponent* target) = 0;
    virtual void disableWhenDeselected(IComponent* target) = 0;
    virtual void linkEnabledInverse(IComponent* target) = 0;
    virtual void enableWhenDeselected(IComponent* target) = 0;
    virtual void disableWhenSelected(IComponent* target) = 0;
    // Editable exactly while selected (a text field or a combo box).
    virtual void linkEditable(IComponent* target) = 0;
    virtual void editableWhenSelected(IComponent* target) = 0;
    virtual void uneditableWhenDeselected(IComponent* target) = 0;
    virtual void setGroupStart(bool on) = 0;
};

} // namespace s::gui
