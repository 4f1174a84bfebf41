#pragma once
// Building blocks shared by the file-time dialog's panels (private to the dialog).

#include <cstdint>

namespace s::lang
{
class Localizer;
}
namespace s::gui
{
class IComponent;
namespace win
{
class Box;
class ComboBox;
} // namespace win
} // namespace s::gui

namespace s::file::gui::dialogs::filetime
{

class ZoneSelector;

// A row (width 100 %, children centred vertically, `gap` pixels apart) that only lays out.
s::gui::win::Box* newRow(int gap);
// A centred column of the bold caption, a 5-pixel gap and the hint; then a 15-pixel gap.
void addPanelTitle(s::gui::win::Box* panel, int32_t captionId, int32_t hintId);
// The number selector (1..99, first selected) and the unit selector (Day, Hour, Min, Sec;
// Hour selected) of an offset; both detached, for the caller to add.
void buildOffsetSelectors(s::lang::Localizer* localizer, s::gui::win::ComboBox** digit, s::gui::win::ComboBox** unit);
// The "By Time Zone:" row, `lead` first (its label or method button), with both zone
// selectors built; `tail` (may be null) ends the row after a 3-pixel gap. Detached.
s::gui::win::Box* buildZoneRow(s::lang::Localizer* localizer, ZoneSelector& from, ZoneSelector& to,
                               s::gui::IComponent* lead, s::gui::IComponent* tail);

} // namespace s::file::gui::dialogs::filetime
