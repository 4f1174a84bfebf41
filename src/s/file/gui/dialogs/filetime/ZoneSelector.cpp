#include "s/file/gui/dialogs/filetime/ZoneSelector.h"

#include <windows.h>

#include <string>

#include "s/file/gui/dialogs/filetime/DialogKeys.h"
#include "s/file/gui/dialogs/filetime/TimeSelectors.h"
#include "s/gui/combobox/ComboBoxItem.h"
#include "s/gui/win/Factories.h"
#include "s/lang/Localizer.h"
#include "s/str/strbuffer/StrBuffer.h"
#include "s/time/TimeZone.h"

namespace s::file::gui::dialogs::filetime
{

using s::gui::combobox::ComboBoxItem;

void ZoneSelector::build(s::lang::Localizer* localizer, bool isTo)
{
    isTo_ = isTo;
    remembered_ = false;
    combo_ = s::gui::win::newComboBox(-1);
    combo_->setWidthPercent(100);
    combo_->setFixedHeight(s::gui::win::COMBO_BOX_HEIGHT);
    combo_->setVisibleItems(20);
    // The system entry names the system zone after its text, so that the saved text of
    // the selection names the zone it stood for; the text follows the language (a saved
    // text of another language finds no entry, and the system entry stays selected).
    std::wstring zoneName = L" - ";
    zoneName += s::time::systemZone().getDisplayName().CStr();
    combo_->addItem(ComboBoxItem::newItemByIdWithSuffix(TEXT_SYSTEM_ZONE, localizer, zoneName.c_str(), -1));
    combo_->addItem(ComboBoxItem::newItem(std::wstring(SEPARATOR_LENGTH, L'-').c_str(),
                                          ComboBoxItem::keyValue(ZoneSeparator)));
    for (uint32_t i = 0; i < s::time::zoneCount(); ++i)
    {
        combo_->addItem(ComboBoxItem::newItem(s::time::zoneAt(i)->getDisplayName().CStr(), static_cast<intptr_t>(i)));
    }
    combo_->setSelection(0, false);
    box_ = s::gui::win::newCheckBox(TEXT_DAYLIGHT, false);
}

void ZoneSelector::restoreZone(const wchar_t* savedText)
{
    combo_->setSelection(0, false);
    if (savedText == nullptr || savedText[0] == L'\0')
    {
        return;
    }
    for (int i = 0; i < combo_->getItemCount(); ++i)
    {
        if (lstrcmpiW(combo_->getItem(i)->getText(), savedText) == 0)
        {
            combo_->setSelection(i, false);
            return;
        }
    }
}

void ZoneSelector::restoreDaylight(bool daylight)
{
    remembered_ = daylight;
    box_->setCheckedSilently(isSystemSelected() ? s::time::systemAdjustsDaylight() : daylight);
}

void ZoneSelector::listen(s::gui::events::IEventListener* listener)
{
    combo_->addSelectionListener(listener);
    box_->addCheckedListener(listener);
    box_->addUncheckedListener(listener);
}

bool ZoneSelector::isSystemSelected()
{
    return selectedValue(combo_, -1) == -1;
}

const s::time::TimeZone& ZoneSelector::zone()
{
    const intptr_t value = selectedValue(combo_, -1);
    if (value >= 0 && value != ComboBoxItem::keyValue(ZoneSeparator))
    {
        const s::time::TimeZone* listed = s::time::zoneAt(static_cast<uint32_t>(value));
        if (listed != nullptr)
        {
            return *listed;
        }
    }
    return s::time::systemZone();
}

bool ZoneSelector::hasDaylightRule()
{
    return !isSystemSelected() && zone().hasDaylight();
}

bool ZoneSelector::isDaylightChecked()
{
    return box_->isChecked();
}

const wchar_t* ZoneSelector::selectedText()
{
    ComboBoxItem* item = combo_->getItem(combo_->getSelection());
    return item != nullptr ? item->getText() : L"";
}

void ZoneSelector::selectionChanged()
{
    ComboBoxItem* item = combo_->getItem(combo_->getSelection());
    if (item == nullptr)
    {
        return;
    }
    if (item->getValueKey() == ZoneSeparator)
    {
        const int previous = combo_->getPreviousSelection();
        combo_->setSelection(previous >= 0 && previous != combo_->getSelection() ? previous : 0, false);
        return;
    }
    if (item->getValue() == -1)
    {
        remembered_ = box_->isChecked();
        box_->setEnabled(false);
        box_->setCheckedSilently(s::time::systemZone().isDaylightInUse());
        return;
    }
    const bool rule = zone().hasDaylight();
    box_->setEnabled(rule);
    if (rule)
    {
        box_->setCheckedSilently(remembered_);
    }
    else
    {
        if (isTo_)
        {
            remembered_ = box_->isChecked();
        }
        box_->setCheckedSilently(false);
    }
}

void ZoneSelector::daylightClicked()
{
    remembered_ = box_->isChecked();
}

void ZoneSelector::enableDaylightForZone()
{
    box_->setEnabled(hasDaylightRule());
}

void ZoneSelector::setEnabled(bool on)
{
    combo_->setEnabled(on);
}

} // namespace s::file::gui::dialogs::filetime
