// The "Change Multiple File(s) / Folder(s) at Once" panel: its building, the choice of a
// method with its enabling, its events and the capture of the change request.
#include "s/file/gui/dialogs/filetime/Dialog.h"

#include <initializer_list>
#include <string>

#include "s/file/gui/dialogs/filetime/DialogBuild.h"
#include "s/file/gui/dialogs/filetime/DialogKeys.h"
#include "s/gui/combobox/ComboBoxItem.h"
#include "s/gui/win/Factories.h"
#include "s/time/TimeZone.h"

namespace s::file::gui::dialogs::filetime
{

using s::gui::win::Box;
using s::gui::win::newBox;
using s::gui::win::newLayoutBox;
using s::gui::win::newCheckBox;
using s::gui::win::newRadioButton;
using s::gui::win::newSpacer;
using s::gui::win::RadioButton;

namespace
{
constexpr int32_t METHOD_COLUMN = 132;
constexpr int32_t TEXT_SPECIFIC = 6011000;
constexpr int32_t TEXT_PREVIEW = 7700130;
constexpr int32_t METHOD_TEXTS[METHOD_COUNT] = {TEXT_SPECIFIC, 3001000, 4001000, 5001000, 7500000};
constexpr int32_t FIELD_TEXTS[TIME_COUNT] = {3001100, 3001200, 3001300};
constexpr int32_t ATTRIBUTE_TEXTS[ATTR_COUNT] = {1208000, 1207000, 1209000, 1206000};
constexpr bool ATTRIBUTE_CHECKED[ATTR_COUNT] = {true, true, false, false};
constexpr int32_t SYNC_TEXTS[SYNC_COUNT] = {3001100, 3001200, 3001300, 3001500, 3001600, 3001700};

Box* methodRow(RadioButton* method)
{
    Box* row = newBox(100, -1, 0, 1, 5, -1, -1, -1, s::gui::IBox::MODE_ROW);
    method->setFixedWidth(METHOD_COLUMN);
    method->setGroupStart(true);
    row->add(method);
    return row;
}
} // namespace

s::gui::IComponent* Dialog::buildMultiplePanel()
{
    s::lang::Localizer* localizer = getLocalizer();
    Box* panel = newBox(100, 100, 0, 0, -1, -1, 10, 5, s::gui::IBox::MODE_COLUMN);
    multi_.panel = panel;
    addPanelTitle(panel, TEXT_MULTIPLE, TEXT_MULTIPLE_HINT);

    s::gui::win::GroupBox* fields = s::gui::win::newGroupBox(6001000, 10, 10, 7, 7, 100, s::gui::IBox::MODE_ROW);
    for (int k = 0; k < TIME_COUNT; ++k)
    {
        multi_.fields[k] = newCheckBox(FIELD_TEXTS[k], true);
        fields->getContent()->add(multi_.fields[k]);
    }
    panel->add(fields);
    panel->add(newSpacer(1, 15));

    s::gui::win::GroupBox* folders = s::gui::win::newGroupBox(6002000, 10, 10, 7, 7, 100, s::gui::IBox::MODE_COLUMN);
    multi_.includeContents = newCheckBox(1205100, true);
    folders->getContent()->add(multi_.includeContents);
    Box* attributes = newLayoutBox(100, -1, 0, 0, 10, 10, -1, -1, s::gui::IBox::MODE_ROW);
    for (int i = 0; i < ATTR_COUNT; ++i)
    {
        multi_.attributes[i] = newCheckBox(ATTRIBUTE_TEXTS[i], ATTRIBUTE_CHECKED[i]);
        attributes->add(multi_.attributes[i]);
    }
    folders->getContent()->add(attributes);
    panel->add(folders);
    panel->add(newSpacer(1, 20));

    for (int m = 0; m < METHOD_COUNT; ++m)
    {
        multi_.methods[m] = newRadioButton(METHOD_TEXTS[m], m == METHOD_SPECIFIC);
    }
    Box* specific = methodRow(multi_.methods[METHOD_SPECIFIC]);
    multi_.specific.build(specific, localizer);
    panel->add(specific);
    panel->add(newSpacer(1, 15));

    Box* sync = methodRow(multi_.methods[METHOD_SYNC]);
    sync->alignTop();
    // The six options wrap after the three times (a flowing row would take the height of
    // its narrowest wrapping in a column).
    Box* options = newLayoutBox(100, -1, 0, 0, 7, 7, -1, -1, s::gui::IBox::MODE_COLUMN);
    Box* lines[2] = {newBox(100, -1, 0, 0, 7, -1, -1, -1, s::gui::IBox::MODE_ROW),
                     newBox(100, -1, 0, 0, 7, -1, -1, -1, s::gui::IBox::MODE_ROW)};
    for (int i = 0; i < SYNC_COUNT; ++i)
    {
        multi_.sync[i] = newRadioButton(SYNC_TEXTS[i], i == SYNC_CURRENT);
        lines[i / 3]->add(multi_.sync[i]);
    }
    options->add(lines[0]);
    options->add(lines[1]);
    multi_.sync[0]->setGroupStart(true);
    sync->add(options);
    panel->add(sync);
    panel->add(newSpacer(1, 15));

    Box* offset = methodRow(multi_.methods[METHOD_OFFSET]);
    multi_.add = newRadioButton(6051000, true);
    multi_.add->setGroupStart(true);
    multi_.minus = newRadioButton(6052000, false);
    offset->add(multi_.add);
    offset->add(newSpacer(0, 5));
    offset->add(multi_.minus);
    offset->add(newSpacer(0, 10));
    buildOffsetSelectors(localizer, &multi_.digit, &multi_.unit);
    offset->add(multi_.digit);
    offset->add(multi_.unit);
    panel->add(offset);
    panel->add(newSpacer(1, 15));

    RadioButton* zoneMethod = multi_.methods[METHOD_TIME_ZONE];
    zoneMethod->setFixedWidth(METHOD_COLUMN);
    zoneMethod->setFixedHeight(23);
    zoneMethod->setGroupStart(true);
    panel->add(buildZoneRow(localizer, multi_.from, multi_.to, zoneMethod, nullptr));
    panel->add(newSpacer(1, 15));
    panel->add(buildFromItemRow(localizer));
    multi_.preview = newCheckBox(TEXT_PREVIEW, false);
    panel->add(multi_.preview);
    return static_cast<s::gui::IBox*>(panel);
}

void Dialog::listenMultiplePanel()
{
    for (RadioButton* method : multi_.methods)
        method->addSelectedListener(this);
    for (RadioButton* option : multi_.sync)
        option->addSelectedListener(this);
    multi_.from.listen(this);
    multi_.to.listen(this);
    listenFromItemRow();
}

int32_t Dialog::getMethod()
{
    for (int m = 0; m < METHOD_COUNT; ++m)
    {
        if (multi_.methods[m]->isSelected())
            return m;
    }
    return -1;
}

void Dialog::chooseMethod(int32_t method)
{
    for (int m = 0; m < METHOD_COUNT; ++m)
        multi_.methods[m]->setSelected(m == method, false);
    multi_.specific.setEnabled(method == METHOD_SPECIFIC);
    for (RadioButton* option : multi_.sync)
        option->setEnabled(method == METHOD_SYNC);
    for (s::gui::IComponent* c : std::initializer_list<s::gui::IComponent*>{multi_.add, multi_.minus, multi_.digit,
                                                                            multi_.unit})
    {
        c->setEnabled(method == METHOD_OFFSET);
    }
    const bool zones = method == METHOD_TIME_ZONE;
    for (ZoneSelector* zone : {&multi_.from, &multi_.to})
    {
        zone->setEnabled(zones);
        if (!zones)
            zone->daylightBox()->setEnabled(false);
        else if (zone->hasDaylightRule())
            zone->daylightBox()->setEnabled(true);
    }
    enableFromItemRow(method == METHOD_FROM_ITEM);
}

bool Dialog::handleMultipleEvent(void* source, int kind)
{
    (void)kind;
    if (multi_.panel == nullptr)
    {
        return false;
    }
    for (int m = 0; m < METHOD_COUNT; ++m)
    {
        if (source == eventSource(multi_.methods[m]))
        {
            chooseMethod(m);
            return true;
        }
    }
    for (int i = 0; i < SYNC_COUNT; ++i)
    {
        if (source == eventSource(multi_.sync[i]))
        {
            // The options stand in two lines: one choice among all six.
            for (int j = 0; j < SYNC_COUNT; ++j)
            {
                if (j != i)
                    multi_.sync[j]->setSelected(false, false);
            }
            return true;
        }
    }
    if (source == eventSource(multi_.from.combo()))
        multi_.from.selectionChanged();
    else if (source == eventSource(multi_.to.combo()))
        multi_.to.selectionChanged();
    else if (source == eventSource(multi_.from.daylightBox()))
        multi_.from.daylightClicked();
    else if (source == eventSource(multi_.to.daylightBox()))
        multi_.to.daylightClicked();
    else
        return handleFromItemEvent(source);
    return true;
}

bool Dialog::captureMultiple(bool tell)
{
    const int32_t method = getMethod();
    EpochSeconds v = 0;
    if (!multi_.specific.read(&v))
    {
        // A day that its month does not have would be written as 1970: refused instead.
        if (method == METHOD_SPECIFIC)
        {
            if (!tell)
            {
                return false;
            }
            showInvalidDateAfter(TEXT_SPECIFIC);
            return false;
        }
        v = 0;
    }
    int32_t sync = SYNC_CURRENT;
    for (int i = 0; i < SYNC_COUNT; ++i)
    {
        if (multi_.sync[i]->isSelected())
            sync = i;
    }
    if (method == METHOD_SYNC)
    {
        if (sync == SYNC_CURRENT || sync == SYNC_OLDEST)
            v = s::time::nowSeconds();
        else if (sync == SYNC_NEWEST)
            v = 0;
    }
    ChangeRequest& request = engine_.getRequest();
    request.created = multi_.fields[TIME_CREATED]->isChecked() ? v : -1;
    request.modified = multi_.fields[TIME_MODIFIED]->isChecked() ? v : -1;
    request.accessed = multi_.fields[TIME_ACCESSED]->isChecked() ? v : -1;
    request.includeContents = multi_.includeContents->isChecked();
    request.normal = multi_.attributes[ATTR_NORMAL]->isChecked();
    request.readOnly = multi_.attributes[ATTR_READ_ONLY]->isChecked();
    request.hidden = multi_.attributes[ATTR_HIDDEN]->isChecked();
    request.system = multi_.attributes[ATTR_SYSTEM]->isChecked();
    request.offset = 0;
    switch (method)
    {
    case METHOD_SYNC: {
        const wchar_t* const targets[SYNC_COUNT] = {SyncCreated, SyncModified, SyncAccessed,
                                                    SyncCurrent, SyncNewest,   SyncOldest};
        request.mode = sync <= SYNC_ACCESSED ? ModeSync : ModeSpecific;
        request.syncTarget = targets[sync];
        break;
    }
    case METHOD_OFFSET: {
        const int64_t offset = offsetOf(multi_.digit, multi_.unit);
        request.mode = ModeOffset;
        request.offset = multi_.minus->isSelected() ? -offset : offset;
        break;
    }
    case METHOD_FROM_ITEM:
        captureFromItem(request);
        break;
    case METHOD_TIME_ZONE:
        request.mode = ModeOffset;
        request.offset = s::time::zoneShift(multi_.from.zone(), multi_.from.isDaylightChecked(), multi_.to.zone(),
                                            multi_.to.isDaylightChecked());
        break;
    default:
        // The target is reset too: a Newest or Oldest left from an earlier drop would make
        // the engine search the items and write what it found instead of this time.
        request.mode = ModeSpecific;
        request.syncTarget = SyncCurrent;
        break;
    }
    return true;
}

} // namespace s::file::gui::dialogs::filetime
