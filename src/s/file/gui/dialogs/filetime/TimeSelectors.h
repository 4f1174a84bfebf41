#pragma once
// One set of six time selectors (year, month, day, hour, minute, second) as the file-time
// dialog shows a local wall-clock time: years 1970..3000, months by their language-pack
// names, always 31 days.
//
// The combo boxes belong to the row they were added to (the window's component tree);
// the set only points at them. Any thread may write or read a set: the combo boxes carry
// selection changes over to their window's thread.

#include <cstdint>

#include "s/time/EpochSeconds.h"

namespace s::lang
{
class Localizer;
}
namespace s::gui
{
class IBox;
class IComponent;
namespace events
{
class IEventListener;
}
namespace win
{
class ComboBox;
}
} // namespace s::gui

namespace s::file::gui::dialogs::filetime
{

class TimeSelectors
{
  public:
    static constexpr int32_t FIRST_YEAR = 1970;
    static constexpr int32_t LAST_YEAR = 3000;
    // Language-pack id of "Jan"; "Dec" is FIRST_MONTH_TEXT + 11.
    static constexpr int32_t FIRST_MONTH_TEXT = 1150001;

    // Makes the six selectors (each on its first entry) and adds them to `row`: year,
    // month, day, a 15-pixel gap, hour, ":", minute, a 15-pixel gap, second.
    void build(s::gui::IBox* row, s::lang::Localizer* localizer);
    void listen(s::gui::events::IEventListener* listener);

    // Shows the UTC instant `seconds` as local wall-clock time; a negative value counts as
    // 0 and a year outside 1970..3000 shows as 1970.
    void write(s::time::EpochSeconds seconds);
    // Whether the selected day exists in the selected month and year.
    bool isDateValid();
    // The selected local time as a UTC instant (negative results give 0); false, with
    // *seconds untouched, when the selected day does not exist in its month.
    bool read(s::time::EpochSeconds* seconds);

    void setEnabled(bool on);
    // Whether `source` (an event source) is one of the six.
    bool contains(void* source) const;

    s::gui::win::ComboBox* year() const { return selectors_[0]; }
    s::gui::win::ComboBox* month() const { return selectors_[1]; }
    s::gui::win::ComboBox* day() const { return selectors_[2]; }
    s::gui::win::ComboBox* hour() const { return selectors_[3]; }
    s::gui::win::ComboBox* minute() const { return selectors_[4]; }
    s::gui::win::ComboBox* second() const { return selectors_[5]; }

  private:
    int32_t selectedValue(int index);
    s::gui::win::ComboBox* selectors_[6] = {};
};

// Selects the first entry of `combo` whose value is `value`; false (selection unchanged)
// when there is none. Fires the selection event only with notify.
bool selectByValue(s::gui::win::ComboBox* combo, intptr_t value, bool notify);
// The value of the selected entry, or `fallback` when none is selected.
intptr_t selectedValue(s::gui::win::ComboBox* combo, intptr_t fallback);
// The event-source form of a component (what its listeners receive as source).
void* eventSource(s::gui::IComponent* component);

} // namespace s::file::gui::dialogs::filetime
