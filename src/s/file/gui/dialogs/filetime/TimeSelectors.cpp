#include "s/file/gui/dialogs/filetime/TimeSelectors.h"

#include <cwchar>

#include "s/gui/combobox/ComboBoxItem.h"
#include "s/gui/win/Factories.h"
#include "s/time/Time.h"

namespace s::file::gui::dialogs::filetime
{

using s::gui::combobox::ComboBoxItem;
using s::gui::win::ComboBox;

namespace
{
constexpr int32_t WIDTHS[6] = {55, 53, 40, 40, 40, 40};
} // namespace

void* eventSource(s::gui::IComponent* component)
{
    return static_cast<void*>(component);
}

bool selectByValue(ComboBox* combo, intptr_t value, bool notify)
{
    for (int i = 0; i < combo->getItemCount(); ++i)
    {
        if (combo->getItem(i)->getValue() == value)
        {
            combo->setSelection(i, notify);
            return true;
        }
    }
    return false;
}

intptr_t selectedValue(ComboBox* combo, intptr_t fallback)
{
    ComboBoxItem* item = combo->getItem(combo->getSelection());
    return item != nullptr ? item->getValue() : fallback;
}

void TimeSelectors::build(s::gui::IBox* row, s::lang::Localizer* localizer)
{
    for (int i = 0; i < 6; ++i)
    {
        selectors_[i] = s::gui::win::newComboBox(WIDTHS[i]);
    }
    year()->addNumbers(FIRST_YEAR, LAST_YEAR, false);
    for (int32_t m = 1; m <= 12; ++m)
    {
        month()->addItem(ComboBoxItem::newItemById(FIRST_MONTH_TEXT + m - 1, localizer, m));
    }
    day()->addNumbers(1, 31, false);
    hour()->addNumbers(0, 23, true);
    minute()->addNumbers(0, 59, true);
    second()->addNumbers(0, 59, true);
    for (ComboBox* combo : selectors_)
    {
        combo->setSelection(0, false);
        combo->setVisibleItems(12);
    }
    row->add(year());
    row->add(month());
    row->add(day());
    row->add(s::gui::win::newSpacer(0, 15));
    row->add(hour());
    row->add(s::gui::win::newCaption(L":", false, false, 1000));
    row->add(minute());
    row->add(s::gui::win::newSpacer(0, 15));
    row->add(second());
}

void TimeSelectors::listen(s::gui::events::IEventListener* listener)
{
    for (ComboBox* combo : selectors_)
    {
        combo->addSelectionListener(listener);
    }
}

void TimeSelectors::write(s::time::EpochSeconds seconds)
{
    if (year() == nullptr)
    {
        return;
    }
    s::time::Time* time = s::time::Time::fromSecondsLocal(seconds < 0 ? 0 : seconds);
    int32_t y = time->getYear();
    if (y < FIRST_YEAR || y > LAST_YEAR)
    {
        y = FIRST_YEAR;
    }
    selectByValue(year(), y, false);
    selectByValue(month(), time->getMonth(), false);
    selectByValue(day(), time->getDay(), false);
    selectByValue(hour(), time->getHour(), false);
    selectByValue(minute(), time->getMinute(), false);
    selectByValue(second(), time->getSecond(), false);
    time->Release();
}

int32_t TimeSelectors::selectedValue(int index)
{
    return static_cast<int32_t>(filetime::selectedValue(selectors_[index], index == 0 ? FIRST_YEAR : (index < 3 ? 1 : 0)));
}

bool TimeSelectors::isDateValid()
{
    if (year() == nullptr)
    {
        return false;
    }
    return selectedValue(2) <= s::time::daysInMonth(selectedValue(1), selectedValue(0));
}

bool TimeSelectors::read(s::time::EpochSeconds* seconds)
{
    if (!isDateValid())
    {
        return false;
    }
    s::time::Time* time = s::time::Time::fromFields(selectedValue(0), selectedValue(1), selectedValue(2),
                                                    selectedValue(3), selectedValue(4), selectedValue(5));
    s::time::EpochSeconds utc = s::time::localToUtc(time->getEpochSeconds());
    time->Release();
    *seconds = utc < 0 ? 0 : utc;
    return true;
}

void TimeSelectors::setEnabled(bool on)
{
    for (ComboBox* combo : selectors_)
    {
        if (combo != nullptr)
        {
            combo->setEnabled(on);
        }
    }
}

bool TimeSelectors::contains(void* source) const
{
    for (ComboBox* combo : selectors_)
    {
        if (combo != nullptr && source == eventSource(combo))
        {
            return true;
        }
    }
    return false;
}

} // namespace s::file::gui::dialogs::filetime
