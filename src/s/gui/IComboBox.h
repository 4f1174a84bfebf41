#pragma once
#include "s/gui/IComponent.h"

namespace s::gui
{

namespace combobox
{
class ComboBoxItem;
}

// A drop-down list of ComboBoxItem entries. Event 0: the selection changed (by the
// user, or by setSelection with notify); getPreviousSelection tells the one before.
// The items belong to the combo box. Not editable: the user cannot open or change it.
class IComboBox : public IComponent
{
  public:
    enum Event
    {
        EVENT_SELECTION_CHANGED = 0
    };
    // Takes ownership (null is ignored).
    virtual void addItem(combobox::ComboBoxItem* item) = 0;
    // Null when out of range; stays owned by the combo box.
    virtual combobox::ComboBoxItem* getItem(int index) = 0;
    virtual int getItemCount() = 0;
    // Releases every item; no selection.
    virtual void clear() = 0;
    // -1 when nothing is selected.
    virtual int getSelection() = 0;
    virtual void setSelection(int index, bool notify) = 0;
    virtual int getPreviousSelection() = 0;
    virtual void addSelectionListener(events::IEventListener* listener) = 0;
    // Rows shown by the open list.
    virtual void setVisibleItems(int count) = 0;
};

} // namespace s::gui
