// The "From the item itself:" method of the Change Multiple panel: a time each item states
// itself (the date a photo was taken, the date in its name, a folder's newest item inside),
// with the zone that clock times are read in; its settings and the end status of its runs.
#include "s/file/gui/dialogs/filetime/Dialog.h"

#include <string>

#include "s/gui/combobox/ComboBoxItem.h"
#include "s/gui/win/Factories.h"
#include "s/map/IMappedData.h"
#include "s/time/TimeZone.h"

namespace s::file::gui::dialogs::filetime
{

using s::gui::combobox::ComboBoxItem;
using s::gui::win::Box;
using s::gui::win::newBox;
using s::gui::win::newLayoutBox;

namespace
{
constexpr int32_t TEXT_ZONE = 7500040;
constexpr int32_t TEXT_HELP = 7500050;
constexpr int32_t TEXT_END_STATUS = 7500060;
// The sources, in the order of the selector's entries, with their texts.
const wchar_t* const SOURCES[] = {FromTaken, FromName, FromNewestInside};
constexpr int32_t SOURCE_TEXTS[] = {7500010, 7500020, 7500030};
constexpr int SOURCE_COUNT = 3;

// Settings of the row (section "View\Multiple").
constexpr wchar_t KEY_SOURCE[] = L"FromItem";
constexpr wchar_t KEY_ZONE[] = L"FromItemZone";
constexpr wchar_t KEY_DAYLIGHT[] = L"FromItemZone_ConsiderDaylight";
} // namespace

s::gui::IComponent* Dialog::buildFromItemRow(s::lang::Localizer* localizer)
{
    s::gui::win::RadioButton* method = multi_.methods[METHOD_FROM_ITEM];
    // Its own width: the label is longer than the column of the other methods.
    method->setGroupStart(true);
    Box* row = newBox(100, -1, 0, 1, 5, -1, -1, -1, s::gui::IBox::MODE_ROW);
    row->alignTop();
    row->add(method);
    Box* column = newLayoutBox(100, -1, 0, 0, -1, 4, -1, -1, s::gui::IBox::MODE_COLUMN);
    multi_.fromSource = s::gui::win::newComboBox(-1);
    multi_.fromSource->setWidthPercent(100);
    multi_.fromSource->setFixedHeight(s::gui::win::COMBO_BOX_HEIGHT);
    for (int i = 0; i < SOURCE_COUNT; ++i)
    {
        multi_.fromSource->addItem(
            ComboBoxItem::newItemById(SOURCE_TEXTS[i], localizer, ComboBoxItem::keyValue(SOURCES[i])));
    }
    multi_.fromSource->setSelection(0, false);
    column->add(multi_.fromSource);
    Box* zoneLine = newLayoutBox(100, -1, 0, 0, 5, -1, -1, -1, s::gui::IBox::MODE_ROW);
    s::gui::win::Label* zoneLabel = s::gui::win::newCaptionById(TEXT_ZONE, false, false, 1000);
    zoneLabel->setFixedHeight(s::gui::win::COMBO_BOX_HEIGHT);
    zoneLine->add(zoneLabel);
    multi_.clockZone.build(localizer, false);
    zoneLine->add(multi_.clockZone.combo());
    column->add(zoneLine);
    column->add(multi_.clockZone.daylightBox());
    column->add(s::gui::win::newLabelById(TEXT_HELP, false, false, 1000)); // read by screen readers
    row->add(column);
    // Clock times are read with each date's own daylight rule unless the user says not.
    multi_.clockZone.restoreDaylight(true);
    return static_cast<s::gui::IBox*>(row);
}

void Dialog::listenFromItemRow()
{
    multi_.clockZone.combo()->addSelectionListener(this);
    multi_.clockZone.daylightBox()->addCheckedListener(this);
    multi_.clockZone.daylightBox()->addUncheckedListener(this);
}

void Dialog::enableFromItemRow(bool chosen)
{
    if (multi_.fromSource == nullptr)
    {
        return;
    }
    multi_.fromSource->setEnabled(chosen);
    multi_.clockZone.setEnabled(chosen);
    if (!chosen)
    {
        multi_.clockZone.daylightBox()->setEnabled(false);
    }
    else
    {
        multi_.clockZone.enableDaylightForZone();
    }
}

bool Dialog::handleFromItemEvent(void* source)
{
    if (multi_.fromSource == nullptr)
    {
        return false;
    }
    if (source == eventSource(multi_.clockZone.combo()))
    {
        multi_.clockZone.selectionChanged();
    }
    else if (source == eventSource(multi_.clockZone.daylightBox()))
    {
        multi_.clockZone.daylightClicked();
    }
    else
    {
        return false;
    }
    return true;
}

void Dialog::captureFromItem(ChangeRequest& request)
{
    request.mode = ModeFromItem;
    const int index = multi_.fromSource->getSelection();
    request.fromSource = index >= 0 && index < SOURCE_COUNT ? SOURCES[index] : FromTaken;
    // The system entry stands for the system's zone; list zones live as long as the process.
    request.wallClockZone = &multi_.clockZone.zone();
    request.wallClockDaylight = multi_.clockZone.isDaylightChecked();
}

void Dialog::saveFromItem(s::map::IMappedData* store)
{
    if (multi_.fromSource == nullptr)
    {
        return;
    }
    const int index = multi_.fromSource->getSelection();
    store->setString(SECTION_MULTIPLE, KEY_SOURCE, index >= 0 && index < SOURCE_COUNT ? SOURCES[index] : FromTaken);
    store->setString(SECTION_MULTIPLE, KEY_ZONE, multi_.clockZone.selectedText());
    store->setBool(SECTION_MULTIPLE, KEY_DAYLIGHT, multi_.clockZone.getRemembered());
}

void Dialog::restoreFromItem(s::map::IMappedData* store)
{
    if (multi_.fromSource == nullptr)
    {
        return;
    }
    const wchar_t* source = store->getString(SECTION_MULTIPLE, KEY_SOURCE, FromTaken, nullptr, true);
    for (int i = 0; i < SOURCE_COUNT; ++i)
    {
        if (lstrcmpiW(source, SOURCES[i]) == 0)
        {
            multi_.fromSource->setSelection(i, false);
        }
    }
    multi_.clockZone.restoreZone(store->getString(SECTION_MULTIPLE, KEY_ZONE, L"", nullptr, true));
    multi_.clockZone.restoreDaylight(store->getBool(SECTION_MULTIPLE, KEY_DAYLIGHT, true));
    enableFromItemRow(getMethod() == METHOD_FROM_ITEM);
}

void Dialog::showFromItemEnd()
{
    // A run of this method says what it found: items without a date are no failures, and
    // the user should see them counted.
    if (engine_.getAction() != ChangeEngine::ACTION_CHANGE_MULTIPLE || engine_.getRequest().mode != ModeFromItem)
    {
        return;
    }
    std::wstring status = text(TEXT_END_STATUS);
    if (status.empty())
    {
        status = L"%1 changed, %2 without a date, %3 failed";
    }
    const uint32_t counts[3] = {engine_.getChangedCount(), engine_.getWithoutDateCount(), engine_.getFailureCount()};
    const wchar_t* const marks[3] = {L"%1", L"%2", L"%3"};
    for (int i = 0; i < 3; ++i)
    {
        const size_t at = status.find(marks[i]);
        if (at != std::wstring::npos)
        {
            status.replace(at, 2, std::to_wstring(counts[i]));
        }
    }
    setStatus(status.c_str());
}

} // namespace s::file::gui::dialogs::filetime
