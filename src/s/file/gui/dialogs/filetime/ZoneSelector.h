#pragma once
// One zone selector of the file-time dialog with its daylight check box ("System with
// Daylight Saving Adjustment") and the remembered daylight state that belongs to it.
//
// Entries: "Current System Time Zone - <the system zone's display name>" (value -1; its
// text follows a change of language), a
// separator line (value ZoneSeparator) and one entry per zone of the system's list (value:
// its position). The remembered state is what is saved: the box shows a forced state while
// the system entry or a zone without a daylight rule is selected.
//
// The combo box and the check box belong to the window's component tree; the selector
// only points at them. Used on the window's thread.

#include <cstdint>

namespace s::lang
{
class Localizer;
}
namespace s::time
{
class TimeZone;
}
namespace s::gui::events
{
class IEventListener;
}
namespace s::gui::win
{
class ComboBox;
class CheckBox;
} // namespace s::gui::win

namespace s::file::gui::dialogs::filetime
{

class ZoneSelector
{
  public:
    static constexpr int32_t TEXT_SYSTEM_ZONE = 5001100;
    static constexpr int32_t TEXT_DAYLIGHT = 5003000;
    static constexpr int32_t SEPARATOR_LENGTH = 38;

    // Makes the combo box (width 100 %, height 23) with its entries and the unchecked
    // daylight box. isTo: the To selector, which remembers a box that a zone without a
    // daylight rule unchecks.
    void build(s::lang::Localizer* localizer, bool isTo);
    s::gui::win::ComboBox* combo() const { return combo_; }
    s::gui::win::CheckBox* daylightBox() const { return box_; }
    // Tells `listener` (not owned) of each change of selection and of each click on the box.
    void listen(s::gui::events::IEventListener* listener);

    // Selects item 0, then the first entry whose text equals `savedText` ignoring case.
    void restoreZone(const wchar_t* savedText);
    // Remembers `daylight` and shows it in the box, or the system's daylight state while
    // the system entry is selected.
    void restoreDaylight(bool daylight);

    // The selection changed (by the user): the separator snaps back; the system entry
    // remembers the box and shows the system's state; a zone enables the box when it has
    // a daylight rule and shows the remembered state (or, without a rule, unchecks it,
    // a To selector remembering it first).
    void selectionChanged();
    // The user clicked the box.
    void daylightClicked();

    // Enables the box exactly when a zone with a daylight rule is selected.
    void enableDaylightForZone();
    void setEnabled(bool on);

    // The selected zone (the system's for the system entry).
    const s::time::TimeZone& zone();
    bool isDaylightChecked();
    bool isSystemSelected();
    bool hasDaylightRule();
    bool getRemembered() const { return remembered_; }
    // The text of the selected entry.
    const wchar_t* selectedText();

  private:
    s::gui::win::ComboBox* combo_ = nullptr;
    s::gui::win::CheckBox* box_ = nullptr;
    bool isTo_ = false;
    bool remembered_ = false;
};

} // namespace s::file::gui::dialogs::filetime
