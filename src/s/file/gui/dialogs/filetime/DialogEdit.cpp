// The "View & Edit" panel: its building, clearing, enabling and showing, its events
// (Easy Edit, Restore, Apply, Cancel) and View & Edit Apply.
#include "s/file/gui/dialogs/filetime/Dialog.h"

#include <cwchar>
#include <cwctype>
#include <initializer_list>
#include <string>

#include "s/file/gui/dialogs/filetime/DialogBuild.h"
#include "s/file/gui/dialogs/filetime/DialogKeys.h"
#include "s/file/win/PathWin.h"
#include "s/gui/combobox/ComboBoxItem.h"
#include "s/gui/win/Factories.h"
#include "s/lang/Localizer.h"
#include "s/str/strbuffer/StrBuffer.h"
#include "s/time/TimeZone.h"

namespace s::file::gui::dialogs::filetime
{

using s::gui::combobox::ComboBoxItem;
using s::gui::win::Box;
using s::gui::win::newBox;
using s::gui::win::newLayoutBox;
using s::gui::win::newButtonById;
using s::gui::win::newButtonByIdSized;
using s::gui::win::newCheckBox;
using s::gui::win::newCaptionById;
using s::gui::win::newSpacer;
using s::thread::ObjLocker;

namespace
{
constexpr int32_t LABEL_COLUMN = 115;
constexpr int32_t ROW_TEXTS[TIME_COUNT] = {Dialog::TEXT_CREATED_ROW, Dialog::TEXT_MODIFIED_ROW,
                                           Dialog::TEXT_ACCESSED_ROW};
constexpr int32_t SYNC_TEXTS[TIME_COUNT] = {3001100, 3001200, 3001300};
constexpr int32_t ATTRIBUTE_TEXTS[ATTR_COUNT] = {1208000, 1207000, 1209000, 1206000};

s::gui::win::Label* columnLabel(int32_t textId, int32_t width)
{
    s::gui::win::Label* label = newCaptionById(textId, false, false, 1000);
    label->setFixedWidth(width);
    return label;
}
} // namespace

Box* newRow(int gap)
{
    return newLayoutBox(100, -1, 0, 1, gap, -1, -1, -1, s::gui::IBox::MODE_ROW);
}

// The title of a panel: a centred column of the bold caption, a 5-pixel gap and the hint,
// then a 15-pixel gap.
void addPanelTitle(Box* panel, int32_t captionId, int32_t hintId)
{
    Box* title = newLayoutBox(100, -1, 1, 0, -1, -1, -1, -1, s::gui::IBox::MODE_COLUMN);
    s::gui::win::Label* caption = newCaptionById(captionId, false, false, -103);
    caption->setAlignment(1);
    title->add(caption);
    title->add(newSpacer(1, 5));
    s::gui::win::Label* hint = s::gui::win::newLabelById(hintId, false, false, -1); // read by screen readers
    hint->setAlignment(1);
    title->add(hint);
    panel->add(title);
    panel->add(newSpacer(1, 15));
}

// The number selector (1..99) and the unit selector (Day, Hour, Min, Sec) of an offset.
void buildOffsetSelectors(s::lang::Localizer* localizer, s::gui::win::ComboBox** digit, s::gui::win::ComboBox** unit)
{
    *digit = s::gui::win::newComboBox(40);
    (*digit)->addNumbers(1, 99, false);
    (*digit)->setSelection(0, false);
    (*digit)->setVisibleItems(12);
    *unit = s::gui::win::newComboBox(80);
    (*unit)->addItem(ComboBoxItem::newItemById(4004000, localizer, ComboBoxItem::keyValue(UnitDays)));
    (*unit)->addItem(ComboBoxItem::newItemById(4003000, localizer, ComboBoxItem::keyValue(UnitHours)));
    (*unit)->addItem(ComboBoxItem::newItemById(4002000, localizer, ComboBoxItem::keyValue(UnitMins)));
    (*unit)->addItem(ComboBoxItem::newItemById(4001500, localizer, ComboBoxItem::keyValue(UnitSecs)));
    (*unit)->setSelection(1, false);
}

// The "By Time Zone:" row: its label, the From / To labels, the two selectors with their
// daylight boxes and the column of the texts after them; `tail` (may be null) ends the row.
Box* buildZoneRow(s::lang::Localizer* localizer, ZoneSelector& from, ZoneSelector& to, s::gui::IComponent* lead,
                  s::gui::IComponent* tail)
{
    Box* row = newLayoutBox(100, -1, 0, 0, 5, -1, -1, -1, s::gui::IBox::MODE_ROW);
    row->add(lead);
    Box* names = newLayoutBox(-1, -1, 0, 0, -1, -1, -1, -1, s::gui::IBox::MODE_COLUMN);
    s::gui::win::Label* fromLabel = newCaptionById(5001500, false, false, 1000);
    fromLabel->setFixedHeight(23);
    names->add(fromLabel);
    names->add(newSpacer(1, 24));
    s::gui::win::Label* toLabel = newCaptionById(5002200, false, false, 1000);
    toLabel->setFixedHeight(23);
    names->add(toLabel);
    row->add(names);
    from.build(localizer, false);
    to.build(localizer, true);
    Box* selectors = newLayoutBox(100, -1, 0, 0, -1, -1, -1, -1, s::gui::IBox::MODE_COLUMN);
    selectors->add(from.combo());
    selectors->add(from.daylightBox());
    selectors->add(newSpacer(1, 4));
    selectors->add(to.combo());
    selectors->add(to.daylightBox());
    row->add(selectors);
    Box* after = newLayoutBox(-1, -1, 0, 0, -1, -1, -1, -1, s::gui::IBox::MODE_COLUMN);
    after->add(newCaptionById(5002000, false, false, 1000));
    after->add(newSpacer(1, 24));
    after->add(newCaptionById(5002500, false, false, 1000));
    row->add(after);
    if (tail != nullptr)
    {
        row->add(newSpacer(0, 3));
        row->add(tail);
    }
    return row;
}

s::gui::IComponent* Dialog::buildEditPanel()
{
    s::lang::Localizer* localizer = getLocalizer();
    Box* panel = newBox(100, 100, 0, 0, -1, -1, 10, 5, s::gui::IBox::MODE_COLUMN);
    edit_.panel = panel;
    addPanelTitle(panel, TEXT_VIEW_EDIT, TEXT_VIEW_EDIT_HINT);

    Box* item = newLayoutBox(100, -1, 0, 0, 10, 7, 7, 3, s::gui::IBox::MODE_COLUMN);
    Box* nameRow = newRow(10);
    nameRow->add(columnLabel(1200000, LABEL_COLUMN));
    edit_.name = s::gui::win::newTextField(100);
    edit_.name->setEditable(false);
    nameRow->add(edit_.name);
    item->add(nameRow);
    item->add(newSpacer(1, 3));
    for (int k = 0; k < TIME_COUNT; ++k)
    {
        Box* row = newRow(5);
        edit_.rows[k] = newCheckBox(ROW_TEXTS[k], false);
        edit_.rows[k]->setFixedWidth(LABEL_COLUMN);
        row->add(edit_.rows[k]);
        edit_.times[k].build(row, localizer);
        item->add(row);
    }
    panel->add(item);
    panel->add(newSpacer(1, 10));

    s::gui::win::GroupBox* easy = s::gui::win::newGroupBox(3000000, 10, 10, 7, 3, 100, s::gui::IBox::MODE_COLUMN);
    s::gui::IBox* easyContent = easy->getContent();
    Box* syncRow = newRow(5);
    syncRow->add(columnLabel(3001000, LABEL_COLUMN));
    for (int k = 0; k < TIME_COUNT; ++k)
    {
        edit_.sync[k] = newButtonById(SYNC_TEXTS[k], 25, -1);
        syncRow->add(edit_.sync[k]);
    }
    edit_.now = newButtonById(3001400, 25, -1);
    syncRow->add(edit_.now);
    easyContent->add(syncRow);
    Box* offsetRow = newRow(5);
    offsetRow->add(columnLabel(4001000, LABEL_COLUMN));
    buildOffsetSelectors(localizer, &edit_.digit, &edit_.unit);
    offsetRow->add(edit_.digit);
    offsetRow->add(edit_.unit);
    offsetRow->add(newSpacer(0, 10));
    edit_.plus = s::gui::win::newButton(L"+", 50);
    edit_.minus = s::gui::win::newButton(L"-", 50);
    offsetRow->add(edit_.plus);
    offsetRow->add(edit_.minus);
    easyContent->add(offsetRow);
    edit_.convert = s::gui::win::newConvertButton(-1);
    s::gui::win::Label* zoneLabel = columnLabel(5001000, LABEL_COLUMN);
    zoneLabel->setFixedHeight(23);
    easyContent->add(buildZoneRow(localizer, edit_.from, edit_.to, zoneLabel, edit_.convert));
    panel->add(easy);

    Box* folderBlock = newLayoutBox(100, -1, 0, 0, 10, 7, -1, -1, s::gui::IBox::MODE_COLUMN);
    edit_.folder = newCheckBox(1205000, false);
    folderBlock->add(edit_.folder);
    Box* attributes = newRow(10);
    for (int i = 0; i < ATTR_COUNT; ++i)
    {
        edit_.attributes[i] = newCheckBox(ATTRIBUTE_TEXTS[i], false);
        attributes->add(edit_.attributes[i]);
    }
    folderBlock->add(attributes);
    panel->add(folderBlock);

    Box* buttons = newRow(-1);
    edit_.restore = newButtonByIdSized(95, 1006085, -1);
    edit_.apply = newButtonByIdSized(170, 1006070, -1);
    edit_.cancel = newButtonByIdSized(95, 1006050, -1);
    buttons->add(edit_.restore);
    buttons->add(s::gui::win::newSpacerPercent(100));
    buttons->add(edit_.apply);
    buttons->add(newSpacer(0, 2));
    buttons->add(edit_.cancel);
    panel->add(buttons);
    return static_cast<s::gui::IBox*>(panel);
}

void Dialog::listenEditPanel()
{
    for (int k = 0; k < TIME_COUNT; ++k)
    {
        edit_.times[k].listen(this);
        edit_.sync[k]->addClickListener(this);
        edit_.rows[k]->addCheckedListener(this);
        edit_.rows[k]->addUncheckedListener(this);
    }
    for (s::gui::win::Button* button : {edit_.now, edit_.plus, edit_.minus, edit_.convert, edit_.restore, edit_.apply,
                                        edit_.cancel})
    {
        button->addClickListener(this);
    }
    edit_.from.listen(this);
    edit_.to.listen(this);
    edit_.folder->addCheckedListener(this);
    edit_.folder->addUncheckedListener(this);
}

void Dialog::clearEdit()
{
    edit_.name->setText(L"", false);
    for (int k = 0; k < TIME_COUNT; ++k)
    {
        editShownTimes_[k] = 0;
        edit_.times[k].write(0);
        edit_.times[k].setEnabled(false);
        edit_.rows[k]->setEnabled(false);
        edit_.sync[k]->setEnabled(false);
    }
    for (s::gui::IComponent* c : std::initializer_list<s::gui::IComponent*>{
             edit_.now, edit_.digit, edit_.unit, edit_.plus, edit_.minus, edit_.convert, edit_.folder, edit_.restore,
             edit_.apply, edit_.cancel})
    {
        c->setEnabled(false);
    }
    for (s::gui::win::CheckBox* box : edit_.attributes)
        box->setEnabled(false);
    edit_.from.setEnabled(false);
    edit_.to.setEnabled(false);
    edit_.from.daylightBox()->setEnabled(false);
    edit_.to.daylightBox()->setEnabled(false);
    appliedOnce_ = false;
}

void Dialog::enableEdit()
{
    for (int k = 0; k < TIME_COUNT; ++k)
    {
        editShownTimes_[k] = 0;
        edit_.rows[k]->setEnabled(true);
        edit_.times[k].setEnabled(edit_.rows[k]->isChecked());
        edit_.sync[k]->setEnabled(true);
    }
    for (s::gui::IComponent* c : std::initializer_list<s::gui::IComponent*>{edit_.now, edit_.digit, edit_.unit,
                                                                            edit_.plus, edit_.minus, edit_.convert,
                                                                            edit_.cancel})
    {
        c->setEnabled(true);
    }
    edit_.from.setEnabled(true);
    edit_.to.setEnabled(true);
    edit_.from.enableDaylightForZone();
    edit_.to.enableDaylightForZone();
    appliedOnce_ = false;
}

uint32_t Dialog::showEditItem(const wchar_t* path)
{
    edit_.name->setText(L"", false);
    s::file::win::PathWin* item = s::file::win::PathWin::FromText(path);
    if (item == nullptr)
    {
        return 0;
    }
    uint32_t error = 0;
    if (item->GetLength() == 0) // nothing was dropped
    {
        item->Release();
        return 0;
    }
    if (item->Query(&error) && !item->HasTimes()) // one read: attributes, size and times
    {
        error = ERROR_NOT_SUPPORTED; // a drive root: no times of its own
    }
    if (error != 0)
    {
        // Nothing to edit from: the rows stay disabled, so that no time derived from an
        // unread one (copied, shifted, restored) can be applied.
        clearEdit();
        engine_.setEditPath(nullptr);
        std::wstring shown = item->GetName();
        shown += L" (";
        shown += text(TEXT_UNKNOWN_TIME);
        shown += L")";
        edit_.name->setText(shown.c_str(), false);
    }
    else
    {
        engine_.setEditPath(item->GetFullPath());
        edit_.name->setText(item->GetName(), false);
        if (item->IsDirectory())
        {
            edit_.folder->setEnabled(true);
            const bool on = edit_.folder->isChecked();
            for (s::gui::win::CheckBox* box : edit_.attributes)
                box->setEnabled(on);
            edit_.apply->setEnabled(on);
        }
        else
        {
            edit_.folder->setEnabled(false);
            for (s::gui::win::CheckBox* box : edit_.attributes)
                box->setEnabled(false);
        }
        editShownTimes_[TIME_CREATED] = item->GetCreationTime();
        editShownTimes_[TIME_MODIFIED] = item->GetModifiedTime();
        editShownTimes_[TIME_ACCESSED] = item->GetAccessTime();
        for (int k = 0; k < TIME_COUNT; ++k)
            edit_.times[k].write(editShownTimes_[k]);
    }
    item->Release();
    return error;
}

void Dialog::editChanged()
{
    edit_.restore->setEnabled(true);
    edit_.apply->setEnabled(true);
}

void Dialog::showInvalidDate(int32_t kind)
{
    showInvalidDateAfter(ROW_TEXTS[kind]);
}

void Dialog::showInvalidDateAfter(int32_t labelTextId)
{
    std::wstring message = text(labelTextId);
    // Row labels end in a (no-break) space, a method's name ends in its colon.
    if (!message.empty() && !iswspace(message.back()))
        message += L' ';
    message += text(TEXT_INVALID_DATE);
    showMessage(message.c_str());
}

int32_t Dialog::firstInvalidRow()
{
    for (int k = 0; k < TIME_COUNT; ++k)
    {
        if (edit_.rows[k]->isChecked() && !edit_.times[k].isDateValid())
            return k;
    }
    return -1;
}

void Dialog::copyRow(int32_t source)
{
    EpochSeconds value = 0;
    if (edit_.times[source].read(&value))
    {
        for (int k = 0; k < TIME_COUNT; ++k)
        {
            if (k != source && edit_.rows[k]->isChecked())
                edit_.times[k].write(value);
        }
    }
    else
    {
        showInvalidDate(source);
    }
    editChanged();
}

void Dialog::addToRows(int64_t seconds)
{
    const int32_t invalid = firstInvalidRow();
    if (invalid >= 0)
    {
        showInvalidDate(invalid);
        return;
    }
    for (int k = 0; k < TIME_COUNT; ++k)
    {
        EpochSeconds value = 0;
        if (edit_.rows[k]->isChecked() && edit_.times[k].read(&value))
            edit_.times[k].write(value + seconds);
    }
}

void Dialog::restoreEdit()
{
    for (int k = 0; k < TIME_COUNT; ++k)
        edit_.times[k].write(editShownTimes_[k]);
    edit_.restore->setEnabled(false);
    edit_.apply->setEnabled(appliedOnce_);
}

void Dialog::applyEdit()
{
    ObjLocker::Guard guard(getFrame().getItemLock());
    if (getFrame().isBusy() || engine_.isApplyPending())
    {
        return;
    }
    bool any = false;
    for (s::gui::win::CheckBox* row : edit_.rows)
        any = any || row->isChecked();
    if (!any)
    {
        return;
    }
    // An impossible date is refused before anything is written.
    const int32_t invalid = firstInvalidRow();
    if (invalid >= 0)
    {
        showInvalidDate(invalid);
        return;
    }
    ChangeRequest& request = engine_.getRequest();
    request.mode = ModeSpecific;
    request.syncTarget = SyncCurrent;
    request.offset = 0;
    EpochSeconds* const targets[TIME_COUNT] = {&request.created, &request.modified, &request.accessed};
    for (int k = 0; k < TIME_COUNT; ++k)
    {
        EpochSeconds value = 0;
        *targets[k] = edit_.rows[k]->isChecked() && edit_.times[k].read(&value) ? value : -1;
    }
    s::file::win::PathWin* item = s::file::win::PathWin::FromText(engine_.getEditPath());
    const bool folder = item != nullptr && item->IsDirectory();
    if (item != nullptr)
        item->Release();
    request.includeContents = folder && edit_.folder->isChecked();
    request.normal = !folder || edit_.attributes[ATTR_NORMAL]->isChecked();
    request.readOnly = !folder || edit_.attributes[ATTR_READ_ONLY]->isChecked();
    request.hidden = !folder || edit_.attributes[ATTR_HIDDEN]->isChecked();
    request.system = !folder || edit_.attributes[ATTR_SYSTEM]->isChecked();
    edit_.apply->setEnabled(false);
    appliedOnce_ = true;
    engine_.setAction(ChangeEngine::ACTION_VIEW_EDIT);
    beginRun(false, true);
    engine_.setApplyPending(true);
    if (!getFrame().startRun())
    {
        engine_.setApplyPending(false);
    }
}

bool Dialog::handleEditEvent(void* source, int kind)
{
    (void)kind;
    if (edit_.panel == nullptr)
    {
        return false;
    }
    for (int k = 0; k < TIME_COUNT; ++k)
    {
        if (edit_.times[k].contains(source))
        {
            editChanged();
            return true;
        }
        if (source == eventSource(edit_.sync[k]))
        {
            copyRow(k);
            return true;
        }
        if (source == eventSource(edit_.rows[k]))
        {
            return false; // the row's link enables its selectors
        }
    }
    if (source == eventSource(edit_.now))
    {
        const EpochSeconds now = s::time::nowSeconds();
        for (int k = 0; k < TIME_COUNT; ++k)
        {
            if (edit_.rows[k]->isChecked())
                edit_.times[k].write(now);
        }
        editChanged();
    }
    else if (source == eventSource(edit_.plus) || source == eventSource(edit_.minus))
    {
        const int64_t offset = offsetOf(edit_.digit, edit_.unit);
        addToRows(source == eventSource(edit_.plus) ? offset : -offset);
        editChanged();
    }
    else if (source == eventSource(edit_.convert))
    {
        addToRows(s::time::zoneShift(edit_.from.zone(), edit_.from.isDaylightChecked(), edit_.to.zone(),
                                     edit_.to.isDaylightChecked()));
        editChanged();
    }
    else if (source == eventSource(edit_.from.combo()))
    {
        edit_.from.selectionChanged();
    }
    else if (source == eventSource(edit_.to.combo()))
    {
        edit_.to.selectionChanged();
    }
    else if (source == eventSource(edit_.from.daylightBox()))
    {
        edit_.from.daylightClicked();
    }
    else if (source == eventSource(edit_.to.daylightBox()))
    {
        edit_.to.daylightClicked();
    }
    else if (source == eventSource(edit_.folder))
    {
        edit_.apply->setEnabled(edit_.folder->isChecked() ? edit_.restore->isEnabled() : true);
    }
    else if (source == eventSource(edit_.apply))
    {
        applyEdit();
    }
    else if (source == eventSource(edit_.restore))
    {
        restoreEdit();
    }
    else if (source == eventSource(edit_.cancel))
    {
        clearEdit();
    }
    else
    {
        return false;
    }
    return true;
}

} // namespace s::file::gui::dialogs::filetime
